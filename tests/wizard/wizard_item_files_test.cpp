// Item files and template files: round trips, packing, damaged files, and
// making them from pictures the user chose.
#include <gtest/gtest.h>

#include <QImage>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "catalog/backdrop_list.h"
#include "catalog/item_file.h"
#include "catalog/item_file_format.h"
#include "catalog/template_file.h"
#include "catalog/template_file_format.h"
#include "catalog/template_list.h"
#include "catalog/wizard_designs.h"
#include "catalog/wizard_list_format.h"
#include "catalog/wizard_results.h"
#include "foundation/byte_order.h"
#include "foundation/handle.h"
#include "foundation/win_error.h"
#include "graphics/dib_pixels.h"
#include "support/shell.h"
#include "wizard_fixture.h"

namespace {

Handle Bytes(const std::string& s)
{
    Handle h = nullptr;
    HandleFromBytes(s.data(), &h, uint32_t(s.size()));
    return h;
}

// Many repeats of a letter, then a tail that tells the end apart.
std::string Filler(size_t n, char c, const char* tail)
{
    std::string s(n, c);
    s.append(tail);
    return s;
}

std::string Text(Handle h) { return std::string(HandleData<char>(h), HandleGetSize(h)); }

class ItemFiles : public WizardHome {
protected:
    void SetUp() override
    {
        WizardHome::SetUp();
        ASSERT_EQ(EnsureWizardFiles(), 0);
    }

    std::string PictureFile(const char* name, int width, int height)
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::blue);
        const std::string p = dir.file(name);
        EXPECT_TRUE(image.save(QString::fromStdString(p)));
        return p;
    }

    // A template file with distinct blocks, packed or not.
    std::string SaveTemplate(const char* name, bool packed)
    {
        uint8_t header[kTemplateHeaderSize] = {};
        std::strcpy(reinterpret_cast<char*>(header + kTemplateNameAt), "Party");
        PutF64LE(header + kTemplateWidthAt, 252);
        PutF64LE(header + kTemplateHeightAt, 144);
        PutU32LE(header + kTemplatePackedAt, packed ? 1 : 0);
        HandleOwner one(Bytes(Filler(3000, 'd', "document")));
        HandleOwner two(Bytes("preview bits"));
        const std::string p = dir.file(name);
        const PathRecord r = PosixRecord(p);
        EXPECT_EQ(SaveTemplateFile(&r, header, one.get(), two.get()), 0);
        return p;
    }
};

TEST_F(ItemFiles, ItemFileRoundTripIsPacked)
{
    const PathRecord path = PosixRecord(dir.file("x.bp"));
    uint8_t header[kItemHeaderSize] = {};
    std::strcpy(reinterpret_cast<char*>(header + kItemSourceAt), "source.png");
    PutU32LE(header + kItemKindAt, kWizPictureMetafile);
    const std::string body = Filler(5000, 'z', "end");
    HandleOwner in(Bytes(body));
    ASSERT_EQ(WriteItemFile(&path, header, in.get()), 0);
    const std::string file = ReadFileBytes(dir.file("x.bp"));
    EXPECT_EQ(file.substr(0, 4), "KCAB");
    EXPECT_EQ(GetU32LE(header + kItemVersionAt), 3u);
    EXPECT_EQ(GetU32LE(header + kItemPackedAt), 1u);
    EXPECT_EQ(GetU32LE(header + kItemSizeAt), body.size());
    EXPECT_EQ(file.size(), 128u + GetU32LE(header + kItemStoredSizeAt));
    EXPECT_LT(file.size(), 200u);

    uint8_t read[kItemHeaderSize];
    HandleOwner out(HandleNew(0));
    ASSERT_EQ(ReadItemFile(&path, read, out.get()), 0);
    EXPECT_EQ(Text(out.get()), body);
    EXPECT_EQ(std::memcmp(read, header, kItemHeaderSize), 0);

    // A file whose body is stored raw reads as well.
    std::string raw = file.substr(0, 128) + body;
    PutU32LE(reinterpret_cast<uint8_t*>(&raw[84]), 0);
    EXPECT_EQ(ParseItemFile(reinterpret_cast<const uint8_t*>(raw.data()), raw.size(), read, out.get()), 0);
    EXPECT_EQ(Text(out.get()), body);
}

