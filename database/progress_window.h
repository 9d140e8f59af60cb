// The progress and working windows as the long passes use them: made on
// the stack, stepped once per record, closed when they go out of scope.
#pragma once

#include <cstdint>
#include <string>

// The working-message strings (base 254): caption n is string 254 + n.
constexpr int32_t kWorkingMessageBase = 254;
std::string WorkingMessage(int32_t id);

// A record counter that shows itself from the showAt-th step on.
class DbProgressWindow {
public:
    DbProgressWindow(const std::string& database, const std::string& operation, int32_t total, int32_t showAt,
                     int32_t start);
    ~DbProgressWindow();
    DbProgressWindow(const DbProgressWindow&) = delete;
    DbProgressWindow& operator=(const DbProgressWindow&) = delete;

    // One call per record; false once the user asked the pass to stop.
    bool Step();

private:
    int32_t position_;
};

// A caption over a progress bar.
class DbWorkingWindow {
public:
    DbWorkingWindow(const std::string& caption, int32_t total);
    ~DbWorkingWindow();
    DbWorkingWindow(const DbWorkingWindow&) = delete;
    DbWorkingWindow& operator=(const DbWorkingWindow&) = delete;

    void StepIt();
    void SetPos(int32_t position);

private:
    int32_t position_ = 0;
};
