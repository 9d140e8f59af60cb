// draw-shot OUT.png: draws one frame of every kind the drawing tools make on
// a new card, through the tools and the card view with the mouse as a user
// would, and writes the view's picture, for looking at. The dialogs the
// tools ask (star shape, power text effect, picture file) are answered
// here. The program folder is temporary, so no preference file of the user
// is touched.

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>

#include "carddoc/labels_doc.h"
#include "carddoc/labels_doc_registry.h"
#include "carddoc/labels_view.h"
#include "carddoc/picture_tool.h"
#include "carddoc/power_text_tool.h"
#include "carddoc/rect_tool.h"
#include "carddoc/star_tool.h"
#include "database/field_table.h"
#include "foundation/path_record.h"
#include "foundation/program_folder.h"
#include "foundation/pstr.h"
#include "frames/glyph_effect_renderer.h"
#include "records/preferences.h"
#include "offscreen_application.h"
#include "tool_command.h"

namespace {

// Draws as the plain renderer does and answers the styles dialog with a
// word to show.
class StylesAnswer : public GlyphEffectRenderer {
public:
    explicit StylesAnswer(GlyphEffectRenderer* plain) : plain_(plain) {}
    int32_t BuildPath(Dc* dc, const uint8_t* record, const FontSpec& font, const IntRect& rect, int32_t inset,
                      double angle) override
    {
        return plain_->BuildPath(dc, record, font, rect, inset, angle);
    }
    void Paint(Dc* dc, const Region& region, const uint8_t* paint, const IntRect& rect, double angle,
               FrameDocument* colours, int32_t thickness) override
    {
        plain_->Paint(dc, region, paint, rect, angle, colours, thickness);
    }
    void Output(Dc* dc, const uint8_t* record, const IntRect& rect, double angle, FrameDocument* colours,
                int32_t thickness) override
    {
        plain_->Output(dc, record, rect, angle, colours, thickness);
    }
    bool RunStylesDialog(uint8_t* record, Handle, FrameDocument*) override
    {
        PStrFromCStr(record, "Power");
        return true;
    }

private:
    GlyphEffectRenderer* plain_;
};

class Drawer {
public:
    Drawer(CLabelsDoc* doc, CLabelsView* view) : doc_(doc), view_(view) {}

    // A drag with the tool between two points of the card (points from its
    // top-left corner).
    void Draw(int16_t kind, int x1, int y1, int x2, int y2)
    {
        doc_->SetTool(kind, 0);
        Drag(Pixel(x1, y1), Pixel(x2, y2));
    }

private:
    QPoint Pixel(int x, int y)
    {
        const IntRect slot = doc_->PageGeometry().slots[0];
        IntPoint p{slot.left + x, slot.top + y};
        doc_->DocToViewPoint(&p);
        const IntPoint scroll = view_->ScrollPosition();
        return QPoint(p.x - scroll.x, p.y - scroll.y);
    }
    void Send(QEvent::Type type, const QPoint& at, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, QPointF(at), QPointF(view_->mapToGlobal(at)), button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(view_, &event);
    }
    // The press runs the tool's drag, which waits for the move and the
    // release sent while it runs.
    void Drag(const QPoint& from, const QPoint& to)
    {
        QTimer::singleShot(5, view_, [=, this] { Send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton); });
        QTimer::singleShot(15, view_,
                           [=, this] { Send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton); });
        Send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    }

    CLabelsDoc* doc_;
    CLabelsView* view_;
};

int FieldIndexOf(int32_t id)
{
    for (int i = 0; i < 64; ++i)
        if (FieldIdAtIndex(i, 0) == id)
            return i;
    return -1;
}

int RunDrawShot(const ToolArgs& args)
{
    if (args.size() != 1)
        return ToolFail("usage: draw-shot OUT.png");
    const std::unique_ptr<QApplication> app = StartOffscreenApplication();
    QTemporaryDir temp;
    if (!temp.isValid())
        return ToolFail("cannot make a temporary folder");
    SetProgramFolderForTesting(temp.path().toStdString());

    const std::string picturePath = (temp.path() + "/picture.png").toStdString();
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(QColor(40, 120, 200));
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            if ((x / 10 + y / 10) % 2)
                picture.setPixel(x, y, qRgb(250, 200, 40));
    picture.save(QString::fromStdString(picturePath));

    StarInfoRunner oldStar = SetStarInfoRunner([](StarParams* star, const FrameGeometry&) {
        star->points = 5;
        return true;
    });
    PictureFileChooser oldChooser = SetPictureFileChooser(
        [&](PathRecord* chosen) { return PathRecordFromPosix(picturePath, chosen) == 0; });
    GlyphEffectRenderer* previous = SetGlyphEffectRenderer(nullptr);
    StylesAnswer styles(InstalledGlyphEffectRenderer());
    SetGlyphEffectRenderer(&styles);

    int status = 0;
    {
        std::unique_ptr<CLabelsDoc> doc = NewCardDocument();
        if (!doc) {
            status = ToolFail("cannot make a card document");
        } else {
            CLabelsView view(nullptr);
            view.resize(560, 360);
            view.show();
            view.InitView(doc.get());
            doc->InitialUpdate();
            doc->SetZoomMode(5, false);
            // The card's top-left corner near the view's.
            IntPoint corner{doc->PageGeometry().slots[0].left, doc->PageGeometry().slots[0].top};
            doc->DocToViewPoint(&corner);
            view.ScrollTo(corner.x - 12, corner.y - 12, true);
            QApplication::processEvents();

            // Three rows over the business card (252 x 144 points).
            Drawer d(doc.get(), &view);
            d.Draw(kToolRect, 6, 6, 56, 40);
            d.Draw(kToolRoundRect, 68, 6, 118, 40);
            d.Draw(kToolEllipse, 130, 6, 180, 40);
            d.Draw(kToolArc, 192, 6, 242, 40);
            d.Draw(kToolStar, 6, 48, 46, 88);
            d.Draw(kToolLine, 58, 50, 108, 86);
            d.Draw(kToolFrameText, 120, 48, 172, 88);
            d.Draw(kToolPowerText, 180, 48, 246, 88);
            d.Draw(kToolPicture, 6, 96, 40, 122);
            doc->SetDatabaseField(int16_t(FieldIndexOf(kFieldPicture)));
            d.Draw(kToolDatabaseField, 46, 96, 80, 130);
            d.Draw(kToolCounterBarcode, 88, 96, 88, 96);
            d.Draw(kToolBarcode13, 88, 112, 88, 112);
            d.Draw(kToolBarcode, 150, 96, 150, 96);
            d.Draw(kToolBarcode18, 6, 128, 6, 128);
            doc->SetTool(kToolRect, 0);

            doc->RefreshView();
            view.UpdateNow();
            if (!view.Surface().save(QString::fromStdString(args[0])))
                status = ToolFail("cannot write " + args[0]);
            view.Detach();
        }
    }
    SetGlyphEffectRenderer(previous);
    SetPictureFileChooser(oldChooser);
    SetStarInfoRunner(oldStar);
    ReleaseGlobalDefPrefs();
    SetProgramFolderForTesting("");
    return status;
}

}  // namespace

TESSALINE_TOOL_COMMAND("draw-shot", "draw-shot OUT.png", RunDrawShot);
