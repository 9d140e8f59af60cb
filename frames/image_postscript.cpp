#include "frames/image_postscript.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <utility>

#include <QByteArray>

#include "foundation/int_math.h"
#include "foundation/long_work.h"
#include "foundation/path_record.h"
#include "frames/picture_job_memory.h"
#include "frames/eps_preview_cache.h"
#include "graphics/eps_bounding_box.h"
#include "graphics/ghostscript.h"
#include "graphics/postscript.h"
#include "graphics/ps_text_builders.h"

namespace {

// Numbers for the set-up lines, in the C locale whatever the user's is.
std::string Number(double v)
{
    char buffer[64];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, 6);
    return std::string(buffer, r.ptr);
}

int16_t Short(int64_t v) { return int16_t(std::clamp<int64_t>(v, INT16_MIN, INT16_MAX)); }

std::string FileName(const PathRecord& file)
{
    char name[kPathTextSize] = {};
    PathRecordGetFileName(&file, name, int32_t(sizeof name));
    return name;
}

IntRect Normalised(IntRect r)
{
    if (r.left > r.right)
        std::swap(r.left, r.right);
    if (r.top > r.bottom)
        std::swap(r.top, r.bottom);
    return r;
}

}  // namespace

int32_t EpsPlacementText(const EpsPlacement& p, const IntRect& rawBox, Handle text)
{
    const IntRect box = Normalised(rawBox);
    const double boxWidth = double(box.right) - box.left;
    const double boxHeight = double(box.bottom) - box.top;
    if (boxWidth <= 0 || boxHeight <= 0)
        return 1;
    double sx = 0;
    double sy = 0;
    if (p.fit) {
        sx = (double(p.destination.right) - p.destination.left) / boxWidth;
        sy = (double(p.destination.bottom) - p.destination.top) / boxHeight;
    } else {
        sx = double(p.hScale) / 100.0 * p.deviceX;
        sy = double(p.vScale) / 100.0 * p.deviceY;
    }
    if (!std::isfinite(sx) || !std::isfinite(sy))
        return 1;
    const int64_t centreX = (int64_t(p.destination.left) + p.destination.right) / 2;
    const int64_t centreY = (int64_t(p.destination.top) + p.destination.bottom) / 2;
    int32_t err = PsPolygonClipPath(p.clipCorners.corners, 4, text);
    // clip leaves its path current: the file's first path would be drawn
    // together with the frame's outline.
    err |= TextHandleAppend(text, " newpath ");
    err |= PsTranslate(Short(-int64_t(p.windowOrigin.x)), Short(-int64_t(p.windowOrigin.y)), text);
    err |= PsTranslate(Short(p.frameOrigin.x), Short(p.frameOrigin.y), text);
    err |= PsRotate(Short(-TruncToInt32(p.frameAngle)), text);
    err |= PsTranslate(Short(centreX - p.frameOrigin.x), Short(centreY - p.frameOrigin.y), text);
    err |= PsRotate(Short(-int64_t(p.pictureAngle)), text);
    err |= PsScale(sx, -sy, 2, text);
    err |= PsTranslate(Short(-((int64_t(box.left) + box.right) / 2)), Short(-((int64_t(box.top) + box.bottom) / 2)),
                       text);
    err |= TextHandleAppend(text, "\n");
    return err;
}

int32_t ImageSendEps(PassThroughSink* sink, const PathRecord& file, const EpsPlacement& placement)
{
    IntRect box;
    if (!sink || EpsReadBoundingBox(&file, &box) != 0)
        return 1;
    HandleOwner text(HandleNew(1));
    if (!text.get() || TextHandleAppend(text.get(), kEpsProlog) != 0 ||
        EpsPlacementText(placement, box, text.get()) != 0 ||
        TextHandleAppend(text.get(), "%%BeginDocument:A\n") != 0)
        return 1;
    int32_t refused = PsSendCStr(sink, reinterpret_cast<const char*>(HandleData(text.get())));
    const int32_t sent = refused ? 1 : PsSendFile(sink, &file);
    refused |= PsSendCStr(sink, "%%EndDocument\n");
    refused |= PsSendCStr(sink, kEpsEpilog);
    return (refused || sent) ? 1 : 0;
}

