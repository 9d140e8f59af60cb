// dialog-shot NAME OUT.png: a picture of one of the object and document
// dialogs, opened on a sample record, for a reviewer to look at. The table
// below names the dialogs it knows.

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>

#include "dialogs/char_info_dialog.h"
#include "dialogs/fill_info_dialog.h"
#include "dialogs/frame_info_dialog.h"
#include "dialogs/group_info_dialog.h"
#include "dialogs/guide_settings_dialog.h"
#include "dialogs/line_info_dialog.h"
#include "dialogs/object_dialog_kit.h"
#include "dialogs/object_info_dialog.h"
#include "dialogs/page_dialogs.h"
#include "dialogs/paragraph_info_dialog.h"
#include "dialogs/picture_info_dialog.h"
#include "dialogs/ruler_settings_dialog.h"
#include "dialogs/tab_ruler_wnd.h"
#include "dialogs/tabs_dialog.h"
#include "dialogs/text_box_info_dialog.h"
#include "dialogs/text_runaround_dialog.h"
#include "dialogs/value_dialogs.h"
#include "frames/tab_stops.h"
#include "graphics/fill_patterns.h"
#include "tool_command.h"
#include "typography/color_table.h"
#include "typography/font_list.h"
#include "typography/font_table.h"
#include "widget_shot.h"

