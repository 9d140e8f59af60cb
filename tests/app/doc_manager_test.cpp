#include "app/doc_manager.h"

#include <QSettings>

#include "support/alert_capture.h"
#include "app/recent_file_list.h"
#include "shell_fixture.h"

namespace {

const char* const kCardStrings = "Tessaline\nCard\nCard\nCard (*.lqx)\n.lqx\nTessalineLB\nTessaline";
const char* const kDatabaseStrings =
    "Tessaline Database\nDatabase\nDatabase\nDatabase (*.dqx)\n.dqx\nTessalineDB\nTessaline Database";

// Records what the document layer asks of the windows.
class FakeHost : public DocumentFrameHost {
public:
    bool CreateDocumentFrame(ShellDocument* document, bool) override
    {
        created.push_back(document);
        return !failCreate;
    }
    void DestroyDocumentFrames(ShellDocument* document) override { destroyed.push_back(document); }
    void ActivateDocumentFrame(ShellDocument* document) override { activated.push_back(document); }
    bool failCreate = false;
    std::vector<ShellDocument*> created, destroyed, activated;
};

class DocManagerTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        cards = docs.AddTemplate(std::make_unique<DocTemplate>(129, kCardStrings, ChildFrameKind::kCard));
        databases = docs.AddTemplate(std::make_unique<DocTemplate>(130, kDatabaseStrings, ChildFrameKind::kDatabase));
        cards->SetFactory(std::make_unique<FakeFactory>("Card"));
        docs.SetFrameHost(&host);
    }
    FakeDocument* Fake(ShellDocument* d) { return static_cast<FakeDocument*>(d); }

    AlertCapture alerts;
    ScriptedPrompts prompts;
    FakeHost host;
    DocManager docs;
    DocTemplate* cards = nullptr;
    DocTemplate* databases = nullptr;
};

TEST_F(DocManagerTest, TemplatesAreFoundByFileTypeIdAndExtension)
{
    EXPECT_EQ(docs.FindTemplate("TessalineDB"), databases);
    EXPECT_EQ(docs.FindTemplate("TessalineLB"), cards);
    EXPECT_EQ(docs.FindTemplate("tessalinelb"), nullptr);
    EXPECT_EQ(docs.TemplateForFile("/x/Card.LQX"), cards);
    EXPECT_EQ(docs.TemplateForFile("/x/people.dqx"), databases);
    EXPECT_EQ(docs.TemplateForFile("/x/notes.txt"), nullptr);
    EXPECT_EQ(docs.TemplateForFile(".lqx"), nullptr);
    EXPECT_EQ(cards->String(DocTemplate::kFilterName), "Card (*.lqx)");
    EXPECT_EQ(databases->String(DocTemplate::kRegFileTypeName), "Tessaline Database");
}

TEST_F(DocManagerTest, FilesOfUnknownOrUnavailableKindsAreRefusedWithAMessage)
{
    EXPECT_EQ(docs.OpenDocumentFile(temp.file("letter.txt")), nullptr);
    ASSERT_EQ(alerts.boxes().size(), 1u);
    EXPECT_NE(alerts.lastText().find("neither a card"), std::string::npos);

    EXPECT_EQ(docs.OpenDocumentFile(temp.file("people.dqx")), nullptr);
    ASSERT_EQ(alerts.boxes().size(), 2u);
    EXPECT_NE(alerts.lastText().find("Database documents cannot be opened"), std::string::npos);
    EXPECT_EQ(docs.NewDocument(databases, true), nullptr);
    EXPECT_EQ(docs.DocumentCount(), 0);
    EXPECT_TRUE(host.created.empty());
}

TEST_F(DocManagerTest, OpeningTheSameFileTwiceBringsTheFirstForward)
{
    ShellDocument* first = docs.OpenDocumentFile(temp.file("card.lqx"));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Template(), cards);
    ShellDocument* again = docs.OpenDocumentFile(temp.path() + "/./card.lqx");
    EXPECT_EQ(again, first);
    EXPECT_EQ(docs.DocumentCount(), 1);
    ASSERT_EQ(host.activated.size(), 1u);
    EXPECT_EQ(host.activated[0], first);
    // A file whose open fails leaves no document and no recent entry.
    EXPECT_EQ(docs.OpenDocumentFile(temp.file("bad.lqx")), nullptr);
    EXPECT_EQ(docs.DocumentCount(), 1);
    EXPECT_EQ(docs.RecentFiles().Count(), 1);
}

TEST_F(DocManagerTest, ADocumentWhoseWindowCannotBeMadeIsDropped)
{
    host.failCreate = true;
    EXPECT_EQ(docs.NewDocument(cards, true), nullptr);
    EXPECT_EQ(docs.DocumentCount(), 0);
    ASSERT_EQ(host.destroyed.size(), 1u);
}

