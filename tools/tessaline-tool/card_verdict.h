// One judgement of a card document for the commands that read one to make
// something of it (print-pdf, print-ps, card dump), so that a script gets
// the same answer from each: a card that cannot be read whole, or that
// reading found damaged, is refused by all of them.
#pragma once

#include <memory>
#include <string>

#include "foundation/path_record.h"

class CLabelsDoc;

enum class CardVerdict { kGood, kNotCardFile, kOtherVersion, kDamaged, kCannotOpen, kInUse, kNoCardOnSheet, kPageMissing };

// The words card dump prints after "check: ".
const char* CardVerdictText(CardVerdict verdict);

// Why the card is refused, after its file's name: "is damaged".
const char* CardRefusal(CardVerdict verdict);

// Opens the card; null, with the verdict, unless it is good. The opening's
// own messages (such as that the document is damaged) have been said.
std::unique_ptr<CLabelsDoc> OpenJudgedCard(const PathRecord& path, CardVerdict* verdict);
