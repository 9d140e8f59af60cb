// The scrolling font list that the font menu's placeholder item opens: one
// per program, made at start-up. While the placeholder menu is shown the
// list takes the menu's window over: it sizes and places it beside the menu
// it came from, draws the fonts in it and follows the keys and the pointer
// until a font is chosen or the list is left.
#pragma once

#include <cstdint>

#include <QImage>
#include <QObject>
#include <QSize>
#include <QTimer>

#include "platform/gdi_types.h"
#include "typography/font_item_painter.h"
#include "typography/font_list_tracker.h"

class Dc;
class FontList;
class QMenu;

// What a font choice hands to the main frame.
struct FontChoice {
    char faceName[32] = {};
    uint32_t type = 0;
    int32_t index = -1;  // into the program's font list
};

class FontMenuPopup : public QObject {
public:
    // Row layout.
    static constexpr int32_t kRowHeight = 19;
    static constexpr int32_t kGap = 3;
    // Lists of at most this many fonts show each name in its own face.
    static constexpr int32_t kOwnFaceLimit = 9;
    // How long the pointer may be away from the list and its menu.
    static constexpr int32_t kLeaveDelayMs = 128;

    // Made at start-up with the command a choice sends and the bitmaps of
    // the font marks; false (and nothing made) when a bitmap is missing.
    static bool Create(uint32_t commandId, int32_t trueTypeMarkId, int32_t trueTypeSilhouetteId,
                       int32_t deviceMarkId, int32_t deviceSilhouetteId);
    static void Destroy();
    // Null before Create and after Destroy.
    static FontMenuPopup* Instance();

    uint32_t CommandId() const { return commandId_; }
    // The list's extent for the program's font list in the menu's font:
    // rows x 19 + 3 high; wide enough for the check mark, the font mark and
    // the widest name.
    QSize MeasureList(const FontList& list, const LogFont& menuFont);

    // Takes the placeholder menu over: places it beside parentMenu (or on
    // the other side when it would leave the screen) and opens the list at
    // its first font. False when there is no menu to take over.
    bool TakeOverMenu(QMenu* menu, QWidget* parentMenu);
    bool IsTracking() const { return menu_ != nullptr; }
    // The menu went away.
    void Release();

    // The list as it stands, into the menu's surface.
    void Paint(Dc* dc, int32_t width, int32_t height, int32_t checkedIndex);
    // Input while tracking; the outcome says whether the list is done.
    FontListTracker::Outcome Key(FontListTracker::Key key);
    void PointerAt(int32_t y);
    FontListTracker::Outcome PointerReleased(int32_t y);
    // The font chosen when the list ended with kAccept.
    bool Choice(FontChoice* out) const;
    const FontListTracker& Tracker() const { return tracker_; }

private:
    FontMenuPopup() = default;
    int32_t RowAt(int32_t y) const;
    void Scroll();
    LogFont NameFont(int32_t index) const;

    uint32_t commandId_ = 0;
    FontMarkBitmaps marks_;
    QImage check_;
    QSize screen_;
    FontListTracker tracker_;
    QTimer scrollTimer_;
    QMenu* menu_ = nullptr;
    const FontList* list_ = nullptr;
    LogFont menuFont_;
    bool ownFaces_ = false;
};
