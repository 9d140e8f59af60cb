// The card document as the application shell sees it: an adapter that
// gives a CLabelsDoc the shell's document interface (title, file, save,
// its view, the commands it carries out), and the factory the card
// template makes its documents with.
#pragma once

#include <memory>
#include <string>

#include <QPointer>

#include "app/shell_document.h"
#include "carddoc/labels_view.h"

class CLabelsDoc;
class DocManager;

class CardShellDocument : public ShellDocument {
public:
    explicit CardShellDocument(std::unique_ptr<CLabelsDoc> document);
    ~CardShellDocument() override;

    std::string Title() const override;
    bool ReadOnly() const override;
    std::string PathName() const override;
    bool IsModified() const override;
    bool Save() override;
    // Pane 0 is the card view; it takes the rulers and the page bar of the
    // window it is made in, which are to exist already.
    QWidget* CreateView(int32_t pane, QWidget* parent) override;
    void OnFrameActivate(bool activating) override;
    void OnCloseDocument() override;
    // The record-fed frames show the current record again.
    void FollowCurrentRecord();

    bool OnCommand(uint32_t id) override;
    bool OnUpdateCommand(CmdUI& ui) override;

    CLabelsDoc* Document() const { return document_.get(); }
    CLabelsView* View() const { return view_.data(); }

private:
    std::unique_ptr<CLabelsDoc> document_;
    QPointer<CLabelsView> view_;
};

class CardDocumentFactory : public DocumentFactory {
public:
    std::unique_ptr<ShellDocument> NewDocument() override;
    std::unique_ptr<ShellDocument> OpenDocument(const std::string& path) override;
};

// Gives the card template ("TessalineLB") its factory.
void InstallCardDocumentKind(DocManager* documents);
