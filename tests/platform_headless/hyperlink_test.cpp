#include <gtest/gtest.h>

#include <QFile>
#include <QThread>
#include <cstdlib>
#include <fstream>
#include <sys/stat.h>

#include "platform/desktop_browser.h"
#include "platform/hyperlink.h"
#include "support/alert_capture.h"
#include "support/temp_dir.h"

namespace {

TEST(BrowserCommand, CutAtTheQuotedPlaceholderElseTheBareOneElseAppended)
{
    EXPECT_EQ(SpliceBrowserCommand("program \"%1\"", "http://a.b/"), "program http://a.b/");
    EXPECT_EQ(SpliceBrowserCommand("program", "http://a.b/"), "program http://a.b/");
    EXPECT_EQ(SpliceBrowserCommand("web %1 -a \"%1\" -b", "t"), "web %1 -a t");
    EXPECT_EQ(SpliceBrowserCommand("web %1 -a", "t"), "web t");
    EXPECT_EQ(BrowserCommandPrefix("chromium %U --flag"), "chromium");
    EXPECT_EQ(BrowserCommandPrefix("viewer --open \"%f\""), "viewer --open");

    const QString entry = "[Desktop Action new]\nExec=web --new %u\n"
                          "[Desktop Entry]\nExecutable=no\nExec = \"/opt/My Web/web\" %u\n";
    EXPECT_EQ(DesktopEntryExec(entry), "\"/opt/My Web/web\" %u");
}

TEST(HyperlinkError, ExclamationBoxWithTheTextOfTheCode)
{
    AlertCapture capture;
    ReportShellExecuteError(26);
    EXPECT_EQ(capture.lastText(), "Unable to open hyperlink:\n\nA sharing violation occurred. ");
    EXPECT_EQ(capture.boxes().back().style, uint32_t(kMbIconExclamation));
    EXPECT_EQ(HyperlinkErrorText(0), "The operating system is out\nof memory or resources.");
    EXPECT_EQ(HyperlinkErrorText(33), "Unknown Error (33) occurred.");
    EXPECT_EQ(HyperlinkErrorText(4), "Unknown Error (4) occurred.");
}

// Without a desktop to ask, the browser of $BROWSER runs with the target as
// one argument of its own, blanks and all.
TEST(OpenHyperlink, FallsBackToTheUsersBrowser)
{
    TempDir dir;
    ASSERT_TRUE(dir.ok());
    const std::string script = dir.file("browser.sh");
    const std::string log = dir.file("args.txt");
    std::ofstream(script) << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" << log
                          << ".part'\nmv '" << log << ".part' '" << log << "'\n";
    ASSERT_EQ(chmod(script.c_str(), 0700), 0);

    setenv("BROWSER", (script + " --tab %s --ignored").c_str(), 1);
    EXPECT_GT(OpenHyperlink("http://example.com/a b?q=\"x\"", kShowNormal), kHyperlinkFailureLimit);
    QFile file(QString::fromStdString(log));
    for (int i = 0; i < 500 && !file.exists(); ++i)
        QThread::msleep(10);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(), "--tab\nhttp://example.com/a b?q=\"x\"\n");

    setenv("BROWSER", "/nonexistent/tessaline-browser", 1);
    EXPECT_LE(OpenHyperlink("http://example.com/", kShowNormal), kHyperlinkFailureLimit);
    unsetenv("BROWSER");
    EXPECT_EQ(OpenHyperlink("", kShowNormal), 2);
}

}  // namespace
