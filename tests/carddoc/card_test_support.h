// Shared pieces of the card document tests: a program folder of its own
// (for "QXDefPref" and "QXDocPref"), a folder for documents, captured
// alerts, and a document with a few frames and a story in it.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <cstring>
#include <memory>
#include <string>

#include "carddoc/card_document_host.h"
#include "carddoc/labels_doc.h"
#include "carddoc/labels_doc_registry.h"
#include "foundation/file_io.h"
#include "foundation/path_record.h"
#include "foundation/program_folder.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
#include "frames/frame_store.h"
#include "frames/record_header_format.h"
#include "frames/story_store.h"
#include "frames/text_buffer.h"
#include "records/preferences.h"
#include "support/alert_capture.h"
#include "support/shell.h"
#include "support/temp_dir.h"

class CardDocTest : public ::testing::Test {
protected:
    void SetUp() override { SetProgramFolderForTesting(program_.path()); }
    void TearDown() override
    {
        ReleaseGlobalDefPrefs();
        SetProgramFolderForTesting("");
    }

    PathRecord DocPath(const std::string& name) const
    {
        PathRecord r{};
        EXPECT_EQ(PathRecordFromPosix(docs_.file(name), &r), 0);
        return r;
    }
    std::string Bytes(const std::string& name) const { return ReadFileBytes(docs_.file(name)); }
    int Leftovers(const char* pattern) const
    {
        return int(QDir(QString::fromStdString(docs_.path())).entryList({pattern}, QDir::Files).size());
    }

    // A new document with a text frame holding text and a rectangle on its
    // first page.
    std::unique_ptr<CLabelsDoc> CardWithText(const std::string& text)
    {
        auto doc = NewCardDocument();
        EXPECT_NE(doc, nullptr);
        if (!doc)
            return doc;
        doc->InitialUpdate();
        const IntRect page = doc->PageGeometry().slots[0];
        FrameObj* box = doc->NewFrame(kFrameText);
        box->SetFromRect(IntRect{page.left + 10, page.top + 10, page.left + 150, page.top + 50});
        doc->Frames()->NewStory(box, true);
        Handle h = HandleNew(uint32_t(text.size()));
        std::memcpy(HandleData(h), text.data(), text.size());
        EXPECT_EQ(doc->Stories()->SetStoryText(h, uint16_t(box->Block().storyId)), 0);
        HandleFree(h);
        doc->NewFrame(kFrameRect)->SetFromRect(IntRect{page.left + 10, page.top + 60, page.left + 110, page.top + 90});
        return doc;
    }

    // The plain text of the document's first story.
    static std::string FirstStoryText(CLabelsDoc& doc)
    {
        StoryStore* stories = doc.Stories();
        if (stories->Count() == 0 || stories->BindStory(HeaderId(stories->RecordPtr(0))) != 0)
            return "";
        Handle plain = nullptr;
        if (stories->Buffer().GetPlainText(&plain) != 0)
            return "";
        std::string text(reinterpret_cast<char*>(HandleData(plain)), HandleGetSize(plain));
        HandleFree(plain);
        return text;
    }

    TempDir program_;
    TempDir docs_;
    AlertCapture alerts_;
};
