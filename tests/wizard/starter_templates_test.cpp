// The catalogue the program ships: enough layouts in every kind of
// document, and a new document made from each of them, with its backdrop,
// saves, opens again and prints its sheets filled from the contacts.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "carddoc/labels_doc.h"
#include "carddoc/labels_doc_registry.h"
#include "carddoc/labels_view.h"
#include "carddoc/print_manager.h"
#include "catalog/doc_setup.h"
#include "catalog/wiz_tree.h"
#include "catalog/wizard_data.h"
#include "database/db_document.h"
#include "database/open_database_registry.h"
#include "foundation/program_folder.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj_text.h"
#include "frames/story_store.h"
#include "platform/print_printer.h"
#include "support/shell.h"
#include "text/line_table.h"
#include "wizard_fixture.h"

namespace {

// A template as the wizard offers it: after a backdrop of a kind of
// document.
struct Offer {
    std::string kind;
    uint32_t group = 0;
    LabelLayout layout{};
    std::string name;
};

class StarterTemplates : public WizardHome {
protected:
    void SetUp() override
    {
        WizardHome::SetUp();
        CopyShippedCatalogue();
        SetProgramFolderForTesting(dir.path());
        ASSERT_EQ(WizardTreeInit(nullptr), 0);
    }
    void TearDown() override
    {
        SetPrintDialogRunner(nullptr);
        SetCurrentDatabase(nullptr);
        WizardTreeFree();
        SetProgramFolderForTesting(std::string());
        WizardHome::TearDown();
    }

    // Every template id with the first backdrop that offers it.
    std::map<uint32_t, Offer> Offers()
    {
        std::map<uint32_t, Offer> offers;
        EXPECT_EQ(WizardDataOpen(0), 0);
        CWizTree* tree = GetWizardTree();
        for (WizNode* n = tree->Root(); n; n = CWizTree::NextPreOrder(n, tree->Root())) {
            uint32_t group = 0;
            int32_t count = 0;
            if (tree->GetGroup(n, &group) != 0 || tree->GetEntryCount(n, &count) != 0)
                continue;
            char kind[kWizNameSize] = {};
            tree->GetName(n->parent, kind, int32_t(sizeof kind));
            for (int32_t i = 1; i <= count; ++i) {
                WizTemplateEntry entry;
                EXPECT_EQ(tree->GetEntry(n, i, &entry), 0);
                if (offers.count(entry.templateId))
                    continue;
                Offer& offer = offers[entry.templateId];
                offer.kind = kind;
                offer.group = group;
                offer.name = entry.name;
                EXPECT_EQ(tree->GetLabelType(n->parent, offer.layout.data()), 0);
            }
        }
        WizardDataClose();
        return offers;
    }
};

TEST_F(StarterTemplates, EveryKindOffersLayoutsThatMergeFields)
{
    std::map<std::string, std::set<std::string>> byKind;
    for (const auto& [id, offer] : Offers())
        byKind[offer.kind].insert(offer.name);
    ASSERT_EQ(byKind.size(), 5u);
    EXPECT_GE(byKind["Business Cards"].size(), 6u);
    for (const char* kind : {"Address Labels", "Shipping Labels", "Name Badges", "Index Cards"})
        EXPECT_GE(byKind[kind].size(), 3u) << kind;
}

TEST_F(StarterTemplates, ANewDocumentFromEachOneOpensAndPrintsTheContacts)
{
    PathRecord contactsPath = PosixRecord(TESSALINE_SOURCE_DATA_DIR "/Samples/Contacts.dqx");
    DbDocument contacts;
    ASSERT_TRUE(contacts.Open(contactsPath));
    const std::map<uint32_t, Offer> offers = Offers();
    ASSERT_GE(offers.size(), 18u);
    for (const auto& [id, offer] : offers) {
        SCOPED_TRACE(offer.kind + " / " + offer.name);
        // The set-up the wizard's Finish hands over.
        DocSetup setup;
        setup.fromCategory = 1;
        setup.backdropId = offer.group;
        setup.backdropColour = 1;
        setup.templateId = id;
        std::memcpy(setup.labelLayout, offer.layout.data(), sizeof setup.labelLayout);
        uint8_t record[kDocSetupSize];
        DocSetupEncode(setup, record);
        const std::string file = dir.path() + "/card" + std::to_string(id) + ".lqx";
        {
            std::unique_ptr<CLabelsDoc> doc = NewCardDocument(record);
            ASSERT_NE(doc, nullptr);
            CLabelsView view(nullptr);
            view.resize(800, 600);
            view.InitView(doc.get());
            // The backdrop and the template's frames.
            EXPECT_NE(doc->PageManager()->GetBackdropFrame(), nullptr);
            EXPECT_GE(doc->PageManager()->FrameCount(), 2);
            PathRecord path = PosixRecord(file);
            EXPECT_TRUE(doc->DoSave(&path));
            doc->SetView(nullptr);
        }

        std::unique_ptr<CLabelsDoc> opened = OpenCardDocument(PosixRecord(file));
        ASSERT_NE(opened, nullptr);
        CLabelsView view(nullptr);
        view.resize(800, 600);
        view.InitView(opened.get());
        EXPECT_NE(opened->PageManager()->GetBackdropFrame(), nullptr);
        EXPECT_GE(opened->PageManager()->FrameCount(), 2);
        // Every line of every text box shows: a box too short for its first
        // line shows nothing at all.
        for (int16_t i = 0; i < opened->PageManager()->FrameCount(); ++i) {
            auto* box = dynamic_cast<FrameObjText*>(opened->PageManager()->FrameAt(i));
            if (!box || box->GetType() != kFrameText)
                continue;
            ASSERT_EQ(opened->Stories()->BindStory(uint16_t(box->Block().storyId)), 0);
            const int32_t paragraphs = opened->Stories()->Buffer().Count();
            const LineTable lines(&box->LineTable());
            for (int32_t p = 0; p < paragraphs; ++p)
                EXPECT_NE(lines.FirstLineOf(p), 0) << "frame " << i << " paragraph " << p << " of " << paragraphs;
        }
        const std::string pdf = dir.path() + "/card" + std::to_string(id) + ".pdf";
        SetCurrentDatabase(&contacts);
        SetPrintDialogRunner([&pdf](QWidget*, PrintJobRecord* job) {
            job->printer = MakeJobPrinter(QString::fromStdString(pdf), QString());
            job->from = 0;
            job->to = 0;
            job->copies = 1;
            return job->printer ? 1 : 0;
        });
        EXPECT_EQ(opened->PrintDocument(nullptr), kPrintDone);
        EXPECT_EQ(opened->Printer().LastResult(), 0);
        EXPECT_GE(opened->Printer().PagesPrinted(), 1);
        SetCurrentDatabase(nullptr);
        opened->SetView(nullptr);
        // Every layout shows the first contact's name.
        if (Shell(dir, "command -v pdftotext >/dev/null") == 0) {
            ASSERT_EQ(Shell(dir, "pdftotext '" + pdf + "' out.txt"), 0);
            EXPECT_NE(ReadFileBytes(dir.file("out.txt")).find("Ada"), std::string::npos);
        }
    }
    contacts.Close();
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

}  // namespace
