// The document set-up record in memory, and its codec.
//
// The record holds no pointers: the wizard keeps its preview document and
// the database document it opened beside the record. What is stored in
// the preview slot is always 0, and the database-use word only says
// whether the document works with a database.
#pragma once

#include <cstdint>
#include <string>

#include "catalog/doc_setup_format.h"

struct DocSetup {
    uint32_t fromCategory = 0;
    uint32_t backdropId = 0;
    uint32_t backdropColour = 0;
    uint32_t templateId = 0;
    uint8_t labelLayout[kDocSetupLabelTypeSize] = {};
    uint32_t databaseUse = 0;
    // Each field whole, bytes behind the terminator included, so that a
    // record read and written again is the same.
    char fieldTexts[kDocSetupFieldTextCount][kDocSetupFieldTextSize] = {};
    uint8_t reserved[kDocSetupReservedSize] = {};
};

// bytes holds kDocSetupSize bytes.
void DocSetupDecode(const uint8_t* bytes, DocSetup* setup);
void DocSetupEncode(const DocSetup& setup, uint8_t* bytes);

// Text k (0-20) up to its terminator, at most 255 characters even when a
// damaged field has none; empty for another k.
std::string DocSetupText(const DocSetup& setup, int32_t k);
// Stores at most 255 characters, terminated, the rest of the field zero.
void DocSetupSetText(DocSetup* setup, int32_t k, const char* text);

// The label layout's card size in points.
double DocSetupLabelWidth(const DocSetup& setup);
double DocSetupLabelHeight(const DocSetup& setup);
