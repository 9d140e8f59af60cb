#include "dialogs/text_runaround_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QVBoxLayout>

#include "dialogs/object_dialog_kit.h"
#include "dialogs/up_down_buttons.h"
#include "resources/artwork_resources.h"

namespace {

constexpr int32_t kMostMargin = 1000;

}  // namespace

// Bitmaps 159 to 161, one for each mode.
QImage RunaroundPicture(int32_t mode)
{
    return mode >= 0 && mode < 3 ? LoadResourceBitmap(159 + mode) : QImage();
}

CDlgTextRunaround::CDlgTextRunaround(QWidget* parent) : RecordDialog("Text Runaround", "textRunaroundDialog", parent)
{
    const char* const names[3] = {"None", "Rectangular Boundary of Object", "Actual Shape of Object"};
    auto* modes = new QVBoxLayout;
    for (int i = 0; i < 3; ++i) {
        modes_[i] = new QRadioButton(QString::fromLatin1(names[i]), this);
        modes_[i]->setObjectName(QStringLiteral("mode%1").arg(i));
        modes->addWidget(modes_[i]);
    }
    margin_ = Named(new QLineEdit(this), "margin");
    spin_ = new UpDownButtons(margin_, this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Margin :"), this));
    row->addWidget(margin_);
    row->addWidget(spin_);
    row->addWidget(new QLabel(QStringLiteral("pt"), this));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(modes);
    layout->addLayout(row);
    layout->addLayout(OkCancelRow(this));
}

void CDlgTextRunaround::Open()
{
    for (int i = 0; i < 3; ++i) {
        const QImage picture = RunaroundPicture(i);
        modes_[i]->setIcon(QIcon(QPixmap::fromImage(picture)));
        modes_[i]->setIconSize(picture.size() + QSize(4, 4));
    }
    Mode(record_.mode)->setChecked(true);
    margin_->setText(QString::number(record_.margin));
    spin_->SetRange(0, kMostMargin);
}

void CDlgTextRunaround::accept()
{
    int32_t margin = 0;
    if (!ExchangeInt(margin_, &margin))
        return;
    record_.margin = margin;
    for (int i = 0; i < 3; ++i)
        if (modes_[i]->isChecked())
            record_.mode = i;
    QDialog::accept();
}
