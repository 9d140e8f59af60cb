#include "app/document_child_frame.h"

#include <QCloseEvent>

#include "app/main_frame.h"

DocumentChildFrame::DocumentChildFrame(CMainFrame* mainFrame, ShellDocument* document)
    : mainFrame_(mainFrame), document_(document)
{
    setAttribute(Qt::WA_DeleteOnClose, false);
}

void DocumentChildFrame::CloseFromHost()
{
    closing_ = true;
    close();
}

void DocumentChildFrame::closeEvent(QCloseEvent* event)
{
    if (closing_) {
        QMdiSubWindow::closeEvent(event);
        return;
    }
    // The document decides; when it may go, the main frame takes this
    // window down along with it.
    event->ignore();
    mainFrame_->CloseChildFrame(this);
}
