// page-sheet OUT.png [--zoom PERCENT]: the sample page of frames (one or
// more of every frame type, overlapping, some selected) drawn as the card
// view draws a page, three times: straight, turned by 30 degrees and by 90
// degrees, one above the other, at the zoom given (100 % by default).

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include "tools/stand_ins/sample_page.h"
#include "platform/dc.h"
#include "offscreen_application.h"
#include "tool_command.h"

namespace {

constexpr int kHeading = 28;
constexpr double kAngles[] = {0, 30, 90};

void Label(Dc& dc, int x, int y, const std::string& text)
{
    LogFont f;
    std::strncpy(f.faceName, "Arial", sizeof(f.faceName) - 1);
    f.height = -15;
    const LogFont old = dc.selectFont(f);
    const int32_t mode = dc.setBkMode(TRANSPARENT);
    dc.textOut(x, y, text);
    dc.setBkMode(mode);
    dc.selectFont(old);
}

int RunPageSheet(const ToolArgs& args)
{
    std::string out;
    int zoom = 100;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--zoom" && i + 1 < args.size()) {
            zoom = std::atoi(args[++i].c_str());
            if (zoom < 10 || zoom > 800)
                return ToolFail("the zoom is a percentage from 10 to 800");
        } else if (out.empty() && args[i].rfind("--", 0) != 0) {
            out = args[i];
        } else {
            return ToolFail("usage: page-sheet OUT.png [--zoom PERCENT]");
        }
    }
    if (out.empty())
        return ToolFail("usage: page-sheet OUT.png [--zoom PERCENT]");
    const std::unique_ptr<QGuiApplication> app = StartOffscreenGuiApplication();
    QTemporaryDir folder;
    if (!folder.isValid())
        return ToolFail("cannot make a temporary folder");

    QImage sheet;
    int y = 0;
    for (double angle : kAngles) {
        SamplePageDocument doc(folder.path().toStdString(), SamplePageSize(), zoom);
        if (!doc.ok())
            return ToolFail("cannot make the page's swap file");
        BuildSamplePage(doc, angle);
        doc.Paint();
        const QImage& page = doc.Surface();
        if (sheet.isNull()) {
            sheet = QImage(page.width(), 3 * (page.height() + kHeading), QImage::Format_RGB32);
            sheet.fill(Qt::white);
        }
        {
            auto dc = Dc::ForImage(&sheet);
            Label(*dc, 10, y + 6,
                  "Frames turned by " + std::to_string(int(angle)) + " degrees, zoom " + std::to_string(zoom) + " %");
            dc->stretchImage(IntRect{0, y + kHeading, page.width(), y + kHeading + page.height()}, page, QRect(),
                             SRCCOPY);
        }
        y += page.height() + kHeading;
    }
    if (!sheet.save(QString::fromLocal8Bit(out.c_str())))
        return ToolFail("cannot write " + out);
    return 0;
}

}  // namespace

TESSALINE_TOOL_COMMAND("page-sheet", "page-sheet OUT.png [--zoom PERCENT]", RunPageSheet);
