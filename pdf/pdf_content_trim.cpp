#include "pdf/pdf_content_trim.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "pdf/pdf_glyph_strings.h"
#include "pdf/pdf_byte_scan.h"
#include "pdf/pdf_decimal.h"
#include "pdf/pdf_glyph_line_skips.h"
#include "pdf/pdf_operator_table.h"
#include "pdf/pdf_tokenizer.h"

namespace {

// The states an operator sets that the trim follows, each written as its
// operands' text; a state not known (set by a graphics state dictionary,
// or never set on this page) is never taken for one in effect.
enum Slot : uint8_t {
    kFillSpace,
    kFillColour,
    kStrokeSpace,
    kStrokeColour,
    kGraphicsState,
    kLineWidth,
    kLineCap,
    kLineJoin,
    kMiterLimit,
    kDash,
    kIntent,
    kFlatness,
    kCharSpacing,
    kWordSpacing,
    kHorizontalScale,
    kLeading,
    kFont,
    kRender,
    kRise,
    // The graphics state dictionary set last, whatever set since.
    kGraphicsApplied,
    kSlotCount,
};

// A slot's value: where its operands' text is in the content (the
// operator's too, for colours chosen with their space: g, rg, k). Small,
// as each save copies the state.
constexpr uint32_t kUnknown = UINT32_MAX;
// The colour a colour space starts with: not the same as any written.
constexpr uint32_t kInitialColour = UINT32_MAX - 1;

struct Value {
    uint32_t at = kUnknown;
    uint32_t size = 0;
};

using State = std::array<Value, kSlotCount>;

// What an operator does to the state the trim follows.
enum class Kind : uint8_t {
    kSave,
    kRestore,
    kSet,           // sets its slot
    kSpace,         // cs / CS: sets the space, resets the colour
    kColour,        // sc scn SC SCN: the colour in the space set
    kSpaceColour,   // g rg k G RG K: a space and its colour
    kGraphicsSet,   // gs: a dictionary of states
    kState,         // cm and what else only changes the state
    kMove,          // m
    kLine,          // l
    kClosePath,     // h
    kClip,          // W W*
    kEndPath,       // n
    kInline,        // BI ID EI
    kDraws,         // anything else: draws, or is not known
};

struct OpInfo {
    Kind kind;
    Slot slot = kSlotCount;
    // Draws, or sets only what the trim follows: a save that holds no
    // other may take in the next save's drawing (see Trimmer::merge).
    bool plain = false;
    // Only begins text or places it: draws nothing with the state.
    bool places = false;
    // Only paints, the trim taking nothing from it (see Painting).
    bool paints = false;
};

// An operator that only paints: not where text begins, is placed or ends
// ("ET"), which the trim follows.
constexpr OpInfo kPaints{Kind::kDraws, kSlotCount, true, false, true};

// The operators the trim tells apart; any other draws, or is not known.
constexpr PdfOperatorTable<OpInfo, 62> kOperators({{
    {PdfOpKey("q"), {Kind::kSave}},
    {PdfOpKey("Q"), {Kind::kRestore}},
    {PdfOpKey("cs"), {Kind::kSpace, kFillSpace}},
    {PdfOpKey("CS"), {Kind::kSpace, kStrokeSpace}},
    {PdfOpKey("sc"), {Kind::kColour, kFillColour}},
    {PdfOpKey("scn"), {Kind::kColour, kFillColour}},
    {PdfOpKey("SC"), {Kind::kColour, kStrokeColour}},
    {PdfOpKey("SCN"), {Kind::kColour, kStrokeColour}},
    {PdfOpKey("g"), {Kind::kSpaceColour, kFillColour}},
    {PdfOpKey("rg"), {Kind::kSpaceColour, kFillColour}},
    {PdfOpKey("k"), {Kind::kSpaceColour, kFillColour}},
    {PdfOpKey("G"), {Kind::kSpaceColour, kStrokeColour}},
    {PdfOpKey("RG"), {Kind::kSpaceColour, kStrokeColour}},
    {PdfOpKey("K"), {Kind::kSpaceColour, kStrokeColour}},
    {PdfOpKey("gs"), {Kind::kGraphicsSet, kGraphicsState}},
    {PdfOpKey("w"), {Kind::kSet, kLineWidth}},
    {PdfOpKey("J"), {Kind::kSet, kLineCap}},
    {PdfOpKey("j"), {Kind::kSet, kLineJoin}},
    {PdfOpKey("M"), {Kind::kSet, kMiterLimit}},
    {PdfOpKey("d"), {Kind::kSet, kDash}},
    {PdfOpKey("ri"), {Kind::kSet, kIntent}},
    {PdfOpKey("i"), {Kind::kSet, kFlatness}},
    {PdfOpKey("Tc"), {Kind::kSet, kCharSpacing}},
    {PdfOpKey("Tw"), {Kind::kSet, kWordSpacing}},
    {PdfOpKey("Tz"), {Kind::kSet, kHorizontalScale}},
    {PdfOpKey("TL"), {Kind::kSet, kLeading}},
    {PdfOpKey("Tf"), {Kind::kSet, kFont}},
    {PdfOpKey("Tr"), {Kind::kSet, kRender}},
    {PdfOpKey("Ts"), {Kind::kSet, kRise}},
    {PdfOpKey("cm"), {Kind::kState}},
    {PdfOpKey("m"), {Kind::kMove, kSlotCount, true}},
    {PdfOpKey("l"), {Kind::kLine, kSlotCount, true}},
    {PdfOpKey("h"), {Kind::kClosePath, kSlotCount, true}},
    {PdfOpKey("W"), {Kind::kClip}},
    {PdfOpKey("W*"), {Kind::kClip}},
    {PdfOpKey("n"), {Kind::kEndPath, kSlotCount, true}},
    {PdfOpKey("BI"), {Kind::kInline}},
    {PdfOpKey("ID"), {Kind::kInline}},
    {PdfOpKey("EI"), {Kind::kInline}},
    {PdfOpKey("BT"), {Kind::kDraws, kSlotCount, true, true}},
    {PdfOpKey("Tm"), {Kind::kDraws, kSlotCount, true, true}},
    {PdfOpKey("Td"), {Kind::kDraws, kSlotCount, true, true}},
    {PdfOpKey("ET"), {Kind::kDraws, kSlotCount, true}},
    {PdfOpKey("T*"), kPaints},
    {PdfOpKey("Tj"), kPaints},
    {PdfOpKey("TJ"), kPaints},
    {PdfOpKey("'"), kPaints},
    {PdfOpKey("c"), kPaints},
    {PdfOpKey("v"), kPaints},
    {PdfOpKey("y"), kPaints},
    {PdfOpKey("re"), kPaints},
    {PdfOpKey("f"), kPaints},
    {PdfOpKey("F"), kPaints},
    {PdfOpKey("f*"), kPaints},
    {PdfOpKey("S"), kPaints},
    {PdfOpKey("s"), kPaints},
    {PdfOpKey("B"), kPaints},
    {PdfOpKey("B*"), kPaints},
    {PdfOpKey("b"), kPaints},
    {PdfOpKey("b*"), kPaints},
    {PdfOpKey("Do"), kPaints},
    {PdfOpKey("sh"), kPaints}
}}, OpInfo{Kind::kDraws});

OpInfo InfoOf(uint32_t key) { return kOperators.find(key); }

// One operator with its operands, by offsets into the content: where its
// text begins (its first operand), where its operands end, where the
// operator ends and where the white space after it ends; its first two
// numbers.
struct Operation {
    OpInfo info;
    uint8_t numbers = 0;
    bool onlyNumbers = true;
    bool glyphLines = false;  // a run's lines of glyphs
    uint32_t key = 0;  // the operator's (PdfOpKey)
    uint32_t from = 0, operandsEnd = 0, end = 0, to = 0;
    std::array<uint32_t, 2> numberAt{}, numberSize{};
};

// Whether the operator only paints, the trim taking nothing from it: a
// run of such operators is followed as one. Not where text begins, is
// placed or ends, nor a run's lines of glyphs, which the trim follows.
bool Painting(const Operation& op) { return op.info.paints; }

// Past the lines from `p` on that only paint (see Painting), each its
// numbers, a space after each, then its operator and the line's break, as
// Qt's PDF engine writes a bar code's bars ("x y w h re", "f"): to the
// break after the last. Read as the tokens would read them, but line by
// line: the numbers are only passed.
const char* SkipPaintingLines(const char* p, const char* const end)
{
    const char* passed = p;
    for (;;) {
        while (p < end && PdfStartOf(*p) == PdfStart::kNumber) {
            const char* const q = PdfPastNumberBytes(p + 1, end);
            if (q == end || *q != ' ')
                return passed;
            p = q + 1;
        }
        if (p == end || PdfStartOf(*p) != PdfStart::kWord)
            return passed;
        const char* const word = p;
        while (p < end && PdfByteClass(*p) == PdfByte::kRegular)
            ++p;
        if (p == end || *p != '\n')
            return passed;
        if (!InfoOf(PdfOperatorKey({PdfToken::kOperator, word, size_t(p - word)})).paints)
            return passed;
        passed = ++p;
    }
}

// The operators of the content; false for content left as it is.
// `spaced`: whether any sets the spacing or scaling of characters.
bool ReadOps(std::string_view s, std::vector<Operation>* ops, bool* spaced)
{
    const auto offset = [&s](const char* p) { return uint32_t(p - s.data()); };
    PdfTokenizer tokens(s);
    PdfTokenSpan t;
    // Written where it is kept, field by field: a whole operator built
    // aside and copied in costs more than the reading.
    Operation* op = nullptr;
    int nest = 0;
    // Told at the end: written through the pointer at each operator, it
    // would go to memory each time.
    bool anySpaced = false;
    for (;;) {
        if (!tokens.next(&t))
            break;
        if (!op) {
            op = &ops->emplace_back();
            op->from = offset(t.at);
        }
        switch (t.kind) {
        case PdfToken::kUnclosed:
        case PdfToken::kStray:
            return false;
        case PdfToken::kOpen:
        case PdfToken::kDictOpen:
            ++nest;
            op->onlyNumbers = false;
            continue;
        case PdfToken::kClose:
        case PdfToken::kDictClose:
            if (--nest < 0)
                return false;
            continue;
        case PdfToken::kNumber:
            if (nest > 0)
                continue;
            if (op->numbers < 2) {
                op->numberAt[op->numbers] = offset(t.at);
                op->numberSize[op->numbers] = uint32_t(t.size);
            }
            if (op->numbers < UINT8_MAX)
                ++op->numbers;
            continue;
        case PdfToken::kOperator:
            if (nest > 0)
                return false;  // executable arrays have no place in content
            break;
        default:
            op->onlyNumbers = false;
            continue;
        }
        op->key = PdfOperatorKey(t);
        if (op->key == PdfOpKey("Td") && op->numbers == 2 && op->onlyNumbers) {
            // Lines of glyphs, as the engine writes a run of text, draw and
            // are passed whole. The first begins "dx dy Td", as read here:
            // looked for only then rather than at the start of every
            // operator, which read the numbers of most twice.
            const char* const p = s.data() + op->from;
            const char* const after = PdfSkipGlyphLines(p, s.data() + s.size());
            if (after != p) {
                *op = Operation{};
                op->info = {Kind::kDraws};
                op->onlyNumbers = false;
                op->glyphLines = true;
                op->from = offset(p);
                tokens.seek(after);
                op->operandsEnd = op->end = offset(after);
                op->to = offset(tokens.skipSpace());
                op = nullptr;
                continue;
            }
        }
        op->info = InfoOf(op->key);
        if (op->info.kind == Kind::kInline)
            return false;
        const Slot slot = op->info.slot;
        anySpaced = anySpaced || slot == kCharSpacing || slot == kWordSpacing || slot == kHorizontalScale;
        const char* operandsEnd = t.at;
        while (operandsEnd > s.data() + op->from && PdfByteClass(operandsEnd[-1]) == PdfByte::kSpace)
            --operandsEnd;
        op->operandsEnd = offset(operandsEnd);
        op->end = offset(t.at + t.size);
        // The white space after an operator goes with it.
        op->to = offset(tokens.skipSpace());
        // Drawing after drawing is one operator to the trim: written as
        // it is, whatever it draws (a bar code's bars, a run's glyphs).
        if (Painting(*op)) {
            if (ops->size() >= 2 && Painting((*ops)[ops->size() - 2])) {
                Operation& before = (*ops)[ops->size() - 2];
                before.operandsEnd = op->operandsEnd;
                before.end = op->end;
                before.to = op->to;
                ops->pop_back();
            }
            // The lines that only paint after it, as a bar code's bars
            // follow one another, are passed without their tokens.
            Operation& last = ops->back();
            const char* const from = s.data() + last.to;
            const char* const after = SkipPaintingLines(from, s.data() + s.size());
            if (after != from) {
                last.operandsEnd = last.end = offset(after - 1);
                tokens.seek(after);
                last.to = offset(tokens.skipSpace());
            }
        }
        op = nullptr;
    }
    *spaced = anySpaced;
    return !op && nest == 0;
}

// The number `k` of an operator, read exactly; false for one that cannot be.
bool NumberOf(std::string_view s, const Operation& op, size_t k, PdfDecimal* d)
{
    const char* const at = s.data() + op.numberAt[k];
    return PdfReadDecimal(at, at + op.numberSize[k], 9, d);
}

// Whether two numbers are one. One whose units at the other's places would
// not fit in 64 bits is far from any the other's places can write.
bool Same(const PdfDecimal& a, const PdfDecimal& b)
{
    const int places = std::max(a.places, b.places);
    long long x = 0, y = 0;
    return PdfUnitsAt(a, places, &x) && PdfUnitsAt(b, places, &y) && x == y;
}

// The clip at ops[i] when it is one rectangle drawn as its corners ("m",
// three or four "l", "h", "W" or "W*", "n"): "x y w h re W n", and how
// many operators it takes the place of; 0 for another path.
size_t RectangleClip(std::string_view s, const std::vector<Operation>& ops, size_t i, std::string* re)
{
    const auto is = [&](size_t k, Kind kind) {
        return k < ops.size() && ops[k].info.kind == kind && ops[k].onlyNumbers &&
               ops[k].numbers == (kind == Kind::kMove || kind == Kind::kLine ? 2 : 0);
    };
    if (!is(i, Kind::kMove) || !is(i + 1, Kind::kLine) || !is(i + 2, Kind::kLine) || !is(i + 3, Kind::kLine))
        return 0;
    const size_t corners = is(i + 4, Kind::kLine) ? 5 : 4;
    const size_t k = i + corners;
    if (!is(k, Kind::kClosePath) || !is(k + 1, Kind::kClip) || !is(k + 2, Kind::kEndPath))
        return 0;
    std::array<std::array<PdfDecimal, 2>, 5> p;
    for (size_t n = 0; n < corners; ++n)
        if (!NumberOf(s, ops[i + n], 0, &p[n][0]) || !NumberOf(s, ops[i + n], 1, &p[n][1]))
            return 0;
    if (corners == 5 && (!Same(p[4][0], p[0][0]) || !Same(p[4][1], p[0][1])))
        return 0;
    // The corners go round: along one axis, then the other, then back.
    for (int first = 0; first < 2; ++first) {
        const int other = 1 - first;
        if (!Same(p[1][size_t(other)], p[0][size_t(other)]) || !Same(p[2][size_t(first)], p[1][size_t(first)]) ||
            !Same(p[3][size_t(other)], p[2][size_t(other)]) || !Same(p[3][size_t(first)], p[0][size_t(first)]))
            continue;
        const std::array<PdfDecimal, 2>& far = p[2];  // the corner across
        std::array<PdfDecimal, 2> size;
        for (size_t axis = 0; axis < 2; ++axis)
            if (!PdfAddDecimals(far[axis], p[0][axis], true, &size[axis]))
                return 0;
        char text[4 * 48 + 16];
        char* to = text;
        for (size_t axis = 0; axis < 2; ++axis)
            to = PdfWriteDecimal(to, p[0][axis].units, p[0][axis].places), *to++ = ' ';
        for (size_t axis = 0; axis < 2; ++axis) {
            to = PdfWriteDecimal(to, size[axis].units, size[axis].places);
            *to++ = ' ';
        }
        re->assign(text, size_t(to - text));
        *re += "re\nW n\n";
        return corners + 3;
    }
    return 0;
}

PdfDecimal Negative(const PdfDecimal& a) { return {-a.units, a.places}; }

// The numbers of `text`, exactly, as many as `out` holds and no more.
template <size_t N>
bool Numbers(std::string_view text, std::array<PdfDecimal, N>* out)
{
    size_t n = 0;
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        if (PdfByteClass(*p) == PdfByte::kSpace) {
            ++p;
            continue;
        }
        const char* q = p;
        while (q < end && PdfByteClass(*q) != PdfByte::kSpace)
            ++q;
        if (n == N || !PdfReadDecimal(p, q, 9, &(*out)[n++]))
            return false;
        p = q;
    }
    return n == N;
}

