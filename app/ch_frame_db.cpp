#include "app/ch_frame_db.h"

#include <QEvent>
#include <QMdiArea>
#include <QStyle>

#include "app/main_frame.h"
#include "app/shell_document.h"
#include "dbdoc/pv_splitter_wnd.h"
#include "foundation/cp1252.h"

CChFrameDB::CChFrameDB(CMainFrame* mainFrame, ShellDocument* document) : DocumentChildFrame(mainFrame, document) {}

bool CChFrameDB::CreateClient()
{
    splitter_ = new CPVSplitterWnd;
    browser_ = Document()->CreateView(0, splitter_);
    if (!browser_) {
        qWarning("Failed to create Browser View");
        delete splitter_;
        splitter_ = nullptr;
        return false;
    }
    dataEntry_ = Document()->CreateView(1, splitter_);
    if (!dataEntry_) {
        qWarning("Failed to create DataEntry View");
        delete splitter_;
        splitter_ = nullptr;
        browser_ = nullptr;
        return false;
    }
    splitter_->addWidget(browser_);
    splitter_->addWidget(dataEntry_);
    splitter_->setChildrenCollapsible(false);
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    setWidget(splitter_);
    setWindowTitle(CMainFrame::FrameTitle(Document()));

    // The content decides the window's size: as large as both views want,
    // within the work area.
    const QSize content = GetMaxTrackSize();
    QSize size = content;
    if (QMdiArea* area = MainFrame()->MdiArea())
        size = size.boundedTo(area->viewport()->size());
    // A small work area still leaves the form usable: the work area
    // scrolls to the rest.
    size = size.expandedTo(CMainFrame::kUsableChildSize.boundedTo(content));
    // Nor is a field squeezed below the height of its text: the work area
    // scrolls rather than cut the letters.
    size = size.expandedTo(minimumSizeHint());
    resize(size);
    setMaximumSize(content);
    dataEntry_->setFocus();
    return true;
}

QSize CChFrameDB::GetMaxTrackSize() const
{
    if (!splitter_)
        return {};
    const QSize b = browser_->sizeHint();
    const QSize d = dataEntry_->sizeHint();
    const int32_t handle = splitter_->handleWidth();
    const QSize content(b.width() + d.width() + handle, std::max(b.height(), d.height()));
    // The frame's own border and title take their part on top of the content.
    const int32_t titleHeight = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    const int32_t border = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
    return content + QSize(2 * border, titleHeight + 2 * border);
}

void CChFrameDB::changeEvent(QEvent* event)
{
    // Dragged, the window stops at its content's size; maximised, it takes
    // the whole work area, and the list and the form grow with it. The
    // limit goes before the frame takes its maximised size, and comes back
    // once it has its normal size again.
    if (event->type() == QEvent::WindowStateChange && splitter_) {
        if (windowState() & Qt::WindowMaximized)
            setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        DocumentChildFrame::changeEvent(event);
        if (!(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)))
            setMaximumSize(GetMaxTrackSize());
        return;
    }
    DocumentChildFrame::changeEvent(event);
}

void CChFrameDB::OnMdiActivate(bool activating)
{
    CMainFrame* main = MainFrame();
    Document()->OnFrameActivate(activating);
    main->BuildDatabaseMenus();
    main->OnDatabaseFrameActivate(activating);
    main->RefreshFieldNames();
}
