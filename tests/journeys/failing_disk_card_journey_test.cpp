// A card whose disk stops taking writes while it is open, as a file system
// remounted read-only after an error does: its working copy beside it can
// no longer be written, and saving the card on another disk keeps all that
// the window shows.
#include <QDir>
#include <QFile>

#include "carddoc/labels_doc.h"
#include "journey_fixture.h"
#include "support/refusing_disk.h"

namespace {

class FailingDiskCardJourney : public JourneyTest {};

TEST_F(FailingDiskCardJourney, SavedElsewhereFromADiskThatStoppedWritingTheCardKeepsItsText)
{
    const std::string folder = TempFile("disk");
    const std::string path = folder + "/Card.lqx";
    const std::string elsewhere = TempFile("Elsewhere.lqx");
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(folder)));
    ASSERT_TRUE(QFile::copy(QString::fromStdString(CopySample("Business Card.lqx")), QString::fromStdString(path)));
    ASSERT_NE(OpenThroughMenu(path), nullptr) << alerts.lastText();
    // Stories the working copy has never held, beside ones it has.
    ASSERT_TRUE(Trigger("Edit > Select All"));
    ASSERT_TRUE(Trigger("Object > Duplicate"));
    alerts.clear();
    {
        RefusingDisk disk(RefusingDisk::Refusal::NoPermission, 1, folder);
        Key(Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(alerts.boxes().size(), 1u) << "the failed save was not said";
        EXPECT_TRUE(CardDocument()->IsModified());
        OnNextDialog(ChooseFile(elsewhere));
        ASSERT_TRUE(Trigger("File > Save As..."));
        EXPECT_GT(disk.refused(), 0);
    }
    EXPECT_FALSE(CardDocument()->IsModified());
    ASSERT_TRUE(Trigger("File > Close"));
    const std::string dump = Tool("card dump '" + elsewhere + "'");
    EXPECT_EQ(dump.find("not readable"), std::string::npos) << dump;
    const std::string line = "\"Tel. Phone1  E-Mail\\x0D\"";
    const size_t first = dump.find(line);
    ASSERT_NE(first, std::string::npos) << dump;
    EXPECT_NE(dump.find(line, first + 1), std::string::npos) << "the copy's text was lost\n" << dump;
}

}  // namespace
