#include "dialogs/value_dialogs.h"

#include <cstring>

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include "dialogs/object_dialog_kit.h"
#include "dialogs/up_down_buttons.h"
#include "foundation/cp1252.h"

namespace {

constexpr int32_t kLeastZoom = 10;
constexpr int32_t kMostZoom = 400;

void CopyText(char (&out)[256], const char* text)
{
    std::memset(out, 0, sizeof(out));
    std::strncpy(out, text, sizeof(out) - 1);
}

QString TextOf(const char (&text)[256])
{
    return Cp1252ToQString(std::string_view(text, strnlen(text, sizeof(text))));
}

}  // namespace

OtherValueRecord OtherValueFor(OtherValueKind kind, int32_t current)
{
    // In the order of OtherValueKind.
    static const struct {
        const char* caption;
        const char* label;
        int32_t minimum;
        int32_t maximum;
    } kKinds[] = {
        {"Other Shade", "New Shade:", 0, 100},
        {"Other Width", "New Width:", 0, 100},
        {"Other Size", "New Size:", 6, 400},
    };
    const auto& k = kKinds[size_t(kind)];
    OtherValueRecord r;
    CopyText(r.caption, k.caption);
    CopyText(r.label, k.label);
    r.minimum = k.minimum;
    r.maximum = k.maximum;
    r.step = 10;
    r.value = current == -1 ? 0 : current;
    return r;
}

bool OtherValueAccepts(OtherValueKind kind, const QString& text, int32_t* value)
{
    const OtherValueRecord range = OtherValueFor(kind, 0);
    return ParseIntInRange(text, range.minimum, range.maximum, value);
}

// --- Other Value ------------------------------------------------------------

CDlgOtherValue::CDlgOtherValue(QWidget* parent) : RecordDialog(parent)
{
    setObjectName(QStringLiteral("otherValueDialog"));
    CopyText(record_.caption, "Other Value");
    CopyText(record_.label, "New Value");
    record_.minimum = 0;
    record_.maximum = 100;
    record_.step = 10;
    record_.value = 0;
    label_ = Named(new QLabel(this), "label");
    value_ = Named(new QLineEdit(this), "value");
    spin_ = new UpDownButtons(value_, this);
    auto* row = new QHBoxLayout;
    row->addWidget(label_);
    row->addWidget(value_);
    row->addWidget(spin_);
    SetBody(row);
}

void CDlgOtherValue::Open()
{
    value_->setText(QString::number(record_.value));
    spin_->SetRange(record_.minimum, record_.maximum);
    spin_->SetIncrement(record_.step);
    label_->setText(TextOf(record_.label));
    setWindowTitle(TextOf(record_.caption));
    value_->setFocus();
    value_->selectAll();
}

void CDlgOtherValue::accept()
{
    if (!ExchangeIntInRange(value_, &record_.value, record_.minimum, record_.maximum))
        return;
    QDialog::accept();
}

// --- Zoom -------------------------------------------------------------------

CDlgZoom::CDlgZoom(QWidget* parent) : RecordDialog("Zoom", "zoomDialog", parent)
{
    percent_ = Named(new QLineEdit(this), "percent");
    spin_ = new UpDownButtons(percent_, this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Zoom :"), this));
    row->addWidget(percent_);
    row->addWidget(spin_);
    row->addWidget(new QLabel(QStringLiteral("%"), this));
    SetBody(row);
}

void CDlgZoom::Open()
{
    percent_->setText(QString::number(record_.percent));
    spin_->SetRange(kLeastZoom, kMostZoom);
}

void CDlgZoom::accept()
{
    if (!ExchangeIntInRange(percent_, &record_.percent, kLeastZoom, kMostZoom))
        return;
    QDialog::accept();
}
