// The open documents of the program, and how the application makes and
// opens card documents. At most 10 documents, cards and databases
// together, are open at once; an eleventh is refused without a message.
#pragma once

#include <cstdint>
#include <memory>

#include "foundation/path_record.h"

class CLabelsDoc;

// The most documents, cards and databases together, open at once.
constexpr int32_t kMaxOpenDocuments = 10;

// Every document counts itself in while it exists.
void RegisterOpenDocument(const void* document);
void UnregisterOpenDocument(const void* document);
int32_t OpenDocumentCount();
bool CanOpenAnotherDocument();

// A new untitled card document laid out with the set-up (5608 bytes; null:
// the built-in business-card layout); null when 10 documents are open or
// it cannot be made.
std::unique_ptr<CLabelsDoc> NewCardDocument(const uint8_t* docSetup = nullptr);
// The card document of the file; null when 10 documents are open, or after
// the message when the file cannot be opened (locked by another open,
// damaged, of another version, ...).
std::unique_ptr<CLabelsDoc> OpenCardDocument(const PathRecord& path);
