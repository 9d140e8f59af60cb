// What the program answers a card document that asks its application: the
// save question as the shell asks it, the save dialog, the program folder,
// the default printer's page and the File menu's recent-file list.
#pragma once

#include "carddoc/card_document_host.h"

class CCardApp;

class CardAppDocumentHost final : public CardDocumentHost {
public:
    explicit CardAppDocumentHost(CCardApp* app) : app_(app) {}

    SaveAnswer AskSaveChanges(const std::string& title) override;
    bool ChooseSavePath(const std::string& title, PathRecord* path) override;
    int32_t ApplicationFolder(PathRecord* out) override;
    void AddToRecentFiles(const PathRecord& path) override;
    void ChooseFontReplacements(FontTable* fonts, QWidget* parent) override;
    void ShowPrompt(const std::string& text) override;

private:
    CCardApp* app_;
};
