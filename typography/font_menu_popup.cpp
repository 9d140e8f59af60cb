#include "typography/font_menu_popup.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include <QCursor>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>

#include "platform/dc.h"
#include "typography/font_list.h"
#include "typography/menu_bitmaps.h"

namespace {

FontMenuPopup* g_popup = nullptr;

// Scrolling moves one font per pass of this length.
constexpr int kPassMs = 60;

}  // namespace

bool FontMenuPopup::Create(uint32_t commandId, int32_t trueTypeMarkId, int32_t trueTypeSilhouetteId,
                           int32_t deviceMarkId, int32_t deviceSilhouetteId)
{
    Destroy();
    auto popup = std::unique_ptr<FontMenuPopup>(new FontMenuPopup);
    if (!popup->marks_.Load(trueTypeMarkId, trueTypeSilhouetteId, deviceMarkId, deviceSilhouetteId))
        return false;
    popup->check_ = LoadMenuBitmap(kFontCheckBitmap);
    popup->commandId_ = commandId;
    const QScreen* screen = QGuiApplication::primaryScreen();
    popup->screen_ = screen ? screen->size() : QSize(1024, 768);
    popup->scrollTimer_.setInterval(kPassMs);
    FontMenuPopup* p = popup.get();
    QObject::connect(&popup->scrollTimer_, &QTimer::timeout, p, [p] { p->Scroll(); });
    g_popup = popup.release();
    return true;
}

void FontMenuPopup::Destroy()
{
    delete g_popup;
    g_popup = nullptr;
}

FontMenuPopup* FontMenuPopup::Instance() { return g_popup; }

LogFont FontMenuPopup::NameFont(int32_t index) const
{
    if (!ownFaces_ || !list_)
        return menuFont_;
    LogFont f = menuFont_;
    list_->GetLogFont(index, DEFAULT_CHARSET, &f);
    return f;
}

QSize FontMenuPopup::MeasureList(const FontList& list, const LogFont& menuFont)
{
    list_ = &list;
    menuFont_ = menuFont;
    ownFaces_ = list.GetCount() <= kOwnFaceLimit;
    // Measured at every opening: the list changes when fonts are installed
    // or removed.
    std::unique_ptr<Dc> dc = Dc::ForMeasuring();
    int32_t widest = 0;
    for (int32_t i = 0; i < list.GetCount(); ++i) {
        dc->selectFont(NameFont(i));
        char face[32];
        list.GetFaceName(i, face);
        widest = std::max(widest, dc->getTextExtent(face).width);
    }
    const int32_t rows = std::max(0, std::min(list.GetCount(), (screen_.height() - 23) / kRowHeight));
    const int32_t marks = check_.width() + marks_.Size().width() + 2 * kGap;
    return QSize(widest + 18 + marks, rows * kRowHeight + 3);
}

bool FontMenuPopup::TakeOverMenu(QMenu* menu, QWidget* parentMenu)
{
    if (!menu)
        return false;
    const FontList& list = *GetGlobalFontList();
    QSize size = MeasureList(list, LogFontOfWidget(menu->font()));
    // Rows as many as fit between 10 and the screen's height - 20.
    const int32_t fit = std::max(1, (screen_.height() - 30 - 3) / kRowHeight);
    const int32_t rows = std::min(list.GetCount(), fit);
    size.setHeight(rows * kRowHeight + 3);

    QPoint at = menu->pos();
    if (parentMenu) {
        const QRect parent(parentMenu->mapToGlobal(QPoint(0, 0)), parentMenu->size());
        at.setX(parent.right() + 1);
        if (at.x() + size.width() > screen_.width())
            at.setX(parent.left() - size.width());
    }
    at.setY(std::clamp(at.y(), 10, std::max(10, screen_.height() - 20 - size.height())));
    menu->setFixedSize(size);
    menu->move(at);

    tracker_.Open(list.GetCount(), rows);
    menu_ = menu;
    scrollTimer_.start();
    return true;
}

void FontMenuPopup::Release()
{
    scrollTimer_.stop();
    menu_ = nullptr;
}

int32_t FontMenuPopup::RowAt(int32_t y) const
{
    if (y < 1)
        return -1;
    const int32_t row = (y - 1) / kRowHeight;
    return row < tracker_.Rows() ? row : -1;
}

