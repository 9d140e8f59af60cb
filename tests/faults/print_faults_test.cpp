// A disk that refuses a step of writing a printed or exported file: it is
// full, or the file may not be written. The job fails and says why, the
// file the user had under that name stays as it was, and nothing else is
// left in its folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <QPrinter>

#include "carddoc/card_test_support.h"
#include "carddoc/labels_doc.h"
#include "carddoc/print_manager.h"
#include "dbdoc/report_print_job.h"
#include "foundation/file_watch.h"
#include "foundation/whole_file_writer.h"
#include "foundation/win_error.h"
#include "platform/print_printer.h"

namespace {

const std::string kSample = std::string(TESSALINE_TEST_DATA_DIR) + "/../../data/Samples/Business Card.lqx";
constexpr const char* kOldBytes = "%PDF-1.4 what the user had\n";

enum class Step { kWrite, kSync, kRename };

// Fails the first step of one kind on a file of one folder with a code;
// everything else goes through.
class RefusingDisk : public FileWatcher {
public:
    RefusingDisk(std::string folder, Step step, int32_t code)
        : folder_(std::move(folder)), step_(step), code_(code), previous_(SetFileWatcher(this))
    {
    }
    ~RefusingDisk() override { SetFileWatcher(previous_); }
    RefusingDisk(const RefusingDisk&) = delete;
    RefusingDisk& operator=(const RefusingDisk&) = delete;

    bool refused() const { return refused_; }

    void Opened(FileHandle file, const std::string& path) override { paths_[file] = path; }
    void Made(const std::string&) override {}
    void Closing(FileHandle file) override { paths_.erase(file); }
    int32_t Writing(FileHandle file, uint64_t, const void*, uint32_t, uint32_t* keep) override
    {
        // Part of the write reaches the disk before it fills.
        *keep = 0;
        return Refuse(Step::kWrite, paths_[file]);
    }
    int32_t Resizing(FileHandle, uint64_t) override { return kFileStepGo; }
    int32_t Syncing(FileHandle file) override { return Refuse(Step::kSync, paths_[file]); }
    int32_t Renaming(const std::string& from, const std::string&) override { return Refuse(Step::kRename, from); }
    int32_t Deleting(const std::string&) override { return kFileStepGo; }

private:
    int32_t Refuse(Step step, const std::string& path)
    {
        if (refused_ || step != step_ || path.rfind(folder_, 0) != 0)
            return kFileStepGo;
        refused_ = true;
        return code_;
    }

    std::string folder_;
    Step step_;
    int32_t code_;
    FileWatcher* previous_;
    bool refused_ = false;
    std::map<FileHandle, std::string> paths_;
};

class PrintFaults : public CardDocTest {
protected:
    void SetUp() override
    {
        CardDocTest::SetUp();
        WriteFileBytes(docs_.file("card.lqx"), ReadFileBytes(kSample));
        doc_ = OpenCardDocument(DocPath("card.lqx"));
        ASSERT_NE(doc_, nullptr) << alerts_.lastText();
        doc_->InitialUpdate();
        std::filesystem::create_directories(folder_);
        SetPrintDialogRunner([this](QWidget*, PrintJobRecord* job) {
            if (postScript_) {
                job->printer = MakePostScriptFilePrinter();
                job->postScriptFile = QString::fromStdString(out_);
            } else {
                job->printer = MakeJobPrinter(QString::fromStdString(out_), QString());
            }
            job->copies = 1;
            return 1;
        });
    }
    void TearDown() override
    {
        SetPrintDialogRunner(nullptr);
        doc_.reset();
        CardDocTest::TearDown();
    }

    std::vector<std::string> FilesInFolder() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder_))
            names.push_back(entry.path().filename().string());
        return names;
    }

    bool postScript_ = false;
    const std::string folder_ = docs_.file("out");
    const std::string out_ = folder_ + "/cards.pdf";
    std::unique_ptr<CLabelsDoc> doc_;
};

const std::vector<std::pair<Step, const char*>> kSteps = {
    {Step::kWrite, "write"}, {Step::kSync, "flush"}, {Step::kRename, "rename"}};

