#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <cstring>
#include <functional>
#include <utility>

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QImage>
#include <QRadioButton>
#include <QTimer>

#include "support/modal_answer.h"
#include "dialog_test_util.h"
#include "dialogs/numeric_edit.h"
#include "dialogs/picture_file_dialogs.h"
#include "dialogs/spin_steps.h"
#include "graphics/dib_handle.h"
#include "support/temp_dir.h"

namespace {

// Runs `act` on the file dialog once it is open; should the dialog still be
// open after it, its OK is pressed again until it closes.
void WhenOpen(std::function<void(QFileDialog*)> act)
{
    AnswerNextModal([act, acted = false](QWidget* window) mutable {
        auto* dialog = qobject_cast<QFileDialog*>(window);
        ASSERT_NE(dialog, nullptr) << window->metaObject()->className();
        if (std::exchange(acted, true))
            QMetaObject::invokeMethod(dialog, "accept");
        else
            act(dialog);
    });
}

void ChooseFilter(QFileDialog* dialog, int row)
{
    auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(combo, nullptr);
    combo->setCurrentIndex(row);
    Q_EMIT combo->activated(row);
    Q_EMIT combo->textActivated(combo->itemText(row));
}

CPicturePreviewWnd* PreviewOf(QFileDialog* d)
{
    return static_cast<CPicturePreviewWnd*>(d->findChild<QWidget*>(QStringLiteral("picturePreview")));
}

void SetText(char* field, const std::string& text) { std::strcpy(field, text.c_str()); }

std::string WritePicture(const TempDir& dir, const char* name)
{
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(QColor(200, 40, 40));
    const std::string path = dir.file(name);
    image.save(QString::fromStdString(path));
    return path;
}

TEST(PictureFileDialogs, FilterListsArePackedRowByRow)
{
    char buffer[kFilterBufferSize];
    BuildFilterString(DocumentFilterTable, kDocumentFilterCount, buffer);
    const char want[] = "All Files (*.*)\0*.*\0Tessaline Documents (*.lqx)\0*.lqx\0";
    EXPECT_EQ(std::memcmp(buffer, want, sizeof want), 0);
    for (size_t i = sizeof want; i < kFilterBufferSize; ++i)
        ASSERT_EQ(buffer[i], 0);
    // Rows that would overrun the buffer are left out whole.
    BuildFilterString(PictureFilterTable, kPictureFilterCount, buffer);
    EXPECT_EQ(buffer[kFilterBufferSize - 1], 0);
    EXPECT_EQ(buffer[kFilterBufferSize - 2], 0);
    EXPECT_EQ(ExportFormatTable[8].formatCode, 56);
    EXPECT_TRUE(ExportFormatTable[14].blackAndWhite);
}

TEST(PictureFileDialogs, TheExportOffersWhatCanBeWrittenAndTheExtensionDecidesTheFormat)
{
    std::vector<std::string> unwritable;
    for (int32_t row = 1; row <= kExportFormatCount; ++row) {
        if (!ExportRowIsWritable(row))
            unwritable.push_back(ExportFormatTable[row - 1].name);
    }
    EXPECT_EQ(unwritable, (std::vector<std::string>{"WinFax", "LEAD"}));

    const int32_t gif = 2, tif = 5, wmf = 6, emf = 7, cals = 15;
    std::string target;
    EXPECT_EQ(ExportTargetFor("/home/u/card", gif, &target), gif);
    EXPECT_EQ(target, "/home/u/card.gif");
    // A known extension wins over the row chosen; case and the long
    // spellings do not matter.
    EXPECT_EQ(ExportTargetFor("/home/u/card.CAL", gif, &target), cals);
    EXPECT_EQ(target, "/home/u/card.CAL");
    EXPECT_EQ(ExportTargetFor("/home/u/card.tiff", gif, &target), tif);
    EXPECT_EQ(ExportTargetFor("/home/u/card.emf", wmf, &target), emf);
    // An extension no format has keeps the chosen format, said after it;
    // so does one that is not written here.
    EXPECT_EQ(ExportTargetFor("/home/u/card.png", gif, &target), gif);
    EXPECT_EQ(target, "/home/u/card.png.gif");
    EXPECT_EQ(ExportTargetFor("/home/u/card.fxs", tif, &target), tif);
    EXPECT_EQ(target, "/home/u/card.fxs.tif");
    // A dot in a folder's name or a leading dot is no extension.
    EXPECT_EQ(ExportTargetFor("/home/u.v/.card", gif, &target), gif);
    EXPECT_EQ(target, "/home/u.v/.card.gif");
}

TEST(PictureFileDialogs, OpenPrefillsTheNameAndReturnsThePathOrKeepsTheBlock)
{
    TempDir dir;
    ASSERT_TRUE(dir.ok());
    const std::string picture = WritePicture(dir, "chosen.png");
    OpenPictureSettings s = {};
    SetText(s.folder, dir.path());
    SetText(s.path, "/elsewhere/chosen.png");
    SetText(s.title, "Select graphics file");
    s.pictureMode = 1;
    s.showPreview = 1;
    WhenOpen([&](QFileDialog* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Select graphics file"));
        EXPECT_EQ(d->directory().absolutePath().toStdString(), dir.path());
        EXPECT_EQ(d->nameFilters().size(), kPictureFilterCount);
        auto* preview = PreviewOf(d);
        ASSERT_NE(preview, nullptr);
        Q_EMIT d->currentChanged(QString::fromStdString(picture));
        EXPECT_EQ(preview->Kind(), kPreviewBitmap);
        d->findChild<QCheckBox*>(QStringLiteral("showPreview"))->click();
        QMetaObject::invokeMethod(d, "accept");
    });
    EXPECT_EQ(RunOpenPictureDialog(nullptr, &s), 1);
    EXPECT_EQ(std::string(s.path), picture);
    EXPECT_EQ(s.showPreview, 0);

    // Document mode: two filters and never a picture; Cancel still hands
    // the block back.
    s.pictureMode = 0;
    SetText(s.path, "");
    WhenOpen([&](QFileDialog* d) {
        EXPECT_EQ(d->nameFilters().size(), kDocumentFilterCount);
        Q_EMIT d->currentChanged(QString::fromStdString(picture));
        EXPECT_EQ(PreviewOf(d)->Kind(), kPreviewNothing);
        d->reject();
    });
    EXPECT_EQ(RunOpenPictureDialog(nullptr, &s), 2);
    EXPECT_EQ(std::string(s.path), picture);
}

TEST(PictureFileDialogs, ExportKeepsTheAspectAcrossUnitsAndFormats)
{
    TempDir dir;
    ASSERT_TRUE(dir.ok());
    ExportPictureSettings s = {};
    SetText(s.folder, dir.path());
    SetText(s.title, "Export Document As Picture.");
    s.format = 1;
    s.width = 288;
    s.height = 144;
    // No picture: no dialog and the block as it was.
    DibHandle none = nullptr;
    EXPECT_EQ(RunExportPictureDialog(nullptr, &s, &none), 2);
    EXPECT_EQ(RunExportPictureDialog(nullptr, &s, nullptr), 2);
    EXPECT_EQ(s.width, 288.0f);

    DibHandleOwner source;
    ASSERT_EQ(DibHandleCreate(source.get(), 30, 20, 24), 0);
    DibHandle picture = source.get();
    WhenOpen([&](QFileDialog* d) {
        auto* width = d->findChild<CFloatEdit*>(QStringLiteral("width"));
        auto* height = d->findChild<CFloatEdit*>(QStringLiteral("height"));
        auto* units = d->findChild<QComboBox*>(QStringLiteral("units"));
        auto* widthRadio = d->findChild<QRadioButton*>(QStringLiteral("widthRadio"));
        auto* heightRadio = d->findChild<QRadioButton*>(QStringLiteral("heightRadio"));
        auto* widthSpin = static_cast<SpinSteps*>(d->findChild<QWidget*>(QStringLiteral("widthSpin")));
        ASSERT_TRUE(width && height && units && widthRadio && widthSpin);
        EXPECT_TRUE(width->isEnabled());
        EXPECT_FALSE(height->isEnabled());
        ChooseItem(units, 1);
        EXPECT_EQ(width->text(), QStringLiteral("4.00"));
        EXPECT_EQ(height->text(), QStringLiteral("2.00"));
        TypeInto(width, QStringLiteral("2"));
        EXPECT_EQ(height->text(), QStringLiteral("1.00"));
        widthSpin->Press(10);
        EXPECT_EQ(width->text(), QStringLiteral("3.00"));

        ChooseFilter(d, 5);
        for (QWidget* w : std::initializer_list<QWidget*>{width, height, widthRadio, heightRadio, widthSpin})
            EXPECT_FALSE(w->isEnabled());
        ChooseFilter(d, 9);
        EXPECT_TRUE(width->isEnabled());
        EXPECT_FALSE(height->isEnabled());
        EXPECT_TRUE(heightRadio->isEnabled());
        AnswerFileDialog(d, QStringLiteral("card"));
    });
    EXPECT_EQ(RunExportPictureDialog(nullptr, &s, &picture), 1);
    EXPECT_EQ(std::string(s.path), dir.file("card"));
    EXPECT_EQ(s.format, 10);
    EXPECT_FLOAT_EQ(s.width, 216.0f);
    EXPECT_FLOAT_EQ(s.height, 108.0f);

    // A height of 0 keeps the aspect of before: width 2 : height 1.
    s.height = 0;
    WhenOpen([&](QFileDialog* d) {
        TypeInto(d->findChild<CFloatEdit*>(QStringLiteral("width")), QStringLiteral("50"));
        d->reject();
    });
    EXPECT_EQ(RunExportPictureDialog(nullptr, &s, &picture), 2);
    EXPECT_FLOAT_EQ(s.height, 25.0f);
}

}  // namespace
