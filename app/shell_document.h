// What the application shell needs of a document, whatever its kind. The
// card document and the database document each come with an adapter that
// implements it, and with a factory that the document template of their
// kind holds.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/command_target.h"

class DocTemplate;
class QWidget;

class ShellDocument : public CommandTarget {
public:
    ~ShellDocument() override = default;

    // The name windows and questions show (Windows-1252): the file's title,
    // or the document's untitled name.
    virtual std::string Title() const = 0;
    // A document that cannot be saved where it is; its window says so
    // after its title.
    virtual bool ReadOnly() const { return false; }
    // The file the document is bound to (a host path); empty while untitled.
    virtual std::string PathName() const = 0;
    virtual bool IsModified() const = 0;
    // Saves into the document's own file, asking for a name when it has
    // none. False when the user cancelled or the save failed (after its own
    // message); the document is then still modified and nothing is lost.
    virtual bool Save() = 0;
    // A view of the document inside parent: pane 0 is its first view; a
    // database also has the data-entry form as pane 1. Null when it cannot
    // be made.
    virtual QWidget* CreateView(int32_t pane, QWidget* parent) = 0;
    // Its window became the active one (true) or stopped being it: the
    // document brings what it shares with the program (current database,
    // colour table, tool bar states) into line.
    virtual void OnFrameActivate(bool /*activating*/) {}
    // The last call before the document is deleted; its windows are gone.
    virtual void OnCloseDocument() {}

    DocTemplate* Template() const { return template_; }
    void SetTemplate(DocTemplate* owner) { template_ = owner; }

private:
    DocTemplate* template_ = nullptr;
};

// Makes the documents of one kind.
class DocumentFactory {
public:
    virtual ~DocumentFactory() = default;
    // A new untitled document; null, after its own message, when it cannot
    // be made.
    virtual std::unique_ptr<ShellDocument> NewDocument() = 0;
    // The document of a file (a host path); null, after its own message,
    // when the file cannot be opened.
    virtual std::unique_ptr<ShellDocument> OpenDocument(const std::string& path) = 0;
};
