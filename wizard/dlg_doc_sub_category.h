// CDlgDocSubCategory: "Document Subcategory Properties", where the wizard
// set-up sheet edits the label layout of a category or subcategory: its
// name, size, margins, spacing and counts, paper, orientation, number of
// pages, printable backdrop and centring, with the label sheet shown
// beside, and the picture the wizard shows for it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <QDialog>

#include "graphics/dib_handle.h"
#include "records/label_stock_format.h"
#include "wizard/label_type_fields.h"
#include "wizard/wiz_choose_picture.h"

class CPicturePreviewWnd;
class CSheetPreviewWnd;
class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class CDlgDocSubCategory : public QDialog {
public:
    explicit CDlgDocSubCategory(QWidget* parent = nullptr);
    ~CDlgDocSubCategory() override;

    // The layout edited (168 bytes), before DoModal.
    void SetLabelType(const uint8_t* record);
    // 2 for a category with subcategories, whose size stays as it is.
    void SetSizeMode(int32_t mode) { sizeMode_ = mode; }
    // The picture shown at the start; the dialog takes it over.
    void SetPicture(DibHandle picture);
    // 1 for OK, 2 for Cancel.
    int32_t DoModal();
    // The layout, and the path of a picture chosen (empty when none was),
    // cut to size - 1 characters.
    void GetResult(uint8_t* record, char* path, int32_t size) const;

    // What the controls do, for the buttons and for tests.
    void OnPaperChanged();
    void OnOrientation(uint32_t orientation);
    void OnPages(uint32_t pages);
    void OnNameChanged(const QString& text);
    void OnChoosePicture();
    void OnOk();

    const uint8_t* Record() const { return record_; }
    CLabelTypeFields* Fields() const { return fields_.get(); }
    QLineEdit* NameEdit() const { return name_; }
    QComboBox* PaperCombo() const { return paper_; }
    QPushButton* OkButton() const { return ok_; }
    QAbstractButton* OrientationButton(uint32_t orientation) const;
    QAbstractButton* PagesButton(uint32_t pages) const;
    QCheckBox* PrintableBackdrop() const { return printable_; }
    CSheetPreviewWnd* SheetPreview() const { return sheet_; }
    CPicturePreviewWnd* PicturePreview() const { return picture_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Place(QWidget* control, int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);
    void InitDialog();
    void EnableButtons();

    uint8_t record_[kLabelTypeSize] = {};
    std::string picturePath_;
    CSheetPreviewWnd* sheet_ = nullptr;
    CPicturePreviewWnd* picture_ = nullptr;
    DibHandle startPicture_ = nullptr;
    uint8_t pictureSettings_[kWizPictureSettingsSize] = {};
    int32_t sizeMode_ = 1;
    bool initialised_ = false;
    QComboBox* paper_ = nullptr;
    QLineEdit* name_ = nullptr;
    QPushButton* ok_ = nullptr;
    QRadioButton* orientation_[3] = {};
    QRadioButton* pages_[2] = {};
    QCheckBox* printable_ = nullptr;
    QWidget* sheetFrame_ = nullptr;
    QWidget* pictureFrame_ = nullptr;
    std::unique_ptr<CLabelTypeFields> fields_;
};

// The dialog as the set-up sheet's relations page runs it: layout in and
// out, the node's picture (the caller keeps it), and the design picture
// chosen. 1 on OK.
int32_t RunDocSubCategoryDialog(QWidget* parent, uint8_t* layout, int32_t sizeMode, DibHandle picture,
                                std::string* designPath);
