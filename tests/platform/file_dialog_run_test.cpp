#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTimer>
#include <cstring>
#include <functional>

#include "platform/file_dialog_run.h"
#include "support/modal_answer.h"
#include "support/temp_dir.h"

namespace {

// Runs the dialog; act gets it once it is up.
int32_t RunDialog(int32_t open, PathRecord* record, std::function<void(QFileDialog*)> act)
{
    AnswerNextModal([act](QWidget* window) {
        auto* dialog = qobject_cast<QFileDialog*>(window);
        ASSERT_NE(dialog, nullptr);
        act(dialog);
    });
    return FileDialogRun(open, record, "Pick", nullptr, 0);
}

TEST(FileDialogRun, StartsInTheRecordsFolderAndAddsTheExtension)
{
    TempDir dir;
    PathRecord record{};
    ASSERT_EQ(PathRecordFromPosix(dir.file("Card1.lqx"), &record), 0);
    const PathRecord before = record;
    EXPECT_EQ(RunDialog(1, &record, [](QFileDialog* d) { d->reject(); }), 0);
    EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0);

    const int32_t result = RunDialog(0, &record, [&dir](QFileDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Pick");
        EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(d->directory().canonicalPath(), QDir(QString::fromStdString(dir.path())).canonicalPath());
        EXPECT_EQ(d->nameFilters(), QStringList({"Data files (*.lqx)", "All Files (*)"}));
        AnswerFileDialog(d, "Card2");  // typed, then the OK button
    });
    ASSERT_EQ(result, 1);
    EXPECT_EQ(PathRecordToPosix(record), dir.file("Card2.lqx"));
}

}  // namespace