// The step, in the text space of the matrix `from`, that takes it to `to`
// where the two differ only in where they start and the text space is the
// page's turned by quarters or mirrored, so that the step is exact; false
// otherwise.
bool Shift(const std::array<PdfDecimal, 6>& from, const std::array<PdfDecimal, 6>& to, std::array<PdfDecimal, 2>* step)
{
    for (size_t k = 0; k < 4; ++k)
        if (!Same(from[k], to[k]))
            return false;
    const auto unit = [](const PdfDecimal& d) { return d.units != 0 && (d.units < 0 ? -d.units : d.units) == kPdfTens[size_t(d.places)]; };
    const auto zero = [](const PdfDecimal& d) { return d.units == 0; };
    const auto times = [](const PdfDecimal& sign, const PdfDecimal& d) { return sign.units < 0 ? Negative(d) : d; };
    PdfDecimal across, down;
    if (!PdfAddDecimals(to[4], from[4], true, &across) || !PdfAddDecimals(to[5], from[5], true, &down))
        return false;
    if (unit(from[0]) && zero(from[1]) && zero(from[2]) && unit(from[3])) {
        *step = {times(from[0], across), times(from[3], down)};
        return true;
    }
    if (zero(from[0]) && unit(from[1]) && unit(from[2]) && zero(from[3])) {
        *step = {times(from[1], down), times(from[2], across)};
        return true;
    }
    return false;
}

