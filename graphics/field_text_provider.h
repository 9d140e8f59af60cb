// Where Quick Card pieces get the texts of database fields.
//
// The card database answers for the current record (or its preview
// samples) and knows the fields' names; the graphics layer only asks. The
// database side installs its provider at start-up; tests install a fake.
// Without a provider every field reads as empty, so its piece vanishes.
#pragma once

#include <cstdint>
#include <string>

class FieldTextProvider {
public:
    virtual ~FieldTextProvider() = default;
    // The value of the field for the card being drawn: the current record
    // of the current database, else the field's preview sample. Preview
    // mode is passed on as the drawing's caller gave it. Windows-1252.
    virtual std::string MergeFieldText(int32_t fieldId, bool previewMode) = 0;
    // The field's name between its bracket marks, shown where no record
    // is used.
    virtual std::string BracketedFieldName(int32_t fieldId) = 0;
};

// Installs the provider (null removes it) and returns the one it replaces.
// The provider must outlive its installation.
FieldTextProvider* SetFieldTextProvider(FieldTextProvider* provider);
FieldTextProvider* InstalledFieldTextProvider();
