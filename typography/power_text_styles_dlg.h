// The power text styles dialog ("Text Effects"): everything of a
// power-text frame's glyph effect: its two lines, font, envelope shape,
// alignment and orientation, and its style part, chosen from the stored
// styles (stepped through with "L" and "R", added and deleted) or edited in
// the glyph effects sheet ("Custom Style..."). The stored styles are read
// from the program folder's styles file when the dialog opens (the file is
// first written from the built-in styles when missing) and written back on
// OK.
//
// The caller runs SetEffect, exec and, after OK, GetEffect; Cancel leaves
// the record and the file as they were, and so does OK for a file that
// could not be read.
#pragma once

#include <cstdint>

#include <QDialog>

#include "foundation/handle.h"
#include "foundation/path_record.h"
#include "typography/glyph_effect.h"
#include "typography/glyph_sources.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class CGlyphPreviewWnd;

class PowerTextStylesDlg : public QDialog {
public:
    explicit PowerTextStylesDlg(QWidget* parent = nullptr);

    // The record (its font id a document font id), the caller's empty
    // Handle for the style list, and the document's fonts and colours.
    void SetEffect(const GlyphEffect* effect, Handle styles, const GlyphDocument& document);
    // The edited record, its font id a document font id again.
    void GetEffect(GlyphEffect* out) const { *out = effect_; }

    // The current style (1-based; -1 when the record's style matches none)
    // and the number of stored styles.
    int16_t CurrentStyle() const { return current_; }
    int32_t StyleCount() const { return count_; }
    // The record as the dialog holds it now (its font id a font list index).
    const GlyphEffect& Record() const { return effect_; }

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;
    // Runs the glyph effects sheet titled "Custom Style" on *effect; true
    // after OK with the edited record in *effect.
    virtual bool EditCustomStyle(GlyphEffect* effect);

private:
    void OnInitDialog();
    void LoadStyles();
    void SelectFont();
    void UpdateLabel();
    void UpdateButtons();
    void ShowStyle();
    void Redraw();
    void OnPrevious();
    void OnNext();
    void OnAddStyle();
    void OnDeleteStyle();
    void OnCustomStyle();
    void OnOrientation();

    GlyphEffect effect_;
    Handle styles_ = nullptr;
    int32_t count_ = 0;
    int16_t current_ = -1;
    GlyphDocument document_;
    int16_t documentFontId_ = 0;
    PathRecord path_{};
    bool initialised_ = false;
    bool unreadable_ = false;
    bool keepFont_ = false;

    QLineEdit* line1_;
    QLineEdit* line2_;
    QComboBox* font_;
    QComboBox* shape_;
    QComboBox* alignment_;
    QRadioButton* horizontal_;
    QRadioButton* vertical_;
    QPushButton* previous_;
    QPushButton* next_;
    QLabel* label_;
    QPushButton* add_;
    QPushButton* delete_;
    QPushButton* custom_;
    QWidget* previewArea_;
    CGlyphPreviewWnd* preview_ = nullptr;
};

// The dialog's messages.
extern const char* const kStylesFileErrorText;
extern const char* const kStylesMemoryErrorText;
extern const char* const kStylesAddErrorText;
extern const char* const kStylesSaveErrorText;