// The content written out: pieces of the input, or text made here, each
// one operator's; a piece may be left out after it was put in.
struct Piece {
    uint32_t at = 0, size = 0;
    int32_t made = -1;  // the text made here, by its index
    bool kept = true;
};

class Trimmer {
public:
    // `runs`: the widths of the runs of glyphs, one for each run's lines
    // in order; null to leave them as they are.
    Trimmer(std::string_view s, const std::vector<Operation>& ops, const GlyphRunWidths* runs, std::vector<Piece>* pieces)
        : s_(s), ops_(ops), runs_(runs), pieces_(*pieces)
    {
        pieces_.clear();
        levels_.push_back({});
    }

    void run()
    {
        for (size_t i = 0; i < ops_.size(); ++i) {
            const Operation& op = ops_[i];
            if (merge_.armed && i >= merge_.from && !Setting(op.info.kind) && !op.info.places) {
                merge_.armed = false;
                merge(i);
            }
            if (op.info.kind == Kind::kMove) {
                std::string re;
                if (const size_t taken = RectangleClip(s_, ops_, i, &re)) {
                    made_.push_back(std::move(re));
                    pieces_.push_back({0, 0, int32_t(made_.size() - 1), true});
                    drawn();
                    levels_.back().plain = false;
                    i += taken - 1;
                    continue;
                }
            }
            if (op.glyphLines && runs_) {
                glyphLines(i);
                continue;
            }
            Level& level = levels_.back();
            if (op.info.slot == kRender) {
                const std::string_view mode = s_.substr(op.from, op.operandsEnd - op.from);
                clipsText_ = clipsText_ || mode.size() != 1 || mode[0] < '0' || mode[0] > '3';
            }
            if (Setting(op.info.kind)) {
                if (settle(i, &level.state, &level.touched))
                    put(op);
                continue;
            }
            switch (op.info.kind) {
            case Kind::kSave:
                save(op);
                break;
            case Kind::kRestore:
                restore(i);
                break;
            case Kind::kState:
                put(op);
                level.plain = false;
                break;
            default:
                level.plain = level.plain && (op.info.plain || op.glyphLines);
                draws(i);
                break;
            }
        }
    }

