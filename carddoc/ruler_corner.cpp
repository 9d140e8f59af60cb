#include "carddoc/ruler_corner.h"

#include <QMouseEvent>

#include "carddoc/labels_doc.h"
#include "carddoc/labels_view.h"
#include "carddoc/ruler.h"
#include "foundation/units.h"
#include "graphics/shape_helpers.h"
#include "platform/dc.h"

namespace {

constexpr ColorRef kButtonFace = 0xC0C0C0;

}  // namespace

CRulerCorner::CRulerCorner(QWidget* parent, const LogFont& font) : SurfaceWidget(parent), font_(font)
{
    setObjectName("RulerCorner");
    setMouseTracking(true);
}

void CRulerCorner::Redraw()
{
    Dc* dc = SurfaceDc();
    if (!dc)
        return;
    const int32_t right = width(), bottom = height();
    dc->fillRect(IntRect{0, 0, right, bottom}, Brush::Solid(kButtonFace));
    if (mode_ == kShowCross) {
        DrawXorLine(dc, 0, 2 * bottom / 3, right, 2 * bottom / 3);
        DrawXorLine(dc, 2 * right / 3, 0, 2 * right / 3, bottom);
        return;
    }
    RulerSettings settings;
    if (horizontal_)
        horizontal_->GetSettings(&settings);
    const LogFont old = dc->selectFont(font_);
    const int32_t mode = dc->setBkMode(TRANSPARENT);
    const uint32_t align = dc->setTextAlign(TA_LEFT | TA_TOP);
    const char* name = UnitEntryFor(settings.unit).shortName;
    const int32_t textHeight = dc->getTextExtent(name).height;
    dc->textOut(0, (bottom - textHeight) / 2, name);
    dc->setTextAlign(align);
    dc->setBkMode(mode);
    dc->selectFont(old);
}

void CRulerCorner::mouseMoveEvent(QMouseEvent* event)
{
    mode_ = (event->modifiers() & Qt::ControlModifier) ? kShowUnit : kShowCross;
    Redraw();
    QWidget::mouseMoveEvent(event);
}

void CRulerCorner::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        if (event->modifiers() & Qt::ControlModifier) {
            int16_t units[2] = {0, 0};
            CRuler* rulers[2] = {horizontal_, vertical_};
            for (int i = 0; i < 2; ++i) {
                if (!rulers[i])
                    continue;
                RulerSettings settings;
                rulers[i]->GetSettings(&settings);
                settings.unit = int16_t((settings.unit + 1) % kUnitCount);
                units[i] = settings.unit;
                rulers[i]->SetSettings(CRuler::kSetUnit, settings, true);
            }
            if (document_)
                document_->SetRulerUnits(units[0], units[1]);
        } else if (view_) {
            view_->OnSetOriginMessage();
            mode_ = kShowCross;
        }
    }
    Redraw();
    QWidget::mousePressEvent(event);
}
