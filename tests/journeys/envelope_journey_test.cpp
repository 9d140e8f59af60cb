// Display text bent to an envelope, drawn as a person draws it: the Power
// Text tool from the tool palette, its Text Effects dialog, then a drag on
// the card's empty back page.
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QToolBar>
#include <vector>

#include "app/main_frame.h"
#include "app/tool_bar_draw_tools.h"
#include "carddoc/labels_doc.h"
#include "sample_card_journey.h"
#include "platform/menus.h"

namespace {

constexpr uint32_t kPowerTextToolButton = 33287;

class EnvelopeJourney : public SampleCardJourney {
protected:
    void SetUp() override
    {
        SampleCardJourney::SetUp();
        if (HasFatalFailure())
            return;
        // View > Back Page: the card's back, with nothing on it.
        ASSERT_TRUE(Trigger("View > Back Page"));
        ASSERT_TRUE(Trigger("View > View Size > 200%"));
    }

    // The Power Text tool's button pressed: its dialog has come and gone.
    void PressPowerTextTool()
    {
        QToolBar* palette = MainWindow()->ToolPalette();
        ASSERT_NE(palette, nullptr);
        for (QAction* action : palette->actions())
            if (MenuGetCommandId(action) == kPowerTextToolButton)
                action->trigger();
        Settle();
        ASSERT_EQ(PendingDialogs(), 0u);
    }
    // The Power Text tool's button, the Text Effects dialog with the line
    // and the shape, then the frame dragged out over the rectangle (points
    // of the page).
    void DrawPowerText(const QString& line, const QString& shape, const IntRect& frame)
    {
        OnNextDialog([line, shape](QWidget* dialog) {
            auto* text = dialog->findChild<QLineEdit*>(QStringLiteral("Line1"));
            auto* shapes = dialog->findChild<QComboBox*>(QStringLiteral("Shape"));
            ASSERT_NE(text, nullptr);
            ASSERT_NE(shapes, nullptr);
            text->setText(line);
            const int index = shapes->findText(shape);
            ASSERT_GE(index, 0) << shape.toStdString();
            shapes->setCurrentIndex(index);
            static_cast<QDialog*>(dialog)->accept();
        });
        QToolBar* palette = MainWindow()->ToolPalette();
        ASSERT_NE(palette, nullptr);
        QAction* tool = nullptr;
        for (QAction* action : palette->actions())
            if (MenuGetCommandId(action) == kPowerTextToolButton)
                tool = action;
        ASSERT_NE(tool, nullptr);
        tool->trigger();
        Settle();
        ASSERT_EQ(PendingDialogs(), 0u);
        Drag(Page(frame.left, frame.top), {Page(frame.left + 30, frame.top + 20), Page(frame.right, frame.bottom)});
        // A click on the empty page puts the handles away.
        Click(Page(frame.left - 20, frame.bottom + 20));
    }

    QPoint Page(int x, int y) const
    {
        const IntRect slot = CardDocument()->PageGeometry().slots[0];
        return ViewPoint(IntPoint{slot.left + x, slot.top + y});
    }

    // The sizes of the pieces of ink (8-connected) in the rectangle.
    std::vector<int> Pieces(const QImage& view, const IntRect& r) const
    {
        const QPoint a = Page(r.left, r.top), b = Page(r.right, r.bottom);
        const int w = b.x() - a.x(), h = b.y() - a.y();
        std::vector<uint8_t> seen(size_t(w) * size_t(h), 0);
        auto ink = [&](int x, int y) { return QColor(view.pixel(a.x() + x, a.y() + y)).lightness() < 160; };
        std::vector<int> sizes;
        for (int y0 = 0; y0 < h; ++y0) {
            for (int x0 = 0; x0 < w; ++x0) {
                if (seen[size_t(y0) * size_t(w) + size_t(x0)] || !ink(x0, y0))
                    continue;
                int size = 0;
                std::vector<QPoint> todo{{x0, y0}};
                seen[size_t(y0) * size_t(w) + size_t(x0)] = 1;
                while (!todo.empty()) {
                    const QPoint p = todo.back();
                    todo.pop_back();
                    ++size;
                    for (int dy = -1; dy <= 1; ++dy) {
                        for (int dx = -1; dx <= 1; ++dx) {
                            const int x = p.x() + dx, y = p.y() + dy;
                            if (x < 0 || y < 0 || x >= w || y >= h || seen[size_t(y) * size_t(w) + size_t(x)] ||
                                !ink(x, y))
                                continue;
                            seen[size_t(y) * size_t(w) + size_t(x)] = 1;
                            todo.push_back({x, y});
                        }
                    }
                }
                sizes.push_back(size);
            }
        }
        return sizes;
    }

