// The list controls of the wizard set-up pages.
//
// CSmartListbox keeps its entries (text, a data value, an enabled flag) in
// an array of its own; the list's window items are only placeholders, and
// item i is always drawn from record i. Every change therefore goes through
// the control's operations, which change both together. The user can drag
// entries into another order and, with the enabled-flag style, switch an
// entry on and off by double-clicking it; each move or switch is reported
// to the page that owns the list.
//
// CSmartEdit shows the selected entry's name beside a list.
//
// CFolderListBox shows the fault list of one tab of the Special page: each
// entry with a text built for that tab and a coloured marker saying how
// bad the fault is.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <QLineEdit>
#include <QListWidget>

#include "foundation/int_geometry.h"
#include "platform/gdi_types.h"

class Dc;
struct WizardFault;
struct WizardFaultList;

struct CSmartListItem {
    std::string text;  // Windows-1252
    uint32_t data = 0;
    uint8_t enabled = 1;
};

// Style bits.
enum : uint32_t {
    kSmartMultiSelect = 2,
    kSmartDragReorder = 4,
    kSmartItemFlags = 8,
};

// What the list reports to its page.
enum : int32_t {
    kSmartMoved = 1,    // first: old index, second: new index
    kSmartToggled = 2,  // first: the index, second: -2
};

struct SmartListChange {
    int32_t code = 0;
    int32_t first = 0;
    int32_t second = 0;
};

class CSmartListbox : public QListWidget {
public:
    // "Orm SmartListbox Changed": the record and the list it came from.
    using ChangeHandler = std::function<void(const SmartListChange& change, CSmartListbox* list)>;

    explicit CSmartListbox(QWidget* parent = nullptr);
    ~CSmartListbox() override;

    // Returns the previous style. The multiple-selection bit also sets how
    // the list's window selects.
    uint32_t SetStyle(uint32_t bits);
    uint32_t Style() const { return style_; }
    void SetChangeHandler(ChangeHandler handler) { changed_ = std::move(handler); }

    virtual void ResetContent();
    // index is clamped to 0..count; the result is the index, or -1 for a
    // null item.
    virtual int32_t InsertItem(const CSmartListItem* item, int32_t index);
    virtual int32_t AddItem(const CSmartListItem* item);
    virtual void DeleteItem(int32_t index);
    // False when index is out of range or there is nowhere to copy to.
    virtual bool GetItem(int32_t index, CSmartListItem* item) const;
    virtual void MoveItem(int32_t from, int32_t to);
    virtual void ToggleItem(int32_t index);
    virtual void DrawItemText(Dc* dc, const IntRect& rect, int32_t index, bool selected);

    int32_t Count() const { return int32_t(items_.size()); }
    uint32_t GetItemData(int32_t index) const;
    void SetItemText(int32_t index, const std::string& text);
    // The selected indexes in ascending order.
    std::vector<int32_t> SelectedIndexes() const;
    int32_t GetFirstSelected() const;
    bool IsSelected(int32_t index) const;
    // Clears the selection, then selects first..last; (-1, -1) only clears.
    void SelectRange(int32_t first, int32_t last);

    // The steps of a drag, by the index under the pointer (the mouse
    // handlers call them; so can a test).
    void DragStart(int32_t index);
    void DragOver(int32_t index);
    void DragEnd(int32_t index);
    bool Dragging() const { return dragging_; }
    void DoubleClickAt(int32_t index);

    // What an item is drawn with.
    ColorRef NormalText() const { return normalText_; }
    ColorRef DisabledText() const { return disabledText_; }
    ColorRef SelectedBack() const { return selectedBack_; }
    ColorRef SelectedDisabledBack() const { return selectedDisabledBack_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void Notify(int32_t code, int32_t first, int32_t second);
    void RedrawItem(int32_t index);
    LogFont WidgetFont(bool drag) const;

    uint32_t style_ = 0;
    std::vector<CSmartListItem> items_;
    bool dragging_ = false;
    int32_t anchor_ = -1;
    int32_t current_ = -1;
    int32_t target_ = -1;
    ColorRef normalText_;
    ColorRef disabledText_;
    ColorRef selectedBack_;
    ColorRef selectedText_;
    ColorRef selectedDisabledBack_;
    ColorRef selectedDisabledText_;
    ChangeHandler changed_;
};

class CSmartEdit : public QLineEdit {
public:
    explicit CSmartEdit(QWidget* parent = nullptr) : QLineEdit(parent) {}
    // Sets the text without it counting as the user's edit.
    void SetTextQuiet(const std::string& text);
};

// The marker bits a page's rating of a fault sets.
enum : uint32_t {
    kFaultMarkGreen = 1,
    kFaultMarkYellow = 2,
    kFaultMarkRed = 4,
};

// The text an entry shows on a tab of the Special page.
std::string FolderListItemText(const WizardFault& fault, int32_t tab);
// The marker's colour for a rating; 0 (none) for a rating of 0.
ColorRef FolderListMarkColour(uint32_t rating);

class CFolderListBox : public QListWidget {
public:
    using Rater = std::function<uint32_t(const WizardFault& fault)>;

    explicit CFolderListBox(QWidget* parent = nullptr);

    // Empties the list and shows the source's entries as the tab's.
    void SetSource(const WizardFaultList* list, int32_t tab);
    void SetRater(Rater rater) { rater_ = std::move(rater); }
    const WizardFaultList* Source() const { return source_; }
    int32_t Tab() const { return tab_; }
    int32_t SelectedIndex() const;

    void DrawItem(Dc* dc, const IntRect& rect, int32_t index, bool selected) const;

private:
    const WizardFaultList* source_ = nullptr;
    int32_t tab_ = 0;
    Rater rater_;
};
