// metafile FILE OUT.png [MAXSIDE]: plays a Windows or enhanced metafile
// into a picture the way image frames do (its frame size, its longer side
// at most MAXSIDE pixels, on the metafile background) and saves it.

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include <QGuiApplication>
#include <QImage>
#include <QString>

#include "graphics/dib_handle.h"
#include "graphics/imaging_image.h"
#include "graphics/metafile.h"
#include "offscreen_application.h"
#include "tool_command.h"

namespace {

constexpr const char* kUsage = "metafile FILE OUT.png [MAXSIDE]";
constexpr int32_t kDefaultMaxSide = 1000;

int RunMetafile(const ToolArgs& args)
{
    if (args.size() < 2 || args.size() > 3)
        return ToolFail(std::string("usage: ") + kUsage);
    int32_t maxSide = kDefaultMaxSide;
    if (args.size() == 3) {
        const std::string& t = args[2];
        auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), maxSide);
        if (ec != std::errc() || ptr != t.data() + t.size() || maxSide < 1)
            return ToolFail("metafile: MAXSIDE must be a positive number");
    }
    // Text needs the font database, which lives in a GUI application.
    const std::unique_ptr<QGuiApplication> app = StartOffscreenGuiApplication();
    EnhMetafile mf = MetafileLoadByExtension(args[0].c_str());
    if (!mf)
        return ToolFail("metafile: cannot read " + args[0] + " as a .wmf or .emf file");
    int32_t width, height;
    MetafileGetFrameSize(mf, &width, &height, maxSide);
    DibHandleOwner dib;
    MetafileOutcome outcome = MetafileOutcome::kDrawn;
    const int32_t result = MetafileToDib(mf, nullptr, width, height, dib.get(), &outcome);
    DeleteEnhMetaFile(mf);
    if (outcome != MetafileOutcome::kDrawn)
        return ToolFail("metafile: " + args[0] + " could not be drawn: " + MetafileOutcomeText(outcome));
    if (result)
        return ToolFail("metafile: cannot render a picture of " + std::to_string(width) + " x " +
                        std::to_string(height));
    const DibRecord* rec = DibHandleBlockSlot(dib.get());
    int32_t depth = 0;
    const QImage image = ImageFromPackedDib(rec->block, rec->byteSize, &depth);
    if (image.isNull() || !image.save(QString::fromStdString(args[1]), "PNG"))
        return ToolFail("metafile: cannot write " + args[1]);
    return 0;
}

}  // namespace

TESSALINE_TOOL_COMMAND("metafile", kUsage, RunMetafile);