    QByteArray take(qsizetype lead) const
    {
        qsizetype size = lead;
        for (const Piece& piece : pieces_)
            if (piece.kept)
                size += piece.made >= 0 ? qsizetype(made_[size_t(piece.made)].size()) : qsizetype(piece.size);
        QByteArray out(size, Qt::Uninitialized);
        char* to = out.data();
        // Most pieces follow on from the one before in the content: each
        // run of them is copied at once, not piece by piece.
        size_t runAt = 0, runSize = size_t(lead);
        for (const Piece& piece : pieces_) {
            if (!piece.kept)
                continue;
            if (piece.made < 0 && piece.at == runAt + runSize) {
                runSize += piece.size;
                continue;
            }
            std::memcpy(to, s_.data() + runAt, runSize);
            to += runSize;
            if (piece.made >= 0) {
                const std::string& made = made_[size_t(piece.made)];
                to = std::copy(made.begin(), made.end(), to);
                runSize = 0;
            } else {
                runAt = piece.at;
                runSize = piece.size;
            }
        }
        std::memcpy(to, s_.data() + runAt, runSize);
        return out;
    }

private:
    // A level of q ... Q: the state in it, the piece of its "q", whether
    // anything was drawn in it, and the pieces of the "q" and the "Q" of
    // the last level closed in it.
    struct Level {
        State state;
        size_t save = 0;
        bool drew = false;
        size_t lastClosedSave = SIZE_MAX;
        size_t lastClosedRestore = SIZE_MAX;
        uint32_t touched = 0;  // the slots set in it, by bit
        bool plain = true;     // nothing set in it that the trim does not follow
    };