TEST_F(ItemFiles, DamagedItemFilesAreRefused)
{
    const PathRecord path = PosixRecord(dir.file("x.bp"));
    uint8_t header[kItemHeaderSize] = {};
    HandleOwner in(Bytes(std::string(4000, 'q')));
    ASSERT_EQ(WriteItemFile(&path, header, in.get()), 0);
    const std::string good = ReadFileBytes(dir.file("x.bp"));
    using Change = std::function<void(std::string&)>;
    const std::vector<std::pair<int32_t, Change>> cases = {
        {kWizWrongCode, [](std::string& f) { f[0] = 'X'; }},
        {kWizWrongVersion, [](std::string& f) { f[68] = 4; }},
        {kWizWrongCode, [](std::string& f) { f.resize(f.size() - 1); }},
        {kWizWrongCode, [](std::string& f) { PutU32LE(reinterpret_cast<uint8_t*>(&f[92]), 0x7FFFFFFF); }},
        {kWizWrongCode, [](std::string& f) { PutU32LE(reinterpret_cast<uint8_t*>(&f[88]), 0x7FFFFFFF); }},
        {kWizWrongCode, [](std::string& f) { PutU32LE(reinterpret_cast<uint8_t*>(&f[88]), 3999); }},
        {kWizWrongCode, [](std::string& f) { PutU32LE(reinterpret_cast<uint8_t*>(&f[84]), 0); }},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        std::string bad = good;
        cases[i].second(bad);
        uint8_t read[kItemHeaderSize];
        HandleOwner out(HandleNew(0));
        const int32_t err = ParseItemFile(reinterpret_cast<const uint8_t*>(bad.data()), bad.size(), read, out.get());
        EXPECT_NE(err, 0) << i;
        if (cases[i].first == kWizWrongVersion) {
            EXPECT_EQ(err, kWizWrongVersion) << i;
        }
    }
    // Damaged compressed bits.
    std::string bad = good;
    bad[140] = char(bad[140] ^ 0x55);
    uint8_t read[kItemHeaderSize];
    HandleOwner out(HandleNew(0));
    EXPECT_NE(ParseItemFile(reinterpret_cast<const uint8_t*>(bad.data()), bad.size(), read, out.get()), 0);
    EXPECT_EQ(ParseItemFile(reinterpret_cast<const uint8_t*>(good.data()), 100, read, out.get()), kErrHandleEof);
}

TEST_F(ItemFiles, TemplateFilesPackedAndRaw)
{
    for (bool packed : {true, false}) {
        SCOPED_TRACE(packed);
        const std::string p = SaveTemplate("t.tp", packed);
        const std::string file = ReadFileBytes(p);
        EXPECT_EQ(file.substr(0, 4), "LPMT");
        if (!packed) {
            EXPECT_EQ(file.size(), 144u + 3008 + 12);
        }
        const PathRecord r = PosixRecord(p);
        uint8_t header[kTemplateHeaderSize];
        HandleOwner block(HandleNew(0));
        ASSERT_EQ(LoadTemplateFile(&r, header, block.get(), kTemplatePreviewBlock), 0);
        EXPECT_EQ(Text(block.get()), "preview bits");
        ASSERT_EQ(LoadTemplateFile(&r, header, block.get(), kTemplateDocumentBlock), 0);
        EXPECT_EQ(Text(block.get()), Filler(3000, 'd', "document"));
        EXPECT_EQ(GetU32LE(header + kTemplateVersionAt), 4u);
        EXPECT_EQ(GetF64LE(header + kTemplateWidthAt), 252.0);
        ASSERT_EQ(LoadTemplateFile(&r, header, nullptr, 0), 0);
        EXPECT_STREQ(reinterpret_cast<const char*>(header + kTemplateNameAt), "Party");

        // Damage: another code, another version, blocks beyond the file.
        for (int k = 0; k < 4; ++k) {
            std::string bad = file;
            if (k == 0)
                bad[1] = 'Q';
            if (k == 1)
                bad[4] = 3;
            if (k == 2)
                bad.resize(bad.size() - 5);
            if (k == 3)
                PutU32LE(reinterpret_cast<uint8_t*>(&bad[packed ? 104 : 92]), 0x7FFFFFF0);
            const int32_t err = ParseTemplateFile(reinterpret_cast<const uint8_t*>(bad.data()), bad.size(), header,
                                                  block.get(), kTemplatePreviewBlock);
            EXPECT_EQ(err, k == 1 ? kWizWrongVersion : kWizWrongCode) << k;
        }
    }
}

