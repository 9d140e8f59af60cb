#include "dbdoc/view_browser.h"

#include <algorithm>

#include <QFontMetrics>

#include "database/data_file.h"
#include "dbdoc/brs_list_box.h"
#include "dbdoc/cdb_document.h"
#include "dbdoc/pv_splitter_wnd.h"
#include "foundation/cp1252.h"
#include "foundation/string_table.h"

namespace {

constexpr int32_t kMargin = 2;
constexpr int32_t kStatusGap = 5;
// The list's width when the window is made, room permitting.
constexpr int32_t kPreferredWidth = 110;
// The tool tip of control n is string n + 32128.
constexpr int32_t kToolTipBase = 32128;

}  // namespace

CViewBrowser::CViewBrowser(CDBDocument* document, QWidget* parent) : QWidget(parent), document_(document)
{
    setObjectName("CViewBrowser");
    // Clicks in the browser leave the caret where the user was typing.
    setFocusPolicy(Qt::NoFocus);
    list_ = new CBrsListBox(this);
    list_->setObjectName("BrowserList");
    for (int32_t i = 0; i < 3; ++i) {
        status_[i] = new CTransparentStatic(this);
        status_[i]->setObjectName(QString("status%1").arg(kStatusCurrentId + i));
        status_[i]->setToolTip(Cp1252ToQString(StatusToolTip(kStatusCurrentId + i)));
    }
}

CViewBrowser::~CViewBrowser()
{
    if (document_ && document_->Browser() == this)
        document_->SetBrowser(nullptr);
}

void CViewBrowser::DetachDocument()
{
    list_->SetDocument(nullptr);
    document_ = nullptr;
}

std::string CViewBrowser::StatusToolTip(int32_t controlId)
{
    const char* text = LookupString(controlId + kToolTipBase);
    return text ? text : "";
}

void CViewBrowser::RefreshRecords(bool first)
{
    list_->SetDocument(document_);
    document_->SetBrowser(this);
    list_->SetSelChange([this](int32_t row) {
        if (document_)
            document_->SelectRow(row);
    });
    list_->Initialise(0, false);
    SetStatus("", "", "", false);
    initialised_ = true;
    document_->SetBrowserReady();
    if (first)
        document_->RefreshAfterViewsReady();
    Layout();
}

void CViewBrowser::resizeEvent(QResizeEvent*)
{
    if (initialised_)
        Layout();
}

int32_t CViewBrowser::CounterWidth() const
{
    const QFontMetrics metrics(status_[0]->font());
    const int32_t digits = metrics.horizontalAdvance(QString::number(kMaxLiveRecords).fill(u'0'));
    return digits + status_[0]->contentsMargins().left() + status_[0]->contentsMargins().right() + 2;
}

QSize CViewBrowser::minimumSizeHint() const
{
    const int32_t statusHeight = status_[0]->sizeHint().height();
    return QSize(2 * kMargin + 3 * CounterWidth() + 2 * kStatusGap, 2 * kMargin + 3 * statusHeight + kMargin);
}

QSize CViewBrowser::sizeHint() const
{
    const QSize least = minimumSizeHint();
    return QSize(std::max(least.width(), kPreferredWidth), least.height());
}

void CViewBrowser::Layout()
{
    const int32_t statusHeight = status_[0]->sizeHint().height();
    const QRect client = rect();
    const int32_t left = kMargin;
    const int32_t top = kMargin;
    list_->setGeometry(left, top, std::max(0, client.width() - left - kMargin),
                       std::max(0, client.height() - top - statusHeight - 2 * kMargin));
    const int32_t width = std::max(0, (client.width() - 2 * kMargin - 2 * kStatusGap) / 3);
    const int32_t y = client.height() - statusHeight - kMargin;
    for (int32_t i = 0; i < 3; ++i)
        status_[i]->setGeometry(left + i * (width + kStatusGap), y, width, statusHeight);
}

void CViewBrowser::SetStatus(const std::string& current, const std::string& inBrowser,
                             const std::string& inDatabase, bool redraw)
{
    const std::string* texts[3] = {&current, &inBrowser, &inDatabase};
    for (int32_t i = 0; i < 3; ++i) {
        status_[i]->setText(QString::fromStdString(*texts[i]));
        if (redraw)
            status_[i]->repaint();
    }
}

std::string CViewBrowser::StatusText(int32_t index) const
{
    return index >= 0 && index < 3 ? status_[index]->text().toStdString() : std::string();
}

void CViewBrowser::AddRows(int32_t count) { list_->SetRowCount(list_->RowCount() + count, true); }
void CViewBrowser::ClearRows() { list_->SetRowCount(0, true); }
void CViewBrowser::RemoveRow() { list_->SetRowCount(std::max(list_->RowCount() - 1, 0), true); }
void CViewBrowser::SetRowCount(int32_t count) { list_->SetRowCount(count, true); }
void CViewBrowser::SelectRow(int32_t row) { list_->SetSelection(row); }
int32_t CViewBrowser::CurrentRow() const { return list_->Selection(); }
void CViewBrowser::RedrawRow(int32_t row) { list_->PaintRow(row); }
void CViewBrowser::EnsureVisible(int32_t row) { list_->EnsureVisible(row); }
int32_t CViewBrowser::PageSize() const { return std::max(1, list_->VisibleRows()); }
int32_t CViewBrowser::RowCount() const { return list_->RowCount(); }
void CViewBrowser::RedrawList() { list_->RedrawAll(); }
