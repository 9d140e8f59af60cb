// The card view over a real card: zoom and the view geometry it gives,
// scrolling and moving between pages, the current tool, the draw-target
// stack, and the rulers following the pointer.
#include <gtest/gtest.h>

#include <QAbstractSlider>
#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

#include "card_test_support.h"
#include "card_in_view_fixture.h"
#include "carddoc/labels_doc.h"
#include "frames/curr_page_mng.h"
#include "platform/dc.h"
#include "text/text_tool.h"

namespace {

const std::string kSample = std::string(TESSALINE_TEST_DATA_DIR) + "/../../data/Samples/Business Card.lqx";

class CardViewTest : public CardInViewTest {
protected:
    CardViewTest() : CardInViewTest(500, 360) {}
    void SetUp() override
    {
        CardDocTest::SetUp();
        WriteFileBytes(docs_.file("card.lqx"), ReadFileBytes(kSample));
        doc = OpenCardDocument(DocPath("card.lqx"));
        ASSERT_NE(doc, nullptr) << alerts_.lastText();
        ShowDocument();
        QApplication::processEvents();
    }
    // The view's picture as a full repaint makes it.
    QImage Repainted()
    {
        doc->RefreshView();
        View()->UpdateNow();
        return View()->Surface().copy();
    }

};

TEST_F(CardViewTest, ZoomSetsScrollSizesRulersAndTheZoomBox)
{
    const PageBlock& page = doc->PageGeometry();
    EXPECT_EQ(doc->GetZoomPercent(), 100);
    EXPECT_EQ(window.bars[0].max, page.pageWidth);
    EXPECT_EQ(window.bars[1].max, page.pageHeight);
    EXPECT_EQ(window.bar->ZoomText(), "100%");

    doc->SetZoomMode(2, false);
    EXPECT_EQ(doc->GetZoomPercent(), 50);
    EXPECT_EQ(window.bars[0].max, page.pageWidth / 2);
    EXPECT_EQ(window.bar->ZoomText(), "50%");
    RulerSettings ruler;
    window.vertical->GetSettings(&ruler);
    EXPECT_EQ(ruler.zoom, 50);

    // 75%: view units truncate toward zero, so a round trip may lose one.
    doc->SetZoomMode(3, false);
    EXPECT_EQ(doc->DocToViewX(101), 75);
    EXPECT_EQ(doc->ViewToDocX(75), 100);
    EXPECT_EQ(doc->DocToViewX(-5), -3);
    IntRect r{4, 8, 12, -16};
    doc->DocToViewRect(&r);
    EXPECT_EQ(r.left, 3);
    EXPECT_EQ(r.bottom, -12);

    // Fit: the card fills the window, less than 100% here, and the box
    // says so.
    View()->resize(150, 100);
    doc->SetZoomMode(0, false);
    int16_t n = 0, d = 0, mode = -1;
    doc->PageManager()->GetZoom(&n, &d, &mode);
    EXPECT_EQ(mode, 0);
    EXPECT_EQ(d, 100);
    EXPECT_GT(n, 0);
    EXPECT_LT(n, 100);
    EXPECT_EQ(window.bar->ZoomText(), "Fit");
    // Resizing the window in fit mode fits again.
    View()->resize(300, 200);
    int16_t n2 = 0;
    doc->PageManager()->GetZoom(&n2, &d, &mode);
    EXPECT_GT(n2, n);

    // A window far too small for the card still gets a zoom to divide by.
    View()->resize(1, 1);
    doc->PageManager()->GetZoom(&n, &d, &mode);
    EXPECT_GE(n, 1);
}

TEST_F(CardViewTest, ZoomBoxTexts)
{
    EXPECT_EQ(ZoomBoxText(1, 4, false), "25%");
    EXPECT_EQ(ZoomBoxText(2, 1, false), "200%");
    EXPECT_EQ(ZoomBoxText(62, 100, false), "Fit");
    EXPECT_EQ(ZoomBoxText(150, 100, true), "150%");
    EXPECT_EQ(ZoomBoxText(3, 1, true), "300%");
    EXPECT_EQ(ZoomBoxText(1, 0, false), "100%");
}

TEST_F(CardViewTest, ScrollingMovesThePictureAndStopsAtTheEnds)
{
    doc->SetZoomMode(5, false);
    View()->ScrollTo(0, 0, true);
    const QImage before = Repainted();
    ASSERT_TRUE(View()->ScrollBy(30, 20));
    EXPECT_EQ(View()->ScrollPosition().x, 30);
    EXPECT_EQ(View()->ScrollPosition().y, 20);
    // The picture moved with the page, and what it uncovered was painted:
    // the same as painting it all again.
    const QImage scrolled = View()->Surface().copy();
    EXPECT_EQ(scrolled.pixel(10, 10), before.pixel(40, 30));
    EXPECT_EQ(scrolled, Repainted());
    EXPECT_EQ(window.horizontal->ScrollPos(), 30);

    ScrollInfo h = window.bars[0];
    EXPECT_TRUE(View()->ScrollBy(100000, 0));
    EXPECT_EQ(View()->ScrollPosition().x, h.max - h.page + 1);
    EXPECT_FALSE(View()->ScrollBy(5, 0));
    EXPECT_TRUE(View()->ScrollBy(-100000, -100000));
    EXPECT_EQ(View()->ScrollPosition().x, 0);
    EXPECT_EQ(View()->ScrollPosition().y, 0);
    EXPECT_FALSE(View()->ScrollBy(0, 0));

    // The scroll bar's line step is the scrolling speed.
    View()->OnFrameScroll(Qt::Vertical, QAbstractSlider::SliderSingleStepAdd, 0);
    EXPECT_EQ(View()->ScrollPosition().y, int32_t(doc->GeneralPref(kPrefScrollSpeed)));
    View()->OnFrameScroll(Qt::Vertical, QAbstractSlider::SliderToMinimum, 0);
    EXPECT_EQ(View()->ScrollPosition().y, 0);
    EXPECT_EQ(View()->Surface(), Repainted());
}

TEST_F(CardViewTest, PagesAndThePageBar)
{
    EXPECT_EQ(window.bar->PageText(), "Front Page");
    EXPECT_FALSE(window.bar->PreviousEnabled());
    EXPECT_TRUE(window.bar->NextEnabled());
    doc->GoToPage(2);
    EXPECT_EQ(doc->GetCurrentPage(), 2);
    EXPECT_EQ(window.bar->PageText(), "Back Page");
    EXPECT_TRUE(window.bar->PreviousEnabled());
    EXPECT_FALSE(window.bar->NextEnabled());
    // Beyond the last page the last one stays.
    doc->GoToPage(9);
    EXPECT_EQ(doc->GetCurrentPage(), 2);
    doc->GoToPage(1);
    EXPECT_EQ(doc->GetCurrentPage(), 1);
}

TEST_F(CardViewTest, ToolSelectionAndWhatTheToolIsGiven)
{
    // A card shown in its view starts with the Object tool.
    EXPECT_EQ(doc->GetCurrentToolIndex(), kToolObject);
    // Before any tool is current the document keeps what the menus chose
    // (a current tool publishes its own attributes over them).
    auto fresh = NewCardDocument();
    ASSERT_NE(fresh, nullptr);
    ASSERT_EQ(fresh->GetCurrentToolIndex(), -1);
    fresh->SetFontSize(4);
    EXPECT_EQ(fresh->CurrentTextAttrs().size, 6);
    fresh->SetFontSize(500);
    EXPECT_EQ(fresh->CurrentTextAttrs().size, 400);
    fresh->SetLineSpacing(2);
    EXPECT_EQ(fresh->CurrentTextAttrs().lineSpacing, 2);
    fresh->SetLineSpacing(2);
    EXPECT_EQ(fresh->CurrentTextAttrs().lineSpacing, 0);
    fresh->SetBaselineStyle(1);
    EXPECT_EQ(fresh->CurrentTextAttrs().baselineStyle, 1);
    fresh->SetBaselineStyle(1);
    EXPECT_EQ(fresh->CurrentTextAttrs().baselineStyle, 0);
    fresh.reset();

    window.toolButtons.clear();
    doc->OnToolSelect(33285);
    EXPECT_EQ(doc->GetCurrentToolIndex(), kToolText);
    ASSERT_EQ(window.toolButtons.size(), 1u);
    EXPECT_EQ(window.toolButtons[0], kToolText);
    // Choosing it again only refreshes the buttons.
    doc->SetTool(kToolText, 0);
    EXPECT_EQ(window.toolButtons.size(), 2u);
    // A kind without a tool changes nothing.
    doc->SetTool(kToolCount, 0);
    EXPECT_EQ(doc->GetCurrentToolIndex(), kToolText);
    EXPECT_EQ(window.toolButtons.size(), 2u);

}

TEST_F(CardViewTest, DrawTargetsStackUpToTenDeep)
{
    Dc* screen = View()->GetViewDC();
    EXPECT_TRUE(View()->IsScreenTarget());
    QImage image(10, 10, QImage::Format_RGB32);
    std::vector<std::unique_ptr<Dc>> targets;
    for (int i = 0; i < 11; ++i) {
        targets.push_back(Dc::ForImage(&image));
        View()->PushDrawTarget(targets.back().get(), 0);
    }
    EXPECT_EQ(View()->DrawTargetDepth(), 9);
    EXPECT_EQ(View()->GetViewDC(), targets[9].get()) << "the eleventh push is ignored";
    View()->PopDrawTarget();
    EXPECT_EQ(View()->GetViewDC(), targets[8].get());
    for (int i = 0; i < 20; ++i)
        View()->PopDrawTarget();
    EXPECT_TRUE(View()->IsScreenTarget());
    EXPECT_EQ(View()->GetViewDC(), screen);
}

TEST_F(CardViewTest, TheRulersMarkThePointer)
{
    const QImage plain = window.horizontal->Surface().copy();
    auto move = [&](int x, int y) {
        const QPointF local(x, y);
        QMouseEvent event(QEvent::MouseMove, local, View()->mapToGlobal(local), Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(View(), &event);
    };
    move(50, 40);
    EXPECT_EQ(window.horizontal->Mark(0), 50);
    EXPECT_EQ(window.vertical->Mark(0), 40);
    EXPECT_EQ(window.horizontal->Mark(1), -1);
    const QImage marked = window.horizontal->Surface().copy();
    EXPECT_NE(marked.pixel(50, 5), plain.pixel(50, 5));
    EXPECT_EQ(marked.pixel(49, 5), plain.pixel(49, 5));
    move(80, 40);
    // The old mark is gone again, the new one shows.
    const QImage moved = window.horizontal->Surface();
    EXPECT_EQ(moved.pixel(50, 5), plain.pixel(50, 5));
    EXPECT_NE(moved.pixel(80, 5), plain.pixel(80, 5));
}

TEST_F(CardViewTest, TheCornerCyclesTheUnitWithControl)
{
    RulerSettings settings;
    window.horizontal->GetSettings(&settings);
    const int16_t first = settings.unit;
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), window.corner->mapToGlobal(QPointF(5, 5)),
                      Qt::LeftButton, Qt::LeftButton, Qt::ControlModifier);
    QApplication::sendEvent(window.corner, &press);
    window.horizontal->GetSettings(&settings);
    EXPECT_EQ(settings.unit, (first + 1) % 4);
    window.vertical->GetSettings(&settings);
    EXPECT_EQ(settings.unit, (first + 1) % 4);
    EXPECT_EQ(int16_t(doc->GeneralPref(kPrefHorizontalUnit)), (first + 1) % 4);
    EXPECT_EQ(window.corner->Mode(), CRulerCorner::kShowCross);
}

