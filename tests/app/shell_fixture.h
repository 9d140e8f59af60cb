// A fake kind of document for the shell's tests, a scripted save question,
// and a profile and program folder of their own for every test.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QLabel>
#include <QSettings>
#include <gtest/gtest.h>

#include "app/shell_document.h"
#include "app/shell_prompts.h"
#include "foundation/program_folder.h"
#include "support/own_profile.h"
#include "support/temp_dir.h"

class FakeDocument : public ShellDocument {
public:
    explicit FakeDocument(std::string title, std::string path = {}) : title_(std::move(title)), path_(std::move(path))
    {
    }
    std::string Title() const override { return title_; }
    std::string PathName() const override { return path_; }
    bool IsModified() const override { return modified; }
    bool Save() override
    {
        ++saves;
        if (!saveSucceeds)
            return false;
        if (path_.empty())
            path_ = savePath;
        modified = false;
        return true;
    }
    QWidget* CreateView(int32_t pane, QWidget* parent) override
    {
        if (failViews)
            return nullptr;
        auto* view = new QLabel(QString("%1 pane %2").arg(QString::fromStdString(title_)).arg(pane), parent);
        view->setMinimumSize(120, 80);
        return view;
    }
    void OnFrameActivate(bool activating) override { activations.push_back(activating); }
    void OnCloseDocument() override
    {
        if (closedFlag)
            *closedFlag = true;
    }

    bool modified = false;
    bool saveSucceeds = true;
    bool failViews = false;
    int saves = 0;
    std::string savePath;
    std::vector<bool> activations;
    bool* closedFlag = nullptr;

private:
    std::string title_;
    std::string path_;
};

// Makes FakeDocuments; opening refuses paths containing "bad".
class FakeFactory : public DocumentFactory {
public:
    explicit FakeFactory(std::string prefix) : prefix_(std::move(prefix)) {}
    std::unique_ptr<ShellDocument> NewDocument() override
    {
        return std::make_unique<FakeDocument>(prefix_ + std::to_string(++count));
    }
    std::unique_ptr<ShellDocument> OpenDocument(const std::string& path) override
    {
        if (path.find("bad") != std::string::npos)
            return nullptr;
        return std::make_unique<FakeDocument>(path.substr(path.rfind('/') + 1), path);
    }
    int count = 0;

private:
    std::string prefix_;
};

// Answers the save question from a script and counts the questions.
class ScriptedPrompts : public ShellPrompts {
public:
    ScriptedPrompts() { previous_ = SetShellPrompts(this); }
    ~ScriptedPrompts() override { SetShellPrompts(previous_); }
    Answer AskSaveChanges(const std::string& title) override
    {
        asked.push_back(title);
        return answer;
    }
    Answer answer = kNo;
    std::vector<std::string> asked;

private:
    ShellPrompts* previous_ = nullptr;
};

// Every test gets an empty profile and program folder.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(temp.ok());
        UseOwnProfile(temp);
        SetProgramFolderForTesting(temp.file("program"));
    }
    void TearDown() override { SetProgramFolderForTesting(""); }

    TempDir temp;
};