    // A save closed just before the next one opens, which that one may
    // join: the level closed, and what its closing changed.
    struct Merge {
        bool armed = false;
        Level level;
        size_t restorePiece = 0;
        size_t lastClosedSave = 0, lastClosedRestore = 0;  // the outer level's before
        size_t from = 0;                                   // the op after the next "q"
    };

    static bool Setting(Kind kind)
    {
        return kind == Kind::kSet || kind == Kind::kColour || kind == Kind::kSpace || kind == Kind::kSpaceColour ||
               kind == Kind::kGraphicsSet;
    }

    static uint32_t Bit(size_t slot) { return uint32_t(1) << slot; }

    // The text object open (or ended last): where its line starts, in
    // the text space of its matrix, where that is known; and, while it
    // may go on in the one ended just before it, the pieces that then go
    // and where that one's line was.
    struct Text {
        bool placed = false;
        std::array<PdfDecimal, 6> matrix{PdfDecimal{1, 0}, {}, {}, PdfDecimal{1, 0}, {}, {}};
        std::array<PdfDecimal, 2> line{};
        bool joining = false;
        size_t endPiece = 0, beginPiece = 0, matrixPiece = SIZE_MAX;
        std::array<PdfDecimal, 6> before{};
        std::array<PdfDecimal, 2> beforeLine{};
        std::array<PdfDecimal, 2> shift{};  // from the matrix before to this one's
    };

