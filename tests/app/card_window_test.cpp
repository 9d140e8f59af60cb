// The card document in the shell: the sample card opens through the
// application into a card window with its view, rulers and page bar, and
// closing it asks about unsaved changes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiArea>

#include "app/card_app.h"
#include "app/card_document_kind.h"
#include "app/child_frame.h"
#include "app/main_frame.h"
#include "app/splash_wnd.h"
#include "carddoc/labels_doc.h"
#include "carddoc/labels_view.h"
#include "carddoc/ruler.h"
#include "carddoc/zoom_page_bar.h"
#include "frames/curr_page_mng.h"
#include "running_app_fixture.h"
#include "records/command_ids.h"
#include "support/alert_capture.h"
#include "support/shell.h"

namespace {

const std::string kSample = std::string(TESSALINE_TEST_DATA_DIR) + "/../../data/Samples/Business Card.lqx";

class CardWindowTest : public RunningAppTest {
protected:
    void SetUp() override
    {
        RunningAppTest::SetUp();
        StartApp({});
        if (HasFatalFailure())
            return;
        frame->showNormal();
        frame->resize(900, 640);
    }
    // The sample, copied: an open card keeps its file and a swap file.
    ShellDocument* OpenSample()
    {
        const std::string copy = temp.file("Business Card.lqx");
        WriteFileBytes(copy, ReadFileBytes(kSample));
        ShellDocument* document = app->OpenDocumentFile(copy);
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
        return document;
    }
};

TEST_F(CardWindowTest, TheSampleOpensInACardWindowWithItsViewRulersAndBar)
{
    auto* document = dynamic_cast<CardShellDocument*>(OpenSample());
    ASSERT_NE(document, nullptr) << alerts.lastText();
    EXPECT_EQ(document->Title(), "Business Card.lqx");
    auto* card = dynamic_cast<CChildFrame*>(frame->ActiveChildFrame());
    ASSERT_NE(card, nullptr);
    auto* view = dynamic_cast<CLabelsView*>(card->ActiveView());
    ASSERT_NE(view, nullptr);
    card->setGeometry(10, 10, 600, 420);
    QApplication::processEvents();
    EXPECT_EQ(view, document->View());
    EXPECT_EQ(view->Document(), document->Document());
    EXPECT_EQ(view->HorizontalRuler(), card->HorizontalRuler());
    EXPECT_EQ(view->VerticalRuler(), card->VerticalRuler());

    // A two-sided card names its pages; the back page is next.
    EXPECT_EQ(card->PageText(), "Front Page");
    EXPECT_EQ(card->ZoomText(), "100%");
    EXPECT_FALSE(card->ZoomPageBar()->PreviousEnabled());
    EXPECT_TRUE(card->ZoomPageBar()->NextEnabled());
    EXPECT_TRUE(frame->RouteCommand(CZoomPageBar::kNextPageId));
    EXPECT_EQ(document->Document()->GetCurrentPage(), 2);
    EXPECT_EQ(card->PageText(), "Back Page");
    EXPECT_TRUE(card->ZoomPageBar()->PreviousEnabled());
    EXPECT_FALSE(card->ZoomPageBar()->NextEnabled());
    EXPECT_TRUE(frame->RouteCommand(CZoomPageBar::kPreviousPageId));
    EXPECT_EQ(document->Document()->GetCurrentPage(), 1);

    // The card's frames are on the view's picture: the dark blue disc of the
    // logo.
    const IntRect slot = document->Document()->PageGeometry().slots[0];
    const QPoint disc(slot.left + 14 - view->ScrollPosition().x, slot.top + 14 - view->ScrollPosition().y);
    ASSERT_TRUE(view->Surface().rect().contains(disc + QPoint(40, 40)));
    int dark = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            dark += qGray(view->Surface().pixel(disc + QPoint(x, y))) < 128;
    EXPECT_GT(dark, 400);

    // The zoom commands go to the view; the rulers follow.
    EXPECT_TRUE(frame->RouteCommand(kCmdFirstZoom + 2));
    EXPECT_EQ(card->ZoomText(), "50%");
    EXPECT_TRUE(frame->QueryCommand(kCmdFirstZoom + 2).checked);
    EXPECT_FALSE(frame->QueryCommand(kCmdFirstZoom + 4).checked);
    RulerSettings settings;
    card->HorizontalRuler()->GetSettings(&settings);
    EXPECT_EQ(settings.zoom, 50);

    // The tools bar's Text button makes the Text tool current.
    EXPECT_TRUE(frame->RouteCommand(33285));
    EXPECT_EQ(document->Document()->GetCurrentToolIndex(), kToolText);
    EXPECT_TRUE(frame->QueryCommand(33285).checked);
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

TEST_F(CardWindowTest, ClosingAChangedCardAsksAndCancelKeepsItOpen)
{
    auto* document = dynamic_cast<CardShellDocument*>(OpenSample());
    ASSERT_NE(document, nullptr) << alerts.lastText();
    document->Document()->SetModified(true);
    EXPECT_TRUE(document->IsModified());

    prompts.answer = ShellPrompts::kCancel;
    EXPECT_FALSE(app->Documents().CanCloseAndClose(document));
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0], "Business Card.lqx");
    EXPECT_EQ(app->GetOpenDocumentCount(), 1);

    prompts.answer = ShellPrompts::kNo;
    EXPECT_TRUE(app->Documents().CanCloseAndClose(document));
    EXPECT_EQ(app->GetOpenDocumentCount(), 0);
    EXPECT_TRUE(frame->MdiArea()->subWindowList().empty());
    // Nothing was written: the copy is the sample still.
    EXPECT_EQ(ReadFileBytes(temp.file("Business Card.lqx")), ReadFileBytes(kSample));
}

TEST_F(CardWindowTest, SavingOnCloseWritesTheCard)
{
    auto* document = dynamic_cast<CardShellDocument*>(OpenSample());
    ASSERT_NE(document, nullptr) << alerts.lastText();
    document->Document()->SetModified(true);
    prompts.answer = ShellPrompts::kYes;
    EXPECT_TRUE(app->Documents().CanCloseAndClose(document));
    EXPECT_EQ(app->GetOpenDocumentCount(), 0);
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

TEST_F(CardWindowTest, AFileThatIsNoCardIsRefusedWithItsMessage)
{
    const std::string junk = temp.file("junk.lqx");
    WriteFileBytes(junk, std::string(200, 'x'));
    EXPECT_EQ(app->OpenDocumentFile(junk), nullptr);
    EXPECT_EQ(app->GetOpenDocumentCount(), 0);
    EXPECT_FALSE(alerts.boxes().empty());
}

}  // namespace