    // Pixels of the letters' colour (black) in the rectangle of the page.
    int Ink(const QImage& view, const IntRect& r) const
    {
        const QPoint a = Page(r.left, r.top), b = Page(r.right, r.bottom);
        EXPECT_TRUE(view.rect().contains(a) && view.rect().contains(b));
        int n = 0;
        for (int y = a.y(); y < b.y(); ++y)
            for (int x = a.x(); x < b.x(); ++x)
                n += QColor(view.pixel(x, y)).lightness() < 160;
        return n;
    }
};

TEST_F(EnvelopeJourney, EveryLetterOfABentLineIsWholeApartAndInsideItsFrame)
{
    // The shapes that bend hardest at the line's ends, and those that
    // squeeze or slant its letters together. Nothing of the letters, their
    // descenders included, reaches past the frame's edges.
    const IntRect frame{20, 20, 230, 125};
    for (const char* shape :
         {"Arc Down", "Round Top", "Round Bottom", "Balloon", "Fan", "Slant Left", "Slant Right"}) {
        DrawPowerText(QStringLiteral("Envelope"), QString::fromLatin1(shape), frame);
        const QImage view = ViewPixels();
        EXPECT_GT(Ink(view, frame), 500) << shape;
        // Eight letters, eight pieces of ink: a letter torn at the line's
        // end falls into several, letters run into each other make fewer.
        // Specks of a pixel or two are the tips of letters bent to a point.
        int letters = 0;
        for (int size : Pieces(view, IntRect{frame.left + 2, frame.top + 2, frame.right - 2, frame.bottom - 2}))
            letters += size >= 4;
        EXPECT_EQ(letters, 8) << shape;
        EXPECT_EQ(Ink(view, IntRect{frame.left - 10, frame.top - 12, frame.right + 10, frame.top - 1}), 0) << shape;
        EXPECT_EQ(Ink(view, IntRect{frame.left - 10, frame.bottom + 1, frame.right + 10, frame.bottom + 12}), 0)
            << shape;
        // Object > Delete takes the frame away for the next shape.
        Click(Page(frame.left + 85, frame.top + 30));
        ASSERT_TRUE(Trigger("Object > Delete"));
        EXPECT_EQ(Ink(ViewPixels(), frame), 0) << shape;
    }
}

TEST_F(EnvelopeJourney, TheTextEffectsDialogShowsTheFontAndKeepsTheOneChosen)
{
    // The dialog opens on the font the text is drawn in; another chosen
    // there is the one the frame keeps, though the card had no use for it.
    QString chosen;
    OnNextDialog([&chosen](QWidget* dialog) {
        auto* text = dialog->findChild<QLineEdit*>(QStringLiteral("Line1"));
        auto* fonts = dialog->findChild<QComboBox*>(QStringLiteral("Font"));
        EXPECT_TRUE(fonts && !fonts->currentText().isEmpty()) << "the Font box is empty";
        if (!text || !fonts || fonts->count() < 2) {
            static_cast<QDialog*>(dialog)->reject();
            return;
        }
        const int courier = fonts->findText(QStringLiteral("Courier New"));
        const int next = (fonts->currentIndex() + 1) % fonts->count();
        fonts->setCurrentIndex(courier >= 0 && courier != fonts->currentIndex() ? courier : next);
        chosen = fonts->currentText();
        text->setText(QStringLiteral("Fonts"));
        static_cast<QDialog*>(dialog)->accept();
    });
    ASSERT_NO_FATAL_FAILURE(PressPowerTextTool());
    ASSERT_FALSE(chosen.isEmpty());
    const IntRect frame{20, 20, 230, 125};
    Drag(Page(frame.left, frame.top), {Page(frame.left + 30, frame.top + 20), Page(frame.right, frame.bottom)});
    Click(Page(frame.left - 20, frame.bottom + 20));

    // A double click on the frame opens the dialog again, on that font.
    QString shown;
    OnNextDialog([&shown](QWidget* dialog) {
        if (auto* fonts = dialog->findChild<QComboBox*>(QStringLiteral("Font")))
            shown = fonts->currentText();
        static_cast<QDialog*>(dialog)->reject();
    });
    DoubleClick(Page(frame.left + 85, frame.top + 50));
    EXPECT_EQ(PendingDialogs(), 0u);
    EXPECT_EQ(shown.toStdString(), chosen.toStdString());
}

TEST_F(EnvelopeJourney, TheTextEffectsPreviewShowsTheLookAtOnceAndFollowsTheTyping)
{
    // The first opening of the dialog, with no line typed yet: the preview
    // shows the style's look; the words typed show there as they come.
    int atOpening = 0, typed = 0;
    QImage opening;
    OnNextDialog([&](QWidget* dialog) {
        auto* text = dialog->findChild<QLineEdit*>(QStringLiteral("Line1"));
        QWidget* preview = dialog->findChild<QWidget*>(QStringLiteral("Glyph Preview"));
        if (!text || !preview) {
            ADD_FAILURE() << "no line or preview";
            static_cast<QDialog*>(dialog)->reject();
            return;
        }
        EXPECT_TRUE(text->text().isEmpty());
        opening = preview->grab().toImage();
        atOpening = JourneyTest::Ink(opening, opening.rect());
        text->setFocus();
        QTest::keyClicks(text, QStringLiteral("Hi"));
        const QImage after = preview->grab().toImage();
        typed = Changed(opening, after, after.rect());
        static_cast<QDialog*>(dialog)->reject();
    });
    ASSERT_NO_FATAL_FAILURE(PressPowerTextTool());
    EXPECT_GT(atOpening, opening.width() * opening.height() / 50) << "the preview is blank";
    EXPECT_GT(typed, 100) << "the preview does not show what is typed";
}

}  // namespace
