// How commands travel. A menu item or tool bar button carries a command id;
// choosing it offers the id along a route of targets (the active view, its
// document, its child frame, the main frame, the application) until one
// carries it out. Before an item is shown the same route is asked for its
// state; an item that no target on the route knows is disabled, so a
// command never looks available where nothing would answer it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct CmdUI {
    explicit CmdUI(uint32_t commandId) : id(commandId) {}

    void Enable(bool on) { enabled = on; }
    void SetCheck(bool on)
    {
        checked = on;
        checkable = true;
    }
    // Windows-1252 text, ampersands marking the mnemonic.
    void SetText(std::string value) { text = std::move(value); }

    uint32_t id;
    bool enabled = true;
    bool checked = false;
    bool checkable = false;
    std::optional<std::string> text;
};

class CommandTarget {
public:
    virtual ~CommandTarget() = default;
    // True when the command was carried out here.
    virtual bool OnCommand(uint32_t /*id*/) { return false; }
    // True when this target knows the command; it may then set the item's
    // state (enabled, checked, text), which starts enabled and unchecked.
    virtual bool OnUpdateCommand(CmdUI& /*ui*/) { return false; }
};
