#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "foundation/file_dialogs.h"

namespace {

FileTypeEntry Entry(const char* description, const char* pattern)
{
    FileTypeEntry e{};
    std::strcpy(e.description, description);
    std::strcpy(e.pattern, pattern);
    return e;
}

std::string Built(const FileTypeEntry* types, int32_t count, int32_t zeroSeparated)
{
    std::string out(FileFilterMaxSize(count), '#');
    out.resize(size_t(BuildFileFilter(types, count, out.data(), zeroSeparated)));
    return out;
}

TEST(FileFilter, BothSeparatorsAndTheQtForm)
{
    const FileTypeEntry types[] = {Entry("Data files", "*.lqx"), Entry("Pictures", "*.bmp;*.gif"),
                                   Entry("All Files", "*.*")};
    const std::string bars = Built(types, 3, 0);
    EXPECT_EQ(bars, "Data files (*.lqx)|*.lqx|Pictures (*.bmp;*.gif)|*.bmp;*.gif|All Files (*.*)|*.*||");
    std::string zeros = bars;
    std::replace(zeros.begin(), zeros.end(), '|', '\0');
    EXPECT_EQ(Built(types, 3, 1), zeros);

    // "*.*" would hide files without an extension.
    const QString qt = "Data files (*.lqx);;Pictures (*.bmp *.gif);;All Files (*)";
    EXPECT_EQ(FileFilterToQt(bars.c_str(), 0), qt);
    EXPECT_EQ(FileFilterToQt(zeros.c_str(), 1), qt);
}

TEST(FileFilter, UnterminatedFieldsStayInBounds)
{
    FileTypeEntry e;
    std::memset(&e, 'x', sizeof e);
    const std::string x(63, 'x');
    EXPECT_EQ(Built(&e, 1, 0), x + " (" + x + ")|" + x + "||");
    EXPECT_EQ(Built(&e, 1, 0).size(), FileFilterMaxSize(1));
}

PathRecord Record(const char* directory, const char* name, const char* extension)
{
    PathRecord r{};
    std::strcpy(r.drive, "C:");
    std::strcpy(r.directory, directory);
    std::strcpy(r.name, name);
    std::strcpy(r.extension, extension);
    return r;
}

TEST(FileDialogSetup, TheRecordChoosesFolderNameTypesAndSuffix)
{
    const FileDialogSetup save = MakeFileDialogSetup(0, Record("\\cards\\", "Card1", ".lqx"), nullptr, 0);
    EXPECT_EQ(save.folder, "/cards/");
    EXPECT_EQ(save.fileName, "Card1.lqx");
    EXPECT_EQ(save.defaultSuffix, "lqx");
    EXPECT_TRUE(MakeFileDialogSetup(1, Record("\\cards\\", "Card1", ".lqx"), nullptr, 0).fileName.isEmpty());

    const FileDialogSetup plain = MakeFileDialogSetup(1, Record("", "", ""), nullptr, 0);
    EXPECT_EQ(plain.filter, "All Files (*)");
    EXPECT_TRUE(plain.defaultSuffix.isEmpty());

    const FileTypeEntry own[] = {Entry("Databases", "*.dqx")};
    EXPECT_EQ(MakeFileDialogSetup(1, Record("", "", ".lqx"), own, 1).filter, "Databases (*.dqx)");
}

}  // namespace
