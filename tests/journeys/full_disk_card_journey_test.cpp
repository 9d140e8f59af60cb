// A card on a disk with no room left, as a person meets it: it opens
// read-only, to be read and printed, and says why; a save says the disk is
// full and offers another name. When the temporary folder's disk is full
// too, the card can't be opened, and the message names that folder.
#include <QDir>
#include <QFile>

#include "app/child_frame.h"
#include "carddoc/labels_doc.h"
#include "frames/ctfile_mng.h"
#include "journey_fixture.h"
#include "support/refusing_disk.h"
#include "support/shell.h"

namespace {

bool g_tempFull = false;

// No room in the card's folder ("fulldisk"), nor, once it fills, in the
// temporary folder; the query gets folders with backslashes.
double FreeSpace(const char* folder)
{
    std::string f(folder);
    for (char& c : f)
        if (c == '\\')
            c = '/';
    if (f.find("/fulldisk/") != std::string::npos)
        return 0;
    const std::string temp = QDir::tempPath().section('/', -1).toStdString();
    const std::string end = "/" + temp + "/";
    if (g_tempFull && f.size() >= end.size() && f.compare(f.size() - end.size(), end.size(), end) == 0)
        return 0;
    return 1e12;
}

class FullDiskCardJourney : public JourneyTest {};

TEST_F(FullDiskCardJourney, ACardOnAFullDiskOpensReadOnlyAndPrints)
{
    const std::string folder = TempFile("fulldisk");
    const std::string path = folder + "/Card.lqx";
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(folder)));
    ASSERT_TRUE(QFile::copy(QString::fromStdString(CopySample("Business Card.lqx")), QString::fromStdString(path)));
    const std::string before = ReadFileBytes(path);
    const std::string pdf = TempFile("sheet.pdf");
    const CTFileMng::FreeSpaceQuery previous = CTFileMng::SetFreeSpaceQuery(FreeSpace);
    g_tempFull = false;
    {
        RefusingDisk disk(RefusingDisk::Refusal::NoSpace, 1, folder);
        ASSERT_NE(OpenThroughMenu(path), nullptr) << alerts.lastText();
        EXPECT_EQ(alerts.lastText(), "The disk of \"Card.lqx\" is full: the card opens read-only, to be viewed and "
                                     "printed. To keep changes, save it under another name on a disk with room.");
        EXPECT_EQ(CardWindow()->windowTitle(), "Card.lqx (Read-Only)");
        alerts.clear();
        OnNextDialog(PrintToPdfFile(pdf));
        ASSERT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
        EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();

        // Its working copy fills the temporary folder's disk: the message
        // names that folder.
        g_tempFull = true;
        ASSERT_TRUE(Trigger("Edit > Select All"));
        ASSERT_TRUE(Trigger("Object > Duplicate"));
        EXPECT_EQ(alerts.lastText(), "The disk of the temporary folder \"" + QDir::tempPath().toStdString() +
                                         "/\" is full. Cannot keep any more of the document's changes there.");
        g_tempFull = false;

        ASSERT_TRUE(Trigger("Edit > Select All"));
        ASSERT_TRUE(Trigger("Object > Delete"));
        alerts.clear();
        alerts.answer(kIdCancel);
        ASSERT_TRUE(Trigger("File > Save"));
        EXPECT_EQ(alerts.lastText(), "Cannot save \"Card.lqx\": its disk is full.\nSave it under another name?");
        EXPECT_TRUE(CardDocument()->IsModified());
        alerts.answer(kIdOk);
        OnNextDialog(AnswerNo());  // "Save changes?"
        Trigger("File > Close");
        EXPECT_EQ(CardWindow(), nullptr);

        g_tempFull = true;
        alerts.clear();
        OnNextDialog(ChooseFile(path));
        Trigger("File > Open > Document...");
        EXPECT_EQ(CardWindow(), nullptr);
        EXPECT_EQ(alerts.lastText(), "The disk of \"Card.lqx\" and the disk of the temporary folder \"" +
                                         QDir::tempPath().toStdString() + "/\" are full. Cannot open the card.");
    }
    CTFileMng::SetFreeSpaceQuery(previous);
    EXPECT_NE(PdfText(pdf).find("Tel."), std::string::npos);
    EXPECT_EQ(ReadFileBytes(path), before);
}

}  // namespace
