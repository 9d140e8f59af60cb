#include "database/merge_text.h"

#include <cstring>

#include "database/data_file.h"
#include "database/delivery_point.h"
#include "database/field_table.h"
#include "foundation/counters.h"
#include "foundation/cstr.h"
#include "foundation/pstr.h"

namespace {

MergeDatabaseLookup g_lookup = nullptr;
bool g_suppressed = false;
bool g_previewOnly = false;

void ZipText(const DataFile* dataFile, char* out)
{
    out[0] = 0;
    if (dataFile)
        dataFile->Saved().GetFieldText(kFieldZipCode, out);
    else
        StrCopyN(out, FieldPreviewText(kFieldZipCode), 256);
}

}  // namespace

void SetMergeDatabaseLookup(MergeDatabaseLookup lookup) { g_lookup = lookup; }
void SetNoDatabaseFlag(bool on) { g_suppressed = on; }
bool IsCurrentDatabaseSuppressed() { return g_suppressed; }
void SetPreviewOnlyMode(bool on) { g_previewOnly = on; }
bool IsPreviewOnlyMode() { return g_previewOnly; }

void DeliveryPointText(const DataFile* dataFile, char* out)
{
    if (dataFile) {
        dataFile->Saved().GetFieldText(kFieldDeliveryPoint, out);
        return;
    }
    PStr address, city, point;
    PStrFromCStr(address, FieldPreviewText(kFieldAddress1));
    PStrFromCStr(city, FieldPreviewText(kFieldCity));
    DeliveryPointFromAddress(address, city, point);
    PStrToCStr(point, out);
}

void PostalCodeDigits(const DataFile* dataFile, char* out)
{
    char zip[256];
    ZipText(dataFile, zip);
    ExtractDigits(zip, out, 11);
    const size_t n = std::strlen(out);
    if (n == 5 || n == 11)
        return;
    ExtractDigits(zip, out, 9);
    char point[256];
    DeliveryPointText(dataFile, point);
    StrCatN(out, point, 12);
}

void GetPreviewFieldText(int32_t id, bool set, char* text)
{
    if (set) {
        SetFieldPreviewText(id, text);
        return;
    }
    std::strcpy(text, "[???]");
    if (id == kFieldDeliveryPoint)
        DeliveryPointText(nullptr, text);
    else if (id == kFieldPostalDigits)
        PostalCodeDigits(nullptr, text);
    else if (const char* preview = FieldPreviewText(id))
        StrCopyN(text, preview, 256);
    StrTrimRight(text);
}

void GetMergeFieldText(int32_t id, char* out, bool keepEmpty)
{
    out[0] = 0;
    if (IsShowFieldNames()) {
        FieldTypeName(id, out, true, true);
        return;
    }
    const bool suppressed = g_suppressed;
    g_suppressed = false;
    DataFile* dataFile = g_lookup && !g_previewOnly ? g_lookup() : nullptr;
    g_suppressed = suppressed;
    if (dataFile)
        dataFile->GetFieldDisplayText(id, false, out);
    else
        GetPreviewFieldText(id, false, out);
    // Keeping a field empty is for a real record whose field is empty; a
    // card shown or printed without records shows the field's name for an
    // empty sample text, as it does on the screen.
    if (!out[0] && (!keepEmpty || !dataFile))
        FieldTypeName(id, out, true, false);
}
