#include "platform/shell_registration.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

#include "platform/xdg_folders.h"

const char* const kDesktopEntryName = "tessaline.desktop";
const char* const kMimePackageName = "tessaline.xml";

namespace {

// The line that marks a desktop entry as a user's registration.
const char* const kRegistrationMark = "X-Tessaline-Registration=user";

// The icons of the program and its two file types, in every size folder.
bool IsOurIcon(const QString& fileName)
{
    const QString base = QFileInfo(fileName).completeBaseName();
    return base == QStringLiteral("tessaline") || base == QStringLiteral("application-x-tessaline-card") ||
           base == QStringLiteral("application-x-tessaline-database");
}

QString Canonical(const QString& path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(path) : canonical;
}

QString ApplicationsFolder(const QString& share) { return share + QStringLiteral("/applications"); }
QString MimePackagesFolder(const QString& share) { return share + QStringLiteral("/mime/packages"); }

QByteArray ReadAll(const QString& path, bool* ok = nullptr)
{
    QFile file(path);
    const bool opened = file.open(QIODevice::ReadOnly);
    if (ok)
        *ok = opened;
    return opened ? file.readAll() : QByteArray();
}

// 1 written, 0 already so, -1 failed.
int WriteIfChanged(const QString& path, const QByteArray& bytes)
{
    bool exists = false;
    if (ReadAll(path, &exists) == bytes && exists)
        return 0;
    if (!QDir().mkpath(QFileInfo(path).path()))
        return -1;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return -1;
    return 1;
}

// The Exec value for a program path: quoted when it holds characters the
// desktop entry rules reserve, with % doubled (a field code otherwise).
QString ExecArgument(const QString& program)
{
    QString escaped = program;
    escaped.replace(QLatin1Char('%'), QStringLiteral("%%"));
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool needsQuotes = false;
    for (const QChar c : escaped)
        needsQuotes = needsQuotes || reserved.contains(c);
    if (!needsQuotes)
        return escaped;
    QString quoted = QStringLiteral("\"");
    for (const QChar c : escaped) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    quoted += QLatin1Char('"');
    return quoted;
}

// A desktop entry's string values take backslash escapes of their own.
QString EntryValue(const QString& value)
{
    QString escaped;
    for (const QChar c : value) {
        if (c == QLatin1Char('\\'))
            escaped += QStringLiteral("\\\\");
        else
            escaped += c;
    }
    return escaped;
}

void StartCacheUpdate(const QString& tool, const QStringList& arguments)
{
    const QString program = QStandardPaths::findExecutable(tool);
    if (!program.isEmpty())
        QProcess::startDetached(program, arguments);
}

// Our icons under share/icons/hicolor, as paths from there.
QStringList InstalledIcons(const QString& share)
{
    QStringList icons;
    const QString root = share + QStringLiteral("/icons/hicolor/");
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (IsOurIcon(path))
            icons << path.mid(root.size());
    }
    return icons;
}

bool IsUserRegistration(const QString& entryPath)
{
    return ReadAll(entryPath).contains(kRegistrationMark);
}

void TakeBackUserRegistration(const ShellPlaces& places, bool updateCaches)
{
    const QString entry = ApplicationsFolder(places.dataHome) + QLatin1Char('/') + kDesktopEntryName;
    if (!IsUserRegistration(entry))
        return;
    QFile::remove(entry);
    QFile::remove(MimePackagesFolder(places.dataHome) + QLatin1Char('/') + kMimePackageName);
    for (const QString& icon : InstalledIcons(places.share))
        QFile::remove(places.dataHome + QStringLiteral("/icons/hicolor/") + icon);
    if (updateCaches) {
        StartCacheUpdate(QStringLiteral("update-mime-database"), {places.dataHome + QStringLiteral("/mime")});
        StartCacheUpdate(QStringLiteral("update-desktop-database"), {ApplicationsFolder(places.dataHome)});
    }
}

}  // namespace