TEST_F(PrintFaults, APrintThatCannotBeWrittenFailsSaysWhyAndKeepsTheOldFile)
{
    // A PDF file, then the same job written as PostScript.
    for (const bool postScript : {false, true}) {
    postScript_ = postScript;
    for (const int32_t code : {kErrDiskFull, kErrAccessDenied}) {
        for (const auto& [step, name] : kSteps) {
            SCOPED_TRACE(std::string(postScript ? "PostScript: " : "PDF: ") + name + " refused with " +
                         std::to_string(code));
            WriteFileBytes(out_, kOldBytes);
            alerts_.clear();
            RefusingDisk disk(folder_, step, code);
            EXPECT_EQ(doc_->PrintDocument(nullptr), kPrintDone);
            EXPECT_TRUE(disk.refused());
            EXPECT_EQ(doc_->Printer().LastResult(), code);
            ASSERT_EQ(alerts_.boxes().size(), 1u) << alerts_.lastText();
            // The box names the cause: a full disk, or a folder the user
            // may not write (not a write-protected disk).
            EXPECT_EQ(alerts_.lastText(), code == kErrDiskFull ? "Disk is full"
                                                               : "Permission denied: you may not change this file "
                                                                 "or its folder.");
            EXPECT_EQ(ReadFileBytes(out_), kOldBytes);
            EXPECT_EQ(FilesInFolder(), std::vector<std::string>{"cards.pdf"});
        }
    }
    }
    postScript_ = false;
    // A disk with room writes the whole job in the old file's place.
    alerts_.clear();
    EXPECT_EQ(doc_->PrintDocument(nullptr), kPrintDone);
    EXPECT_EQ(doc_->Printer().LastResult(), 0) << alerts_.lastText();
    EXPECT_EQ(ReadFileBytes(out_).rfind("%PDF", 0), 0u);
    EXPECT_NE(ReadFileBytes(out_), kOldBytes);
    EXPECT_EQ(FilesInFolder(), std::vector<std::string>{"cards.pdf"});
}

// A printed report and an exported picture (and every file written whole)
// the same way.
TEST_F(PrintFaults, AReportOrAnExportThatCannotBeWrittenKeepsTheOldFile)
{
    for (const int32_t code : {kErrDiskFull, kErrAccessDenied}) {
        for (const auto& [step, name] : kSteps) {
            SCOPED_TRACE(std::string(name) + " refused with " + std::to_string(code));
            WriteFileBytes(out_, kOldBytes);
            {
                RefusingDisk disk(folder_, step, code);
                std::unique_ptr<QPrinter> printer = MakeJobPrinter(QString::fromStdString(out_), QString());
                PrinterReportSurface report(printer.get());
                ASSERT_EQ(report.StartDoc("People"), 0);
                ASSERT_EQ(report.StartPage(), 0);
                report.DrawText(100, 100, "Abbott");
                EXPECT_EQ(report.EndPage(), 0);
                EXPECT_EQ(report.EndDoc(), code);
            }
            EXPECT_EQ(ReadFileBytes(out_), kOldBytes);
            EXPECT_EQ(FilesInFolder(), std::vector<std::string>{"cards.pdf"});
            {
                RefusingDisk disk(folder_, step, code);
                const std::string picture(100000, 'p');
                EXPECT_EQ(WriteWholeFile(out_, picture.data(), picture.size()), code);
            }
            EXPECT_EQ(ReadFileBytes(out_), kOldBytes);
            EXPECT_EQ(FilesInFolder(), std::vector<std::string>{"cards.pdf"});
        }
    }
}

// A writer hands over pieces of every size: gathered or written straight
// from its own bytes, they reach the disk whole and in order, across the
// writer's own pieces' edges; a refused write fails every later step.
TEST_F(PrintFaults, AFileWrittenInPiecesOfAnySizeComesOutWholeOrNotAtAll)
{
    constexpr size_t kPiece = 65536;
    std::string bytes(5 * kPiece + 1000, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = char('a' + (i * 7 + i / kPiece) % 26);
    // Small pieces up to just short of an edge, one across it, one up to
    // the next edge, two pieces' worth and more from there, a whole piece
    // after the few bytes gathered since, and the rest.
    const std::vector<size_t> pieces = {1, kPiece - 2, 2, kPiece - 1, 2 * kPiece + 7, kPiece};
    for (const bool refused : {false, true}) {
        SCOPED_TRACE(refused ? "refused" : "written");
        WriteFileBytes(out_, kOldBytes);
        std::optional<RefusingDisk> disk;
        if (refused)
            disk.emplace(folder_, Step::kWrite, kErrDiskFull);
        WholeFileWriter writer(out_);
        ASSERT_EQ(writer.Open(), kErrNone);
        size_t at = 0;
        for (const size_t n : pieces) {
            writer.Write(bytes.data() + at, n);
            at += n;
        }
        EXPECT_EQ(writer.Write(bytes.data() + at, bytes.size() - at), refused ? kErrDiskFull : kErrNone);
        EXPECT_EQ(writer.Commit(), refused ? kErrDiskFull : kErrNone);
        EXPECT_EQ(ReadFileBytes(out_), refused ? std::string(kOldBytes) : bytes);
        EXPECT_EQ(FilesInFolder(), std::vector<std::string>{"cards.pdf"});
    }
}

}  // namespace
