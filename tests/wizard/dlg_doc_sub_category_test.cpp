// "Document Subcategory Properties": the layout of a catalogue category as
// the set-up sheet edits it.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstring>

#include "support/modal_answer.h"
#include "dialogs/numeric_edit.h"
#include "dialogs/picture_preview_wnd.h"
#include "foundation/byte_order.h"
#include "foundation/paper_table.h"
#include "graphics/dib_handle.h"
#include "records/label_type_builtin.h"
#include "wizard/dlg_doc_sub_category.h"
#include "wizard/wiz_choose_picture.h"

namespace {

std::vector<uint8_t> Layout(uint32_t pages, uint32_t orientation, uint32_t paper)
{
    std::vector<uint8_t> record(kLabelTypeSize);
    GetBuiltinLabelType(record.data(), 0);
    std::strcpy(reinterpret_cast<char*>(record.data()), "Round Tags");
    PutU32LE(&record[kLabelTypeSidesOffset], pages);
    PutU32LE(&record[kLabelTypeOrientationOffset], orientation);
    PutU32LE(&record[kLabelTypePaperOffset], paper);
    PutU32LE(&record[kLabelTypeWord140Offset], 0);
    return record;
}

}  // namespace

TEST(DlgDocSubCategory, OpensOnTheRecordAndHandsBackWhatWasChosen)
{
    const std::vector<uint8_t> start = Layout(3, 2, 2);
    CDlgDocSubCategory dialog;
    dialog.SetLabelType(start.data());
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Document Subcategory Properties");
    EXPECT_EQ(dialog.NameEdit()->text(), "Round Tags");
    EXPECT_TRUE(dialog.PagesButton(1)->isChecked()) << "3 pages is no choice: only the front";
    EXPECT_EQ(GetU32LE(dialog.Record() + kLabelTypeSidesOffset), 1u);
    EXPECT_TRUE(dialog.OrientationButton(2)->isChecked());
    EXPECT_EQ(dialog.PaperCombo()->count(), PaperTableCount());
    EXPECT_EQ(dialog.PaperCombo()->currentIndex(), 2);
    EXPECT_TRUE(dialog.OkButton()->isEnabled());

    dialog.OrientationButton(1)->click();
    dialog.PagesButton(2)->click();
    dialog.PaperCombo()->setCurrentIndex(0);
    dialog.OnPaperChanged();
    dialog.PrintableBackdrop()->setChecked(true);
    dialog.OkButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    std::vector<uint8_t> out(kLabelTypeSize);
    char path[8] = "xxxxxxx";
    dialog.GetResult(out.data(), path, int32_t(sizeof path));
    EXPECT_EQ(GetU32LE(&out[kLabelTypeOrientationOffset]), 1u);
    EXPECT_EQ(GetU32LE(&out[kLabelTypeSidesOffset]), 2u);
    EXPECT_EQ(GetU32LE(&out[kLabelTypePaperOffset]), 0u);
    EXPECT_EQ(GetU32LE(&out[kLabelTypeWord140Offset]), 1u);
    EXPECT_EQ(std::memcmp(out.data() + kLabelTypeCardWidthOffset, start.data() + kLabelTypeCardWidthOffset, 8), 0);
    EXPECT_STREQ(path, "") << "no picture chosen";
}

TEST(DlgDocSubCategory, AnEmptyNameOrSizeKeepsOkOffAndACategoryKeepsItsSize)
{
    const std::vector<uint8_t> start = Layout(1, 0, 1);
    CDlgDocSubCategory dialog;
    dialog.SetLabelType(start.data());
    dialog.SetSizeMode(2);
    dialog.show();
    EXPECT_FALSE(dialog.Fields()->FloatEdit(1002)->isEnabled()) << "width of a category with subcategories";
    EXPECT_TRUE(dialog.Fields()->FloatEdit(1000)->isEnabled());

    dialog.NameEdit()->clear();
    QTest::keyClicks(dialog.NameEdit(), "");
    dialog.OnNameChanged("");
    EXPECT_FALSE(dialog.OkButton()->isEnabled());
    dialog.OkButton()->click();
    EXPECT_TRUE(dialog.isVisible()) << "OK is refused, not taken";
    QTest::keyClicks(dialog.NameEdit(), "Tags");
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
    EXPECT_STREQ(reinterpret_cast<const char*>(dialog.Record()), "Tags");

    // A name longer than the record holds is cut.
    dialog.OnNameChanged(QString(100, 'x'));
    EXPECT_EQ(std::strlen(reinterpret_cast<const char*>(dialog.Record())), 63u);
    dialog.reject();
}

TEST(DlgDocSubCategory, APictureChosenIsShownAndItsPathHandedBack)
{
    const WizPictureChooser previous = SetWizPictureChooser([](QWidget*, uint8_t*, std::string* path) {
        *path = "/nowhere/sunset-over-the-bay.png";
        return true;
    });
    CDlgDocSubCategory dialog;
    DibHandle start = DibHandleNew();
    ASSERT_EQ(DibHandleCreate(start, 8, 8, 24), 0);
    dialog.SetPicture(start);
    dialog.show();
    EXPECT_NE(dialog.PicturePreview()->Picture(), nullptr) << "the node's picture at the start";
    dialog.OnChoosePicture();
    dialog.reject();
    char path[12];
    std::vector<uint8_t> out(kLabelTypeSize);
    dialog.GetResult(out.data(), path, int32_t(sizeof path));
    EXPECT_STREQ(path, "/nowhere/su") << "cut to the caller's buffer";
    SetWizPictureChooser(previous);
}

TEST(DlgDocSubCategory, TheSetUpSheetRunsItOverANodesLayoutAndKeepsItsPicture)
{
    std::vector<uint8_t> layout = Layout(2, 1, 1);
    DibHandle picture = DibHandleNew();
    ASSERT_EQ(DibHandleCreate(picture, 4, 4, 24), 0);
    AnswerNextModal([](QWidget* window) {
        auto* dialog = dynamic_cast<CDlgDocSubCategory*>(window);
        ASSERT_NE(dialog, nullptr);
        EXPECT_FALSE(dialog->Fields()->FloatEdit(1003)->isEnabled()) << "size mode 2";
        dialog->OnNameChanged("Renamed");
        dialog->OkButton()->click();
    });
    std::string path = "before";
    EXPECT_EQ(RunDocSubCategoryDialog(nullptr, layout.data(), 2, picture, &path), 1);
    EXPECT_STREQ(reinterpret_cast<const char*>(layout.data()), "Renamed");
    EXPECT_EQ(path, "");
    EXPECT_FALSE(DibHandleIsEmpty(picture)) << "the caller's picture is the caller's";
    DibHandleFree(&picture);

    AnswerNextModal([](QWidget* window) {
        if (auto* dialog = dynamic_cast<CDlgDocSubCategory*>(window))
            dialog->reject();
    });
    const std::vector<uint8_t> before = layout;
    EXPECT_EQ(RunDocSubCategoryDialog(nullptr, layout.data(), 1, nullptr, &path), 2);
    EXPECT_EQ(layout, before) << "Cancel changes nothing";
}