ShellPlaces CurrentShellPlaces()
{
    ShellPlaces places;
    places.program = QCoreApplication::applicationFilePath();
    if (places.program.isEmpty())
        places.program = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    places.share = QDir::cleanPath(QFileInfo(places.program).path() + QStringLiteral("/../share"));
    places.dataHome = XdgDataHome();
    places.dataDirs = XdgDataDirs();
    return places;
}

QIcon ProgramIcon(const ShellPlaces& places)
{
    QIcon icon;
    for (const QString& path : InstalledIcons(places.share))
        if (path.endsWith(QStringLiteral("/apps/tessaline.png")))
            icon.addFile(places.share + QStringLiteral("/icons/hicolor/") + path);
    return icon;
}

QString UserDesktopEntry(const QString& installedEntry, const QString& program)
{
    QStringList lines;
    bool inEntryGroup = false;
    for (const QString& line : installedEntry.split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1Char('[')))
            inEntryGroup = trimmed == QStringLiteral("[Desktop Entry]");
        if (inEntryGroup && trimmed.startsWith(QStringLiteral("Exec="))) {
            // Whatever follows the program (its field codes) stays.
            const QString rest = trimmed.mid(5).section(QLatin1Char(' '), 1);
            lines << QStringLiteral("Exec=") + EntryValue(ExecArgument(program)) +
                         (rest.isEmpty() ? QString() : QLatin1Char(' ') + rest);
        } else if (inEntryGroup && trimmed.startsWith(QStringLiteral("TryExec="))) {
            lines << QStringLiteral("TryExec=") + EntryValue(program);
        } else {
            lines << line;
        }
    }
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    // The mark goes into the entry's own group, which comes first.
    qsizetype at = lines.size();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (lines[i].trimmed().startsWith(QLatin1Char('['))) {
            at = i;
            break;
        }
    }
    lines.insert(at, QString::fromLatin1(kRegistrationMark));
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

ShellRegistration RegisterShellFileTypes(const ShellPlaces& places, bool updateCaches)
{
    const QString installedEntry = ApplicationsFolder(places.share) + QLatin1Char('/') + kDesktopEntryName;
    const QString installedTypes = MimePackagesFolder(places.share) + QLatin1Char('/') + kMimePackageName;
    bool haveEntry = false, haveTypes = false;
    const QByteArray entry = ReadAll(installedEntry, &haveEntry);
    const QByteArray types = ReadAll(installedTypes, &haveTypes);
    if (!haveEntry || !haveTypes)
        return ShellRegistration::kFailed;

    const QString share = Canonical(places.share);
    bool found = Canonical(places.dataHome) == share;
    for (const QString& dir : places.dataDirs)
        found = found || Canonical(dir) == share;
    if (found) {
        TakeBackUserRegistration(places, updateCaches);
        return ShellRegistration::kInstalled;
    }

    const QString userEntry = ApplicationsFolder(places.dataHome) + QLatin1Char('/') + kDesktopEntryName;
    // A desktop entry of the user's own making under our name is the user's.
    if (QFileInfo::exists(userEntry) && !IsUserRegistration(userEntry))
        return ShellRegistration::kRegistered;

    bool failed = false;
    for (const QString& icon : InstalledIcons(places.share)) {
        const int written = WriteIfChanged(places.dataHome + QStringLiteral("/icons/hicolor/") + icon,
                                           ReadAll(places.share + QStringLiteral("/icons/hicolor/") + icon));
        failed = failed || written < 0;
    }
    const int typesWritten = WriteIfChanged(MimePackagesFolder(places.dataHome) + QLatin1Char('/') + kMimePackageName, types);
    const int entryWritten =
        WriteIfChanged(userEntry, UserDesktopEntry(QString::fromUtf8(entry), places.program).toUtf8());
    failed = failed || typesWritten < 0 || entryWritten < 0;
    if (updateCaches && typesWritten > 0)
        StartCacheUpdate(QStringLiteral("update-mime-database"), {places.dataHome + QStringLiteral("/mime")});
    if (updateCaches && entryWritten > 0)
        StartCacheUpdate(QStringLiteral("update-desktop-database"), {ApplicationsFolder(places.dataHome)});
    return failed ? ShellRegistration::kFailed : ShellRegistration::kRegistered;
}
