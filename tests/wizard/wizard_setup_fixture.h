// The wizard set-up sheet over a copy of a small catalogue (tests/data/Wizard:
// three backdrop groups, a few categories, no templates), opened for
// reading and writing as the Edit command opens it, with the
// helpers its tests share.
#pragma once

#include <utility>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QCoreApplication>
#include <QFileDialog>
#include <QImage>
#include <QTimer>

#include "support/modal_answer.h"
#include "catalog/template_file.h"
#include "catalog/template_file_format.h"
#include "catalog/wizard_data.h"
#include "foundation/byte_order.h"
#include "foundation/program_folder.h"
#include "support/shell.h"
#include "wizard/dlg_wizard_setup.h"
#include "wizard/pg_ws.h"
#include "wizard_fixture.h"

class SetupSheet : public WizardHome {
protected:
    void SetUp() override
    {
        WizardHome::SetUp();
        ASSERT_EQ(SeedFolder(TESSALINE_TEST_DATA_DIR "/Wizard", dir.path() + "/Wizard"), 0);
        PathRecord home = PosixRecord(dir.path() + "/");
        ASSERT_EQ(WizardTreeInit(&home), 0);
        Open();
    }
    void TearDown() override
    {
        Close();
        WizardTreeFree();
        WizardHome::TearDown();
    }

    void Open()
    {
        ASSERT_EQ(WizardDataOpen(2), 0);
        sheet = std::make_unique<CDlgWizardSetup>("Wizard Setup", nullptr);
        sheet->Init(GetWizardTree());
        sheet->show();
        Settle();
    }
    // The sheet closes and the data with it, which writes the tree back.
    void Close()
    {
        if (!sheet)
            return;
        sheet->hide();
        sheet.reset();
        WizardDataClose();
    }
    // Everything the sheet did, read back from the files.
    void Reopen()
    {
        Close();
        Open();
    }

    template <typename T>
    T* Turn(int32_t index)
    {
        sheet->SetActivePage(index);
        Settle();
        return static_cast<T*>(sheet->Page(index));
    }

    static void Settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }

    // Acts on the dialog that opens next; should it still be open after
    // that, its OK is pressed again until it closes.
    static void WhenDialogOpens(std::function<void(QWidget*)> act)
    {
        AnswerNextModal([act, acted = false](QWidget* dialog) mutable {
            if (!std::exchange(acted, true))
                act(dialog);
            else if (auto* answered = qobject_cast<QDialog*>(dialog))
                answered->accept();
        });
    }
    // Chooses the files (in one folder) in the open file dialog.
    static void ChooseFiles(const std::vector<std::string>& paths)
    {
        WhenDialogOpens([paths](QWidget* widget) {
            auto* dialog = qobject_cast<QFileDialog*>(widget);
            ASSERT_NE(dialog, nullptr);
            dialog->setDirectory(QString::fromStdString(paths.front().substr(0, paths.front().rfind('/'))));
            QString names;
            for (const std::string& p : paths)
                names += QStringLiteral("\"%1\" ").arg(QString::fromStdString(p.substr(p.rfind('/') + 1)));
            AnswerFileDialog(dialog, paths.size() == 1 ? QString::fromStdString(paths.front()) : names.trimmed());
        });
    }

    std::string PictureFile(const char* name, int width, int height, Qt::GlobalColor colour = Qt::blue)
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(colour);
        const std::string p = dir.file(name);
        EXPECT_TRUE(image.save(QString::fromStdString(p)));
        return p;
    }

    std::string TemplateFile(const char* name, const char* title, double width, double height)
    {
        uint8_t header[kTemplateHeaderSize] = {};
        std::strcpy(reinterpret_cast<char*>(header + kTemplateNameAt), title);
        PutF64LE(header + kTemplateWidthAt, width);
        PutF64LE(header + kTemplateHeightAt, height);
        PutU32LE(header + kTemplatePackedAt, 1);
        Handle one = nullptr;
        Handle two = nullptr;
        HandleFromBytes("frames", &one, 6);
        HandleFromBytes("picture", &two, 7);
        const std::string p = dir.file(name);
        const PathRecord r = PosixRecord(p);
        EXPECT_EQ(SaveTemplateFile(&r, header, one, two), 0);
        HandleFree(one);
        HandleFree(two);
        return p;
    }

    std::unique_ptr<CDlgWizardSetup> sheet;
};
