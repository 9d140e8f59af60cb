// The questions the shell asks before a document's changes could be lost.
// The program asks them in a message box; tests install their own answers.
#pragma once

#include <string>

class ShellPrompts {
public:
    enum Answer {
        kYes,
        kNo,
        kCancel,
    };

    virtual ~ShellPrompts() = default;
    // "Save changes to <title>?" with Yes, No and Cancel (title in
    // Windows-1252).
    virtual Answer AskSaveChanges(const std::string& title) = 0;
};

// Installs prompts (null restores the message boxes); returns the previous.
ShellPrompts* SetShellPrompts(ShellPrompts* prompts);
ShellPrompts& CurrentShellPrompts();

// The question's text.
std::string SaveChangesText(const std::string& title);
