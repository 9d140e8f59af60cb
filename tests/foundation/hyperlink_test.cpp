#include <gtest/gtest.h>

#include <QFile>
#include <QThread>
#include <cstdlib>
#include <fstream>
#include <sys/stat.h>

#include "foundation/alert_sink.h"
#include "foundation/hyperlink.h"
#include "platform/desktop_browser.h"
#include "support/alert_capture.h"
#include "support/temp_dir.h"

namespace {

TEST(BrowserCommand, CutsAtTheQuotedPlaceholderBeforeABareOne)
{
    EXPECT_EQ(SpliceBrowserCommand("program \"%1\"", "http://a.b/"), "program http://a.b/");
    EXPECT_EQ(SpliceBrowserCommand("\"C:\\Prog\\web.exe\" -nohome \"%1\" -x", "t"), "\"C:\\Prog\\web.exe\" -nohome t");
    // The quoted form wins even when a bare one comes first.
    EXPECT_EQ(SpliceBrowserCommand("web %1 -a \"%1\"", "t"), "web %1 -a t");
    EXPECT_EQ(SpliceBrowserCommand("web %1 -a", "t"), "web t");
}

TEST(BrowserCommand, WithoutPlaceholderTheTargetIsAppended)
{
    EXPECT_EQ(SpliceBrowserCommand("program", "http://a.b/"), "program http://a.b/");
    EXPECT_EQ(SpliceBrowserCommand("", "t"), " t");
    EXPECT_EQ(BrowserCommandPrefix("web -new-window"), "web -new-window");
}

TEST(BrowserCommand, DesktopEntryFieldCodesMarkTheTargetPlace)
{
    EXPECT_EQ(BrowserCommandPrefix("firefox-esr %u"), "firefox-esr");
    EXPECT_EQ(BrowserCommandPrefix("chromium %U --flag"), "chromium");
    EXPECT_EQ(BrowserCommandPrefix("viewer --open \"%f\""), "viewer --open");
    EXPECT_EQ(BrowserCommandPrefix("lynx %s"), "lynx");
}

TEST(BrowserCommand, ExecLineComesFromTheDesktopEntryGroupOnly)
{
    const QString entry = "[Desktop Action new-window]\nExec=web --new-window %u\n"
                          "[Desktop Entry]\nName=Web\nExecutable=no\nExec = \"/opt/My Web/web\" %u\n";
    EXPECT_EQ(DesktopEntryExec(entry), "\"/opt/My Web/web\" %u");
    EXPECT_EQ(DesktopEntryExec("[Desktop Entry]\nName=Web\n"), QString());
}

TEST(HyperlinkError, TextsByCode)
{
    EXPECT_EQ(HyperlinkErrorText(26), "A sharing violation occurred. ");
    EXPECT_EQ(HyperlinkErrorText(0), "The operating system is out\nof memory or resources.");
    EXPECT_EQ(HyperlinkErrorText(32), "The specified dynamic-link library was not found.");
    EXPECT_EQ(HyperlinkErrorText(33), "Unknown Error (33) occurred.");
    EXPECT_EQ(HyperlinkErrorText(4), "Unknown Error (4) occurred.");
    EXPECT_EQ(HyperlinkErrorText(-7), "Unknown Error (-7) occurred.");
}

TEST(HyperlinkError, ShowsAnExclamationBox)
{
    AlertCapture capture;
    ReportShellExecuteError(2);
    ASSERT_EQ(capture.boxes().size(), 1u);
    EXPECT_EQ(capture.lastText(), "Unable to open hyperlink:\n\nThe specified file was not found.");
    EXPECT_EQ(capture.boxes().back().style, uint32_t(kMbIconExclamation));
}

class ScopedBrowser {
public:
    explicit ScopedBrowser(const std::string& value)
    {
        if (const char* old = std::getenv("BROWSER"))
            old_ = old, hadOld_ = true;
        setenv("BROWSER", value.c_str(), 1);
    }
    ~ScopedBrowser()
    {
        if (hadOld_)
            setenv("BROWSER", old_.c_str(), 1);
        else
            unsetenv("BROWSER");
    }

private:
    std::string old_;
    bool hadOld_ = false;
};

// Without a desktop to ask, the browser of $BROWSER is run with the target
// as one argument of its own, blanks and all.
TEST(OpenHyperlink, FallsBackToTheUsersBrowser)
{
    TempDir dir;
    ASSERT_TRUE(dir.ok());
    const std::string script = dir.file("browser.sh");
    const std::string log = dir.file("args.txt");
    {
        std::ofstream out(script);
        out << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" << log << ".part'\nmv '" << log
            << ".part' '" << log << "'\n";
    }
    ASSERT_EQ(chmod(script.c_str(), 0700), 0);

    ScopedBrowser browser(script + " --tab %s --ignored");
    EXPECT_GT(OpenHyperlink("http://example.com/a b?q=\"x\"", kShowNormal), kHyperlinkFailureLimit);

    QFile file(QString::fromStdString(log));
    for (int i = 0; i < 500 && !file.exists(); ++i)
        QThread::msleep(10);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(), "--tab\nhttp://example.com/a b?q=\"x\"\n");
}

TEST(OpenHyperlink, FailsWhenNoProgramCanBeRun)
{
    ScopedBrowser browser("/nonexistent/tessaline-browser");
    const int32_t result = OpenHyperlink("http://example.com/", kShowNormal);
    EXPECT_LE(result, kHyperlinkFailureLimit);
    EXPECT_EQ(OpenHyperlink("", kShowNormal), 2);
}

}  // namespace
