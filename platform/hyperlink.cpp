#include "platform/hyperlink.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QUrl>
#include <algorithm>
#include <array>
#include <cstdio>

#include "foundation/alert_sink.h"
#include "foundation/cp1252.h"
#include "foundation/cursors.h"
#include "platform/desktop_browser.h"

namespace {

// The error codes of the shell, with the texts it explains them by.
enum : int32_t {
    kShellFileNotFound = 2,
    kShellNoAssociation = 31,
};

struct ErrorText {
    int32_t code;
    const char* text;
};
constexpr std::array<ErrorText, 13> kErrorTexts = {{
    {0, "The operating system is out\nof memory or resources."},
    {2, "The specified file was not found."},
    {3, "The specified path was not found."},
    {5, "The operating system denied\naccess to the specified file."},
    {8, "There was not enough memory to complete the operation."},
    {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
    {26, "A sharing violation occurred. "},
    {27, "The filename association is\nincomplete or invalid."},
    {28, "The DDE transaction could not\nbe completed because the request timed out."},
    {29, "The DDE transaction failed."},
    {30, "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed."},
    {31, "There is no application associated\nwith the given filename extension."},
    {32, "The specified dynamic-link library was not found."},
}};

constexpr std::array<std::string_view, 6> kPlaceholders = {"%1", "%u", "%U", "%f", "%F", "%s"};

// Position of the first placeholder, or of the first one enclosed in double
// quotes (then the position of the opening quote).
size_t FindPlaceholder(std::string_view line, bool quoted)
{
    size_t best = std::string_view::npos;
    for (std::string_view placeholder : kPlaceholders) {
        std::string pattern(placeholder);
        if (quoted)
            pattern = '"' + pattern + '"';
        best = std::min(best, line.find(pattern));
    }
    return best;
}

int32_t OpenWithDesktop(const QString& target)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return kShellNoAssociation;
    QUrl url;
    if (target.startsWith(QLatin1Char('/')) || QFileInfo::exists(target))
        url = QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
    else
        url = QUrl::fromUserInput(target);
    if (!url.isValid())
        return kShellFileNotFound;
    return QDesktopServices::openUrl(url) ? kHyperlinkOpened : kShellNoAssociation;
}

int32_t OpenWithBrowser(const QString& target, int32_t desktopResult)
{
    const QString command = DesktopBrowserCommand();
    if (command.isEmpty())
        return desktopResult;
    // The target goes in as one argument of its own, so that blanks and
    // quotes in it reach the browser as they are.
    QStringList words = QProcess::splitCommand(QString::fromStdString(BrowserCommandPrefix(command.toStdString())));
    if (words.isEmpty())
        return desktopResult;
    const QString program = words.takeFirst();
    words << target;
    return QProcess::startDetached(program, words) ? kHyperlinkOpened : kShellFileNotFound;
}

}  // namespace

std::string BrowserCommandPrefix(std::string_view commandLine)
{
    size_t cut = FindPlaceholder(commandLine, true);
    if (cut == std::string_view::npos)
        cut = FindPlaceholder(commandLine, false);
    std::string_view prefix = commandLine.substr(0, std::min(cut, commandLine.size()));
    while (!prefix.empty() && (prefix.back() == ' ' || prefix.back() == '\t'))
        prefix.remove_suffix(1);
    return std::string(prefix);
}

std::string SpliceBrowserCommand(std::string_view commandLine, std::string_view target)
{
    std::string line = BrowserCommandPrefix(commandLine);
    line += ' ';
    line += target;
    return line;
}

int32_t OpenHyperlink(const char* target, int32_t)
{
    if (!target || !*target)
        return kShellFileNotFound;
    const QString text = Cp1252ToQString(target);
    const int32_t result = OpenWithDesktop(text);
    if (result > kHyperlinkFailureLimit)
        return result;
    return OpenWithBrowser(text, result);
}

std::string HyperlinkErrorText(int32_t code)
{
    for (const ErrorText& entry : kErrorTexts) {
        if (entry.code == code)
            return entry.text;
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "Unknown Error (%d) occurred.", int(code));
    return buffer;
}

void ShowHyperlinkError(int32_t code)
{
    ShowMessageBox("Unable to open hyperlink:\n\n" + HyperlinkErrorText(code), kMbIconExclamation);
}

void ReportShellExecuteError(int32_t code) { ShowHyperlinkError(code); }

void HyperlinkHandCursor() { SetSavedCursorShape(Qt::PointingHandCursor); }

int32_t GetWindowsVersion(uint32_t* build)
{
    if (build)
        *build = 0;
    return 0;
}
