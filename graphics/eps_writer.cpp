// The raster EPS of the picture export. The picture is one PostScript
// image of 8-bit red, green and blue samples, run-length packed and
// written in ASCII base-85 so that the file stays 7-bit text with short
// lines, as documents that embed EPS files expect.

#include <string>

#include "foundation/handle.h"
#include "graphics/picture_writers.h"
#include "graphics/ps_text_builders.h"

namespace {

// Lines of the data stay well below the 255 characters the document
// structuring conventions allow.
constexpr int kLineLength = 72;
constexpr int kLongestRun = 128;
constexpr uint8_t kEndOfData = 128;

// PostScript's RunLengthDecode form: a length byte n below 128 copies the
// next n + 1 bytes, n above 128 repeats the next byte 257 - n times, 128
// ends the data.
void RunLengthEncode(const uint8_t* data, size_t size, std::string* out)
{
    size_t i = 0;
    while (i < size) {
        size_t run = 1;
        while (i + run < size && run < kLongestRun && data[i + run] == data[i])
            ++run;
        if (run >= 2) {
            out->push_back(char(257 - run));
            out->push_back(char(data[i]));
            i += run;
            continue;
        }
        // Literal bytes up to the next run of three or more.
        size_t literal = 1;
        while (i + literal < size && literal < kLongestRun &&
               !(i + literal + 2 < size && data[i + literal] == data[i + literal + 1] &&
                 data[i + literal] == data[i + literal + 2]))
            ++literal;
        out->push_back(char(literal - 1));
        out->append(reinterpret_cast<const char*>(data + i), literal);
        i += literal;
    }
}

// Appends the characters of ASCII base-85, broken into lines. A line never
// starts with '%', which readers of the structuring comments would take
// for a comment.
class Ascii85Lines {
public:
    explicit Ascii85Lines(QByteArray* out) : out_(out) {}

    void Add(const std::string& bytes)
    {
        for (const char c : bytes) {
            group_[held_++] = uint8_t(c);
            if (held_ == 4) {
                Group(4);
                held_ = 0;
            }
        }
    }
    void Finish()
    {
        if (held_ > 0)
            Group(held_);
        held_ = 0;
        Put('~');
        Put('>');
        out_->append('\n');
    }

private:
    void Group(size_t n)
    {
        uint32_t word = 0;
        for (size_t k = 0; k < 4; ++k)
            word = word << 8 | (k < n ? group_[k] : 0);
        if (n == 4 && word == 0) {
            Put('z');
            return;
        }
        char digits[5];
        for (int k = 4; k >= 0; --k) {
            digits[k] = char('!' + word % 85);
            word /= 85;
        }
        for (size_t k = 0; k < n + 1; ++k)
            Put(digits[k]);
    }
    void Put(char c)
    {
        if (column_ >= kLineLength) {
            out_->append('\n');
            column_ = 0;
        }
        // The decoder skips white space.
        if (column_ == 0 && c == '%') {
            out_->append(' ');
            ++column_;
        }
        out_->append(c);
        ++column_;
    }

    QByteArray* out_;
    uint8_t group_[4] = {};
    size_t held_ = 0;
    int column_ = 0;
};

}  // namespace

bool WriteEpsPicture(const QImage& image, QByteArray* out)
{
    out->clear();
    if (image.isNull())
        return false;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    if (rgb.isNull())
        return false;
    const std::string w = std::to_string(rgb.width()), h = std::to_string(rgb.height());

    HandleOwner text(HandleNew(1));
    if (!text.get())
        return false;
    *HandleData<char>(text.get()) = '\0';
    const std::string header = "%!PS-Adobe-3.0 EPSF-3.0\n"
                               "%%Creator: Tessaline\n"
                               "%%BoundingBox: 0 0 " + w + " " + h + "\n"
                               "%%HiResBoundingBox: 0 0 " + w + " " + h + "\n"
                               "%%LanguageLevel: 2\n"
                               "%%DocumentData: Clean7Bit\n"
                               "%%EndComments\n"
                               "%%BeginProlog\n"
                               "%%EndProlog\n"
                               "gsave\n";
    int32_t error = TextHandleAppend(text.get(), header.c_str());
    // The unit square the image fills, stretched over the bounding box.
    error |= PsScale(rgb.width(), rgb.height(), 0, text.get());
    error |= TextHandleAppend(text.get(), ("\n/DeviceRGB setcolorspace\n"
                                           "<< /ImageType 1 /Width " + w + " /Height " + h +
                                           " /BitsPerComponent 8 /Decode [0 1 0 1 0 1]\n"
                                           "   /ImageMatrix [" + w + " 0 0 -" + h + " 0 " + h + "]\n"
                                           "   /DataSource currentfile /ASCII85Decode filter /RunLengthDecode filter\n"
                                           ">> image\n").c_str());
    if (error != 0)
        return false;
    out->append(HandleData<char>(text.get()));

    Ascii85Lines data(out);
    std::string packed;
    for (int y = 0; y < rgb.height(); ++y) {
        packed.clear();
        RunLengthEncode(rgb.constScanLine(y), size_t(rgb.width()) * 3, &packed);
        data.Add(packed);
    }
    data.Add(std::string(1, char(kEndOfData)));
    data.Finish();
    out->append("grestore\nshowpage\n%%Trailer\n%%EOF\n");
    return true;
}
