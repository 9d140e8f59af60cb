#include "dialogs/font_replacement_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "dialogs/object_dialog_kit.h"
#include "typography/font_combo_box.h"
#include "typography/menu_bitmaps.h"

CDlgFontReplacement::CDlgFontReplacement(QWidget* parent)
    : OpeningDialog("Font Replacement", "fontReplacementDialog", parent)
{
    auto* replacedCaption = new QLabel(QStringLiteral("Replaced Fonts :"), this);
    replaced_ = Named(new CFontComboBox(this), "replacedFonts");
    replacedCaption->setBuddy(replaced_);
    auto* replacingCaption = new QLabel(QStringLiteral("Replacing Fonts :"), this);
    replacing_ = Named(new CFontComboBox(this), "replacingFonts");
    replacingCaption->setBuddy(replacing_);
    // Wide enough for the longer face names.
    replaced_->setMinimumWidth(180);
    replacing_->setMinimumWidth(180);
    makePermanent_ = PlainButton("Make Permanent", "makePermanent", this);
    auto* buttons = OkCancelBox(this);

    auto* layout = new QGridLayout(this);
    layout->addWidget(replacedCaption, 0, 0);
    layout->addWidget(replaced_, 1, 0);
    layout->addWidget(replacingCaption, 0, 1);
    layout->addWidget(replacing_, 1, 1);
    layout->addWidget(makePermanent_, 2, 0);
    layout->addWidget(buttons, 3, 0, 1, 2);

    // Without the mark bitmaps the items show their names alone.
    replacing_->Initialize(GetGlobalFontList(), kTrueTypeMarkBitmap, kTrueTypeSilhouetteBitmap, kDeviceMarkBitmap,
                           kDeviceSilhouetteBitmap);
    replacing_->FillFontList();
    replaced_->Initialize(&replacedFonts_, kTrueTypeMarkBitmap, kTrueTypeSilhouetteBitmap, kDeviceMarkBitmap,
                          kDeviceSilhouetteBitmap);

    connect(replaced_, &QComboBox::activated, this, [this] { OnReplacedChosen(); });
    connect(replacing_, &QComboBox::activated, this, [this] { OnReplacingChosen(); });
    connect(makePermanent_, &QPushButton::clicked, this, [this] { OnMakePermanent(); });
    Refresh();
}

CDlgFontReplacement::~CDlgFontReplacement() { replacedFonts_.RemoveAll(); }

void CDlgFontReplacement::SetDocument(FontTable* documentFonts)
{
    document_ = documentFonts;
    if (document_)
        working_.CopyFrom(*document_);
    else
        working_.Clear();
    Refresh();
}

void CDlgFontReplacement::Refresh()
{
    const int remembered = replaced_->currentIndex() < 0 ? 0 : replaced_->currentIndex();
    ids_.clear();
    replacedFonts_.RemoveAll();
    working_.Substitutes().ForEach([this](int32_t id, const FontEntry&) {
        const FontEntry* own = working_.Fonts().Find(id);
        if (!own)
            return;
        replacedFonts_.AddFont(own->fontSpec.faceName, own->fontSpec.pitchAndFamily, own->fontSpec.emSize,
                               own->fontSpec.type, false);
        ids_.push_back(id);
    });
    {
        const QSignalBlocker quiet(replaced_);
        replaced_->FillFontList();
    }
    const bool any = !ids_.empty();
    replaced_->setEnabled(any);
    replacing_->setEnabled(any);
    makePermanent_->setEnabled(any);
    if (!any) {
        const QSignalBlocker quiet(replacing_);
        replacing_->setCurrentIndex(-1);
        return;
    }
    {
        const QSignalBlocker quiet(replaced_);
        replaced_->setCurrentIndex(remembered < int(ids_.size()) ? remembered : int(ids_.size()) - 1);
    }
    OnReplacedChosen();
}

void CDlgFontReplacement::OnReplacedChosen()
{
    const int selection = replaced_->currentIndex();
    if (selection < 0 || selection >= int(ids_.size()))
        return;
    FontSpec current;
    int32_t index = -1;
    if (working_.Lookup(ids_[size_t(selection)], &current) && GetGlobalFontList())
        index = GetGlobalFontList()->FindFont(current.faceName, current.type);
    const QSignalBlocker quiet(replacing_);
    replacing_->setCurrentIndex(index < replacing_->count() ? index : -1);
}

void CDlgFontReplacement::OnReplacingChosen()
{
    const int selection = replaced_->currentIndex();
    const int chosen = replacing_->currentIndex();
    const FontList* installed = GetGlobalFontList();
    if (selection < 0 || selection >= int(ids_.size()) || chosen < 0 || !installed)
        return;
    const int32_t id = ids_[size_t(selection)];
    FontSpec primary;
    FontSpec replacement;
    if (!working_.LookupIn(id, &primary, true) || !installed->GetFontSpec(chosen, primary.charSet, &replacement))
        return;
    working_.SetSubstitute(id, &replacement);
}

void CDlgFontReplacement::OnMakePermanent()
{
    const int selection = replaced_->currentIndex();
    if (selection < 0 || selection >= int(ids_.size()))
        return;
    working_.AdoptSubstitute(ids_[size_t(selection)]);
    Refresh();
}

void CDlgFontReplacement::accept()
{
    if (document_)
        document_->CopyFrom(working_);
    QDialog::accept();
}