void FontMenuPopup::Scroll()
{
    if (!menu_)
        return;
    if (tracker_.ScrollStep())
        menu_->update();
    // The list ends when the pointer stays away from it and from the menu
    // it came from.
    static QElapsedTimer away;
    const QPoint pointer = QCursor::pos();
    bool near = QRect(menu_->mapToGlobal(QPoint(0, 0)), menu_->size()).contains(pointer);
    for (QObject* o : menu_->menuAction()->associatedObjects()) {
        if (auto* parent = qobject_cast<QWidget*>(o); parent && parent != menu_ && parent->isVisible())
            near = near || QRect(parent->mapToGlobal(QPoint(0, 0)), parent->size()).contains(pointer);
    }
    if (near) {
        away.invalidate();
    } else if (!away.isValid()) {
        away.start();
    } else if (away.elapsed() > kLeaveDelayMs) {
        away.invalidate();
        QMenu* menu = menu_;
        Release();
        menu->close();
    }
}

FontListTracker::Outcome FontMenuPopup::Key(FontListTracker::Key key)
{
    const FontListTracker::Outcome outcome = tracker_.Press(key);
    if (menu_)
        menu_->update();
    return outcome;
}

void FontMenuPopup::PointerAt(int32_t y)
{
    const int32_t row = RowAt(y);
    if (row != tracker_.Highlight()) {
        tracker_.PointAt(row);
        if (menu_)
            menu_->update();
    }
}

FontListTracker::Outcome FontMenuPopup::PointerReleased(int32_t y) { return tracker_.Release(RowAt(y)); }

bool FontMenuPopup::Choice(FontChoice* out) const
{
    const int32_t index = tracker_.Result();
    if (!list_ || index < 0 || index >= list_->GetCount())
        return false;
    *out = FontChoice{};
    const FontRecord record = list_->GetAt(index);
    std::memcpy(out->faceName, record.faceName, sizeof(out->faceName));
    out->type = record.type;
    out->index = index;
    return true;
}

void FontMenuPopup::Paint(Dc* dc, int32_t width, int32_t height, int32_t checkedIndex)
{
    const QPalette pal = menu_ ? menu_->palette() : QPalette();
    const ColorRef menuColour = FromQColor(pal.color(QPalette::Window));
    const ColorRef menuText = FromQColor(pal.color(QPalette::WindowText));
    const ColorRef highlight = FromQColor(pal.color(QPalette::Highlight));
    const ColorRef highlightText = FromQColor(pal.color(QPalette::HighlightedText));
    dc->fillRect(IntRect{0, 0, width, height}, Brush::Solid(menuColour));
    if (!list_)
        return;
    for (int32_t row = 0; row < tracker_.Rows(); ++row) {
        const IntRect r{0, 1 + row * kRowHeight, width, 1 + (row + 1) * kRowHeight};
        const bool lit = row == tracker_.Highlight();
        dc->fillRect(r, Brush::Solid(lit ? highlight : menuColour));
        const ColorRef ink = lit ? highlightText : menuText;
        if (tracker_.IsArrowRow(row)) {
            const int32_t cx = width / 2;
            const int32_t cy = (r.top + r.bottom) / 2;
            const int32_t d = row == 0 ? -1 : 1;
            const IntPoint arrow[3] = {{cx - 4, cy - 2 * d}, {cx + 5, cy - 2 * d}, {cx, cy + 3 * d}};
            const Brush oldBrush = dc->selectBrush(Brush::Solid(ink));
            const Pen oldPen = dc->selectPen(Pen{PS_NULL, 0, ink});
            dc->polygon(arrow, 3);
            dc->selectPen(oldPen);
            dc->selectBrush(oldBrush);
            continue;
        }
        const int32_t font = tracker_.FontAtRow(row);
        if (font < 0)
            continue;
        int32_t x = kGap;
        if (font == checkedIndex && !check_.isNull())
            dc->stretchImage(IntRect{x, r.top + (kRowHeight - check_.height()) / 2, x + check_.width(),
                                     r.top + (kRowHeight - check_.height()) / 2 + check_.height()},
                             check_, QRect(), SRCAND);
        x += check_.width();
        const FontRecord record = list_->GetAt(font);
        const QSize mark = marks_.Size();
        DrawFontMark(dc, marks_, record.type, x, r.top, r.bottom, mark.width(), mark.height());
        x += mark.width() + kGap;
        const LogFont oldFont = dc->selectFont(NameFont(font));
        const ColorRef oldInk = dc->setTextColor(ink);
        DrawCentredText(dc, x, r.top, r.bottom, record.faceName);
        dc->setTextColor(oldInk);
        dc->selectFont(oldFont);
    }
}
