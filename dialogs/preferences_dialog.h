// "Preferences": the card document's 148-byte block of general preferences
// (scrolling, auto-save, the sizes of small caps and raised and lowered
// text, ruler units, guide colour, justification, line breaking, quotes,
// pasteboard and tabs). "Make Default" writes the block as it stands into
// the default preference file at once; OK hands it back to the caller.
//
// The quote styles are a CBitmapComboBox: each item is a slice of one
// strip picture.
#pragma once

#include <cstdint>
#include <functional>

#include <QImage>

#include "dialogs/combo_frame.h"
#include "dialogs/record_dialog.h"
#include "platform/gdi_types.h"
#include "records/preferences_format.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;

class CBitmapComboBox : public COwnerDrawnCombo {
public:
    explicit CBitmapComboBox(QWidget* parent = nullptr);
    // The strip holds count slices of width x height stacked from the top.
    void Setup(const QImage& strip, int32_t count, int32_t width, int32_t height);
    int32_t ItemWidth() const { return itemWidth_; }
    int32_t ItemHeight() const { return itemHeight_; }
    const QImage& Strip() const { return strip_; }

protected:
    void DrawCurrent(Dc* dc, const IntRect& field) override;
    bool HasCurrent() const override;

private:
    QImage strip_;
    int32_t count_ = 0;
    int32_t itemWidth_ = 0;
    int32_t itemHeight_ = 0;
};

// Draws item `index` of a bitmap combo into the rectangle: highlighted
// when selected, greyed when disabled, with a focus rectangle when focused.
class Dc;
struct IntRect;
void DrawBitmapComboItem(Dc* dc, const IntRect& rect, const QImage& strip, int32_t index, int32_t itemWidth,
                         int32_t itemHeight, bool selected, bool enabled, bool focused, const QPalette& palette);

// The quote-style strip: 8 slices of 34 x 19 pixels.
QImage QuoteStyleStrip();
constexpr int32_t kQuoteStyleCount = 8;

class CDlgPreferences : public OpeningDialog {
public:
    // Answers the colour picked starting from the given one, or false.
    using ColourChooser = std::function<bool(ColorRef* colour)>;

    explicit CDlgPreferences(QWidget* parent = nullptr);

    void SetRecord(const uint8_t* block);
    const uint8_t* Record() const { return record_; }
    // The system colour dialog unless replaced.
    void SetColourChooser(ColourChooser chooser) { chooser_ = std::move(chooser); }

    QSlider* ScrollSpeed() const { return speed_; }
    QCheckBox* AutoSave() const { return autoSave_; }
    QLineEdit* AutoSaveMinutes() const { return minutes_; }
    QLineEdit* SmallCaps() const { return smallCaps_; }
    QLineEdit* Superscript() const { return superscript_; }
    QLineEdit* Subscript() const { return subscript_; }
    QComboBox* HorizontalUnit() const { return horizontal_; }
    QComboBox* VerticalUnit() const { return vertical_; }
    QPushButton* GuideColour() const { return guideColour_; }
    QRadioButton* ForceJustify() const { return justify_[0]; }
    QRadioButton* Justify() const { return justify_[1]; }
    QRadioButton* TextWrap() const { return breaking_[0]; }
    QRadioButton* Hyphenation() const { return breaking_[1]; }
    QCheckBox* PictureIntoDocument() const { return pictureInto_; }
    CBitmapComboBox* QuoteStyle() const { return quotes_; }
    QCheckBox* SmartQuotes() const { return smartQuotes_; }
    QCheckBox* GuidesInBack() const { return guidesBack_; }
    QLineEdit* PasteboardWidth() const { return pasteWidth_; }
    QLineEdit* PasteboardHeight() const { return pasteHeight_; }
    QLineEdit* TabsWidth() const { return tabs_; }
    QCheckBox* SavePageScale() const { return saveScale_; }
    QPushButton* MakeDefault() const { return makeDefault_; }

    void accept() override;

protected:
    void Open() override;

private:
    // Reads every control into the block; false (with the user told) when
    // a number field does not hold an integer.
    bool Exchange(uint8_t* block);
    void PaintSwatch();
    void OnGuideColour();
    void OnMakeDefault();

    uint8_t record_[kGeneralPrefsSize] = {};
    ColorRef guide_ = 0;
    ColourChooser chooser_;

    QSlider* speed_;
    QCheckBox* autoSave_;
    QLineEdit* minutes_;
    QLineEdit* smallCaps_;
    QLineEdit* superscript_;
    QLineEdit* subscript_;
    QComboBox* horizontal_;
    QComboBox* vertical_;
    QPushButton* guideColour_;
    QRadioButton* justify_[2];
    QRadioButton* breaking_[2];
    QCheckBox* pictureInto_;
    CBitmapComboBox* quotes_;
    QCheckBox* smartQuotes_;
    QCheckBox* guidesBack_;
    QLineEdit* pasteWidth_;
    QLineEdit* pasteHeight_;
    QLineEdit* tabs_;
    QCheckBox* saveScale_;
    QPushButton* makeDefault_;
};
