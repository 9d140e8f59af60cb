// DocSetup: the document set-up record the new-document wizard makes, 5608
// bytes, little-endian. The application keeps a default one; every card
// document keeps a whole copy and stores it in its file unchanged.
//
//    0    4 x u32  design word, backdrop id, backdrop kind, template id
//   16    168      label layout (app/label_type_format.h); its word at 156
//                  of the record is the printable-backdrop flag
//  184    4        -
//  188    u32      database use: non-zero when the document works with one
//  192    21 x 256 per-field sample texts, Windows-1252, zero-terminated
// 5568    40       -
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kDocSetupSize = 5608;

enum : size_t {
    kDocSetupDesign = 0,
    kDocSetupBackdropId = 4,
    kDocSetupBackdropKind = 8,
    kDocSetupTemplateId = 12,
    kDocSetupLabelType = 16,
    kDocSetupDatabaseUse = 188,
    kDocSetupFieldTexts = 192,
};

constexpr size_t kDocSetupFieldTextCount = 21;
constexpr size_t kDocSetupFieldTextSize = 256;
