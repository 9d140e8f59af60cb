#include "graphics/ps_text_builders.h"

#include <charconv>
#include <cstring>
#include <string>

#include "foundation/cstr.h"
#include "graphics/rect_ops.h"

namespace {

void AddInt(std::string& s, int64_t v)
{
    char buffer[24];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, v);
    s.append(buffer, r.ptr);
}

// " x y"
void AddPoint(std::string& s, int64_t x, int64_t y)
{
    s += ' ';
    AddInt(s, x);
    s += ' ';
    AddInt(s, y);
}

// What printf's %f writes in the C locale: six decimals, rounded.
void AddFixed6(std::string& s, double v)
{
    char buffer[64];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, 6);
    s.append(buffer, r.ptr);
}

void AddColour(std::string& s, ColorRef colour)
{
    for (uint8_t c : {RedOf(colour), GreenOf(colour), BlueOf(colour)}) {
        s += ' ';
        AddFixed6(s, c / 255.0);
    }
    s += " setrgbcolor ";
}

int32_t Append(Handle text, const std::string& s)
{
    return TextHandleAppend(text, s.c_str());
}

}  // namespace

int32_t TextHandleAppend(Handle text, const char* string)
{
    if (!text)
        return kMemNullHandle;
    if (!string || !*string)
        return 0;
    const uint32_t size = HandleGetSize(text);
    const uint32_t length = size ? uint32_t(StrLengthBounded(HandleData<char>(text), int32_t(size - 1))) : 0;
    const uint64_t added = std::strlen(string);
    if (length + added > uint64_t(size ? size - 1 : 0)) {
        if (length + added + 1 > uint64_t(INT32_MAX))
            return kMemOutOfMemory;
        const int32_t result = HandleResize(text, int32_t(length + added + 1));
        if (result != 0)
            return result;
    }
    std::memcpy(HandleData<char>(text) + length, string, added + 1);
    return 0;
}

int32_t PsPolygonClipPath(const IntPoint* points, int32_t count, Handle text)
{
    std::string s = " newpath ";
    for (int32_t i = 0; i < count; ++i) {
        AddPoint(s, points[i].x, points[i].y);
        s += i == 0 ? " moveto " : " lineto ";
    }
    s += " closepath clip ";
    return Append(text, s);
}

int32_t PsScale(double sx, double sy, int16_t decimals, Handle text)
{
    char x[kFixedTextSize], y[kFixedTextSize];
    FormatDoubleFixed(sx, x, decimals);
    FormatDoubleFixed(sy, y, decimals);
    return Append(text, std::string(" ") + x + " " + y + " scale ");
}

int32_t PsTranslate(int16_t x, int16_t y, Handle text)
{
    std::string s;
    AddPoint(s, x, y);
    return Append(text, s + " translate ");
}

int32_t PsRotate(int16_t angle, Handle text)
{
    std::string s = " ";
    AddInt(s, angle);
    return Append(text, s + " rotate ");
}

int32_t PsMoveTo(IntPoint point, Handle text)
{
    std::string s;
    AddPoint(s, point.x, point.y);
    return Append(text, s + " moveto ");
}

int32_t PsLineTo(IntPoint point, Handle text)
{
    std::string s = " ";
    AddPoint(s, point.x, point.y);
    return Append(text, s + " lineto ");
}

int32_t PsCurveTo(IntPoint p1, IntPoint p2, IntPoint p3, Handle text)
{
    std::string s;
    AddPoint(s, p1.x, p1.y);
    AddPoint(s, p2.x, p2.y);
    AddPoint(s, p3.x, p3.y);
    return Append(text, s + " curveto ");
}

int32_t PsSetRgbColor(ColorRef colour, Handle text)
{
    std::string s;
    AddColour(s, colour);
    return Append(text, s);
}

int32_t PsTranslateSigned(int32_t x, int32_t y, int32_t positive, Handle text)
{
    std::string s;
    if (positive)
        AddPoint(s, x, y);
    else
        AddPoint(s, -int64_t(x), -int64_t(y));
    return Append(text, s + " translate ");
}

namespace {

void AddArcRing(std::string& s, IntPoint centre, int32_t outer, int32_t inner, int32_t start, int32_t end)
{
    AddPoint(s, centre.x, centre.y);
    AddPoint(s, outer, start);
    s += ' ';
    AddInt(s, end);
    s += " arc";
    AddPoint(s, centre.x, centre.y);
    AddPoint(s, inner, end);
    s += ' ';
    AddInt(s, start);
    s += " arcn ";
}

}  // namespace

int32_t PsArcRing(IntPoint centre, int32_t outer, int32_t inner, int32_t start, int32_t end, Handle text)
{
    std::string s;
    AddArcRing(s, centre, outer, inner, start, end);
    return Append(text, s);
}

int32_t PsFillQuad(int32_t left, int32_t top, int32_t right, int32_t bottom, ColorRef colour, Handle text)
{
    std::string s = " newpath ";
    for (int32_t n = 0; n < 4; ++n) {
        IntPoint p;
        RectCornerPoint(left, top, right, bottom, n, &p);
        AddPoint(s, p.x, p.y);
        s += n == 0 ? " moveto " : " lineto ";
    }
    s += " closepath ";
    AddColour(s, colour);
    return Append(text, s + " fill ");
}

int32_t PsFillRing(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t width, ColorRef colour,
                   Handle text)
{
    const IntPoint centre{int32_t((int64_t(left) + right) / 2), int32_t((int64_t(top) + bottom) / 2)};
    // A negative radius is a rangecheck that ends the whole print job.
    int64_t outer = int64_t(right) - centre.x;
    int64_t inner = outer - width - 2;
    outer = outer < 0 ? 0 : outer;
    inner = inner < 0 ? 0 : inner > outer ? outer : inner;
    std::string s = " newpath ";
    AddArcRing(s, centre, int32_t(outer), int32_t(inner), 0, 360);
    s += " closepath ";
    AddColour(s, colour);
    return Append(text, s + " fill ");
}
