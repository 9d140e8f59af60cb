// Placing a picture or a barcode as a new user does: the menu command, then
// the status bar and the cursor say what to do on the card, and doing it
// puts the object there.
#include <QCursor>
#include <QDialog>
#include <QImage>

#include <string>

#include "app/main_frame.h"
#include "app/main_status_bar.h"
#include "carddoc/labels_doc.h"
#include "carddoc/labels_view.h"
#include "foundation/cursors.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
#include "journey_fixture.h"

namespace {

constexpr int32_t kPictureCursor = 19;

class PlacingObjectsJourney : public JourneyTest {
protected:
    void SetUp() override
    {
        JourneyTest::SetUp();
        path_ = CopySample("Business Card.lqx");
        ASSERT_NE(OpenThroughMenu(path_), nullptr) << alerts.lastText();
        MaximizeCardWindow();
    }
    QString Prompt() { return MainWindow()->MainStatusBar()->MessageText(); }
    // Frames of the type on the card now.
    size_t FramesOfType(int type)
    {
        size_t n = 0;
        CurrPageMng* pages = CardDocument()->PageManager();
        for (int16_t i = 0; pages && i < pages->FrameCount(); ++i)
            if (FrameObj* frame = pages->FrameAt(i); frame && frame->GetType() == type)
                ++n;
        return n;
    }
    std::string path_;
};

TEST_F(PlacingObjectsJourney, AnImportedPictureWaitsForADragAndTheProgramSaysSo)
{
    QImage green(30, 20, QImage::Format_RGB32);
    green.fill(QColor(0, 160, 0));
    const std::string file = TempFile("green.png");
    ASSERT_TRUE(green.save(QString::fromStdString(file)));
    const size_t before = FramesOfType(7);

    OnNextDialog(ChooseFile(file));
    ASSERT_TRUE(Trigger("File > Import Graphics..."));
    // The picture dialog with its preview chose the file.
    ASSERT_FALSE(DialogTitles().empty());
    EXPECT_EQ(DialogTitles().back(), QStringLiteral("Select graphics file"));
    EXPECT_TRUE(Prompt().contains("Drag")) << Prompt().toStdString();
    const QCursor* picture = GetAppCursor(kPictureCursor);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(CardView()->cursor().pixmap().toImage(), picture->pixmap().toImage());
    // Chosen again before placing it: the dialog comes again.
    const size_t dialogs = DialogTitles().size();
    OnNextDialog(ChooseFile(file));
    ASSERT_TRUE(Trigger("File > Import Graphics..."));
    EXPECT_EQ(DialogTitles().size(), dialogs + 1);
    EXPECT_TRUE(Prompt().contains("Drag")) << Prompt().toStdString();

    // The drag places it, in the drag's size, and the prompt goes.
    const QRect where = CardRect(150, 100, 60, 30);
    Drag(where.topLeft(), {where.center(), where.bottomRight()});
    EXPECT_FALSE(Prompt().contains("Drag")) << Prompt().toStdString();
    const QImage view = ViewPixels();
    const QColor middle(view.pixel(where.center()));
    EXPECT_GT(middle.green(), 120) << middle.name().toStdString();
    EXPECT_LT(middle.red(), 60) << middle.name().toStdString();
    EXPECT_EQ(FramesOfType(7), before + 1);
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

TEST_F(PlacingObjectsJourney, PlaceBarcodeSaysAClickPlacesIt)
{
    const size_t before = FramesOfType(11);
    OnNextDialog(Accept());
    ASSERT_TRUE(Trigger("Object > Place Barcode"));
    EXPECT_TRUE(Prompt().contains("Click")) << Prompt().toStdString();
    Click(CardPoint(120, 110));
    EXPECT_FALSE(Prompt().contains("Click")) << Prompt().toStdString();
    EXPECT_EQ(FramesOfType(11), before + 1);
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

TEST_F(PlacingObjectsJourney, APictureDraggedPastThePagesBottomKeepsASizeOnThePage)
{
    QImage green(30, 20, QImage::Format_RGB32);
    green.fill(QColor(0, 160, 0));
    const std::string file = TempFile("green.png");
    ASSERT_TRUE(green.save(QString::fromStdString(file)));
    IntRect page{};
    CardDocument()->GetPageRect(&page);
    OnNextDialog(ChooseFile(file));
    ASSERT_TRUE(Trigger("File > Import Graphics..."));
    // From below the page to further below: the page cuts the drag's
    // height to nothing.
    const QPoint from = ViewPoint(IntPoint{page.left + 40, page.bottom + 10});
    const QPoint to = ViewPoint(IntPoint{page.left + 120, page.bottom + 60});
    ASSERT_TRUE(CardView()->rect().contains(to)) << "the view does not reach below the page";
    const size_t before = FramesOfType(7);
    Drag(from, {(from + to) / 2, to});
    ASSERT_EQ(FramesOfType(7), before + 1);
    CurrPageMng* pages = CardDocument()->PageManager();
    const FrameObj* frame = pages->FrameAt(int16_t(pages->FrameCount() - 1));
    const FrameGeometry& g = frame->Attributes().geometry;
    EXPECT_GE(g.height, 4);
    EXPECT_GE(g.width, 4);
    EXPECT_LE(g.y + g.height, page.bottom);
}

TEST_F(PlacingObjectsJourney, AFrameDrawnBeyondThePasteboardIsMadeAsDrawnOnIt)
{
    IntRect page{};
    CardDocument()->GetPageRect(&page);
    // In the white beyond the pasteboard's bottom: the frame comes as large
    // as it was drawn, at the pasteboard's edge, and its text shows.
    const QPoint from = ViewPoint(IntPoint{page.left + 40, page.bottom + 10});
    const QPoint to = ViewPoint(IntPoint{page.left + 227, page.bottom + 70});
    ASSERT_TRUE(CardView()->rect().contains(to)) << "the view does not reach below the pasteboard";
    constexpr uint32_t kFrameTextTool = 33286;
    ASSERT_TRUE(Trigger(kFrameTextTool));
    const size_t before = FramesOfType(kFrameText);
    Drag(from, {(from + to) / 2, to});
    ASSERT_EQ(FramesOfType(kFrameText), before + 1);
    CurrPageMng* pages = CardDocument()->PageManager();
    const FrameGeometry text = pages->FrameAt(int16_t(pages->FrameCount() - 1))->Attributes().geometry;
    EXPECT_NEAR(text.width, 187, 2);
    EXPECT_NEAR(text.height, 60, 2);
    EXPECT_GE(text.y, page.top);
    EXPECT_LE(text.y + text.height, page.bottom);
    const QImage empty = ViewPixels();
    Type("Shown");
    const QRect frame(ViewPoint(IntPoint{text.x, text.y}), ViewPoint(IntPoint{text.x + text.width, text.y + text.height}));
    EXPECT_GT(Ink(ViewPixels(), frame) - Ink(empty, frame), 40);

    // A picture drawn there is made as drawn too.
    QImage green(30, 20, QImage::Format_RGB32);
    green.fill(QColor(0, 160, 0));
    const std::string file = TempFile("green.png");
    ASSERT_TRUE(green.save(QString::fromStdString(file)));
    OnNextDialog(ChooseFile(file));
    ASSERT_TRUE(Trigger("File > Import Graphics..."));
    const size_t pictures = FramesOfType(kFrameImage);
    Drag(from, {(from + to) / 2, to});
    ASSERT_EQ(FramesOfType(kFrameImage), pictures + 1);
    const FrameGeometry picture = pages->FrameAt(int16_t(pages->FrameCount() - 1))->Attributes().geometry;
    EXPECT_NEAR(picture.width, 187, 2);
    EXPECT_NEAR(picture.height, 60, 2);
    EXPECT_LE(picture.y + picture.height, page.bottom);
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

}  // namespace
