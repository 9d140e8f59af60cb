// The page table: one 244-byte record per page of the card
// (page_record_format.h). Frames name their page by its handle; the page
// number the user sees is kept in the record and renumbered whenever pages
// come or go. The whole table is one section of the document file.
#pragma once

#include <cstdint>

#include "foundation/file_io.h"
#include "frames/page_record_format.h"
#include "frames/store_array.h"

class FrameDocument;

class PageTable : public StoreArray {
public:
    explicit PageTable(FrameDocument* document);

    // Inserts n pages of the kind after the page numbered after (at the
    // start when no page has that number), at most up to 1000 pages, then
    // renumbers. Answers result unchanged.
    virtual int32_t InsertPages(int16_t after, int32_t n, int16_t kind, int32_t result);
    virtual void InitPage(uint8_t* record, int16_t kind);
    // This table deletes nothing and answers 0.
    virtual int32_t DeletePages(int16_t first, int16_t last);
    virtual void Renumber();

    uint32_t MaxHandle();
    // Index of the page with the handle (its number through number), or -1
    // and -32000.
    int32_t NumberOfHandle(uint32_t handle, int16_t* number);
    // Index of the page with the number (its handle through handle), or -1
    // and handle -1.
    int32_t HandleOfNumber(int16_t number, uint32_t* handle);
    // The record at index, or -1 with only handle, number, kind and the
    // bytes at 180 and 185 set in record.
    int32_t GetPage(int32_t index, uint8_t* record);
    int32_t PutPage(int32_t index, const uint8_t* record);

    // The page section at offset (-1: where the file stands). Read adopts
    // the records only when all of them could be read; otherwise it shows
    // the note and keeps what the table held.
    int32_t Read(FileHandle file, int32_t offset);
    int32_t Write(FileHandle file, int32_t offset);

    FrameDocument* Document() const { return document_; }

protected:
    FrameDocument* document_;
};
