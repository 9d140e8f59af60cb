// label-type-shot OUT.png: a picture of the Label Type dialog editing the
// laser layout (with a gap between its columns) on a US Letter page, for
// looking at.

#include <memory>

#include <QApplication>

#include "dialogs/label_type_dlg.h"
#include "dialogs/label_type_page.h"
#include "records/label_stock.h"
#include "tool_command.h"
#include "widget_shot.h"

namespace {

int RunLabelTypeShot(const ToolArgs& args)
{
    if (args.size() != 1)
        return ToolFail("usage: label-type-shot OUT.png");
    const std::unique_ptr<QApplication> app = StartOffscreenApplication();

    // A Letter page whose printer keeps a quarter inch at each edge, so the
    // picture shows the margin band as well; no printer is asked.
    const IntSize letter{612, 792};
    const IntRect printable{18, 18, 594, 774};
    SetLabelPageReader([&](IntSize* paper, IntRect* area) {
        *paper = letter;
        *area = printable;
        return true;
    });
    LabelTypeRecord record;
    GetBuiltinLabelType(&record, 0);
    record.horizontalSpacing = 9;
    record.leftMargin = 49.5;
    CDlgLabelType dialog;
    dialog.SetMode(kLabelTypeModeNamed);
    dialog.SetPreviewParams(letter, printable);
    dialog.SetLabelType(record);
    dialog.resize(dialog.sizeHint().expandedTo(QSize(640, 380)));
    dialog.show();
    const bool saved = SaveWidgetShot(&dialog, args[0]);
    SetLabelPageReader(nullptr);
    if (!saved)
        return ToolFail("cannot write " + args[0]);
    return 0;
}

}  // namespace

TESSALINE_TOOL_COMMAND("label-type-shot", "label-type-shot OUT.png", RunLabelTypeShot);
