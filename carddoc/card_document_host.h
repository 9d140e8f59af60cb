// What the card document needs of the application around it: the
// questions of saving (whether to save changes, under which name), the
// folder new documents keep their swap files in, the printer's page for
// the non-printing margins and the recent-file list. The application
// installs its host at start-up; a program that works with card documents
// without a person (tessaline-tool, the tests) installs one of its own.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/int_geometry.h"
#include "foundation/path_record.h"

class FontTable;
class QWidget;

class CardDocumentHost {
public:
    enum SaveAnswer {
        kSaveYes,
        kSaveNo,
        kSaveCancel,
    };

    virtual ~CardDocumentHost() = default;

    // "Save changes to <title>?" with Yes, No and Cancel.
    virtual SaveAnswer AskSaveChanges(const std::string& title) = 0;
    // The path to save a document under, starting from path (the name the
    // document has, or its title); false when the user cancels.
    virtual bool ChooseSavePath(const std::string& title, PathRecord* path) = 0;
    // Where a new document makes its swap file: the program folder.
    virtual int32_t ApplicationFolder(PathRecord* out) = 0;
    // A document was saved or opened under this path.
    virtual void AddToRecentFiles(const PathRecord& path) = 0;
    // An opened document's fonts include some this computer lacks: the user
    // chooses what stands in for them (the Font Replacement dialog, over
    // parent). Without a person the substitutes found stay.
    virtual void ChooseFontReplacements(FontTable* fonts, QWidget* parent) = 0;
    // Tells the user on the status bar's message line what the next step
    // is (how to place what a tool holds); empty text takes it away.
    virtual void ShowPrompt(const std::string& text) = 0;
};

// Installs a host (null removes it); returns the previous one.
CardDocumentHost* SetCardDocumentHost(CardDocumentHost* host);
// The host installed. Without one a document cannot ask anything: the
// program stops with a message naming the missing host.
CardDocumentHost& CurrentCardDocumentHost();
// The host's status-bar prompt, when a host is installed.
void ShowToolPrompt(const std::string& text);
