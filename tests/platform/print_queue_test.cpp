// A job for a printer reaches the print service's queue only when it is
// whole: one given up (the user's Cancel) or failing hands nothing over and
// leaves no file behind. It goes with the paper and sides its queue starts
// with.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <tuple>

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include "pdf/pdf_page_farm.h"
#include "platform/dc.h"
#include "platform/dc_device.h"
#include "platform/print_printer.h"
#include "platform/printer_handles.h"
#include "printqueue/print_queue.h"
#include "support/cups_scheduler.h"
#include "support/shell.h"
#include "support/temp_dir.h"

namespace {

class PrintQueue : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* old = std::getenv("TMPDIR");
        oldTemp_ = old ? old : "";
        hadTemp_ = old != nullptr;
        setenv("TMPDIR", temp_.path().c_str(), 1);
        previous_ = SetPrintQueueSubmitter([this](const PrintQueueJob& job) {
            jobs_.push_back(job);
            // What the queue is given is a whole PDF file.
            submitted_.push_back(ReadFileBytes(job.file));
            return answer_;
        });
        metrics_.open(QIODevice::WriteOnly);
    }
    void TearDown() override
    {
        SetPrintQueueSubmitter(std::move(previous_));
        if (hadTemp_)
            setenv("TMPDIR", oldTemp_.c_str(), 1);
        else
            unsetenv("TMPDIR");
    }

    std::unique_ptr<DcDevice> Job()
    {
        PdfPageFarm::Settings settings;
        settings.layout = QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Landscape, QMarginsF());
        settings.resolution = 300;
        settings.title = QStringLiteral("Business Card.lqx");
        PrintQueueJob job;
        job.printer = "Lobby";
        job.title = "Business Card.lqx";
        job.options = {{"media", "Letter"}, {"landscape", ""}};
        return MakePrintQueueDevice(&writer_, settings, &PdfPageFarm::Make, job);
    }
    size_t FilesLeft() const
    {
        return size_t(std::distance(std::filesystem::directory_iterator(temp_.path()),
                                    std::filesystem::directory_iterator()));
    }

    TempDir temp_;
    std::string oldTemp_;
    bool hadTemp_ = false;
    PrintQueueSubmitter previous_;
    std::vector<PrintQueueJob> jobs_;
    std::vector<std::string> submitted_;
    int32_t answer_ = 0;
    QBuffer metrics_;
    QPdfWriter writer_{&metrics_};
};

TEST_F(PrintQueue, OnlyAWholeJobReachesTheQueue)
{
    // Three pages made, then the user cancels: nothing reaches the queue.
    {
        auto job = Job();
        ASSERT_TRUE(job->beginOutput());
        EXPECT_TRUE(job->newPage());
        EXPECT_TRUE(job->newPage());
    }
    EXPECT_TRUE(jobs_.empty());
    EXPECT_EQ(FilesLeft(), 0u);

    // The whole job goes to the queue once, as one PDF file of its pages,
    // under the card's file name; its file goes afterwards.
    {
        auto job = Job();
        ASSERT_TRUE(job->beginOutput());
        EXPECT_TRUE(job->newPage());
        EXPECT_TRUE(job->newPage());
        EXPECT_TRUE(job->flush());
    }
    ASSERT_EQ(jobs_.size(), 1u);
    EXPECT_EQ(jobs_[0].printer, "Lobby");
    EXPECT_EQ(jobs_[0].title, "Business Card.lqx");
    EXPECT_TRUE(submitted_[0].starts_with("%PDF")) << submitted_[0].substr(0, 20);
    EXPECT_NE(submitted_[0].find("%%EOF"), std::string::npos) << "the file handed over is cut short";
    EXPECT_EQ(FilesLeft(), 0u);

    // A queue that refuses the job fails it.
    answer_ = 1;
    {
        auto job = Job();
        ASSERT_TRUE(job->beginOutput());
        EXPECT_FALSE(job->flush());
    }
    EXPECT_EQ(jobs_.size(), 2u);
    EXPECT_EQ(FilesLeft(), 0u);
}

// A job on a queue that prints both sides unless told otherwise, on
// Letter, goes there with those: the program's printer of the queue holds
// no sides of its own, and takes the queue's paper from the print system's
// answers.
TEST_F(PrintQueue, AJobOnAQueueGoesWithThePaperAndSidesTheQueueStartsWith)
{
    if (!CupsScheduler::Missing().empty())
        GTEST_SKIP() << "the print scheduler needs" << CupsScheduler::Missing();
    CupsScheduler scheduler({{"Both", 0, "Letter", false, std::nullopt, true}, {"One", 0, ""}});
    ASSERT_TRUE(scheduler.ok()) << scheduler.why();
    SetPrinterCaps(nullptr);
    for (const char* queue : {"Both", "One"}) {
        std::unique_ptr<QPrinter> printer = MakeJobPrinter(QString(), queue);
        ASSERT_NE(printer, nullptr) << queue;
        std::unique_ptr<Dc> dc = Dc::ForPrintJob(printer.get(), &PdfPageFarm::Make);
        ASSERT_TRUE(dc && dc->beginOutput());
        EXPECT_TRUE(dc->newPage());
        EXPECT_TRUE(dc->flush());
    }
    ASSERT_EQ(jobs_.size(), 2u);
    using Options = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(jobs_[0].printer, "Both");
    EXPECT_EQ(jobs_[0].options, (Options{{"media", "Letter"}, {"sides", "two-sided-long-edge"}}));
    EXPECT_EQ(jobs_[1].printer, "One");
    EXPECT_EQ(jobs_[1].options, (Options{{"media", "A4"}, {"sides", "one-sided"}}));

    // What the user chose for a queue in lpoptions, in the printer
    // description's words or the print system's, goes over the queue's.
    const std::string home = std::getenv("HOME");
    std::filesystem::create_directories(home + "/.cups");
    for (const auto& [lpoptions, both, one] :
         {std::tuple{"Dest Both Duplex=None\nDest One Duplex=DuplexTumble\n", "one-sided", "two-sided-short-edge"},
          std::tuple{"Dest Both Duplex=DuplexTumble\nDest One sides=two-sided-long-edge\n", "two-sided-short-edge",
                     "two-sided-long-edge"},
          std::tuple{"Dest Both Duplex=DuplexNoTumble\nDest One Duplex=Mirrored\n", "two-sided-long-edge", "one-sided"}}) {
        WriteFileBytes(home + "/.cups/lpoptions", lpoptions);
        jobs_.clear();
        SetPrinterCaps(nullptr);
        for (const char* queue : {"Both", "One"}) {
            std::unique_ptr<QPrinter> printer = MakeJobPrinter(QString(), queue);
            ASSERT_NE(printer, nullptr) << queue;
            std::unique_ptr<Dc> dc = Dc::ForPrintJob(printer.get(), &PdfPageFarm::Make);
            ASSERT_TRUE(dc && dc->beginOutput());
            EXPECT_TRUE(dc->flush());
        }
        ASSERT_EQ(jobs_.size(), 2u);
        using Option = std::pair<std::string, std::string>;
        EXPECT_EQ(jobs_[0].options.back(), Option("sides", both)) << lpoptions;
        EXPECT_EQ(jobs_[1].options.back(), Option("sides", one)) << lpoptions;
    }
    std::filesystem::remove(home + "/.cups/lpoptions");
    SetPrinterCaps(nullptr);
}

}  // namespace
