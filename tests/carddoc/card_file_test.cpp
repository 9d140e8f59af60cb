// The card document file as written and read: its layout to the byte, a
// document that comes back whole, and the files that are refused.
#include <gtest/gtest.h>

#include <string>

#include "card_test_support.h"
#include "card_view_image.h"
#include "carddoc/card_document_format.h"
#include "foundation/byte_order.h"
#include "frames/curr_page_mng.h"
#include "frames/page_table.h"
#include "graphics/dib_handle.h"
#include "records/print_settings_format.h"

namespace {

uint32_t Word(const std::string& bytes, size_t at) { return GetU32LE(reinterpret_cast<const uint8_t*>(&bytes[at])); }

using CardFile = CardDocTest;

TEST_F(CardFile, ASavedCardHasTheHeaderBlocksAndSectionsInPlace)
{
    auto doc = CardWithText("Ada Lovelace\rAnalyst");
    const PathRecord path = DocPath("card.lqx");
    ASSERT_TRUE(doc->DoSave(&path));
    const std::string b = Bytes("card.lqx");
    ASSERT_GT(b.size(), size_t(kCardDataStart));
    EXPECT_EQ(b.substr(0, 20), std::string("\0\0\0\0blXQ1_XQblXQ\x0A\0\0\0", 20));
    EXPECT_EQ(Word(b, kCardEndOfData), b.size());
    EXPECT_EQ(Word(b, kCardPrintOffset), kCardDataStart);
    EXPECT_EQ(b.substr(kCardFixedEnd, kCardDataStart - kCardFixedEnd), std::string(kCardDataStart - kCardFixedEnd, '\0'));
    // Untouched print settings.
    const std::string print = b.substr(kCardDataStart, kPrintSettingsSize);
    EXPECT_EQ(GetI16LE(reinterpret_cast<const uint8_t*>(&print[12])), 2);
    EXPECT_EQ(GetF64LE(reinterpret_cast<const uint8_t*>(&print[16])), 25.0);
    EXPECT_EQ(GetI16LE(reinterpret_cast<const uint8_t*>(&print[24])), 1);
    EXPECT_EQ(Word(b, CardSectionOffsetAt(kSectionColours)), kCardDataStart + kPrintSettingsSize);
    // Sections follow one another; the empty ones have no length.
    EXPECT_EQ(Word(b, CardSectionOffsetAt(kSectionFonts)),
              Word(b, CardSectionOffsetAt(kSectionColours)) + Word(b, CardSectionLengthAt(kSectionColours)));
    EXPECT_EQ(Word(b, CardSectionLengthAt(kSectionEmpty4)), 0u);
    EXPECT_EQ(Word(b, CardSectionOffsetAt(kSectionPages)), Word(b, CardSectionOffsetAt(kSectionEmpty4)));
    // No thumbnail with the default preferences.
    EXPECT_EQ(Word(b, kCardThumbnailLength), 0u);
    EXPECT_EQ(Word(b, kCardThumbnailOffset), b.size());
    EXPECT_EQ(Word(b, kCardThumbnailKindAt), FourCC("DIB "));
    EXPECT_EQ(Word(b, kCardPageCount), 2u) << "a two-sided card has front and back";
    EXPECT_EQ(Word(b, kCardFrameCount), 2u);
    EXPECT_EQ(Word(b, kCardStoryCount), 1u);
    EXPECT_EQ(Word(b, kCardStatus), 0u);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(alerts_.boxes().empty()) << alerts_.lastText();
}

TEST_F(CardFile, AReopenedCardHasItsPagesFramesTextAndSettings)
{
    {
        auto doc = CardWithText("Ada Lovelace\rAnalyst");
        doc->PrintSettings().bytes[30] = 7;
        const PathRecord path = DocPath("card.lqx");
    ASSERT_TRUE(doc->DoSave(&path));
    }
    auto doc = OpenCardDocument(DocPath("card.lqx"));
    ASSERT_NE(doc, nullptr) << alerts_.lastText();
    EXPECT_EQ(doc->GetPageCount(), 2);
    EXPECT_EQ(doc->Frames()->Count(), 2);
    EXPECT_EQ(FirstStoryText(*doc), "\rAda Lovelace\rAnalyst\r");
    EXPECT_EQ(doc->PrintSettings().bytes[30], 7);
    EXPECT_EQ(doc->PageGeometry().cardWidth, 252.0);
    EXPECT_EQ(doc->PageGeometry().sides, 2);
    doc->InitialUpdate();
    EXPECT_EQ(doc->GetCurrentPage(), 1);
    EXPECT_GE(doc->PageManager()->FrameCount(), 2);
    EXPECT_TRUE(alerts_.boxes().empty()) << alerts_.lastText();
}

TEST_F(CardFile, AThumbnailIsWrittenOnlyWhenThePreferencesAskForIt)
{
    auto doc = CardWithText("Thumb");
    ImageCardView view(600, 400);
    doc->SetView(&view);
    const PathRecord plain = DocPath("plain.lqx");
    ASSERT_TRUE(doc->DoSave(&plain));
    DibHandle dib = nullptr;
    EXPECT_EQ(ReadDocumentThumbnail(plain, &dib), 1);

    PutU32LE(doc->GeneralPrefs() + kPrefThumbnail, 1);
    const PathRecord thumb = DocPath("thumb.lqx");
    ASSERT_TRUE(doc->DoSave(&thumb));
    const std::string b = Bytes("thumb.lqx");
    EXPECT_GT(Word(b, kCardThumbnailLength), 4u);
    EXPECT_EQ(Word(b, kCardThumbnailOffset) + Word(b, kCardThumbnailLength), b.size());
    EXPECT_EQ(ReadDocumentThumbnail(thumb, &dib), 1) << "the document holds its file";
    WriteFileBytes(docs_.file("copy.lqx"), b);
    ASSERT_EQ(ReadDocumentThumbnail(DocPath("copy.lqx"), &dib), 0);
    DibRecord* picture = DibHandleBlockSlot(dib);
    ASSERT_NE(picture, nullptr);
    EXPECT_GT(picture->byteSize, 252u * 144u * 3u) << "the card at full size";
    DibHandleFree(&dib);
    EXPECT_EQ(doc->PageManager()->FrameCount(), 2) << "the page shown before is shown again";

    // A file saved with errors gives no thumbnail.
    doc.reset();
    std::string damaged = Bytes("thumb.lqx");
    PutU32LE(reinterpret_cast<uint8_t*>(&damaged[kCardStatus]), 1);
    WriteFileBytes(docs_.file("damaged.lqx"), damaged);
    EXPECT_EQ(ReadDocumentThumbnail(DocPath("damaged.lqx"), &dib), 1);
}

}  // namespace
