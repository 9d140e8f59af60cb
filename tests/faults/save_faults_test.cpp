// The power goes at a random step of a save: of a card document, of the
// spelling dictionary and of a resource file. Afterwards each holds its
// old content or its new content, never a mix, and opens.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>

#include "carddoc/card_test_support.h"
#include "database/field_table.h"
#include "database/merge_text.h"
#include "database/preview_file.h"
#include "database/preview_file_format.h"
#include "fault_trials.h"
#include "foundation/pstr.h"
#include "foundation/resfile.h"
#include "text/dictionary_words.h"
#include "text/spell_dictionary.h"

namespace {

class SaveFaults : public CardDocTest {};

TEST_F(SaveFaults, CardDocumentSave)
{
    const PathRecord path = DocPath("card.lqx");
    {
        auto doc = CardWithText("The first version of the card");
        ASSERT_TRUE(doc->DoSave(&path));
    }
    RunCrashTrials<std::string>(
        "card save", docs_.path(), 1,
        [&](int parts, Trial* trial) {
            auto doc = OpenCardDocument(path);
            if (!doc)
                return;
            doc->InitialUpdate();
            doc->NewFrame(kFrameEllipse)->SetFromRect(IntRect{20, 20, 90, 60});
            if (parts) {
                doc->DoFileSave();
                if (trial)
                    trial->EndOfPart();
            }
        },
        [&](int64_t* checked) {
            ++*checked;
            // What opens must be what a save wrote whole.
            auto reopened = OpenCardDocument(path);
            const std::string bytes = Bytes("card.lqx");
            if (!reopened)
                return "(does not open) " + std::to_string(bytes.size());
            return bytes;
        });
}

void AddWords(const std::vector<std::string>& words)
{
    for (const std::string& w : words) {
        PStr p;
        p[0] = uint8_t(w.size());
        std::memcpy(p + 1, w.data(), w.size());
        AddWord(p);
    }
}

TEST_F(SaveFaults, DictionarySave)
{
    PathRecord record;
    ASSERT_EQ(PathRecordFromPosix(docs_.file("words.dic"), &record), 0);
    SetDictionaryPath(&record);
    WriteFileBytes(docs_.file("words.dic"), "");
    ASSERT_EQ(OpenDictionary(1, 1), 1);
    AddWords({"label", "sheet", "tessellate"});
    ASSERT_EQ(CloseDictionary(1), 0);
    RunCrashTrials<std::vector<std::string>>(
        "dictionary save", docs_.path(), 1,
        [&](int parts, Trial* trial) {
            SetDictionaryPath(&record);
            if (!parts || OpenDictionary(1, 0) != 1)
                return;
            AddWords({"ampersand", "barcode", "kerning", "zeppelin"});
            CloseDictionary(1);
            if (trial)
                trial->EndOfPart();
        },
        [&](int64_t* checked) {
            SetDictionaryPath(&record);
            if (OpenDictionary(1, 0) != 1)
                return std::vector<std::string>{"(does not open)"};
            std::vector<std::string> words = DictionaryWords();
            CloseDictionary(0);
            *checked += int64_t(words.size());
            return words;
        });
}

using Resources = std::map<std::pair<ResType, int32_t>, std::string>;

Resources ReadResources(const PathRecord& record)
{
    Resources out;
    const FileHandle file = ResFileOpen(&record, kResReadWrite);
    if (file == kNoFile || ResFileUse(file, kResReadWrite) != 0) {
        if (file != kNoFile)
            ResFileClose(file);
        out[{0, 0}] = "(does not open)";
        return out;
    }
    for (const ResEntry& e : std::vector<ResEntry>(ResFileTable())) {
        Handle h = ResFileGet(e.type, e.id);
        out[{e.type, e.id}] = h ? std::string(reinterpret_cast<const char*>(HandleData(h)), HandleGetSize(h))
                                : "(unreadable)";
    }
    ResFileClose(file);
    return out;
}

TEST_F(SaveFaults, ResourceFileChanges)
{
    PathRecord record;
    ASSERT_EQ(PathRecordFromPosix(docs_.file("wizard.res"), &record), 0);
    WriteFileBytes(docs_.file("wizard.res"), "");
    constexpr ResType kTmpl = FourCC("tmpl");
    constexpr ResType kBckp = FourCC("bckp");
    {
        const FileHandle file = ResFileOpen(&record, kResReadWrite);
        ASSERT_NE(file, kNoFile);
        ASSERT_EQ(ResFileUse(file, kResReadWrite), 0);
        ASSERT_EQ(ResFilePut(kTmpl, 1, "first template", 14, 1), 0);
        ASSERT_EQ(ResFilePut(kTmpl, 2, std::string(3000, 't').c_str(), 3000, 1), 0);
        ASSERT_EQ(ResFilePut(kBckp, 7, "a backdrop", 10, 1), 0);
        ResFileClose(file);
    }
    // Three changes, each committed when it returns.
    RunCrashTrials<Resources>(
        "resource file", docs_.path(), 3,
        [&](int parts, Trial* trial) {
            const FileHandle file = ResFileOpen(&record, kResReadWrite);
            if (file == kNoFile || ResFileUse(file, kResReadWrite) != 0)
                return;
            const std::string longer(9000, 'L');
            if (parts >= 1)
                ResFilePut(kTmpl, 1, longer.c_str(), int32_t(longer.size()), 1);
            if (trial && parts >= 1)
                trial->EndOfPart();
            if (parts >= 2)
                ResFileRemove(kTmpl, 2);
            if (trial && parts >= 2)
                trial->EndOfPart();
            if (parts >= 3)
                ResFilePut(kBckp, 8, "another backdrop", 16, 1);
            if (trial && parts >= 3)
                trial->EndOfPart();
            ResFileClose(file);
        },
        [&](int64_t* checked) {
            Resources r = ReadResources(record);
            *checked += int64_t(r.size());
            return r;
        });
}

std::vector<std::string> PreviewTexts()
{
    std::vector<std::string> texts;
    for (int32_t column = 0; column < kEntryColumnCount; ++column) {
        char text[kPreviewBlockSize] = {};
        GetPreviewFieldText(FieldIdByIndex(column), false, text);
        texts.emplace_back(text);
    }
    return texts;
}

TEST_F(SaveFaults, PreviewTextsSave)
{
    PathRecord folder;
    ASSERT_EQ(PathRecordFromPosix(docs_.path() + "/", &folder), 0);
    auto setAll = [](const std::string& prefix) {
        for (int32_t column = 0; column < kEntryColumnCount; ++column) {
            char text[kPreviewBlockSize] = {};
            std::snprintf(text, sizeof text, "%s%d", prefix.c_str(), int(column));
            GetPreviewFieldText(FieldIdByIndex(column), true, text);
        }
    };
    setAll("Old sample ");
    ASSERT_EQ(LoadSavePreviewFormats(&folder, true), 0);
    RunCrashTrials<std::vector<std::string>>(
        "preview texts", docs_.path(), 1,
        [&](int parts, Trial* trial) {
            if (!parts)
                return;
            setAll("A new sample text for the card's field number ");
            LoadSavePreviewFormats(&folder, true);
            if (trial)
                trial->EndOfPart();
        },
        [&](int64_t* checked) {
            setAll("");
            if (LoadSavePreviewFormats(&folder, false) != 0)
                return std::vector<std::string>{"(does not load)"};
            *checked += kEntryColumnCount;
            return PreviewTexts();
        });
}

}  // namespace
