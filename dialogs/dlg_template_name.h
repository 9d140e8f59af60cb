// CDlgTemplateName: the "Template Name" dialog, which asks for the name a
// template is listed under in the wizard.
#pragma once

#include <cstdint>
#include <string>

#include <QDialog>

class QLineEdit;

class CDlgTemplateName : public QDialog {
public:
    static constexpr int32_t kMaxNameLength = 32;
    static constexpr int32_t kIdName = 1608;

    explicit CDlgTemplateName(QWidget* parent = nullptr);

    // The suggestion shown when the dialog opens (Windows-1252).
    void SetName(const char* name);
    // 1 for OK, 2 for Cancel.
    int32_t DoModal();
    // The name typed, cut to size - 1 characters and always terminated.
    void GetName(char* buffer, int32_t size) const;
    QLineEdit* NameEdit() const { return edit_; }

    void accept() override;

private:
    QLineEdit* edit_ = nullptr;
    std::string name_;
};
