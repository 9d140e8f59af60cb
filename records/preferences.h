// "QXDefPref", the file in the program folder that every new card document
// takes its general preferences from, with the tools' defaults and the
// default quick-card item (layout in preferences_format.h). A missing,
// older or truncated file is rebuilt from the defaults before any read or
// write; a block that cannot be read is handed out as its defaults.
#pragma once

#include <cstdint>

#include "foundation/handle.h"
#include "foundation/path_record.h"
#include "records/preferences_format.h"

// The quick-card item record: nine words, of which word 3 stands for the
// quick-card data. In memory the data is the Handle beside the words and
// word 3 is not used; on disk word 3 holds the data's size.
struct QuickCardItem {
    uint32_t words[kQuickCardItemWords] = {};
    Handle data = nullptr;
};

// The program folder's "QXDefPref". 0 or the code of the program folder.
int32_t GetDefPrefPath(PathRecord* out);

// 0 when the file is valid or was rebuilt; otherwise the first error code.
int32_t EnsureDefPrefFile();

void DefPrefGeneralDefaults(uint8_t* general);
void DefPrefToolDefaults(uint8_t* tools);
// The defaults with a new empty quick-card block (the caller owns it).
void DefPrefQuickCardDefaults(QuickCardItem* item);

// 0, or an error code after the defaults were put in place.
int32_t ReadDefPrefGeneral(uint8_t* general);
int32_t ReadDefPrefTools(uint8_t* tools);
// The item's data becomes a new Handle the caller owns; data that cannot be
// read, or that is no valid quick-card block, gives an empty block.
int32_t ReadDefPrefQuickCard(QuickCardItem* item);

// 0 or an error code.
int32_t WriteDefPrefGeneral(const uint8_t* general);
int32_t WriteDefPrefTools(const uint8_t* tools);
int32_t WriteDefPrefQuickCard(const QuickCardItem& item);

// The program's one copy of the tool block and of the quick-card item,
// read from the file on first use. Whatever has been read is written back
// by StoreGlobalDefPrefs (when a card document goes); what nobody read is
// left in the file as it is.
uint8_t* GlobalToolPrefs();
QuickCardItem* GlobalQuickCardItem();
void StoreGlobalDefPrefs();
// Drops both copies (the quick-card data is freed); the next use reads
// the file again.
void ReleaseGlobalDefPrefs();