    static Value operands(const Operation& op) { return {op.from, op.operandsEnd - op.from}; }

    bool same(const Value& a, const Value& b) const
    {
        if (a.at == kUnknown || b.at == kUnknown || a.size != b.size)
            return false;
        if (a.at == kInitialColour || b.at == kInitialColour)
            return a.at == b.at;
        return std::memcmp(s_.data() + a.at, s_.data() + b.at, a.size) == 0;
    }

    void put(const Operation& op) { pieces_.push_back({op.from, op.to - op.from, -1, true}); }

    // The run's lines at ops_[i] as one string where its widths and the
    // text size are known and nothing follows in its text object that
    // would be placed from where it ends; as they are otherwise.
    void glyphLines(size_t i)
    {
        const Operation& op = ops_[i];
        const size_t run = run_++;
        const int32_t count = runs_->counts[run];
        const size_t first = nextWidth_;
        if (count != GlyphRunWidths::kUnknown)
            nextWidth_ += size_t(count);
        drawn();
        double size = 0;
        std::string made;
        made.reserve(op.to - op.from);
        if (count != GlyphRunWidths::kUnknown && i + 1 < ops_.size() &&
            s_.substr(ops_[i + 1].from, ops_[i + 1].end - ops_[i + 1].from) == "ET" && textSize(&size) &&
            WriteGlyphString(s_.substr(op.from, op.end - op.from), runs_->widths.data() + first, size_t(count), size,
                             &made)) {
            made.append(s_.substr(op.end, op.to - op.end));
            placeRun(&made);
            made_.push_back(std::move(made));
            pieces_.push_back({0, 0, int32_t(made_.size() - 1), true});
            return;
        }
        text_.placed = text_.joining = false;
        put(op);
    }

    // The operator at ops_[i], which draws or places text: written, and
    // where it begins, places or ends text, followed.
    void draws(size_t i)
    {
        const Operation& op = ops_[i];
        switch (op.key) {
        case PdfOpKey("BT"): {
            // Text begun just where the text before ended, in the same
            // state, may go on in that text object (see placeRun).
            const bool after = ended_ != SIZE_MAX && ended_ == pieces_.size() - 1 && pieces_.back().kept;
            const Text& before = endedText_;  // not text_, set anew below
            text_ = {};
            text_.placed = true;  // at the start of the text space
            if (after && before.placed && !clipsText_ && opaque()) {
                text_.joining = true;
                text_.endPiece = ended_;
                text_.before = before.matrix;
                text_.beforeLine = before.line;
            }
            put(op);
            text_.beginPiece = pieces_.size() - 1;
            break;
        }
        case PdfOpKey("ET"):
            put(op);
            ended_ = pieces_.size() - 1;
            endedText_ = text_;
            break;
        case PdfOpKey("Tm"): {
            put(op);
            std::array<PdfDecimal, 6> m;
            if (!Numbers(s_.substr(op.from, op.operandsEnd - op.from), &m)) {
                text_.placed = text_.joining = false;
                break;
            }
            if (text_.joining && (text_.matrixPiece != SIZE_MAX || !Shift(text_.before, m, &text_.shift)))
                text_.joining = false;
            if (text_.joining)
                text_.matrixPiece = pieces_.size() - 1;
            text_.placed = true;
            text_.matrix = m;
            text_.line = {};
            break;
        }
        default:
            put(op);
            text_.placed = text_.joining = false;
            break;
        }
        drawn();
    }