TEST_F(ItemFiles, ImportingATemplateTwiceMakesTwoCopies)
{
    const std::string source = SaveTemplate("Birthday Card.tp", false);
    const PathRecord r = PosixRecord(source);
    int32_t first = 0, second = 0;
    uint8_t info[kTmInSize];
    ASSERT_EQ(ReadTemplateFile(&r, &first, info), 0);
    ASSERT_EQ(ReadTemplateFile(&r, &second, info), 0);
    EXPECT_NE(first, second);
    EXPECT_STREQ(reinterpret_cast<const char*>(info + kTmInFileAt), "tmpl001.tp");
    EXPECT_STREQ(reinterpret_cast<const char*>(info + kTmInNameAt), "Birthday Card");
    EXPECT_EQ(GetU32LE(info + kTmInVersionAt), 4u);
    double w = 0, h = 0;
    TemplateInfoSize(info, &w, &h);
    EXPECT_EQ(w, 252.0);
    EXPECT_EQ(h, 144.0);
    EXPECT_FALSE(ReadFileBytes(WizardFile("Templates/tmpl000.tp")).empty());
    // The copies are stored packed.
    const std::string copy = ReadFileBytes(WizardFile("Templates/tmpl001.tp"));
    EXPECT_EQ(GetU32LE(reinterpret_cast<const uint8_t*>(copy.data()) + kTemplatePackedAt), 1u);
    HandleOwner preview(LoadTemplatePreviewData(second));
    ASSERT_TRUE(preview.get());
    EXPECT_EQ(Text(preview.get()), "preview bits");

    // A file that is no template is refused with a box, and nothing is
    // added.
    WriteFileBytes(dir.file("bad.tp"), "not a template at all");
    const PathRecord bad = PosixRecord(dir.file("bad.tp"));
    int32_t id = 0;
    EXPECT_NE(ReadTemplateFile(&bad, &id, info), 0);
    EXPECT_EQ(alerts.lastText().find("Error read template or template is old version."), 0u);
    EXPECT_TRUE(ReadFileBytes(WizardFile("Templates/tmpl002.tp")).empty());
}

TEST_F(ItemFiles, BackdropFromAPicture)
{
    const std::string picture = PictureFile("Sunset.png", 12, 7);
    const PathRecord source = PosixRecord(picture);
    int32_t group = 0, n = 0;
    uint8_t item[kBkItemSize];
    ASSERT_EQ(ReadBackdropFile(&source, nullptr, &group, &n, item), 0);
    EXPECT_EQ(group, 1);
    EXPECT_EQ(n, 1);
    EXPECT_STREQ(reinterpret_cast<const char*>(item + kBkItemNameAt), "Sunset");
    EXPECT_STREQ(reinterpret_cast<const char*>(item + kBkItemSourceAt), "Sunset.png");
    EXPECT_STREQ(reinterpret_cast<const char*>(item + kBkItemFileAt), "bckp000.bp");
    EXPECT_EQ(GetU32LE(item + kBkItemHeaderAt + 12), kWizPictureDib) << "the item file's kind";

    ASSERT_EQ(ReadBackdropFile(&source, "Dusk", &group, &(n = 0), item), 0);
    EXPECT_EQ(n, 2);
    DibHandleOwner shown(GetBackdropPicture(group, 2));
    ASSERT_TRUE(shown.get() && !DibHandleIsEmpty(shown.get()));
    EXPECT_EQ(DibHandleWidth(shown.get()), 12);
    EXPECT_EQ(DibHandleHeight(shown.get()), 7);
    uint32_t kind = 0;
    Handle data = nullptr;
    ASSERT_EQ(GetBackdropPictureData(group, 1, &kind, &data), 0);
    EXPECT_EQ(kind, kWizPictureDib);
    DibHandleFree(&data);

    // No picture, no item file and no item.
    WriteFileBytes(dir.file("words.txt"), "hello");
    const PathRecord words = PosixRecord(dir.file("words.txt"));
    EXPECT_EQ(ReadBackdropFile(&words, nullptr, &group, &(n = 0), item), 1);
    EXPECT_TRUE(ReadFileBytes(WizardFile("Backdrops/bckp002.bp")).empty());
    int32_t count = 0;
    GetGroupItemCount(group, &count);
    EXPECT_EQ(count, 2);

    // A header picture, and the default for a missing one.
    ASSERT_EQ(SaveHeaderPicture(&source, 3), 0);
    DibHandleOwner headerPicture(GetHeaderPicture(3));
    ASSERT_TRUE(headerPicture.get());
    EXPECT_EQ(DibHandleWidth(headerPicture.get()), 12);
}

}  // namespace
