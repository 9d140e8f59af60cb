#include "typography/glyph_combos.h"

#include <QPixmap>

#include "foundation/cp1252.h"
#include "typography/glyph_sources.h"

GlyphColorCombo::GlyphColorCombo(QWidget* parent) : QComboBox(parent) {}

void GlyphColorCombo::SetColors(const GlyphTints& tints)
{
    const int selected = currentIndex();
    clear();
    for (int32_t i = 0; i < kGlyphColorCount; ++i) {
        QPixmap swatch(24, 12);
        swatch.fill(ToQColor(tints.Tint(i, 100)));
        addItem(QIcon(swatch), Cp1252ToQString(tints.Name(i)));
    }
    setCurrentIndex(selected);
}

void FillTintCombo(QComboBox* combo)
{
    combo->clear();
    for (int i = 0; i <= 10; ++i)
        combo->addItem(QString::asprintf("%4d%%", i * 10));
}

void FillNameCombo(QComboBox* combo, const char* const* names, int count)
{
    combo->clear();
    for (int i = 0; i < count; ++i)
        combo->addItem(QString::fromLatin1(names[i]));
}