    // A run written anew at the start of its line ("x y Td [...]TJ"):
    // where text before it ended just before its own began, with the same
    // matrix but for where it starts, the two text objects are one and the
    // run's line is placed from the line before, exactly where it was.
    void placeRun(std::string* made)
    {
        const size_t td = made->find(" Td ");
        std::array<PdfDecimal, 2> at;
        if (!text_.placed || td == std::string::npos || !Numbers(std::string_view(*made).substr(0, td), &at)) {
            text_.placed = text_.joining = false;
            return;
        }
        std::array<PdfDecimal, 2> line;
        if (!text_.joining || text_.matrixPiece == SIZE_MAX) {
            text_.joining = false;
            if (!PdfAddDecimals(text_.line[0], at[0], false, &line[0]) ||
                !PdfAddDecimals(text_.line[1], at[1], false, &line[1])) {
                text_.placed = false;
                return;
            }
            text_.line = line;
            return;
        }
        // Where a number would not fit in 64 bits, the run stays in its own
        // text object.
        std::array<PdfDecimal, 2> step;
        for (size_t k = 0; k < 2; ++k) {
            PdfDecimal shifted;
            if (!PdfAddDecimals(text_.shift[k], at[k], false, &shifted) ||
                !PdfAddDecimals(shifted, text_.beforeLine[k], true, &step[k]) ||
                !PdfAddDecimals(text_.beforeLine[k], step[k], false, &line[k])) {
                text_.placed = text_.joining = false;
                return;
            }
        }
        char numbers[2 * 48];
        char* to = numbers;
        for (size_t k = 0; k < 2; ++k) {
            to = PdfWriteDecimal(to, step[k].units, step[k].places);
            *to++ = ' ';
        }
        made->replace(0, td + 1, numbers, size_t(to - numbers));
        pieces_[text_.endPiece].kept = false;
        pieces_[text_.beginPiece].kept = false;
        pieces_[text_.matrixPiece].kept = false;
        text_.matrix = text_.before;
        text_.line = line;
        text_.joining = false;
    }

    // Whether glyphs are painted opaquely: so two text objects drawn one
    // after the other draw the same as one (overlapping glyphs of one text
    // object knock each other out only where they are not opaque). The
    // engine names its one opaque graphics state /GSa.
    bool opaque() const
    {
        const Value& named = levels_.back().state[kGraphicsApplied];
        return named.at == kUnknown || s_.substr(named.at, named.size) == "/GSa";
    }

    // The size of the font in effect, from its "Tf".
    bool textSize(double* size) const
    {
        const Value& font = levels_.back().state[kFont];
        if (font.at == kUnknown || font.at == kInitialColour)
            return false;
        const std::string_view operands = s_.substr(font.at, font.size);
        const size_t space = operands.find_last_of(" \t\r\n");
        return space != std::string_view::npos && PdfReadReal(operands.substr(space + 1), size);
    }

    void drawn()
    {
        for (Level& level : levels_)
            level.drew = true;
    }

    // The setting at ops_[i] followed in `state`, its slots noted in
    // `touched`; false when it sets nothing new and goes.
    bool settle(size_t i, State* state, uint32_t* touched) const
    {
        const Operation& op = ops_[i];
        State& st = *state;
        const Slot slot = op.info.slot;
        switch (op.info.kind) {
        case Kind::kSpace: {
            // Setting the space in effect again only resets its colour:
            // nothing, when the colour is set next.
            const Value space = operands(op);
            const Slot colour = slot == kFillSpace ? kFillColour : kStrokeColour;
            const bool colourNext =
                i + 1 < ops_.size() && ops_[i + 1].info.kind == Kind::kColour && ops_[i + 1].info.slot == colour;
            if (same(space, st[slot]) && (colourNext || st[colour].at == kInitialColour))
                return false;
            st[slot] = space;
            st[colour] = {kInitialColour, 0};
            *touched |= Bit(slot) | Bit(colour);
            return true;
        }
        case Kind::kSpaceColour: {
            // The operator names the space: "0 g" differs from "0 sc".
            const Value colour{op.from, op.end - op.from};
            const Slot space = slot == kFillColour ? kFillSpace : kStrokeSpace;
            if (same(colour, st[slot]))
                return false;
            st[slot] = colour;
            st[space] = {};
            *touched |= Bit(slot) | Bit(space);
            return true;
        }
        case Kind::kGraphicsSet: {
            const Value named = operands(op);
            if (same(named, st[slot]))
                return false;
            // The dictionary may set any of the states but colours.
            for (size_t k = kGraphicsState; k < kSlotCount; ++k) {
                st[k] = {};
                *touched |= Bit(k);
            }
            st[slot] = named;
            st[kGraphicsApplied] = named;
            return true;
        }
        default: {
            const Value value = operands(op);
            if (same(value, st[slot]))
                return false;
            st[slot] = value;
            *touched |= Bit(slot);
            // A graphics state dictionary set before may no longer hold:
            // no longer taken for one in effect (nothing it set changes).
            if (slot > kGraphicsState)
                st[kGraphicsState] = {};
            return true;
        }
        }
    }

