#include "wizard/pg_ws_pictures.h"

#include <QListWidget>
#include <QPushButton>

#include "catalog/wizard_designs.h"
#include "foundation/alerts.h"
#include "foundation/cp1252.h"
#include "wizard/setup_file_choosers.h"
#include "wizard/wizard_preview_wnd.h"

namespace {

enum : int32_t {
    kIdSlots = 1551,
    kIdSetPicture = 1554,
    kIdFinalPlace = 1601,
    kIdFinalPreview = 4098,
};

struct PictureSlot {
    const char* text;
    int32_t number;
};

const PictureSlot kSlots[] = {
    {"Picture For \"Document Type\" Page", 1},
    {"Picture For \"Document Settings\" Page", 6},
    {"Picture For \"Backdrops for custom Document\" Page", 7},
    {"Picture For \"Document\" Page", 2},
    {"Picture For \"Layout\" Page", 3},
    {"Picture For \"Personal Info\" Page", 4},
    {"Picture For \"Finish\" Page", 5},
    {"Picture For \"Finish\" Page Right", 1000},
};

constexpr int32_t kFinishRight = 1000;

}  // namespace

CPgWS_Pictures::CPgWS_Pictures() : CPgWS(588, "Wizard Pictures")
{
    settings_.showPreview = 1;
    settings_.pictureMode = 1;
    const char title[] = "Select graphics file";
    std::copy(title, title + sizeof title, settings_.title);
}

void CPgWS_Pictures::BuildControls()
{
    slots_ = Place(new QListWidget, kIdSlots, 7, 7, 230, 100);
    AddButton("Set Picture...", kIdSetPicture, 7, 112, 70, 14);
    AddLabel("Page Header Picture Preview", -1, 7, 134, 200, 9);
    AddFrame(kIdSetupPreviewPlace, 7, 144, 459, 31);
    AddLabel("Final Picture Preview", -1, 245, 7, 120, 9);
    AddFrame(kIdFinalPlace, 245, 17, 90, 120);
    connect(slots_, &QListWidget::itemSelectionChanged, this, [this] { OnSlotSelected(); });
    connect(Button(kIdSetPicture), &QPushButton::clicked, this, [this] { OnSetPicture(); });
}

bool CPgWS_Pictures::OnInitDialog()
{
    CPgWS::OnInitDialog();
    {
        const QSignalBlocker quiet(slots_);
        for (const PictureSlot& slot : kSlots) {
            auto* item = new QListWidgetItem(Cp1252ToQString(slot.text));
            item->setData(Qt::UserRole, slot.number);
            slots_->addItem(item);
        }
        slots_->setCurrentRow(0);
    }
    preview_->SetMode(kWizPreviewPlain);
    final_ = new CWizardPreviewWnd;
    final_->CreateOver(Control(kIdFinalPlace), kIdFinalPreview);
    // Shown whole, in its own proportions, whatever the shape of the box.
    final_->SetMode(kWizPreviewFramed);
    OnSlotSelected();
    return true;
}

int32_t CPgWS_Pictures::SelectedNumber() const
{
    const int32_t row = slots_->currentRow();
    if (row < 0 || row >= int32_t(std::size(kSlots)))
        return 0;
    return slots_->item(row)->data(Qt::UserRole).toInt();
}

void CPgWS_Pictures::OnSlotSelected()
{
    const int32_t number = SelectedNumber();
    if (number == 0) {
        preview_->SetBackground(nullptr, 1, 1);
        return;
    }
    DibHandle picture = GetHeaderPicture(number);
    CWizardPreviewWnd* target = number == kFinishRight ? final_ : preview_;
    target->SetBackdrop(picture, false, -1, -1);
}

void CPgWS_Pictures::OnSetPicture()
{
    const int32_t number = SelectedNumber();
    if (number == 0)
        return;
    std::string path;
    if (!ChooseSetupPicture(this, &settings_, &path))
        return;
    PathRecord source{};
    if (PathRecordFromPosix(path, &source) != 0 || SaveHeaderPicture(&source, number) != 0) {
        AlertNote("Error Setting Picture.", 0);
        return;
    }
    OnSlotSelected();
}
