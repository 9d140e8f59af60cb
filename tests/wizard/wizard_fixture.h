// A wizard home in a fresh temporary folder for each test, with its boxes
// captured and the wizard's profile values under the test's control.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QString>
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "catalog/wiz_tree_format.h"
#include "catalog/wizard_folders.h"
#include "catalog/wizard_profile.h"
#include "foundation/byte_order.h"
#include "foundation/path_record.h"
#include "support/alert_capture.h"
#include "support/shell.h"
#include "support/temp_dir.h"

using LabelLayout = std::array<uint8_t, kWizLayoutSize>;

inline LabelLayout MakeLayout(const char* name, double width, double height)
{
    LabelLayout layout{};
    for (size_t i = 0; name[i] && i < 63; ++i)
        layout[i] = uint8_t(name[i]);
    PutF64LE(layout.data() + kWizLayoutWidthAt, width);
    PutF64LE(layout.data() + kWizLayoutHeightAt, height);
    return layout;
}

inline PathRecord PosixRecord(const std::string& path)
{
    PathRecord r{};
    EXPECT_EQ(PathRecordFromPosix(path, &r), 0) << path;
    return r;
}

class WizardHome : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.ok());
        PathRecord home = PosixRecord(dir.path() + "/");
        SetWizardHome(&home);
        Profile().clear();
        previousReader_ = SetWizardProfileReader(&ReadProfile);
    }
    void TearDown() override
    {
        SetWizardProfileReader(previousReader_);
        SetWizardHome(nullptr);
    }

    // A file of the wizard folder ("" for the folder itself).
    std::string WizardFile(const std::string& name) const { return dir.path() + "/Wizard/" + name; }
    // The wizard folder filled with the catalogue the build stages, as the
    // program's start-up finds it.
    void CopyShippedCatalogue()
    {
        const QString shipped = QStringLiteral(TESSALINE_BINARY_DIR "/share/tessaline/Wizard");
        for (QDirIterator it(shipped, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            const QString path = it.next();
            const std::string relative = QDir(shipped).relativeFilePath(path).toStdString();
            QDir().mkpath(QString::fromStdString(WizardFile(relative)).section('/', 0, -2));
            WriteFileBytes(WizardFile(relative), ReadFileBytes(path.toStdString()));
        }
    }

    static std::map<std::string, int32_t>& Profile()
    {
        static std::map<std::string, int32_t> values;
        return values;
    }

    TempDir dir;
    AlertCapture alerts;

private:
    static int32_t ReadProfile(const char* name, int32_t defaultValue)
    {
        auto it = Profile().find(name);
        return it == Profile().end() ? defaultValue : it->second;
    }
    WizardProfileReader previousReader_ = nullptr;
};