TEST_F(CardViewTest, TheRulersZeroIsTheCardsCornerUntilTheCornerSetsItElsewhere)
{
    const IntRect slot = doc->PageGeometry().slots[0];
    ASSERT_GT(slot.left, 0);
    EXPECT_EQ(window.horizontal->Zero(), slot.left);
    EXPECT_EQ(window.vertical->Zero(), slot.top);
    EXPECT_EQ(doc->GetRulerOriginX(), slot.left);
    EXPECT_EQ(doc->GetRulerOriginY(), slot.top);
    // The ruler draws its 0, the longest tick, above the card's left edge.
    const QImage ruler = window.horizontal->Surface().copy();
    const int x = slot.left - View()->ScrollPosition().x - window.horizontal->ViewOffset();
    const int row = ruler.height() - 4;
    ASSERT_GT(x, 2);
    ASSERT_LT(x, ruler.width() - 2);
    EXPECT_LT(qGray(ruler.pixel(x, row)), 100);
    EXPECT_GT(qGray(ruler.pixel(x - 2, row)), 100);
    EXPECT_GT(qGray(ruler.pixel(x + 2, row)), 100);

    // A press on the corner, dragged to 30 pt across and 40 pt down the card
    // and let go there: the zero stands there, kept from the card's corner.
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), window.corner->mapToGlobal(QPointF(5, 5)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.corner, &press);
    const IntPoint scroll = View()->ScrollPosition();
    const QPointF at(slot.left + 30 - scroll.x, slot.top + 40 - scroll.y);
    QMouseEvent move(QEvent::MouseMove, at, View()->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(View(), &move);
    QMouseEvent up(QEvent::MouseButtonRelease, at, View()->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                   Qt::NoModifier);
    QApplication::sendEvent(View(), &up);
    RulerSettings settings;
    window.horizontal->GetSettings(&settings);
    EXPECT_EQ(settings.origin, 30);
    window.vertical->GetSettings(&settings);
    EXPECT_EQ(settings.origin, 40);
    EXPECT_EQ(doc->GetRulerOriginX(), slot.left + 30);
    EXPECT_EQ(doc->GetRulerOriginY(), slot.top + 40);
    EXPECT_EQ(window.horizontal->Zero(), slot.left + 30);
}

