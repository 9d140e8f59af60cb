// Reads arbitrary bytes as a paragraph as a document may hold it: byte 0 the
// paragraph's flags, byte 1 chooses positions, the rest the Handle's bytes.
// Every look-up and edit of the run table, the blocks and the characters
// must stay inside the Handle and leave a paragraph that still lays out.
#include <cstdlib>
#include <string>

#include "foundation/alert_sink.h"
#include "foundation/handle.h"
#include "frames/paragraph_text.h"
#include "frames/style_runs.h"
#include "frames/style_sheet.h"
#include "frames/tab_stops.h"
#include "fuzz_support.h"
#include "text/para_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    SilenceAlerts();
    const uint8_t flags = data[0] & (kParaHasRuns | kParaHasOverride | kParaHasTabs);
    const uint8_t seed = data[1];
    Handle h = nullptr;
    if (HandleFromBytes(data + 2, &h, uint32_t(size - 2)) != 0)
        return 0;
    HandleOwner owner(h);
    ParagraphText para(h, flags);
    if (!para.valid())
        return 0;
    const int32_t length = para.Length();
    const int32_t p = length ? seed % (length + 1) : 0;

    RunCache cache;
    for (int32_t i = 0; i <= length; ++i)
        LoadRunAt(para, i, &cache);
    CountRuns(para);
    int32_t first = 0, last = 0, use = 0;
    GetRunsExtent(para, &first, &last);
    FindRunBounds(para, p, &first, &last);
    GetFieldRunAt(para, p, &first);
    GetFieldIdAt(para, p);
    IsInFieldRun(para, p, true, &use);
    FindRunWithColor(para, 3, p);

    StyleSheet styles;
    EffectiveParaFormat(&styles, para, seed & 1);
    uint8_t tabs[kTabBlockBytes];
    EffectiveTabs(&styles, para, 200, tabs);
    NextStop(tabs, p);

    std::array<int16_t, kAttributeCount> values = kRunDefaults;
    values[kRankStyle] = int16_t(seed);
    SetRunAttributes(&para, p / 2, p + 3, uint16_t(kRunStyle | (seed & 0x3F)), values, seed & 2);
    Check(para.valid());
    const uint8_t text[3] = {'a', 'b', 'c'};
    if (para.InsertBytes(uint16_t(p), text, 3))
        AdjustRunsForInsert(&para, uint16_t(p), 3);
    Check(para.valid());
    const uint32_t removed = para.DeleteChars(uint16_t(p / 3), uint16_t(p), seed & 4);
    AdjustRunsForDelete(&para, uint16_t(p / 3), removed);
    Check(para.valid());
    SetOverrideField(&para, kOverLeftIndent, 5);
    para.AddTabBlock();
    Check(para.valid());
    para.RemoveOverrideBlock();
    para.RemoveTabBlock();
    WriteRunTable(&para, ReadRunTable(para));
    Check(para.valid());
    SetAlertSink(nullptr);
    return 0;
}
