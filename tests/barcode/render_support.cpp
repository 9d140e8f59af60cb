#include "support/needed_tools.h"
#include "support/run_program.h"
#include "render_support.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numbers>

#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include "barcode/barcode_draw.h"
#include "barcode/barcode_measure.h"

namespace {

// The engine measures and draws text, which needs the font machinery of a
// gui application; the offscreen platform needs no display.
class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        if (!QGuiApplication::instance())
            app_ = std::make_unique<QGuiApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[16] = "test_barcode";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QGuiApplication> app_;
};

::testing::Environment* const gGui = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

LogFont CaptionFace()
{
    LogFont f;
    std::strncpy(f.faceName, "Arial", sizeof(f.faceName) - 1);
    return f;
}

template <typename InkAt>
std::vector<int> Runs(int n, InkAt inkAt)
{
    std::vector<int> runs;
    int i = 0;
    while (i < n && !inkAt(i))
        ++i;
    int last = n - 1;
    while (last >= i && !inkAt(last))
        --last;
    while (i <= last) {
        int j = i;
        while (j <= last && inkAt(j) == inkAt(i))
            ++j;
        runs.push_back(j - i);
        i = j;
    }
    return runs;
}

}  // namespace

BarcodeCanvas::BarcodeCanvas(int width, int height) : image(width, height, QImage::Format_RGB32)
{
    image.fill(Qt::white);
    dc = Dc::ForImage(&image);
    dc->selectFont(CaptionFace());
    dc->selectBrush(Brush::Solid(kBlack));
    dc->selectPen(Pen{PS_SOLID, 0, kBlack});
    dc->setTextColor(kBlack);
}

std::unique_ptr<Dc> BarcodeMeasuringDc()
{
    auto dc = Dc::ForMeasuring();
    dc->selectFont(CaptionFace());
    return dc;
}

QImage RenderBarcode(BarcodeRecord rec, int16_t num, int16_t den, bool* encoded, int quiet)
{
    IntRect box;
    BarcodeRecord measured = rec;
    MeasureBarcode(BarcodeMeasuringDc().get(), &measured, &box, num, den);
    const double w = box.right - box.left, h = box.bottom - box.top;
    const double a = rec.angle * std::numbers::pi / 180.0;
    BarcodeCanvas canvas(int(std::fabs(w * std::cos(a)) + std::fabs(h * std::sin(a))) + 2 * quiet,
                         int(std::fabs(w * std::sin(a)) + std::fabs(h * std::cos(a))) + 2 * quiet);
    rec.centreX = canvas.image.width() / 2;
    rec.centreY = canvas.image.height() / 2;
    rec.originX = int32_t(rec.centreX - w / 2);
    rec.originY = int32_t(rec.centreY - h / 2);
    *encoded = DrawBarcode(canvas.dc.get(), &rec, num, den);
    canvas.dc->flush();
    return canvas.image;
}

bool IsInk(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)) < 128; }

std::vector<int> RowRuns(const QImage& image, int y)
{
    return Runs(image.width(), [&](int x) { return IsInk(image, x, y); });
}

std::vector<int> ColumnRunsUpward(const QImage& image, int x)
{
    return Runs(image.height(), [&](int i) { return IsInk(image, x, image.height() - 1 - i); });
}

int MiddleInkRow(const QImage& image)
{
    int top = 0, bottom = image.height() - 1;
    while (top < bottom && RowRuns(image, top).empty())
        ++top;
    while (bottom > top && RowRuns(image, bottom).empty())
        --bottom;
    return (top + bottom) / 2;
}

int MiddleInkColumn(const QImage& image)
{
    int left = 0, right = image.width() - 1;
    while (left < right && ColumnRunsUpward(image, left).empty())
        ++left;
    while (right > left && ColumnRunsUpward(image, right).empty())
        --right;
    return (left + right) / 2;
}

std::vector<int> RunsInModules(const std::vector<int>& runs, int pixelsPerModule)
{
    std::vector<int> modules;
    for (int r : runs) {
        if (r % pixelsPerModule != 0)
            return {};
        modules.push_back(r / pixelsPerModule);
    }
    return modules;
}

bool HaveProgram(const std::string& program)
{
    return HaveTool(program);
}

bool RunProgram(const std::string& program, const std::vector<std::string>& args, std::string* out)
{
    // An exit code is the program's answer (zbarimg's 4: no symbol found);
    // a program that did not start, crashed or hung fails the test.
    const ProgramRun run = RunProgramFor(program, args);
    if (run.exitCode < 0) {
        ADD_FAILURE() << run.failure;
        return false;
    }
    *out = run.out;
    return true;
}
