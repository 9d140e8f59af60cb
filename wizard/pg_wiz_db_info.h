// CPgWiz_DBInfo: the Personal Info page. Its 21 fields hold the texts the
// new card document shows where no database record fills a field. The
// user can also create or open a database here; the page's fields then
// show and edit that database's records, and the database stays open for
// the new document.
#pragma once

#include <array>
#include <cstdint>

#include "wizard/pg_wiz.h"
#include "wizard/wiz_database.h"

class CFilteredEdit;
class QLabel;
class QPushButton;

// Controls of the page.
enum : int32_t {
    kIdFirstPersonalEdit = 1659,
    kIdFirstCustomLabel = 1635,
    kIdAddRecord = 1463,
    kIdDeleteRecord = 1021,
    kIdFirstRecord = 1514,
    kIdPreviousRecord = 1513,
    kIdNextRecord = 1092,
    kIdLastRecord = 1093,
    kIdCreateDatabase = 1523,
    kIdOpenDatabase = 1521,
    kIdWithoutDatabase = 1524,
    kIdPicturePath = 1738,
    kIdCurrentRecordCount = 1372,
    kIdBrowserCount = 1373,
    kIdDatabaseCount = 1374,
};

class CPgWiz_DBInfo : public CPgWiz {
public:
    CPgWiz_DBInfo();
    ~CPgWiz_DBInfo() override;

    void UpdateButtons() override;
    void OnPageShown() override;
    bool OnFinishPage() override;
    bool OnCancelPage() override;
    int32_t GetToolTipId(int32_t controlId) override;
    void StoreChoice() override;

    CFilteredEdit* Edit(int32_t k) const { return edits_[size_t(k)]; }
    WizDatabase* Database() const { return database_; }

    // The buttons.
    void OnCreateDatabase();
    void OnOpenDatabase();
    void OnWithoutDatabase();
    void OnRecordCommand(int32_t id);
    void OnPicturePath();
    // "Orm Edit Changed" from a field.
    void OnEditChanged(int32_t controlId);

protected:
    void BuildControls() override;
    bool OnInitDialog() override;

private:
    void SetCustomLabels();
    void ShowCounters();
    void Connect(WizDatabase* database);
    void LetGo();
    void Hold(WizDatabase* database);
    void NoteHeld();
    void TakeOpened(WizDatabase* database);
    void ReadEdits();
    void WriteEdits();

    WizDatabase* database_ = nullptr;
    std::string title_;
    std::array<CFilteredEdit*, kWizDatabaseEditCount> edits_{};
    bool connected_ = false;
    uint8_t pictureSettings_[778] = {};
};