    // Whether the save closed just before may hold what the next one,
    // whose settings (and the start of its text) end at ops_[i], draws.
    // Each setting that set something anew there is followed from the
    // first one's state instead (a setting is the same whatever the state
    // it meets); where that leaves all the first one set as the next one
    // has it, the restore and the save between go, and the settings are
    // written anew from the first one's state.
    bool merge(size_t i)
    {
        if (ops_[i].info.kind == Kind::kRestore)
            return false;  // nothing drawn: the next save goes as it is
        State apart = levels_[levels_.size() - 2].state;
        State joined = merge_.level.state;
        uint32_t touched = 0;
        for (size_t k = merge_.from; k < i; ++k)
            if (Setting(ops_[k].info.kind) && settle(k, &apart, &touched))
                settle(k, &joined, &touched);
        for (size_t k = 0; k < kSlotCount; ++k)
            if ((merge_.level.touched & Bit(k)) && !same(joined[k], apart[k]))
                return false;
        pieces_.resize(merge_.restorePiece);
        levels_.pop_back();
        levels_.back().lastClosedSave = merge_.lastClosedSave;
        levels_.back().lastClosedRestore = merge_.lastClosedRestore;
        apart = levels_.back().state;
        Level& level = levels_.emplace_back(merge_.level);
        for (size_t k = merge_.from; k < i; ++k) {
            if (!Setting(ops_[k].info.kind))
                draws(k);  // where text begins and is placed
            else if (settle(k, &apart, &touched) && settle(k, &level.state, &level.touched))
                put(ops_[k]);
        }
        return true;
    }

    void save(const Operation& op)
    {
        put(op);
        levels_.push_back({levels_.back().state, pieces_.size() - 1});
    }

    void restore(size_t i)
    {
        const Operation& op = ops_[i];
        if (levels_.size() < 2) {
            put(op);  // a restore without its save: as it was
            drawn();
            return;
        }
        const Level& closed = levels_.back();
        if (!closed.drew) {
            // Nothing drawn: the save, and all it set, go.
            pieces_.resize(closed.save);
            levels_.pop_back();
            return;
        }
        // A save restored just before its level's own restore keeps
        // nothing apart: what it set goes at that restore all the same.
        const bool inner = closed.lastClosedRestore != SIZE_MAX && closed.lastClosedRestore == pieces_.size() - 1;
        if (inner) {
            pieces_[closed.lastClosedSave].kept = false;
            pieces_[closed.lastClosedRestore].kept = false;
        }
        // A save that set only what the trim follows may take in the next.
        if (!inner && closed.plain && i + 1 < ops_.size() && ops_[i + 1].info.kind == Kind::kSave) {
            const Level& outer = levels_[levels_.size() - 2];
            merge_ = {true, closed, pieces_.size(), outer.lastClosedSave, outer.lastClosedRestore, i + 2};
        }
        const size_t save = closed.save;
        levels_.pop_back();
        put(op);
        levels_.back().lastClosedSave = save;
        levels_.back().lastClosedRestore = pieces_.size() - 1;
    }

    std::string_view s_;
    const std::vector<Operation>& ops_;
    const GlyphRunWidths* runs_;
    size_t run_ = 0;        // the next run's
    size_t nextWidth_ = 0;  // and where its widths begin
    std::vector<Piece>& pieces_;
    std::vector<Level> levels_;
    std::vector<std::string> made_;
    Merge merge_;
    Text text_;
    size_t ended_ = SIZE_MAX;  // the piece of the last "ET"
    Text endedText_;
    bool clipsText_ = false;  // text may be drawn as a clip: its objects stay apart
};

}  // namespace

// Whether the page's runs of glyphs pair with `runs` one for one, each
// with as many glyphs as widths where these are known.
bool RunsPair(std::string_view s, const std::vector<Operation>& ops, const GlyphRunWidths& runs)
{
    size_t run = 0;
    for (const Operation& op : ops) {
        if (!op.glyphLines)
            continue;
        if (run == runs.counts.size())
            return false;
        const int32_t count = runs.counts[run++];
        const std::string_view lines = s.substr(op.from, op.end - op.from);
        if (count != GlyphRunWidths::kUnknown &&
            PdfCountLineBreaks(lines.data(), lines.data() + lines.size()) != size_t(count))
            return false;
    }
    return run == runs.counts.size();
}

QByteArray TrimPageContent(const QByteArray& content, const GlyphRunWidths* runs)
{
    const std::string_view s(content.constData(), size_t(content.size()));
    if (s.size() >= kInitialColour)
        return content;
    // Kept for the thread's next page: a page's operators take more room
    // than the page itself.
    thread_local std::vector<Operation> ops;
    thread_local std::vector<Piece> pieces;
    ops.clear();
    bool spaced = false;
    if (!ReadOps(s, &ops, &spaced) || ops.empty())
        return content;
    // Runs that cannot be told apart, or whose glyphs would move with the
    // spacing, keep their lines.
    if (runs && (runs->empty() || spaced || !RunsPair(s, ops, *runs)))
        runs = nullptr;
    Trimmer trimmer(s, ops, runs, &pieces);
    trimmer.run();
    // What came before the first operator stays.
    return trimmer.take(qsizetype(ops.front().from));
}