namespace {

// The Ghostscript program of ImageRenderEps; false when the box of the file
// cannot be read.
bool EpsPageProgram(const PathRecord& file, const EpsPlacement& placement, int32_t height, double dpiX, double dpiY,
                    QByteArray* program)
{
    // Device pixels from the top-left corner, as the printer's PostScript
    // would have them.
    std::string text = "%!PS\n " + Number(72.0 / dpiX) + " " + Number(72.0 / dpiY) + " scale 0 " +
                       std::to_string(height) + " translate 1 -1 scale\n";
    PassThroughBuffer page;
    if (ImageSendEps(&page, file, placement) != 0)
        return false;
    text += page.text();
    text += "\nshowpage\n";
    *program = QByteArray::fromStdString(text);
    return true;
}

// Inside a painting, which may not wait: the page comes from the drawings
// made in the background. True when that settled the answer (*out is the
// picture, or null for the stand-in, with *pending set while it is drawn);
// false when no drawing was started, and the caller draws it now.
bool FromBackground(const QByteArray& program, int32_t width, int32_t height, double dpiX, double dpiY,
                    const std::string& path, bool* pending, DibHandle* out)
{
    *out = nullptr;
    switch (EpsPreviewCache::Shared().Ask(program, width, height, dpiX, dpiY, path, out)) {
    case EpsPreviewCache::State::kReady:
        return true;
    case EpsPreviewCache::State::kPending:
        *pending = true;
        return true;
    case EpsPreviewCache::State::kFailed:
        return true;
    case EpsPreviewCache::State::kNotStarted:
        break;
    }
    return false;
}

}  // namespace

DibHandle ImageRenderEps(const PathRecord& file, const EpsPlacement& placement, int32_t width, int32_t height,
                         double dpiX, double dpiY, bool* pending)
{
    if (pending)
        *pending = false;
    if (width <= 0 || height <= 0 || !(dpiX > 0) || !(dpiY > 0))
        return nullptr;
    // A picture that failed earlier in the print job fails again: its
    // cards take the stand-in at once.
    const std::string path = PathRecordToPosix(file);
    PictureJobMemory& job = PictureJobMemory::Shared();
    if (job.Failed(path))
        return nullptr;
    QByteArray program;
    if (!EpsPageProgram(file, placement, height, dpiX, dpiY, &program))
        return nullptr;
    // A painting that may not wait has the page drawn in the background,
    // once for every placement, and never again once the file has failed.
    if (pending && InsidePainting()) {
        if (EpsPreviewCache::Shared().FileFailed(path))
            return nullptr;
        DibHandle ready = nullptr;
        if (FromBackground(program, width, height, dpiX, dpiY, path, pending, &ready))
            return ready;
    }
    GhostscriptOutcome outcome = GhostscriptOutcome::kDrawn;
    DibHandle rendered =
        GhostscriptRender(program, width, height, dpiX, dpiY, GhostscriptTimeLimitMs(), nullptr, &outcome);
    job.Remember(path, FileName(file), outcome);
    return rendered;
}

bool EpsPrintableInJob(const PathRecord& file)
{
    const std::string path = PathRecordToPosix(file);
    const PictureJobMemory& job = PictureJobMemory::Shared();
    if (job.Drawn(path))
        return true;
    // Drawing it once tells; the job remembers the answer for every card.
    const DibHandleOwner tried(job.Failed(path) ? nullptr : EpsRenderedPreview(file));
    return !job.Failed(path);
}

DibHandle EpsRenderedPreview(const PathRecord& file, bool* pending)
{
    if (pending)
        *pending = false;
    const std::string path = PathRecordToPosix(file);
    PictureJobMemory& job = PictureJobMemory::Shared();
    if (job.Failed(path))
        return nullptr;
    IntRect box;
    if (EpsReadBoundingBox(&file, &box) != 0)
        return nullptr;
    box = Normalised(box);
    const int64_t width = int64_t(box.right) - box.left + 1;
    const int64_t height = int64_t(box.bottom) - box.top + 1;
    if (width > INT32_MAX || height > INT32_MAX || width * height > kGhostscriptMaxPixels)
        return nullptr;
    // The box's lower-left corner goes to the page's.
    HandleOwner text(HandleNew(1));
    if (!text.get())
        return nullptr;
    *HandleData<char>(text.get()) = '\0';
    if (TextHandleAppend(text.get(), "%!PS\n") != 0 || PsTranslateSigned(box.left, box.top, 0, text.get()) != 0)
        return nullptr;
    PassThroughBuffer page;
    const std::string start(HandleData<char>(text.get()));
    if (PsIncludeEps(&page, &file) != 0)
        return nullptr;
    const QByteArray program = QByteArray::fromStdString(start + "\n" + page.text() + "\nshowpage\n");
    const std::string name = FileName(file);
    // A painting may not wait: the picture is drawn in the background and
    // the caller shows the stand-in meanwhile.
    if (pending && InsidePainting()) {
        DibHandle ready = nullptr;
        if (FromBackground(program, int32_t(width), int32_t(height), 72.0, 72.0, path, pending, &ready))
            return ready;
    }
    // A picture's PostScript may take long, or never end: it is drawn off
    // the window's thread and the user may stop it; the caller then shows
    // the picture's stand-in.
    DibHandle rendered = nullptr;
    GhostscriptOutcome outcome = GhostscriptOutcome::kDrawn;
    RunLongWork(std::string("Drawing the PostScript picture ") + name + "...",
                [&](const std::atomic<bool>& cancelled) {
                    rendered = GhostscriptRender(program, int32_t(width), int32_t(height), 72.0, 72.0,
                                                 GhostscriptTimeLimitMs(), &cancelled, &outcome);
                });
    job.Remember(path, name, outcome);
    return rendered;
}