TEST_F(DocManagerTest, ClosingAModifiedDocumentAsksAndCancelKeepsIt)
{
    auto* doc = Fake(docs.NewDocument(cards, true));
    ASSERT_NE(doc, nullptr);

    // Unmodified: no question.
    EXPECT_TRUE(docs.SaveModified(doc));
    EXPECT_TRUE(prompts.asked.empty());

    doc->modified = true;
    prompts.answer = ShellPrompts::kCancel;
    EXPECT_FALSE(docs.CanCloseAndClose(doc));
    EXPECT_EQ(docs.DocumentCount(), 1);
    EXPECT_EQ(prompts.asked, std::vector<std::string>{"Card1"});
    EXPECT_EQ(doc->saves, 0);

    // Yes with a save that fails keeps it too, still modified.
    prompts.answer = ShellPrompts::kYes;
    doc->saveSucceeds = false;
    EXPECT_FALSE(docs.CanCloseAndClose(doc));
    EXPECT_EQ(docs.DocumentCount(), 1);
    EXPECT_TRUE(doc->modified);

    // Yes with a good save closes and remembers the file.
    doc->saveSucceeds = true;
    doc->savePath = temp.file("saved.lqx");
    bool closed = false;
    doc->closedFlag = &closed;
    EXPECT_TRUE(docs.CanCloseAndClose(doc));
    EXPECT_TRUE(closed);
    EXPECT_EQ(docs.DocumentCount(), 0);
    ASSERT_EQ(docs.RecentFiles().Count(), 1);
    EXPECT_EQ(docs.RecentFiles().At(0), temp.file("saved.lqx"));
}

TEST_F(DocManagerTest, QuittingAsksOncePerModifiedDocumentAndCancelStopsAtOnce)
{
    auto* a = Fake(docs.NewDocument(cards, true));
    auto* b = Fake(docs.NewDocument(cards, true));
    auto* c = Fake(docs.NewDocument(cards, true));
    a->modified = true;
    c->modified = true;

    prompts.answer = ShellPrompts::kNo;
    EXPECT_TRUE(docs.SaveAllModified());
    EXPECT_EQ(prompts.asked, (std::vector<std::string>{"Card1", "Card3"}));

    prompts.asked.clear();
    prompts.answer = ShellPrompts::kCancel;
    EXPECT_FALSE(docs.SaveAllModified());
    EXPECT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(docs.DocumentCount(), 3);
    EXPECT_TRUE(a->modified && c->modified);
    EXPECT_EQ(a->saves + b->saves + c->saves, 0);
}

TEST(RecentFileListTest, NewestFirstWithoutRepeatsAndBounded)
{
    TempDir temp;
    RecentFileList list(4);
    for (const char* name : {"a.lqx", "b.lqx", "c.lqx", "d.lqx", "e.lqx"})
        list.Add(temp.file(name));
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.At(0), temp.file("e.lqx"));
    EXPECT_EQ(list.At(3), temp.file("b.lqx"));
    list.Add(temp.path() + "/../" + temp.path().substr(temp.path().rfind('/') + 1) + "/c.lqx");
    EXPECT_EQ(list.Count(), 4);
    EXPECT_NE(list.At(0).find("c.lqx"), std::string::npos);
    EXPECT_EQ(list.At(1), temp.file("e.lqx"));
    list.Remove(9);
    list.Remove(0);
    EXPECT_EQ(list.Count(), 3);

    RecentFileList shortList(4);
    shortList.Add("/a/b&c.lqx");
    EXPECT_EQ(shortList.MenuText(0), "&1 /a/b&&c.lqx");
    shortList.Add("/very/long/folder/name/that/goes/on/and/on/card.lqx");
    const QString text = shortList.MenuText(0, 30);
    EXPECT_TRUE(text.startsWith("&1 "));
    EXPECT_TRUE(text.endsWith("/card.lqx"));
    EXPECT_LE(text.size(), 3 + 30);
}

TEST_F(DocManagerTest, RecentFilesPersistInTheProfile)
{
    docs.OpenDocumentFile(temp.file("one.lqx"));
    docs.OpenDocumentFile(temp.file("two.lqx"));
    {
        QSettings settings;
        EXPECT_EQ(settings.value("Recent File List/File1").toString().toStdString(), temp.file("two.lqx"));
        EXPECT_EQ(settings.value("Recent File List/File2").toString().toStdString(), temp.file("one.lqx"));
        EXPECT_FALSE(settings.contains("Recent File List/File3"));
        // A hand-made repeat and a hole are skipped on reading.
        settings.setValue("Recent File List/File3", QString::fromStdString(temp.file("two.lqx")));
        settings.setValue("Recent File List/File4", "");
    }
    DocManager later;
    later.LoadRecentFiles();
    ASSERT_EQ(later.RecentFiles().Count(), 2);
    EXPECT_EQ(later.RecentFiles().At(0), temp.file("two.lqx"));
    EXPECT_EQ(later.RecentFiles().At(1), temp.file("one.lqx"));
}

}  // namespace
