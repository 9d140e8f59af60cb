#include "typography/glyph_preview.h"

#include <QImage>
#include <QPainter>

#include "platform/dc.h"
#include "typography/glyph_layout.h"
#include "typography/glyph_render.h"
#include "typography/glyph_sources.h"

namespace {

constexpr char kSampleLine[] = "Sample";

}  // namespace

CGlyphPreviewWnd::CGlyphPreviewWnd(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Glyph Preview"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CGlyphPreviewWnd::SetEffect(const GlyphEffect* effect, const GlyphTints* tints)
{
    effect_ = effect;
    tints_ = tints;
    update();
}

void CGlyphPreviewWnd::Redraw() { repaint(); }

void CGlyphPreviewWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QColor background = palette().color(QPalette::Base);
    painter.fillRect(rect(), background);
    if (!effect_ || !tints_ || width() <= 0 || height() <= 0)
        return;
    GlyphEffect effect = *effect_;
    // Before a line is typed the look is shown on a word of its own, not
    // as a blank box.
    if (GlyphLineText(effect.line1).empty() && GlyphLineText(effect.line2).empty())
        SetGlyphLine(effect.line1, kSampleLine);
    else if (GlyphLineText(effect.line1).empty())
        return;
    FontSpec face;
    const GlyphFontList* fonts = CurrentGlyphFontList();
    LogFont logFont;
    if (fonts && fonts->GetFontSpec(effect.fontId, DEFAULT_CHARSET, &face) && !GetEffectLogFont(face, &logFont)) {
        QImage image(size(), QImage::Format_RGB32);
        image.fill(background);
        {
            auto dc = Dc::ForImage(&image);
            RenderGlyphEffect(dc.get(), effect, logFont, IntRect{0, 0, width(), height()}, 0, 1, *tints_);
        }
        painter.drawImage(0, 0, image);
        return;
    }
    painter.setPen(palette().color(QPalette::Text));
    painter.setFont(parentWidget() ? parentWidget()->font() : font());
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, QString::fromLatin1(kNotTrueTypeText));
}
