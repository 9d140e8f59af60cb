#include "graphics/text_wrappers.h"

#include <cstring>
#include <string_view>

#include "foundation/cp1252.h"
#include "graphics/font_state.h"
#include "platform/dc.h"

namespace {

constexpr char kReturn = 13;

// The run without a final carriage return.
std::string_view RunOf(const char* text, int32_t start, int32_t count)
{
    if (!text || start < 0 || count <= 0)
        return {};
    std::string_view run(text + start, size_t(count));
    if (run.back() == kReturn)
        run.remove_suffix(1);
    return run;
}

void SetFace(LogFont* f, const char* face)
{
    std::memset(f->faceName, 0, sizeof(f->faceName));
    if (face)
        std::memcpy(f->faceName, face, strnlen(face, sizeof(f->faceName) - 1));
}

}  // namespace

void SelectFontSize(int32_t n, Dc* dc)
{
    if (!dc)
        return;
    LogFont f = dc->font();
    f.height = -n;
    dc->selectFont(f);
}

void SelectFontFaceAndStyle(const LogFont& description, Dc* dc)
{
    if (!dc)
        return;
    LogFont f = dc->font();
    SetFace(&f, description.faceName);
    f.charSet = description.charSet;
    f.outPrecision = description.outPrecision;
    f.clipPrecision = description.clipPrecision;
    f.quality = description.quality;
    f.pitchAndFamily = description.pitchAndFamily;
    f.width = 0;
    dc->selectFont(f);
}

void SelectFontFace(const char* faceName, Dc* dc)
{
    if (!dc)
        return;
    LogFont f = dc->font();
    SetFace(&f, faceName);
    f.width = 0;
    dc->selectFont(f);
}

void SelectFontStyle(uint32_t style, Dc* dc)
{
    if (!dc)
        return;
    LogFont f = dc->font();
    ApplyFontStyle(&f, style);
    dc->selectFont(f);
}

void ReadFontMetrics(int16_t out[4], Dc* dc)
{
    if (!dc)
        return;
    const TextMetrics m = dc->getTextMetrics();
    out[0] = int16_t(m.ascent);
    out[1] = int16_t(m.descent);
    out[2] = int16_t(m.maxCharWidth);
    out[3] = int16_t(m.externalLeading);
}

int32_t MeasureChar(uint8_t ch, Dc* dc)
{
    if (!dc || ch == uint8_t(kReturn))
        return 0;
    const char c = char(ch);
    return dc->getTextExtent(std::string_view(&c, 1)).width;
}

int32_t MeasureText(const char* text, int32_t start, int32_t count, Dc* dc)
{
    const std::string_view run = RunOf(text, start, count);
    if (!dc || run.empty())
        return 0;
    return dc->getTextExtent(run).width;
}

void OutputChar(uint8_t ch, Dc* dc)
{
    if (!dc || ch == uint8_t(kReturn))
        return;
    const char c = char(ch);
    dc->textOut(0, 0, std::string_view(&c, 1));
}

void OutputText(const char* text, int32_t start, int32_t count, Dc* dc)
{
    const std::string_view run = RunOf(text, start, count);
    if (dc && !run.empty())
        dc->textOut(0, 0, run);
}

void LowerCaseBuffer(char* text, int32_t count)
{
    if (!text)
        return;
    for (int32_t i = 0; i < count; ++i)
        text[i] = char(Cp1252ToLower(uint8_t(text[i])));
}
