// spell-dialog-shot OUT.png: a picture of the spelling dialog as it shows a
// misspelt word of a short story with a suggestion chosen, for looking at.
// The words come from the default dictionary of this build (a copy of it,
// never the file itself), else from a small list made on the spot.

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>

#include "foundation/path_record.h"
#include "foundation/pstr.h"
#include "frames/ctfile_mng.h"
#include "frames/frame_document.h"
#include "frames/frame_obj_text.h"
#include "frames/frame_record_format.h"
#include "frames/frame_store.h"
#include "frames/page_table2.h"
#include "frames/paragraph_storage.h"
#include "frames/shared_frame_list.h"
#include "frames/story_store.h"
#include "frames/style_sheet.h"
#include "frames/text_buffer.h"
#include "text/dc_text_measurer.h"
#include "text/frame_flow.h"
#include "text/spell_checker.h"
#include "text/spell_dictionary.h"
#include "text/spelling_dialog.h"
#include "text/text_context.h"
#include "text_sheet_document.h"
#include "tool_command.h"
#include "tools/stand_ins/stand_in_hosts.h"
#include "widget_shot.h"

namespace {

const char* const kStoryText = "Every word is looked up in the dictionnary, and a word it lacks is shown here.";

class ShotHost : public StandInTextHost {
public:
    bool IsTextToolCurrent() override { return true; }
};

// The dictionary to check with, in the folder: the build's default one, or
// a few words.
bool PrepareDictionary(const std::string& folder)
{
    const std::string file = folder + "/words.dic";
    PathRecord record{};
    if (PathRecordFromPosix(file, &record) != 0)
        return false;
    SetDictionaryPath(&record);
    const QString shipped = QCoreApplication::applicationDirPath() + "/../share/tessaline/" +
                            QString::fromLatin1(kDefaultDictionaryFolder) + "/" +
                            QString::fromLatin1(kDefaultDictionaryName);
    if (QFile::exists(shipped))
        return QFile::copy(shipped, QString::fromStdString(file));
    QFile empty(QString::fromStdString(file));
    if (!empty.open(QIODevice::WriteOnly))
        return false;
    empty.close();
    if (OpenDictionary(1, 1) != 1)
        return false;
    for (const char* w : {"a", "and", "diction", "dictionaries", "dictionary", "dictionary's", "every", "here",
                          "in", "is", "it", "lacks", "looked", "shown", "the", "up", "word"}) {
        PStr p;
        PStrFromCStr(p, w);
        AddWord(p);
    }
    return CloseDictionary(1) == 0;
}

bool Shoot(const std::string& out, const std::string& folder)
{
    PathRecord folderRecord{};
    if (PathRecordFromPosix(folder + "/", &folderRecord) != 0 || !PrepareDictionary(folder))
        return false;
    ShotHost host;
    SwapTextDocument doc(folderRecord);
    if (!doc.ok)
        return false;
    StyleSheet styles;
    DcTextMeasurer measurer([&host](int16_t font, FontSpec* fontSpec) { return host.GetFontSpec(font, fontSpec); });
    TextContext ctx(&doc, &styles, &host, &measurer);
    doc.ctx = &ctx;

    FrameObj* f = doc.frames.CreateFrameObject(kFrameText, 1);
    if (!f)
        return false;
    doc.frames.SetFramePage(f, 0, kResidencePasteboard);
    f->SetFromRect(IntRect{0, 0, 400, 200});
    auto* frame = static_cast<FrameObjText*>(f);
    doc.frames.NewStory(frame, true);
    doc.stories.BindStory(uint16_t(frame->Block().storyId));
    TextBuffer& buffer = doc.stories.Buffer();
    buffer.DeleteRange(0, buffer.Count());
    Handle h = NewParagraph();
    ParagraphInsertBytes(h, 0, 0, reinterpret_cast<const uint8_t*>(kStoryText), uint32_t(std::strlen(kStoryText)));
    buffer.InsertRecord(0, h, false);
    BindFrame(&ctx, frame);
    doc.frames.FlowFrame(frame->FrameId(), false);
    BindFrame(&ctx, frame);
    ctx.SelectParagraph(0);
    ctx.SetCaretCharacter(0);

    if (OpenDictionary(1, 0) != 1)
        return false;
    SpellCheck check(&ctx, SpellMode::kParagraph);
    check.Begin();
    bool saved = false;
    if (check.FindNextMisspelled() == 0) {
        SpellingDialog dialog(&check);
        dialog.show();
        QListWidget* list = dialog.Suggestions();
        for (int i = 0; i < list->count(); ++i) {
            if (list->item(i)->text() == QStringLiteral("dictionary"))
                list->setCurrentRow(i);
        }
        if (list->currentRow() < 0 && list->count() > 0)
            list->setCurrentRow(0);
        saved = SaveWidgetShot(&dialog, out);
    }
    CloseDictionary(0);
    return saved;
}

int RunSpellDialogShot(const ToolArgs& args)
{
    if (args.size() != 1)
        return ToolFail("usage: spell-dialog-shot OUT.png");
    const std::unique_ptr<QApplication> app = StartOffscreenApplication();
    QTemporaryDir folder;
    if (!folder.isValid())
        return ToolFail("cannot make a temporary folder");
    if (!Shoot(args[0], folder.path().toStdString()))
        return ToolFail("cannot write " + args[0]);
    return 0;
}

}  // namespace

TESSALINE_TOOL_COMMAND("spell-dialog-shot", "spell-dialog-shot OUT.png", RunSpellDialogShot);
