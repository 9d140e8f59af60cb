#include <gtest/gtest.h>

#include <cstring>

#include "foundation/byte_order.h"
#include "frames/content_test_document.h"
#include "frames/frame_obj_power_text.h"
#include "frames/glyph_effect_services.h"
#include "typography/glyph_effect.h"

namespace {

class PowerTextFrame : public SwapTest {
protected:
    PowerTextFrame() : previous_(SetGlyphEffectRenderer(&services_)) {}
    ~PowerTextFrame() override { SetGlyphEffectRenderer(previous_); }

    GlyphEffectServices services_;
    GlyphEffectRenderer* previous_;
    ContentTestDocument doc_{dir_.path()};
};

// The frame lays the text out at the origin and moves it into place; the
// interior must be painted where the text ends up.
TEST_F(PowerTextFrame, TheEffectIsPaintedWhereTheFrameIs)
{
    FrameObjPowerText frame;
    frame.SetDocument(&doc_);
    frame.SetFromRect(IntRect{100, 50, 300, 150});
    uint8_t record[kGlyphRecordSize];
    GlyphEffect e = GetGlyphEffect(frame.Effect());
    SetGlyphLine(e.line1, "Hi");
    e.orientation = kGlyphHorizontal;
    e.style.outlineStyle = kOutlineNone;
    e.style.fillColor = 3;  // the test document's blue
    e.style.fillTint = 100;
    PutGlyphEffect(record, e);
    frame.SetEffect(record);
    frame.Recompute(0);
    frame.DrawContent(doc_.view.dc.get());

    const QImage& image = doc_.view.image;
    int blue = 0, elsewhere = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            if (!PixelIs(image, x, y, 0xFF0000))
                continue;
            ++blue;
            elsewhere += x < 100 || x >= 300 || y < 50 || y >= 150;
        }
    EXPECT_GT(blue, 3000);
    EXPECT_EQ(elsewhere, 0);
    // The middle of the "H"'s crossbar.
    EXPECT_TRUE(PixelIs(image, 150, 100, 0xFF0000) || PixelIs(image, 250, 100, 0xFF0000));
}

}  // namespace
