// barcode: one barcode drawn through the engine on a white page, as PNG.

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <numbers>
#include <numeric>
#include <string>

#include <QGuiApplication>
#include <QImage>
#include <QString>

#include "barcode/barcode_draw.h"
#include "barcode/barcode_fault.h"
#include "barcode/barcode_measure.h"
#include "barcode/barcode_record.h"
#include "foundation/cp1252.h"
#include "platform/dc.h"
#include "offscreen_application.h"
#include "tool_command.h"

namespace {

struct Options {
    int type = 0;
    std::string data;
    bool haveData = false;
    bool check = false;
    bool caption = false;
    double module = 1.0;
    double height = 72.0;
    double angle = 0.0;
    int dpi = 300;
    std::string out;
};

constexpr const char* kUsage =
    "barcode --type N --data TEXT [--check] [--caption] [--module POINTS] [--height POINTS] [--angle DEG] "
    "[--dpi N] --out FILE.png";
constexpr double kCaptionPoints = 10.0;
constexpr int kLargestDpi = 4800;

bool ParseNumber(const std::string& text, double& value)
{
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && std::isfinite(value);
}

bool ParseInt(const std::string& text, int& value)
{
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

bool ParseOptions(const ToolArgs& args, Options& o, std::string& error)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--check") {
            o.check = true;
            continue;
        }
        if (a == "--caption") {
            o.caption = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            error = "missing value after " + a;
            return false;
        }
        const std::string& v = args[++i];
        bool ok = true;
        if (a == "--type")
            ok = ParseInt(v, o.type) && o.type >= kBarcodeFirstType && o.type <= kBarcodeLastType;
        else if (a == "--data")
            o.data = v, o.haveData = true;
        else if (a == "--module")
            ok = ParseNumber(v, o.module) && o.module > 0.0 && o.module <= 72.0;
        else if (a == "--height")
            ok = ParseNumber(v, o.height) && o.height > 0.0 && o.height <= 720.0;
        else if (a == "--angle")
            ok = ParseNumber(v, o.angle) && std::fabs(o.angle) <= 360.0;
        else if (a == "--dpi")
            ok = ParseInt(v, o.dpi) && o.dpi >= 18 && o.dpi <= kLargestDpi;
        else if (a == "--out")
            o.out = v;
        else {
            error = "unknown option " + a;
            return false;
        }
        if (!ok) {
            error = "bad value for " + a + ": " + v;
            return false;
        }
    }
    if (o.type == 0 || !o.haveData || o.out.empty()) {
        error = "--type, --data and --out are required";
        return false;
    }
    return true;
}

// The record as a barcode frame makes it, with the options laid over it.
bool MakeRecord(const Options& o, BarcodeRecord* rec, std::string& error)
{
    const std::string bytes = QStringToCp1252(QString::fromUtf8(o.data.data(), qsizetype(o.data.size())));
    if (bytes.size() > size_t(kPStrMaxLength)) {
        error = "the data is longer than 255 characters";
        return false;
    }
    rec->data[0] = uint8_t(bytes.size());
    std::memcpy(rec->data + 1, bytes.data(), bytes.size());
    rec->type = int16_t(o.type);
    rec->barHeight = o.height;
    rec->module = rec->space = rec->charGap = o.module;
    rec->angle = o.angle;
    rec->captionSize = kCaptionPoints;
    rec->showText = o.caption;
    rec->showSystemDigit = rec->showCheckDigit = rec->showStartStop = 1;
    rec->addCheckDigit = o.check;
    rec->bookPrefix = 1;
    return true;
}

LogFont CaptionFace()
{
    LogFont f;
    std::strncpy(f.faceName, "Arial", sizeof(f.faceName) - 1);
    return f;
}

int RunBarcode(const ToolArgs& args)
{
    Options o;
    std::string error;
    if (!ParseOptions(args, o, error))
        return ToolFail(error + "\nusage: tessaline-tool " + std::string(kUsage));
    BarcodeRecord rec;
    if (!MakeRecord(o, &rec, error))
        return ToolFail(error);

    const std::unique_ptr<QGuiApplication> app = StartOffscreenGuiApplication();

    const int g = std::gcd(o.dpi, 72);
    const int16_t num = int16_t(o.dpi / g);
    const int16_t den = int16_t(72 / g);

    // The box the engine measures, turned about its centre, with a quiet
    // zone of a quarter inch plus room for the caption all around.
    IntRect box;
    {
        auto measuring = Dc::ForMeasuring(o.dpi);
        measuring->selectFont(CaptionFace());
        BarcodeRecord measured = rec;
        MeasureBarcode(measuring.get(), &measured, &box, num, den);
    }
    const double w = box.right - box.left;
    const double h = box.bottom - box.top;
    const double a = o.angle * std::numbers::pi / 180.0;
    const int quiet = o.dpi / 4 + int(kCaptionPoints * o.dpi / 72.0);
    const int width = int(std::fabs(w * std::cos(a)) + std::fabs(h * std::sin(a))) + 2 * quiet;
    const int height = int(std::fabs(w * std::sin(a)) + std::fabs(h * std::cos(a))) + 2 * quiet;

    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(int(std::lround(o.dpi / 0.0254)));
    image.setDotsPerMeterY(int(std::lround(o.dpi / 0.0254)));
    bool encoded = false;
    {
        auto dc = Dc::ForImage(&image);
        dc->selectFont(CaptionFace());
        dc->selectBrush(Brush::Solid(kBlack));
        dc->selectPen(Pen{PS_SOLID, 0, kBlack});
        dc->setTextColor(kBlack);
        dc->setBkColor(kWhite);
        rec.centreX = width / 2;
        rec.centreY = height / 2;
        rec.originX = int32_t(width / 2 - w / 2);
        rec.originY = int32_t(height / 2 - h / 2);
        encoded = DrawBarcode(dc.get(), &rec, num, den);
        dc->flush();
    }
    if (!image.save(QString::fromStdString(o.out), "PNG"))
        return ToolFail("cannot write " + o.out);
    if (!encoded)
        return ToolFail("the data does not encode as " + BarcodeSymbologyName(rec.type) + ": " +
                        BarcodeDataFault(rec) + "; the picture shows the failure box");
    return 0;
}

}  // namespace

TESSALINE_TOOL_COMMAND("barcode", kUsage, RunBarcode);
