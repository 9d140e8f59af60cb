#include "barcode/code128_encoding.h"

#include "foundation/pstr.h"

namespace {

enum class CodeSet { kNone, kA, kB, kC };

// Bar, space, bar, space, bar, space widths of the values 0-106.
const char* const kPatterns[107] = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212", "221213", "221312",
    "231212", "112232", "122132", "122231", "113222", "123122", "123221", "223211", "221132", "221231", "213212",
    "223112", "312131", "311222", "321122", "321221", "312212", "322112", "322211", "212123", "212321", "232121",
    "111323", "131123", "131321", "112313", "132113", "132311", "211313", "231113", "231311", "112133", "112331",
    "132131", "113123", "113321", "133121", "313121", "211331", "231131", "213113", "213311", "213131", "311123",
    "311321", "331121", "312113", "312311", "332111", "314111", "221411", "431111", "111224", "111422", "121124",
    "121421", "141122", "141221", "112214", "112412", "122114", "122411", "142112", "142211", "241211", "221114",
    "413111", "241112", "134111", "111242", "121142", "121241", "114212", "124112", "124211", "411212", "421112",
    "421211", "212141", "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311",
    "113141", "114131", "311141", "411131", "211412", "211214", "211232", "233111",
};

uint8_t StartOf(CodeSet set)
{
    return set == CodeSet::kA ? kCode128StartA : set == CodeSet::kB ? kCode128StartB : kCode128StartC;
}

uint8_t SwitchTo(CodeSet set)
{
    return set == CodeSet::kA ? kCode128CodeA : set == CodeSet::kB ? kCode128CodeB : kCode128CodeC;
}

// The set a reader is in after a start or switch byte; a Code C in set C
// is the data value 99 and changes nothing.
CodeSet SetAfter(uint8_t byte, CodeSet set)
{
    switch (byte) {
    case kCode128StartA:
    case kCode128CodeA:
        return CodeSet::kA;
    case kCode128StartB:
    case kCode128CodeB:
        return CodeSet::kB;
    case kCode128StartC:
    case kCode128CodeC:
        return CodeSet::kC;
    default:
        return set;
    }
}

class SymbolWriter {
public:
    explicit SymbolWriter(uint8_t* out) : out_(out) { out_[0] = 0; }
    bool ok() const { return ok_; }
    void Put(uint8_t byte)
    {
        if (out_[0] >= kPStrMaxLength)
            ok_ = false;
        else
            out_[++out_[0]] = byte;
    }

private:
    uint8_t* out_;
    bool ok_ = true;
};

}  // namespace

bool IsDigitChar(uint8_t ch) { return ch >= '0' && ch <= '9'; }
bool IsControlChar(uint8_t ch) { return ch < 32; }
bool IsLowerRangeChar(uint8_t ch) { return ch >= 96 && ch <= 127; }
bool IsSharedChar(uint8_t ch) { return (ch >= 32 && ch <= 47) || (ch >= 58 && ch <= 95); }

bool EncodeCode128(const BarcodeRecord* rec, uint8_t* symbols)
{
    const uint8_t* d = rec->data + 1;
    const int len = rec->data[0];
    if (len == 0)
        return false;
    for (int i = 0; i < len; ++i) {
        if (d[i] > kCode128LastDataByte)
            return false;
    }

    SymbolWriter out(symbols);
    CodeSet set = CodeSet::kNone;
    auto enter = [&](CodeSet next, int i) {
        out.Put(i == 0 ? StartOf(next) : SwitchTo(next));
        set = next;
    };
    int i = 0;
    while (i < len && out.ok()) {
        const uint8_t c = d[i];
        if (IsControlChar(c) && set != CodeSet::kA) {
            enter(CodeSet::kA, i);
            out.Put(c);
            ++i;
            continue;
        }
        if (IsLowerRangeChar(c) && set != CodeSet::kB) {
            enter(CodeSet::kB, i);
            out.Put(c);
            ++i;
            continue;
        }
        if (IsDigitChar(c) && i + 1 < len && IsDigitChar(d[i + 1])) {
            if (set == CodeSet::kC) {
                out.Put(c);
                out.Put(d[i + 1]);
                i += 2;
                continue;
            }
            if (i + 3 < len && IsDigitChar(d[i + 2]) && IsDigitChar(d[i + 3])) {
                enter(CodeSet::kC, i);
                for (int k = 0; k < 4; ++k)
                    out.Put(d[i + k]);
                i += 4;
                continue;
            }
        } else if (!IsDigitChar(c) && !IsSharedChar(c)) {
            // A control character in set A, a lower-range one in set B, or a
            // function or start code typed into the data. A symbol needs a
            // start before anything else, so a function code that opens the
            // data gets Start B in front of it.
            if (set == CodeSet::kNone && (c < kCode128StartA || c > kCode128StartC))
                enter(CodeSet::kB, i);
            out.Put(c);
            set = SetAfter(c, set);
            ++i;
            continue;
        }
        int run = 1;
        while (i + run < len && (IsSharedChar(d[i + run]) || (IsDigitChar(d[i + run]) && IsDigitChar(c))))
            ++run;
        if (set != CodeSet::kA && set != CodeSet::kB)
            enter(i + run < len && IsLowerRangeChar(d[i + run]) ? CodeSet::kB : CodeSet::kA, i);
        for (int k = 0; k < run; ++k)
            out.Put(d[i + k]);
        i += run;
    }
    if (!out.ok())
        return false;

    // The check symbol is part of every Code 128 symbol: a reader refuses
    // one without it. The record's "add check" switch is kept as stored
    // (older cards were saved with it off) but no longer leaves it out.
    int values[kCode128MaxSymbols];
    int count = 0;
    if (!Code128SymbolValues(symbols, values, &count))
        return false;
    const int check = Code128CheckValue(values, count);
    if (set == CodeSet::kC) {
        out.Put(uint8_t('0' + check / 10));
        out.Put(uint8_t('0' + check % 10));
    } else if (set == CodeSet::kA && check >= 64 && check <= 95) {
        out.Put(uint8_t(check - 64));
    } else {
        out.Put(uint8_t(check + 32));
    }
    return out.ok();
}

bool Code128SymbolValues(const uint8_t* symbols, int* values, int* count)
{
    CodeSet set = CodeSet::kNone;
    *count = 0;
    int i = 1;
    while (i <= symbols[0]) {
        const uint8_t b = symbols[i];
        int value;
        if (set == CodeSet::kC && b < 128) {
            if (i + 1 > symbols[0] || b < '0' || b > ':' || !IsDigitChar(symbols[i + 1]))
                return false;
            value = 10 * (b - '0') + (symbols[i + 1] - '0');
            i += 2;
        } else {
            value = b - 32;
            if (set == CodeSet::kA && value < 0)
                value += 96;
            set = SetAfter(b, set);
            ++i;
        }
        if (value < 0 || value > kCode128Stop)
            return false;
        values[(*count)++] = value;
    }
    return *count > 0;
}

int Code128CheckValue(const int* values, int count)
{
    int sum = values[0];
    for (int k = 1; k < count; ++k)
        sum += k * values[k];
    return sum % 103;
}

int Code128ElementWidth(int value, int element) { return kPatterns[value][element] - '0'; }
