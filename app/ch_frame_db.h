// CChFrameDB: the window of a database: the browser list on the left and
// the data-entry form on the right, side by side. The window is sized to
// its content when made and is never dragged beyond it; maximised, it
// fills the work area.
#pragma once

#include "app/document_child_frame.h"

class CPVSplitterWnd;

class CChFrameDB : public DocumentChildFrame {
public:
    CChFrameDB(CMainFrame* mainFrame, ShellDocument* document);

    bool CreateClient() override;
    // The data-entry form, where typing goes.
    QWidget* ActiveView() const override { return dataEntry_; }
    void OnMdiActivate(bool activating) override;

    QWidget* Browser() const { return browser_; }
    QWidget* DataEntry() const { return dataEntry_; }
    // The largest size the window may be dragged to; invalid before the
    // client exists.
    QSize GetMaxTrackSize() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    CPVSplitterWnd* splitter_ = nullptr;
    QWidget* browser_ = nullptr;
    QWidget* dataEntry_ = nullptr;
};