namespace {

// What the dialogs are opened with; lives as long as the dialog.
struct ShotData {
    ColorTable colors;
    FontTable fonts;
};

using MakeDialog = std::function<std::unique_ptr<QDialog>(ShotData&)>;

template <typename D, typename R>
std::unique_ptr<QDialog> With(const R& record)
{
    auto d = std::make_unique<D>();
    d->SetRecord(record);
    return d;
}

std::unique_ptr<QDialog> ObjectInfo(ShotData&)
{
    ObjectInfoRecord r;
    r.originAcross = 36;
    r.originDown = 72;
    r.boxAngle = 15;
    r.height = 90;
    r.width = 144;
    r.printable = 1;
    r.visible = 1;
    r.units = 1;
    r.flags = 0x1F | kFieldPrintable | kFieldVisible;  // Locked differs across the selection
    return With<CDlgObjectInfo>(r);
}

std::unique_ptr<QDialog> GroupInfo(ShotData&)
{
    GroupInfoRecord r;
    r.originAcross = 36;
    r.originDown = 72;
    r.printable = 1;
    r.visible = 1;
    r.flags = kFieldOriginAcross | kFieldOriginDown | kFieldBoxAngle | kFieldPrintable | kFieldLocked | kFieldVisible;
    return With<CDlgGroupInfo>(r);
}

std::unique_ptr<QDialog> GuideSettings(ShotData&)
{
    GuideSettingsRecord r;
    r.horizontal = 36;
    r.vertical = 36;
    r.showGuide = 1;
    r.units = 1;
    return With<CDlgGuideSettings>(r);
}

std::unique_ptr<QDialog> FillInfo(ShotData& data)
{
    FillInfoRecord r;
    r.pattern = 4;
    r.colour = 6;
    r.background = 1;
    r.shade = 80;
    r.opaque = 1;
    r.colorTable = &data.colors;
    r.flags = kFieldFillPattern | kFieldFillColour | kFieldBackground | kFieldFillShade | kFieldOpaque;
    return With<CDlgFillInfo>(r);
}

std::unique_ptr<QDialog> FrameInfo(ShotData& data)
{
    FrameInfoRecord r;
    r.borderStyle = 3;
    r.colour = 3;
    r.width = 8;
    r.shade = 100;
    r.above = r.below = r.left = r.right = 1;
    r.sidesAllowed = 1;
    r.fillColour = 1;
    r.fillShade = 60;
    r.fillPattern = 0;
    r.opaque = 1;
    r.colorTable = &data.colors;
    r.flags = 0x3FFFF;
    return With<CDlgFrameInfo>(r);
}

std::unique_ptr<QDialog> LineInfo(ShotData& data)
{
    LineInfoRecord r;
    r.borderStyle = 1;
    r.leftCap = 2;
    r.rightCap = 4;
    r.colour = 5;
    r.shade = 100;
    r.width = 4;
    r.printable = 1;
    r.visible = 1;
    r.leftAcross = 36;
    r.leftDown = 36;
    r.rightAcross = 180;
    r.rightDown = 72;
    r.flags = 0x1FFFFF;
    auto d = std::make_unique<CDlgLineInfo>();
    d->SetRecord(r);
    d->SetColorTable(data.colors);
    return d;
}

std::unique_ptr<QDialog> CharInfo(ShotData& data)
{
    FontList* list = GetGlobalFontList();
    CharInfoRecord r;
    r.colour = 5;
    r.size = 24;
    r.shade = 100;
    r.bold = 1;
    r.italic = 1;
    r.extendedStylesAllowed = 1;
    FontSpec fontSpec;
    int32_t index = list->FindFont("DejaVu Sans", kFontTypeTrueType);
    if (index < 0)
        index = 0;
    r.font = list->GetFontSpec(index, ANSI_CHARSET, &fontSpec) ? int16_t(data.fonts.GetFontId(&fontSpec)) : int16_t(kCharMixed);
    auto d = std::make_unique<CDlgCharInfo>();
    d->SetRecord(r);
    CharInfoDocument doc;
    doc.fonts = &data.fonts;
    doc.colors = &data.colors;
    d->SetDocument(doc);
    return d;
}

std::unique_ptr<QDialog> ParagraphInfo(ShotData&)
{
    ParagraphInfoRecord r;
    r.leftIndent = 18;
    r.firstLine = 36;
    r.leading = 14;
    r.spaceAfter = 6;
    r.alignment = kParaAlignLeft;
    r.keepLinesTogether = 1;
    return With<CDlgParagraphInfo>(r);
}

std::unique_ptr<QDialog> Tabs(ShotData&)
{
    TabRecord r;
    TabStops t(r.bytes);
    for (int i = 0; i < kTabEntries; ++i)
        t.SetPosition(i, -1);
    const int16_t positions[] = {72, 144, 216};
    const uint8_t kinds[] = {kTabLeft, kTabCentre, kTabRight};
    for (int i = 0; i < 3; ++i) {
        t.SetPosition(i, positions[i]);
        t.SetAlignment(i, kinds[i]);
    }
    t.SetDefined(1);
    t.SetMaxWidth(288);
    t.SetLeftMargin(18);
    t.SetFirstLine(36);
    t.SetRightMargin(270);
    auto d = std::make_unique<CDlgTabs>();
    d->Init(1, r);
    return d;
}

std::unique_ptr<QDialog> GotoPage(ShotData&) { return With<CDlgGotoPage>(GotoPageRecord{2, 4}); }
std::unique_ptr<QDialog> InsertPage(ShotData&)
{
    return With<CDlgInsertPage>(InsertPageRecord{1, 2, kInsertAfterPage});
}
std::unique_ptr<QDialog> DeletePages(ShotData&) { return With<CDlgDeletePages>(DeletePagesRecord{2, 3, 4}); }
std::unique_ptr<QDialog> OtherValue(ShotData&)
{
    return With<CDlgOtherValue>(OtherValueFor(OtherValueKind::kTextSize, 18));
}
std::unique_ptr<QDialog> Zoom(ShotData&) { return With<CDlgZoom>(ZoomRecord{150}); }
std::unique_ptr<QDialog> RulerSettings(ShotData&) { return With<CDlgRulerSettings>(RulerSettingsRecord{1, 2}); }
std::unique_ptr<QDialog> TextRunaround(ShotData&)
{
    return With<CDlgTextRunaround>(TextRunaroundRecord{4, kRunaroundShape});
}

std::unique_ptr<QDialog> PictureInfo(ShotData&)
{
    PictureInfoRecord r;
    r.originAcross = 36;
    r.originDown = 36;
    r.width = 144;
    r.height = 108;
    r.scaleAcross = 100;
    r.scaleDown = 100;
    r.printable = 1;
    r.visible = 1;
    r.display = 1;
    r.printout = 1;
    r.mask = 0x3FFFFFFF & ~kFieldUnitsChanged;
    return With<CDlgPictureInfo>(r);
}

std::unique_ptr<QDialog> TextBoxInfo(ShotData&)
{
    TextBoxInfoRecord r;
    r.originAcross = 36;
    r.originDown = 36;
    r.width = 216;
    r.height = 72;
    r.textInset = 4;
    r.printable = 1;
    r.visible = 1;
    r.mask = 0xFFFFFFFF & ~kFieldUnitsChanged & ~kFieldWidth;  // widths differ
    return With<CDlgTextBoxInfo>(r);
}

const struct {
    const char* name;
    MakeDialog make;
} kDialogs[] = {
    {"object-info", ObjectInfo},
    {"group-info", GroupInfo},
    {"guide-settings", GuideSettings},
    {"fill-info", FillInfo},
    {"frame-info", FrameInfo},
    {"line-info", LineInfo},
    {"char-info", CharInfo},
    {"paragraph-info", ParagraphInfo},
    {"tabs", Tabs},
    {"goto-page", GotoPage},
    {"insert-page", InsertPage},
    {"delete-pages", DeletePages},
    {"other-value", OtherValue},
    {"zoom", Zoom},
    {"ruler-settings", RulerSettings},
    {"text-runaround", TextRunaround},
    {"picture-info", PictureInfo},
    {"text-box-info", TextBoxInfo},
};

// The dialog opened as the program would: hatches on, the installed fonts
// listed; what it was opened with lives as long as the dialog.
Shot Opened(const MakeDialog& make)
{
    SetUseHatchBrushes(true);
    LogFont all;
    all.charSet = DEFAULT_CHARSET;
    if (GetGlobalFontList()->GetCount() == 0)
        GetGlobalFontList()->Build(&all);
    auto data = std::make_shared<ShotData>();
    std::unique_ptr<QWidget> dialog = make(*data);
    return {std::move(dialog), [data] {}};
}

int RunDialogShot(const ToolArgs& args)
{
    std::vector<NamedShot> shots;
    for (const auto& entry : kDialogs)
        shots.push_back({entry.name, [make = entry.make] { return Opened(make); }});
    return RunNamedShot("dialog-shot", args, shots);
}

}  // namespace

TESSALINE_TOOL_COMMAND("dialog-shot", "dialog-shot NAME OUT.png", RunDialogShot);
