// The lists the glyph-effect dialogs choose from: colours of the document's
// table (a swatch and the colour's name) and tints in steps of ten percent.
#pragma once

#include <cstdint>

#include <QComboBox>

class GlyphTints;

// The sixteen colours of a table; the selected index is the colour index.
class GlyphColorCombo : public QComboBox {
public:
    explicit GlyphColorCombo(QWidget* parent = nullptr);
    void SetColors(const GlyphTints& tints);
};

// "   0%", " 10%", ... "100%": index x 10 is the tint.
void FillTintCombo(QComboBox* combo);
// Items from a list of names.
void FillNameCombo(QComboBox* combo, const char* const* names, int count);
