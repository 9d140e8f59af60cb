// Program-wide, reference-counted access to the two list files, and their
// check at start-up.
//
// Every record operation opens the list it needs and closes it again;
// while the wizard data is open the lists stay open and those nested
// opens only count. The opened list becomes the current resource file.
#pragma once

#include <cstdint>

// Selector 1 ("Wiz_Tmpl"), 2 ("Wiz_Back") or 5 (both, 1 first; when the
// second fails the first is closed again); 1 for any other. Mode 0
// reads, 2 reads and writes (the layer may give reading alone). 0 or the
// error.
int32_t ListFileOpen(int32_t selector, int16_t mode);
void ListFileClose(int32_t selector);
// The mode the list was opened with; -1 while it is closed.
int16_t ListFileMode(int32_t selector);

// Opens the list for reading and writing when it must change, else for
// reading, and closes it when it goes out of scope.
class ListFileScope {
public:
    ListFileScope(int32_t selector, int16_t mode) : selector_(selector), result_(ListFileOpen(selector, mode)) {}
    ~ListFileScope()
    {
        if (result_ == 0)
            ListFileClose(selector_);
    }
    ListFileScope(const ListFileScope&) = delete;
    ListFileScope& operator=(const ListFileScope&) = delete;
    int32_t result() const { return result_; }

private:
    int32_t selector_;
    int32_t result_;
};

// The start-up check of one list file (see EnsureWizardFiles).
int32_t CheckWizardListFile(int32_t selector);
// Creates the list file afresh with only its version record, in place of
// what was there. 0, or the error after a stop box.
int32_t CreateWizardListFile(int32_t selector);
