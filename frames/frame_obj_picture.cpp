#include "frames/frame_obj_picture.h"

#include <algorithm>
#include <cstring>

#include "database/field_table.h"
#include "foundation/file_io.h"
#include "foundation/program_folder.h"
#include "frames/content_frame_host.h"
#include "frames/frame_font.h"
#include "frames/image_file.h"
#include "frames/picture_file_lookup.h"
#include "graphics/field_text_provider.h"
#include "graphics/font_state.h"
#include "graphics/offscreen_dc.h"
#include "platform/dc.h"

namespace {

constexpr int16_t kPictureField = 16;

}  // namespace

FrameObjPicture::FrameObjPicture()
{
    block_.barcodeOption = 0;
    block_.attr.dataField = kPictureField;
    a_.keepInDocument = 0;
}

void FrameObjPicture::SetRecordFed(uint8_t on)
{
    FrameObjImage::SetRecordFed(on);
    placeholderShown_ = 1;
}

std::string FrameObjPicture::PictureFieldText() const
{
    const int16_t field = block_.attr.dataField;
    if (!UsesRecord()) {
        char name[kFieldTypeNameSize] = {};
        FieldTypeName(field, name, true, true);
        return name;
    }
    FieldTextProvider* provider = InstalledFieldTextProvider();
    return provider ? provider->MergeFieldText(field, outputShift_ != 0) : std::string();
}

int32_t FrameObjPicture::PictureResolvePath(const std::string& text, PathRecord* out)
{
    PathRecord path{};
    if (text.empty() || PathRecordFromString(ExpandHomeFolder(text).c_str(), &path) != 0)
        return 1;
    // The path itself, else its name in the program's folder.
    const auto places = [&path](int n, PathRecord* place) {
        if (n == 0) {
            *place = path;
            return true;
        }
        if (n > 1)
            return false;
        std::string folder = ProgramFolderPath();
        if (path.directory[0] && !path.drive[0]) {
            std::string sub = path.directory;
            std::replace(sub.begin(), sub.end(), '\\', '/');
            while (!sub.empty() && sub.front() == '/')
                sub.erase(sub.begin());
            folder += sub;
        }
        if (PathRecordFromPosix(folder, place) != 0)
            return false;
        std::memcpy(place->name, path.name, sizeof place->name);
        std::memcpy(place->extension, path.extension, sizeof place->extension);
        return true;
    };
    return PictureFileLookup::Shared().Find("field:" + text, places, out);
}

DibHandle FrameObjPicture::PictureMakePlaceholder()
{
    const char* lines[3] = {"", "", ""};
    std::string name;
    if (ContentHostOf(this)->PlaceholderText()) {
        lines[0] = "PLACE";
        lines[1] = "GRAPHIC";
        lines[2] = "HERE";
    } else if (UsesRecord()) {
        lines[0] = "Picture";
        lines[1] = "Not";
        lines[2] = "Found";
    } else {
        name = PictureFieldText();
        lines[1] = name.c_str();
    }
    Dc* measure = MeasuringDc();
    const int32_t fontHeight = std::max<int32_t>(block_.attr.geometry.height / 3, 6);
    int32_t width = 0;
    {
        FontState font(measure);
        SelectFrameFont(&font, this, fontHeight, kBlack);
        for (const char* line : lines)
            width = std::max(width, measure->getTextExtent(line).width);
    }
    OffscreenDC offscreen(measure);
    IntRect covered;
    if (width <= 0 || offscreen.Begin(0, 0, width - 1, 3 * fontHeight - 1, kWhite, &covered, true) != 0)
        return nullptr;
    Dc* dc = offscreen.GetSafeHdc();
    {
        FontState font(dc);
        SelectFrameFont(&font, this, fontHeight, Tint(uint8_t(block_.attr.textColour), uint8_t(block_.attr.textTint)));
        const TextMetrics m = dc->getTextMetrics();
        dc->setBkMode(TRANSPARENT);
        dc->setTextAlign(TA_BASELINE | TA_LEFT);
        for (int32_t i = 0; i < 3; ++i) {
            const int32_t w = dc->getTextExtent(lines[i]).width;
            dc->textOut((width - w) / 2, m.ascent + i * fontHeight - 1, lines[i]);
        }
    }
    DibHandle h = DibHandleNew();
    if (!h || offscreen.End(h) != 0 || DibHandleIsEmpty(h)) {
        DibHandleFree(&h);
        return nullptr;
    }
    return h;
}

int32_t FrameObjPicture::PictureUpdate()
{
    if (UsesRecord()) {
        PathRecord path{};
        if (PictureResolvePath(PictureFieldText(), &path) == 0) {
            PathRecord stored{};
            PathRecordLoad(a_.fileSpec, &stored);
            if (a_.fromFile && PathRecordEqual(&stored, &path))
                return 0;
            ReleaseImage(true);
            LoadFromFile(path, 0);
            placeholderShown_ = 0;
            return 0;
        }
        placeholderShown_ = 1;
    }
    if (!placeholderShown_)
        return 0;
    ReleaseImage(true);
    a_.kind = kImageKindRaster;
    a_.keepInDocument = 0;
    a_.tag = kImageTagPict;
    a_.fromFile = 0;
    if (DibHandle placeholder = PictureMakePlaceholder())
        SetImage(placeholder, false);
    if (ContentHostOf(this)->PlaceholderText())
        return 0;
    placeholderShown_ = 0;
    return 1;
}

int32_t FrameObjPicture::PrepareImage(int16_t mode)
{
    const int32_t updated = PictureUpdate();
    if (outputShift_ && !ContentHostOf(this)->PrintPlaceholders() && updated != 0) {
        ReleaseImage(false);
        placeholderShown_ = 1;
        return 1;
    }
    const int32_t result = FrameObjImage::PrepareImage(mode);
    if (result != 0)
        placeholderShown_ = 1;
    return result;
}

bool FrameObjPicture::MissedPicture(std::string* file, std::string* record) const
{
    *file = PictureFieldText();
    while (!file->empty() && file->back() == ' ')
        file->pop_back();
    record->clear();
    // Off a record the text is the field's own name, no file asked for.
    char name[kFieldTypeNameSize] = {};
    FieldTypeName(block_.attr.dataField, name, true, false);
    if (file->empty() || *file == name)
        return false;
    FieldTextProvider* provider = InstalledFieldTextProvider();
    if (!provider || !UsesRecord())
        return true;
    const bool preview = outputShift_ != 0;
    const std::string first = provider->MergeFieldText(kFieldFirstName, preview);
    const std::string last = provider->MergeFieldText(kFieldLastName, preview);
    *record = first + (first.empty() || last.empty() ? "" : " ") + last;
    return true;
}
