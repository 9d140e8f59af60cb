// Cards shown in their view, for the tests of what the view and its tools
// do: any card, and a new card with the selection tool and the first page
// slot at hand, the ground of the tests that select, move and change frames
// as the pointer and the workers do.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QPoint>
#include <memory>
#include <vector>

#include "app/clipboard_wnd.h"
#include "card_test_support.h"
#include "card_window_stand_in.h"
#include "carddoc/labels_doc.h"
#include "carddoc/labels_view.h"
#include "carddoc/selection_tool.h"
#include "frames/frame_obj.h"

// A card document in the view of a stand-in card window; the view lets
// the document go before it is destroyed.
class CardInViewTest : public CardDocTest {
protected:
    CardInViewTest(int width, int height) : window{width, height} {}
    void TearDown() override
    {
        window.view->Detach();
        doc.reset();
        DestroyClipboardStore();
        CardDocTest::TearDown();
    }
    // The window shown with the document in its view.
    void ShowDocument()
    {
        window.show();
        window.view->InitView(doc.get());
    }
    CLabelsView* View() { return window.view; }

    CardWindowStandIn window;
    std::unique_ptr<CLabelsDoc> doc;
};

// A new card with the selection tool, the first page slot and frames made
// over it.
class NewCardViewTest : public CardInViewTest {
protected:
    NewCardViewTest(int width, int height) : CardInViewTest(width, height) {}
    void SetUp() override
    {
        CardDocTest::SetUp();
        doc = NewCardDocument();
        ASSERT_NE(doc, nullptr);
        ShowDocument();
        QApplication::processEvents();
        tool = SelectionToolOf(doc.get());
        ASSERT_NE(tool, nullptr);
        page = doc->PageGeometry().slots[0];
    }

    // A frame of the type over document units relative to the first slot.
    FrameObj* Frame(int16_t type, int32_t l, int32_t t, int32_t r, int32_t b)
    {
        FrameObj* f = doc->NewFrame(type);
        EXPECT_NE(f, nullptr);
        if (!f)
            return nullptr;
        f->SetFromRect(IntRect{page.left + l, page.top + t, page.left + r, page.top + b});
        f->MarkChanged(0, 0);
        return f;
    }
    FrameObj* Box(int32_t l, int32_t t, int32_t r, int32_t b) { return Frame(kFrameRect, l, t, r, b); }
    // The view's pixel of a point in document units relative to the slot.
    QPoint Pixel(int32_t x, int32_t y)
    {
        IntPoint p{page.left + x, page.top + y};
        doc->DocToViewPoint(&p);
        window.view->LPtoDPPoint(&p);
        return QPoint(p.x, p.y);
    }
    std::vector<FrameObj*> Selection()
    {
        std::vector<FrameObj*> out;
        for (int16_t i = 0; i < tool->GetSelCount(); ++i)
            out.push_back(tool->GetSelFrame(i));
        return out;
    }
    int32_t X(FrameObj* f) { return f->Geometry().x - page.left; }
    int32_t Y(FrameObj* f) { return f->Geometry().y - page.top; }

    SelectionTool* tool = nullptr;
    IntRect page;
};

// The same card with two rectangles to select and move: a at (20, 20) to
// (80, 60), b at (120, 30) to (170, 70).
class TwoBoxesTest : public NewCardViewTest {
protected:
    TwoBoxesTest() : NewCardViewTest(600, 400) {}
    void SetUp() override
    {
        NewCardViewTest::SetUp();
        if (HasFatalFailure())
            return;
        a = Box(20, 20, 80, 60);
        b = Box(120, 30, 170, 70);
    }

    FrameObj* a = nullptr;
    FrameObj* b = nullptr;
};
