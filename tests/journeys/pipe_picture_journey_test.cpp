// A card whose picture file was replaced by a named pipe: the window opens
// and prints it without ever waiting on the pipe, and the print names the
// picture as no file; the tool's prints end too.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

#include <QFile>
#include <QImage>

#include "journey_fixture.h"

namespace {

// Counts the programs that open the pipe to read it, and lets each go at
// once (the open ends and the read finds nothing), so that a test of a
// program that waits on it fails rather than hangs.
class PipeReaders {
public:
    explicit PipeReaders(const std::string& pipe)
        : watch_([this, pipe] {
              while (!stop_) {
                  const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                  if (fd >= 0) {
                      ++readers_;
                      ::close(fd);
                  }
                  ::usleep(2000);
              }
          })
    {
    }
    ~PipeReaders()
    {
        stop_ = true;
        watch_.join();
    }
    int count() const { return readers_; }

private:
    std::atomic<bool> stop_{false};
    std::atomic<int> readers_{0};
    std::thread watch_;
};

TEST_F(JourneyTest, APictureThatIsAPipeIsNeverWaitedOnAndItsPrintNamesIt)
{
    const std::string picture = TempFile("pic.png");
    QImage dot(8, 8, QImage::Format_RGB32);
    dot.fill(Qt::red);
    ASSERT_TRUE(dot.save(QString::fromStdString(picture)));
    const std::string card = TempFile("pipe.lqx");
    Tool("card new-picture '" + card + "' '" + picture + "'");
    ASSERT_EQ(std::remove(picture.c_str()), 0);
    ASSERT_EQ(::mkfifo(picture.c_str(), 0600), 0);
    PipeReaders readers(picture);

    const std::string pdf = TempFile("pipe.pdf");
    for (const char* command : {"print-pdf", "print-ps"}) {
        const std::string said = Tool(std::string(command) + " '" + card + "' '" + pdf + "'");
        EXPECT_NE(said.find("pic.png\" is not a file but a device or a pipe"), std::string::npos)
            << command << ": " << said;
        EXPECT_EQ(said.find("QIODevice"), std::string::npos) << command << ": " << said;
    }
    ASSERT_NE(OpenThroughMenu(card), nullptr) << alerts.lastText();
    OnNextDialog(PrintToPdfFile(pdf));
    EXPECT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
    Settle();
    EXPECT_NE(alerts.lastText().find("pic.png\" is not a file but a device or a pipe"), std::string::npos)
        << alerts.lastText();
    EXPECT_TRUE(QFile::exists(QString::fromStdString(pdf)));
    EXPECT_EQ(readers.count(), 0) << "the pipe was opened to be read";
}

}  // namespace
