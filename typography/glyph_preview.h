// The preview of a glyph effect: the record's text laid out to fill the
// window and painted with its effect, in the font the record's font id
// indexes in the program's font list. The window reads the record each
// time it paints, so edits show once it is redrawn.
#pragma once

#include <QWidget>

#include "typography/glyph_effect.h"

class GlyphTints;

class CGlyphPreviewWnd : public QWidget {
    Q_OBJECT

public:
    explicit CGlyphPreviewWnd(QWidget* parent = nullptr);
    // What to show; both must outlive the window (or be replaced).
    void SetEffect(const GlyphEffect* effect, const GlyphTints* tints);
    // Repaints at once.
    void Redraw();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const GlyphEffect* effect_ = nullptr;
    const GlyphTints* tints_ = nullptr;
};

constexpr char kNotTrueTypeText[] = "Not True Type Font.";
