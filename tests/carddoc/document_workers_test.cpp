// The document workers: guide settings, ruler units and Goto Page fill
// their dialogs from the document and apply only an OK.
#include "worker_test_support.h"

#include "dialogs/guide_settings_dialog.h"
#include "dialogs/page_dialogs.h"
#include "dialogs/ruler_settings_dialog.h"
#include "records/command_ids.h"

namespace {

using DocumentWorkerTest = WorkerTest;

TEST_F(DocumentWorkerTest, GuideSettingsStoreTheFlagsAndMakeAGridOnlyWhenAsked)
{
    doc->SetShowGuides(true);
    doc->SetSnapToGuides(false);
    GuideSettingsRecord given;
    dialogs.Ok<CDlgGuideSettings>([&](CDlgGuideSettings& d) {
        given = d.Record();
        GuideSettingsRecord r = given;
        r.showGuide = 0;
        r.snapToGuide = 1;
        d.SetRecord(r);
    });
    doc->DoGuideSettings();
    EXPECT_EQ(given.units, 1);
    EXPECT_EQ(given.showGuide, 1);
    EXPECT_EQ(given.snapToGuide, 0);
    EXPECT_FALSE(doc->ShowGuides());
    EXPECT_TRUE(doc->SnapsToGuides());
    EXPECT_FALSE(doc->IsModified());  // no grid was asked for

    dialogs.Ok<CDlgGuideSettings>([&](CDlgGuideSettings& d) {
        GuideSettingsRecord r = d.Record();
        r.horizontal = 36.9;
        r.vertical = 18.2;
        r.changed = 1;
        d.SetRecord(r);
    });
    doc->DoGuideSettings();
    int16_t x = 0;
    int16_t y = 0;
    doc->PageManager()->GetGuideSpacing(&x, &y);
    EXPECT_EQ(x, 36);
    EXPECT_EQ(y, 18);

    dialogs.Cancel<CDlgGuideSettings>();
    doc->DoGuideSettings();
    EXPECT_TRUE(doc->SnapsToGuides());
}

TEST_F(DocumentWorkerTest, RulerSettingsAndGotoPage)
{
    doc->SetRulerUnits(1, 1);
    RulerSettingsRecord given;
    dialogs.Ok<CDlgRulerSettings>([&](CDlgRulerSettings& d) {
        given = d.Record();
        d.SetRecord(RulerSettingsRecord{2, 3});
    });
    doc->DoRulerSettings();
    EXPECT_EQ(given.horizontal, 1);
    EXPECT_EQ(doc->GeneralPref(kPrefHorizontalUnit), 3u);
    EXPECT_EQ(doc->GeneralPref(kPrefVerticalUnit), 2u);
    dialogs.Cancel<CDlgRulerSettings>();
    doc->DoRulerSettings();
    EXPECT_EQ(doc->GeneralPref(kPrefHorizontalUnit), 3u);

    GotoPageRecord seen;
    dialogs.Cancel<CDlgGotoPage>([&](CDlgGotoPage& d) { seen = d.Record(); });
    EXPECT_TRUE(doc->OnCommand(kCmdGotoPage));
    EXPECT_EQ(seen.page, doc->GetCurrentPage());
    EXPECT_EQ(seen.total, doc->GetPageCount());
}

}  // namespace
