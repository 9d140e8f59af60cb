// What a tool bar hands over with a command: the bar attaches one of these
// to the main frame (CMainFrame::AttachCommandData) just before it sends
// the command, and the command's handler takes it from there. The handler
// tells them apart by their type.
#pragma once

#include <cstdint>
#include <string>

class CommandData {
public:
    virtual ~CommandData() = default;
};

// A choice from the database bar's Find combo; index -1 when the text was
// typed rather than picked.
class CChoosenFind : public CommandData {
public:
    std::string text;  // Windows-1252
    int32_t index = -1;
};

// A choice from the database bar's Sort by combo.
class CChoosenField : public CommandData {
public:
    std::string text;
    int32_t index = -1;
};

// A choice from the text bar's font name or size combo.
class CFontChoosen : public CommandData {
public:
    char faceName[32] = {};  // empty when no font is selected
    int32_t fontType = 0;    // the font record's type; 0 without a font
    int32_t size = 0;        // points, at most three digits
    int32_t fontIndex = -1;  // into the program's font list
    bool bold = false;
    bool italic = false;
    bool underline = false;
};
