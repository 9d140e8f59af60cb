#include "carddoc/engine_services.h"

#include <string>

#include "carddoc/fill_pattern_store.h"
#include "database/field_table.h"
#include "database/merge_text.h"
#include "frames/glyph_effect_renderer.h"
#include "frames/glyph_effect_services.h"
#include "graphics/field_text_provider.h"
#include "graphics/fill_patterns.h"

namespace {

// Quick Card pieces take their field texts from the card database's merge
// texts, as text frames do.
class MergeFieldTexts : public FieldTextProvider {
public:
    std::string MergeFieldText(int32_t fieldId, bool previewMode) override
    {
        char text[256] = {};
        GetMergeFieldText(fieldId, text, previewMode);
        text[sizeof text - 1] = 0;
        return text;
    }
    std::string BracketedFieldName(int32_t fieldId) override
    {
        char name[kFieldTypeNameSize] = {};
        FieldTypeName(fieldId, name, true, true);
        name[sizeof name - 1] = 0;
        return name;
    }
};

MergeFieldTexts gFieldTexts;

void InstallOnce()
{
    // Without a renderer of its own the frames draw a plain stand-in.
    if (GlyphEffectRenderer* own = SetGlyphEffectRenderer(nullptr))
        SetGlyphEffectRenderer(own);
    else
        InstallGlyphEffectServices();
    if (!InstalledFieldTextProvider())
        SetFieldTextProvider(&gFieldTexts);
    if (!CurrentPatternTable()) {
        LoadPatternBitmaps(kFirstPatternBitmapId, kPatternBitmapIdCount);
        SetPatternTable(PatternBitmapStore());
    }
}

}  // namespace

void InstallCardEngineServices()
{
    static const bool installed = (InstallOnce(), true);
    (void)installed;
}
