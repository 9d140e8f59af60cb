#include "platform/desktop_browser.h"

#include <QFile>
#include <QProcess>
#include <QStringList>

#include "platform/xdg_folders.h"

namespace {

constexpr int kToolTimeoutMs = 3000;

// The first line a tool prints, or empty when it is missing or fails.
QString RunTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments, QIODevice::ReadOnly);
    if (!process.waitForStarted(kToolTimeoutMs))
        return {};
    if (!process.waitForFinished(kToolTimeoutMs)) {
        process.kill();
        process.waitForFinished(kToolTimeoutMs);
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    const QString output = QString::fromLocal8Bit(process.readAllStandardOutput());
    return output.section(QLatin1Char('\n'), 0, 0).trimmed();
}

QStringList ApplicationFolders()
{
    QStringList folders;
    folders << XdgDataHome() + QStringLiteral("/applications");
    for (const QString& dir : XdgDataDirs())
        folders << dir + QStringLiteral("/applications");
    return folders;
}

QString ExecOfDesktopId(const QString& desktopId)
{
    // A desktop id names a file, never a path.
    if (desktopId.isEmpty() || desktopId.contains(QLatin1Char('/')))
        return {};
    for (const QString& folder : ApplicationFolders()) {
        QFile file(folder + QLatin1Char('/') + desktopId);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString exec = DesktopEntryExec(QString::fromUtf8(file.read(1 << 20)));
        if (!exec.isEmpty())
            return exec;
    }
    return {};
}

}  // namespace

QString DesktopEntryExec(const QString& entryText)
{
    bool inEntryGroup = false;
    for (const QString& raw : entryText.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inEntryGroup = line == QStringLiteral("[Desktop Entry]");
            continue;
        }
        if (!inEntryGroup || !line.startsWith(QStringLiteral("Exec")))
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0 && line.left(equals).trimmed() == QStringLiteral("Exec"))
            return line.mid(equals + 1).trimmed();
    }
    return {};
}

QString DesktopBrowserCommand()
{
    // $BROWSER lists commands to try, separated by colons.
    const QString browser = qEnvironmentVariable("BROWSER");
    if (!browser.isEmpty())
        return browser.section(QLatin1Char(':'), 0, 0).trimmed();

    QString exec = ExecOfDesktopId(RunTool(QStringLiteral("xdg-mime"),
                                           {QStringLiteral("query"), QStringLiteral("default"),
                                            QStringLiteral("text/html")}));
    if (exec.isEmpty())
        exec = ExecOfDesktopId(
            RunTool(QStringLiteral("xdg-settings"), {QStringLiteral("get"), QStringLiteral("default-web-browser")}));
    return exec;
}
