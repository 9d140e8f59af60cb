// The template list "Wiz_Tmpl": one 200-byte 'TmIn' record per template
// (layout in catalog/wizard_list_format.h), and the template files it names.
//
// Each operation opens the list and closes it again: for reading to read,
// for reading and writing to change it.
#pragma once

#include <cstdint>

#include "foundation/handle.h"
#include "foundation/path_record.h"
#include "graphics/dib_handle.h"

// Copies the record (kTmInSize bytes; a shorter one is zero-filled).
int32_t ReadTemplateInfo(int32_t id, uint8_t* info);
// id 0 adds the record under the next free id (1 for the first) and
// returns it in id; another id replaces that record.
int32_t WriteTemplateInfo(int32_t* id, const uint8_t* info);
int32_t RemoveTemplateInfo(int32_t id);
// Removes the record, then the template file it names.
int32_t DeleteTemplate(int32_t id);
// Moves the record to position n (from 1) among the records, the order
// the user sees.
int32_t MoveTemplate(int32_t id, int32_t n);
// All records one after the other in records, and their ids (u32,
// little-endian) in ids, in list order; a record that does not read gives
// id 0 and zeros.
int32_t ListTemplates(Handle records, Handle ids, int32_t* count);

// Imports a template file the user chose: a packed copy under a new name
// "tmplNNN.tp" in the "Templates" folder and a record naming it, with the
// source's name as display name. A stop box with the code on failure.
int32_t ReadTemplateFile(const PathRecord* source, int32_t* id, uint8_t* info);
// The template's file in the "Templates" folder; kWizMissing when the
// record's name is not a plain file name.
int32_t TemplateInfoFilePath(const uint8_t* info, PathRecord* path);
// Block 2 (the preview picture) of the template's file, or null.
Handle LoadTemplatePreviewData(int32_t id);
// The template's preview as a picture, or null.
DibHandle LoadTemplatePreview(int32_t id);

// Fields of a record.
void TemplateInfoName(const uint8_t* info, char* buffer, int32_t size);
void TemplateInfoSize(const uint8_t* info, double* width, double* height);
