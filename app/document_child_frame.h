// DocumentChildFrame: the window of a document inside the main frame's
// work area. Closing it asks the main frame, which closes the document
// only when nothing would be lost; the document's windows are taken down
// by the main frame, never by the window itself.
#pragma once

#include <cstdint>

#include <QMdiSubWindow>

#include "platform/command_target.h"

class CMainFrame;
class ShellDocument;

class DocumentChildFrame : public QMdiSubWindow, public CommandTarget {
public:
    DocumentChildFrame(CMainFrame* mainFrame, ShellDocument* document);

    ShellDocument* Document() const { return document_; }
    CMainFrame* MainFrame() const { return mainFrame_; }
    // Makes the views and bars inside; false when one cannot be made.
    virtual bool CreateClient() = 0;
    // The view commands go to first; null when there is none.
    virtual QWidget* ActiveView() const = 0;
    // The frame became the active document window, or stopped being it.
    virtual void OnMdiActivate(bool activating) = 0;

    // The main frame takes the window down.
    void CloseFromHost();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    CMainFrame* mainFrame_;
    ShellDocument* document_;
    bool closing_ = false;
};
