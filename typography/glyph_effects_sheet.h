// The glyph effects sheet: the style part of a glyph effect (outline,
// interior fill, shadow) edited on three pages, each with a live preview.
// The caller runs SetEffect, Prepare, exec and, after OK, GetEffect; the
// sheet works on its own copy of the record.
//
// A page sets itself up the first time it is shown, as property pages do:
// it then corrects out-of-range fields of its own (a style below 1 becomes
// 1, a colour outside 0-15 and a tint outside 0-100 become 0) and selects
// them. Every change of a list stores its field at once and redraws the
// preview.
#pragma once

#include <cstdint>
#include <vector>

#include <QDialog>

#include "typography/glyph_effect.h"

class QComboBox;
class QFormLayout;
class QFrame;
class QTabWidget;
class CGlyphPreviewWnd;
class GlyphTints;

class CPgGE : public QWidget {
public:
    explicit CPgGE(const QString& title, QWidget* parent = nullptr);
    const QString& Title() const { return title_; }
    virtual void SetEffect(GlyphEffect* effect, const GlyphTints* tints);
    // The preview inside the page's preview area, shrunk by 2 on every
    // side; an old one is replaced.
    virtual void CreatePreview();
    // Sets the page up unless it already is.
    void EnsureInit();
    bool IsInitialised() const { return initialised_; }
    CGlyphPreviewWnd* Preview() const { return preview_; }

protected:
    enum class Kind { kStyle, kColor, kTint };
    struct Binding {
        QComboBox* combo;
        int16_t GlyphStyle::*field;
        Kind kind;
    };

    QComboBox* AddList(const char* label, const char* name, int16_t GlyphStyle::*field, Kind kind,
                       const char* const* items = nullptr, int count = 0);
    virtual void UpdateEnabling() {}
    void Redraw();

    GlyphEffect* effect_ = nullptr;
    const GlyphTints* tints_ = nullptr;

private:
    void OnInitDialog();
    void Store(const Binding& b, int index);

    QString title_;
    QFormLayout* form_ = nullptr;
    QFrame* previewArea_ = nullptr;
    CGlyphPreviewWnd* preview_ = nullptr;
    std::vector<Binding> bindings_;
    bool initialised_ = false;
};

class CPgGE_Outline : public CPgGE {
public:
    explicit CPgGE_Outline(QWidget* parent = nullptr);

protected:
    void UpdateEnabling() override;

private:
    QComboBox* style_;
    QComboBox* color_;
    QComboBox* tint_;
};

class CPgGE_Interior : public CPgGE {
public:
    explicit CPgGE_Interior(QWidget* parent = nullptr);

protected:
    void UpdateEnabling() override;

private:
    QComboBox* fill_;
    QComboBox* blendColor_;
    QComboBox* blendTint_;
};

class CPgGE_Shade : public CPgGE {
public:
    explicit CPgGE_Shade(QWidget* parent = nullptr);

protected:
    void UpdateEnabling() override;

private:
    QComboBox* style_;
    QComboBox* position_;
    QComboBox* fill_;
    QComboBox* color_;
    QComboBox* tint_;
    QComboBox* blendColor_;
    QComboBox* blendTint_;
};

class CDlgGlyphEffects : public QDialog {
public:
    enum Page { kOutlinePage = 0, kInteriorPage = 1, kShadePage = 2 };

    CDlgGlyphEffects(const QString& title, QWidget* parent = nullptr, int firstPage = kOutlinePage);
    // The title from the string table.
    CDlgGlyphEffects(int32_t titleId, QWidget* parent = nullptr, int firstPage = kOutlinePage);

    // Copies the record in and hands the copy to the pages.
    void SetEffect(const GlyphEffect* effect, const GlyphTints* tints);
    void GetEffect(GlyphEffect* out) const { *out = effect_; }
    // Adds the pages (Outline, Interior, Shade) without Apply and Help.
    void Prepare();

    CPgGE* PageAt(int index) const;
    QTabWidget* Tabs() const { return tabs_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    GlyphEffect effect_;
    CPgGE_Outline* outline_;
    CPgGE_Interior* interior_;
    CPgGE_Shade* shade_;
    QTabWidget* tabs_;
    int firstPage_;
    bool created_ = false;
};

// The lists of the pages, in item order.
extern const char* const kOutlineStyleNames[4];
extern const char* const kFillStyleNames[6];
extern const char* const kShadowStyleNames[4];
extern const char* const kShadowPositionNames[4];
