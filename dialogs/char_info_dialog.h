// "Character Info": font, size, colour, shade and style switches of the
// text selection, with the word "Example" drawn in that format. Font,
// colour, size and shade may arrive as "no common value" markers; the flag
// word comes back with what the user touched.
#pragma once

#include <cstdint>

#include "dialogs/object_dialog_kit.h"
#include "dialogs/record_dialog.h"

class CColorComboBox;
class CFontComboBox;
class ColorTable;
class FontList;
class FontTable;
class QCheckBox;
class QComboBox;

// Markers of a field without one value over the selection.
enum : int16_t {
    kCharMixed = -1,
    kCharMixedOther = -1111,
};

struct CharInfoRecord {
    int32_t first = 0;  // the caller's
    int16_t font = 0;   // a font id of the document's table
    int16_t colour = 0;
    int16_t size = 0;   // points
    int16_t shade = 0;  // percent
    uint8_t plain = 0;
    uint8_t bold = 0;
    uint8_t italic = 0;
    uint8_t underlined = 0;
    uint8_t outlined = 0;
    uint8_t shadowed = 0;
    uint8_t condensed = 0;
    uint8_t extended = 0;
    uint8_t smallCaps = 0;
    uint8_t subscript = 0;
    uint8_t superscript = 0;
    uint8_t spare = 0;
    uint8_t extendedStylesAllowed = 0;  // 0: no sub- or superscript, no small caps
    uint8_t spare2 = 0;
    uint32_t flags = 0;
};

// Bits of CharInfoRecord::flags.
enum : uint32_t {
    kCharShade = 0x08,
    kCharColour = 0x10,
    kCharStyle = 0x20,
    kCharSize = 0x40,
    kCharFont = 0x80,
    kCharSmallCaps = 0x100,
    kCharScript = 0x200,
};

// What the dialog reads of the card document.
struct CharInfoDocument {
    FontTable* fonts = nullptr;
    const ColorTable* colors = nullptr;
    int32_t smallCapsPercent = 70;
    int32_t superscriptPercent = 33;
    int32_t subscriptPercent = 33;
};

class CCharPreviewWnd : public SamplePane {
public:
    explicit CCharPreviewWnd(QWidget* parent);
    void SetData(const CharInfoRecord* record, const char* text, const CharInfoDocument* document,
                 const FontList* fonts);

protected:
    void Draw(Dc* dc, const IntRect& client) override;

private:
    const CharInfoRecord* record_ = nullptr;
    const char* text_ = nullptr;
    const CharInfoDocument* document_ = nullptr;
    const FontList* fonts_ = nullptr;
};

class CDlgCharInfo : public RecordDialog<CharInfoRecord> {
public:
    explicit CDlgCharInfo(QWidget* parent = nullptr);

    void SetDocument(const CharInfoDocument& document) { document_ = document; }
    // The fonts offered; the program-wide list unless set.
    void SetFontList(const FontList* list) { fontList_ = list; }

    CFontComboBox* Font() const { return font_; }
    QComboBox* Size() const { return size_; }
    CColorComboBox* Colour() const { return colour_; }
    QComboBox* Shade() const { return shade_; }
    QCheckBox* Plain() const { return plain_; }
    QCheckBox* Bold() const { return bold_; }
    QCheckBox* Italic() const { return italic_; }
    QCheckBox* Underlined() const { return underlined_; }
    QCheckBox* SmallCaps() const { return smallCaps_; }
    QCheckBox* Subscript() const { return subscript_; }
    QCheckBox* Superscript() const { return superscript_; }
    CCharPreviewWnd* Sample() const { return sample_; }

    void accept() override;

private:
    void Open() override;
    void FontChanged();
    void ReadControls();
    void BoxClicked(QCheckBox* box);
    // The combo's number into the field when the user set it (flag): false,
    // said, when it is no whole number within the range.
    bool TakeNumber(QComboBox* combo, uint32_t flag, int32_t minimum, int32_t maximum, int16_t* field);

    CharInfoDocument document_;
    const FontList* fontList_ = nullptr;
    int16_t incomingFont_ = 0;
    CFontComboBox* font_;
    QComboBox* size_;
    CColorComboBox* colour_;
    QComboBox* shade_;
    QCheckBox* plain_;
    QCheckBox* bold_;
    QCheckBox* italic_;
    QCheckBox* underlined_;
    QCheckBox* outlined_;
    QCheckBox* shadowed_;
    QCheckBox* condensed_;
    QCheckBox* extended_;
    QCheckBox* smallCaps_;
    QCheckBox* subscript_;
    QCheckBox* superscript_;
    CCharPreviewWnd* sample_;
};
