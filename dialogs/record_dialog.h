// The shape most dialogs share: a modal run that answers 1 for OK and 2 for
// Cancel, and controls filled from the record once, when the dialog is
// first shown, so that a record set after construction is the one shown.
#pragma once

#include <cstdint>

#include <QDialog>

class QLayout;

class OpeningDialog : public QDialog {
public:
    int32_t DoModal();

protected:
    explicit OpeningDialog(QWidget* parent) : QDialog(parent) {}
    // With its title and object name.
    OpeningDialog(const char* title, const char* name, QWidget* parent);

    // Fills the controls from the record; runs once, before the first show
    // is painted. A dialog whose controls are filled as it is made has none.
    virtual void Open() {}
    void showEvent(QShowEvent* event) override;
    // The dialog's own controls, set above OK and Cancel.
    void SetBody(QLayout* body);

private:
    bool opened_ = false;
};

// A dialog that edits a copy of its record: the caller sets the record,
// runs the dialog and reads the record back after OK.
template <typename R, typename Base = OpeningDialog>
class RecordDialog : public Base {
public:
    void SetRecord(const R& record) { record_ = record; }
    const R& Record() const { return record_; }

protected:
    using Base::Base;

    R record_;
};
