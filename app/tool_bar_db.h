// CToolBarDB: the database tool bar: the Find, Sort by and Insert Field
// combos among the record buttons. A choice in a combo becomes a command
// to the active window, its data handed over with the command.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include <QToolBar>

#include "platform/command_data.h"

class QComboBox;

// Sends a command with its data (null for none).
using BarCommandSink = std::function<void(uint32_t id, std::unique_ptr<CommandData> data)>;

class CToolBarDB : public QToolBar {
public:
    explicit CToolBarDB(QWidget* parent = nullptr);

    // Lays the bar out from its resource; false when a control cannot be
    // made. The combos start disabled.
    bool Create(int32_t resourceId, BarCommandSink sink);

    // Refills the field combos from the field names as they are now.
    void RefreshFieldCombos();
    void EnableAll(bool enable);
    void EnableInsertField(bool enable);

    int32_t GetSortSelection() const;
    int32_t GetInsertFieldSelection() const;
    // Empty when nothing is selected.
    std::string GetSortText() const;
    std::string GetInsertFieldText() const;
    // Whether the Insert Field list lacks this exact text.
    bool IsMissingFromInsertField(const std::string& text) const;
    void SetSortField(int32_t index);
    void SetInsertField(int32_t index);
    // Selects the index, or puts the text into the edit field when the
    // index is -1.
    void SetFindText(int32_t index, const std::string& text);

    QComboBox* FindCombo() const { return find_; }
    QComboBox* SortCombo() const { return sort_; }
    QComboBox* InsertFieldCombo() const { return insert_; }

private:
    void SendFindTyped(const QString& text);

    BarCommandSink sink_;
    QComboBox* find_ = nullptr;
    QComboBox* sort_ = nullptr;
    QComboBox* insert_ = nullptr;
};
