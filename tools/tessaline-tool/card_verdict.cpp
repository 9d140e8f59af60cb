#include "card_verdict.h"

#include "carddoc/card_document_header.h"
#include "carddoc/labels_doc.h"
#include "carddoc/labels_doc_registry.h"
#include "carddoc/print_manager.h"
#include "foundation/file_io.h"
#include "foundation/win_error.h"

namespace {

// In the order of CardVerdict.
struct VerdictWords {
    const char* check;
    const char* refusal;
};
constexpr VerdictWords kWords[] = {
    {"good", "is good"},
    {"not a card document", "is not a card document"},
    {"another version", "is a card document of another version"},
    {"damaged", "is damaged"},
    {"cannot be opened", "cannot be opened"},
    {"in use", "is open in another window or program"},
    {"no card on its sheet", "has a label layout that places no card on its sheet"},
    {"a page missing", "is missing a page of its card (the file is damaged)"},
};

CardVerdict HeaderVerdict(const PathRecord& path)
{
    FileHandle h = kNoFile;
    // Every open holds its file to itself, a reader's too: a card open in
    // a window or another print can't be read here, which is not its fault.
    if (const int32_t err = FileOpen(&path, kFileRead, &h); err != 0) {
        if (err == kErrSharingViolation)
            return CardVerdict::kInUse;
        // Why: a pipe, a folder, links in a loop, ...
        char name[kPathTextSize] = {};
        PathRecordGetFileName(&path, name, sizeof name);
        AlertFileErrorAbout(name, err);
        return CardVerdict::kCannotOpen;
    }
    uint8_t bytes[kCardHeaderSize];
    uint32_t size = 0;
    const bool read = FileRead(h, bytes, sizeof bytes) == 0 && FileGetSize(h, &size) == 0;
    FileClose(h);
    if (!read)
        return CardVerdict::kNotCardFile;
    CardDocHeader header;
    DecodeCardHeader(bytes, &header);
    switch (CheckCardHeader(header, size)) {
    case CardHeaderCheck::kNotCardFile:
        return CardVerdict::kNotCardFile;
    case CardHeaderCheck::kOtherVersion:
        return CardVerdict::kOtherVersion;
    case CardHeaderCheck::kDamaged:
        return CardVerdict::kDamaged;
    case CardHeaderCheck::kGood:
        break;
    }
    return CardVerdict::kGood;
}

}  // namespace

const char* CardVerdictText(CardVerdict verdict) { return kWords[int(verdict)].check; }

const char* CardRefusal(CardVerdict verdict) { return kWords[int(verdict)].refusal; }

std::unique_ptr<CLabelsDoc> OpenJudgedCard(const PathRecord& path, CardVerdict* verdict)
{
    *verdict = HeaderVerdict(path);
    if (*verdict != CardVerdict::kGood)
        return nullptr;
    std::unique_ptr<CLabelsDoc> document = OpenCardDocument(path);
    if (!document)
        *verdict = CardVerdict::kCannotOpen;
    else if (document->FoundDamaged())
        *verdict = CardVerdict::kDamaged;
    else if (!NoCardOnSheetText(document->LabelLayout()).empty())
        *verdict = CardVerdict::kNoCardOnSheet;
    else if (!MissingPageText(document.get()).empty())
        *verdict = CardVerdict::kPageMissing;
    if (*verdict != CardVerdict::kGood)
        return nullptr;
    return document;
}
