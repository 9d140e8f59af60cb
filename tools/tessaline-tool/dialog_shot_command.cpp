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
std::unique_ptr<D> With(const R& record)
{
    auto d = std::make_unique<D>();
    d->SetRecord(record);
    return d;
}

std::unique_ptr<QDialog> ObjectInfo(ShotData&)
{
    // Locked differs across the selection.
    return With<CDlgObjectInfo>(ObjectInfoRecord{.originAcross = 36, .originDown = 72, .boxAngle = 15, .height = 90,
                                                 .width = 144, .printable = 1, .visible = 1, .units = 1,
                                                 .flags = 0x1F | kFieldPrintable | kFieldVisible});
}

std::unique_ptr<QDialog> GroupInfo(ShotData&)
{
    return With<CDlgGroupInfo>(GroupInfoRecord{
        .originAcross = 36, .originDown = 72, .printable = 1, .visible = 1,
        .flags = kFieldOriginAcross | kFieldOriginDown | kFieldBoxAngle | kFieldPrintable | kFieldLocked | kFieldVisible});
}

std::unique_ptr<QDialog> GuideSettings(ShotData&)
{
    return With<CDlgGuideSettings>(GuideSettingsRecord{.horizontal = 36, .vertical = 36, .showGuide = 1, .units = 1});
}

std::unique_ptr<QDialog> FillInfo(ShotData& data)
{
    return With<CDlgFillInfo>(FillInfoRecord{
        .pattern = 4, .colour = 6, .background = 1, .shade = 80, .opaque = 1,
        .flags = kFieldFillPattern | kFieldFillColour | kFieldBackground | kFieldFillShade | kFieldOpaque,
        .colorTable = &data.colors});
}

std::unique_ptr<QDialog> FrameInfo(ShotData& data)
{
    return With<CDlgFrameInfo>(FrameInfoRecord{.borderStyle = 3, .colour = 3, .width = 8, .shade = 100, .above = 1,
                                               .below = 1, .left = 1, .right = 1, .fillColour = 1, .fillShade = 60,
                                               .fillPattern = 0, .opaque = 1, .sidesAllowed = 1, .flags = 0x3FFFF,
                                               .colorTable = &data.colors});
}

std::unique_ptr<QDialog> LineInfo(ShotData& data)
{
    auto d = With<CDlgLineInfo>(LineInfoRecord{.borderStyle = 1, .leftCap = 2, .rightCap = 4, .colour = 5,
                                               .shade = 100, .width = 4, .printable = 1, .visible = 1,
                                               .leftAcross = 36, .leftDown = 36, .rightAcross = 180, .rightDown = 72,
                                               .flags = 0x1FFFFF});
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
    return With<CDlgParagraphInfo>(ParagraphInfoRecord{.leftIndent = 18, .firstLine = 36, .leading = 14,
                                                       .spaceAfter = 6, .keepLinesTogether = 1,
                                                       .alignment = kParaAlignLeft});
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
    return With<CDlgPictureInfo>(PictureInfoRecord{.originAcross = 36, .originDown = 36, .width = 144, .height = 108,
                                                   .scaleAcross = 100, .scaleDown = 100, .printable = 1,
                                                   .visible = 1, .display = 1, .printout = 1,
                                                   .mask = 0x3FFFFFFF & ~kFieldUnitsChanged});
}

std::unique_ptr<QDialog> TextBoxInfo(ShotData&)
{
    // The widths differ across the selection.
    return With<CDlgTextBoxInfo>(TextBoxInfoRecord{.originAcross = 36, .originDown = 36, .height = 72, .width = 216,
                                                   .textInset = 4, .printable = 1, .visible = 1,
                                                   .mask = 0xFFFFFFFF & ~kFieldUnitsChanged & ~kFieldWidth});
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
