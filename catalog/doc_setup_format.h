// DocSetup: the document set-up record the new-document wizard makes, 5608
// bytes, little-endian. The application keeps a default one; every card
// document keeps a whole copy and stores it in its file.
//
//    0  u32       layout-from-category flag: 1 when the label layout came
//                 from a category of the wizard tree, 0 for a custom one
//    4  u32       backdrop id (a group of the backdrop list), 0: none
//    8  u32       backdrop colour: 1-based item of that group, 0: none
//   12  u32       template id (a record of the template list), 0: none
//   16  168       label layout (the label-type record)
//  184  u32       slot of the wizard's preview document: always 0 stored
//  188  u32       database use: non-zero when the document works with a
//                 database
//  192  21 x 256  personal texts, Windows-1252, zero-terminated, at most
//                 255 characters: FirstName, LastName, Title, Company,
//                 Address1, Address2, City, State, ZipCode, Country, Fax,
//                 Phone1, Phone2, E-Mail, Picture, Custom1 .. Custom6
// 5568  40        reserved, carried unchanged
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kDocSetupSize = 5608;

constexpr size_t kDocSetupFromCategory = 0;
constexpr size_t kDocSetupBackdropId = 4;
constexpr size_t kDocSetupBackdropColour = 8;
constexpr size_t kDocSetupTemplateId = 12;
constexpr size_t kDocSetupLabelType = 16;
constexpr size_t kDocSetupPreviewSlot = 184;
constexpr size_t kDocSetupDatabaseUse = 188;
constexpr size_t kDocSetupFieldTexts = 192;
constexpr size_t kDocSetupReserved = 5568;

constexpr size_t kDocSetupLabelTypeSize = 168;
constexpr size_t kDocSetupFieldTextCount = 21;
constexpr size_t kDocSetupFieldTextSize = 256;
constexpr size_t kDocSetupReservedSize = 40;

// Where the label layout's card width and height (doubles, points) lie in
// the record.
constexpr size_t kDocSetupLabelWidth = kDocSetupLabelType + 64;
constexpr size_t kDocSetupLabelHeight = kDocSetupLabelType + 72;