// Column x of the image, rows from top to bottom, as dark (1) or not (0).
std::string Column(const QImage& image, int x)
{
    std::string s;
    for (int y = 0; y < image.height(); ++y)
        s += qGray(image.pixel(x, y)) < 128 ? '1' : '0';
    return s;
}

TEST(RulerScale, InchesAtOneAndTwoHundredPercent)
{
    QImage image(200, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    auto dc = Dc::ForImage(&image);
    dc->setTextAlign(TA_BASELINE | TA_CENTER);
    ScaleRecord r;
    r.dc = dc.get();
    r.rect = IntRect{0, 0, 200, 30};
    r.unit = 1;
    r.zoom = 100;
    r.from = 0;
    r.to = 200;
    CRuler::DrawScale(r);
    // Every 1/16 inch a tick; the inch (k 16) is numbered and 5 + 2 + 1
    // long; an odd sixteenth is 0 + 2 + 1. A tick starts on the bottom edge,
    // so one pixel less of it shows.
    EXPECT_EQ(Column(image, 72).substr(22), "01111111");
    EXPECT_EQ(Column(image, 76).substr(26), "0011");
    EXPECT_EQ(Column(image, 7), std::string(30, '0'));

    // 200%: every 1/32 inch; the half inch (k 16) is 4 + 2 + 1 long and has
    // no number.
    image.fill(Qt::white);
    r.zoom = 200;
    CRuler::DrawScale(r);
    EXPECT_EQ(Column(image, 72), "000000000000000000000000111111");
    EXPECT_EQ(Column(image, 144).substr(22), "01111111");
}

TEST(RulerScale, NumbersCountUpBothWaysFromTheOrigin)
{
    QImage left(200, 30, QImage::Format_RGB32);
    QImage right(200, 30, QImage::Format_RGB32);
    for (QImage* image : {&left, &right}) {
        image->fill(Qt::white);
        auto dc = Dc::ForImage(image);
        dc->setTextAlign(TA_BASELINE | TA_CENTER);
        ScaleRecord r;
        r.dc = dc.get();
        r.rect = IntRect{0, 0, 200, 30};
        r.unit = 0;
        r.zoom = 100;
        r.origin = 100;
        r.from = 100;
        r.to = image == &left ? 0 : 200;
        CRuler::DrawScale(r);
    }
    // The grid is anchored at the origin on both sides: ticks every 5
    // points, numbered every 25, whichever way the scale runs.
    for (int d : {5, 10, 20, 45})
        EXPECT_EQ(Column(left, 100 - d).substr(27), Column(right, 100 + d).substr(27)) << d;
    EXPECT_EQ(Column(right, 125).substr(24), "011111");
    EXPECT_EQ(Column(right, 105).substr(27), "011");
    EXPECT_EQ(Column(left, 75).substr(24), "011111");
}

}  // namespace

namespace {

TEST_F(CardViewTest, TheTextToolTakesATextFrameThroughTheView)
{
    doc->SetTool(kToolText, 0);
    doc->SetModified(false);
    const IntRect slot = doc->PageGeometry().slots[0];
    const IntPoint scroll = View()->ScrollPosition();
    // Into the company name's frame.
    const QPoint at(slot.left + 100 - scroll.x, slot.top + 28 - scroll.y);
    QTimer::singleShot(5, View(), [&] { QTest::mouseRelease(View(), Qt::LeftButton, {}, at); });
    QTest::mousePress(View(), Qt::LeftButton, {}, at);
    auto* text = static_cast<TextTool*>(doc->ToolOfKind(kToolText));
    ASSERT_NE(text->EditFrame(), nullptr);
    // The company name is a merge field, whose characters can't be typed
    // into; past its end they can.
    QTest::keyClick(View(), Qt::Key_X);
    EXPECT_FALSE(doc->IsModified());
    QTest::keyClick(View(), Qt::Key_End);
    QTest::keyClick(View(), Qt::Key_X);
    text->FlushReflow();
    EXPECT_EQ(doc->GetCurrentToolIndex(), kToolText);
    EXPECT_TRUE(doc->IsModified());
}

}  // namespace
