// dialog-shot-b NAME OUT.png: a picture of one of the alignment, colour,
// find, font replacement, star and barcode dialogs or of the picture and
// label-sheet previews, filled with sample values, for looking at.

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <QHBoxLayout>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QTemporaryDir>

#include "barcode/barcode_record.h"
#include "dialogs/alignment_dialog.h"
#include "dialogs/barcode_info_dialog.h"
#include "dialogs/create_color_dialog.h"
#include "dialogs/find_replace_dialog.h"
#include "dialogs/font_replacement_dialog.h"
#include "dialogs/picture_preview_wnd.h"
#include "dialogs/sheet_preview_wnd.h"
#include "dialogs/star_info_dialog.h"
#include "foundation/byte_order.h"
#include "foundation/handle.h"
#include "foundation/pstr.h"
#include "tool_command.h"
#include "typography/font_list.h"
#include "typography/font_table.h"
#include "widget_shot.h"

namespace {

AlignFrame Frame(int16_t type, IntRect bounds, bool grouped = false)
{
    AlignFrame f;
    f.type = type;
    f.bounds = bounds;
    f.grouped = grouped;
    return f;
}

Shot Alignment()
{
    AlignSelection s;
    s.pageRect = IntRect{0, 0, 252, 144};
    s.frames = {Frame(1, IntRect{20, 20, 90, 60}), Frame(3, IntRect{120, 30, 170, 80}),
                Frame(4, IntRect{60, 100, 200, 130}), Frame(2, IntRect{180, 20, 240, 50}, true),
                Frame(5, IntRect{180, 20, 240, 50}, true)};
    s.currentIndex = 1;
    s.leftIndex = 0;
    s.topIndex = 0;
    auto dialog = std::make_unique<CDlgAlignment>(s);
    dialog->SetModes(0, 3, true);
    return {std::move(dialog), {}};
}

Shot CreateColor()
{
    auto dialog = std::make_unique<CDlgCreateColor>();
    ColorTable table;
    dialog->SetColorTable(table);
    return {std::move(dialog), {}};
}

class ShotFindDocument : public FindReplaceDocument {
public:
    TextContext* TextToolContext() override { return nullptr; }
};

Shot FindReplace()
{
    static ShotFindDocument document;
    auto dialog = std::make_unique<CDlgFindReplace>();
    FindSettings settings;
    settings.find = "colour";
    settings.replace = "color";
    settings.ignoreCase = true;
    dialog->Init(settings, &document);
    return {std::move(dialog), {}};
}

Shot FontReplacement()
{
    LogFont all;
    all.charSet = DEFAULT_CHARSET;
    GetGlobalFontList()->Build(&all);
    auto fonts = std::make_shared<FontTable>();
    for (const char* face : {"Vanished Grotesk", "Lost Antiqua"}) {
        FontSpec font;
        font.type = kFontTypeTrueType;
        font.pitchAndFamily = 0x22;
        std::strncpy(font.faceName, face, sizeof(font.faceName) - 1);
        fonts->AddFont(&font);
    }
    fonts->CheckInstalledFonts();
    auto dialog = std::make_unique<CDlgFontReplacement>();
    dialog->SetDocument(fonts.get());
    return {std::move(dialog), [fonts] { GetGlobalFontList()->RemoveAll(); }};
}

Shot StarInfo()
{
    auto dialog = std::make_unique<CDlgStarInfo>();
    StarParams star;
    star.points = 7;
    star.shape = 0;
    star.acuteness = 0.6;
    FrameGeometry geometry;
    geometry.lineWidth = 2;
    geometry.lineStyle = 1;
    dialog->SetStar(star, geometry);
    return {std::move(dialog), {}};
}

Shot BarcodeInfo()
{
    auto dialog = std::make_unique<CDlgBarcodeInfo>();
    BarcodeRecord r;
    r.type = kBarcodeCode128;
    PStrFromCStr(r.data, "Tessaline 2024");
    r.module = r.space = 1.0;
    r.barHeight = 54;
    r.charGap = 1.0;
    r.addCheckDigit = 1;
    dialog->SetRecord(r);
    return {std::move(dialog), {}};
}

// A window of its own around a preview pane.
std::unique_ptr<QWidget> Frame(QWidget* pane, int width, int height)
{
    auto frame = std::make_unique<QWidget>();
    auto* layout = new QHBoxLayout(frame.get());
    pane->setParent(frame.get());
    pane->setFixedSize(width, height);
    layout->addWidget(pane);
    return frame;
}

Shot PicturePreview()
{
    auto folder = std::make_shared<QTemporaryDir>();
    QImage picture(160, 100, QImage::Format_RGB32);
    {
        QPainter p(&picture);
        QLinearGradient g(0, 0, 160, 100);
        g.setColorAt(0, QColor(30, 90, 200));
        g.setColorAt(1, QColor(250, 200, 40));
        p.fillRect(picture.rect(), g);
        p.setBrush(Qt::white);
        p.drawEllipse(QPoint(80, 50), 30, 30);
    }
    const QString path = folder->path() + QStringLiteral("/sample.png");
    picture.save(path, "PNG");
    static uint8_t settings[kPreviewSettingsMinSize] = {};
    settings[kPreviewShowOffset] = 1;
    settings[kPreviewPictureModeOffset] = 1;
    auto* pane = new CPicturePreviewWnd;
    auto frame = Frame(pane, 200, 200);
    pane->SetSettings(settings);
    pane->LoadPicture(path.toStdString());
    return {std::move(frame), [folder] {}};
}

Shot SheetPreview()
{
    auto* pane = new CSheetPreviewWnd;
    auto frame = Frame(pane, 220, 270);
    const IntRect printable{18, 18, 594, 774};
    pane->SetSheetSize(IntSize{612, 792}, &printable);
    SheetLabelLayout l;
    l.cardWidth = 252;
    l.cardHeight = 144;
    l.columns = 2;
    l.rows = 5;
    l.centred = 1;
    pane->SetLabelType(l);
    HandleOwner grid(HandleNew(12 + 4 * 10));
    const uint32_t words[13] = {10, 2, 5, 0, 0, 1, 1, 1, 0, 1, 1, 1, 1};
    for (int i = 0; i < 13; ++i)
        PutU32LE(HandleData<uint8_t>(grid.get()) + 4 * i, words[i]);
    pane->SetMode(kSheetSkipCards, grid.get());
    return {std::move(frame), {}};
}

const std::vector<NamedShot> kShots = {
    {"alignment", Alignment},       {"barcode-info", BarcodeInfo},       {"create-color", CreateColor},
    {"find-replace", FindReplace},  {"font-replacement", FontReplacement}, {"picture-preview", PicturePreview},
    {"sheet-preview", SheetPreview}, {"star-info", StarInfo},
};

int RunDialogShotB(const ToolArgs& args) { return RunNamedShot("dialog-shot-b", args, kShots); }

}  // namespace

TESSALINE_TOOL_COMMAND("dialog-shot-b", "dialog-shot-b NAME OUT.png", RunDialogShotB);
