#include "platform/font_folder_watcher.h"

#include <algorithm>

#include <fontconfig/fontconfig.h>

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QFontDatabase>

namespace {

// The font configuration's font folders that lie in no other one: the
// configuration lists the folders it was told of (whether they exist or
// not) together with every folder it found below them.
std::set<QString> ConfiguredFolders()
{
    std::set<QString> all;
    if (FcStrList* list = FcConfigGetFontDirs(nullptr)) {
        while (FcChar8* dir = FcStrListNext(list))
            all.insert(QDir::cleanPath(QString::fromLocal8Bit(reinterpret_cast<const char*>(dir))));
        FcStrListDone(list);
    }
    std::set<QString> roots;
    for (const QString& folder : all) {
        const bool below = std::any_of(all.begin(), all.end(),
                                       [&](const QString& other) { return folder.startsWith(other + '/'); });
        if (!below)
            roots.insert(folder);
    }
    return roots;
}

bool IsFontFile(const QString& path)
{
    static const char* const kSuffixes[] = {".ttf", ".otf", ".ttc", ".otc", ".pfb", ".pfa", ".pcf", ".pcf.gz", ".woff",
                                            ".woff2"};
    for (const char* suffix : kSuffixes)
        if (path.endsWith(QLatin1String(suffix), Qt::CaseInsensitive))
            return true;
    return false;
}

}  // namespace

FontFolderWatcher::FontFolderWatcher(ChangeHandler changed, QObject* parent)
    : QObject(parent), changed_(std::move(changed))
{
    quiet_.setSingleShot(true);
    quiet_.setInterval(kQuietMilliseconds);
    connect(&quiet_, &QTimer::timeout, this, &FontFolderWatcher::Settle);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &FontFolderWatcher::FolderChanged);
    roots_ = ConfiguredFolders();
    WatchFolders();
    files_ = FontFiles();
}

FontFolderWatcher::~FontFolderWatcher() = default;

void FontFolderWatcher::WatchFolders()
{
    QStringList wanted;
    for (const QString& root : roots_) {
        QString folder = root;
        while (!QFileInfo(folder).isDir() && folder != QDir::rootPath() && !folder.isEmpty())
            folder = QFileInfo(folder).absolutePath();
        wanted << folder;
        if (folder != root)
            continue;
        QDirIterator below(root, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (below.hasNext())
            wanted << below.next();
    }
    wanted.removeDuplicates();
    const QStringList watched = watcher_.directories();
    QStringList added;
    for (const QString& folder : wanted)
        if (!watched.contains(folder))
            added << folder;
    if (!added.isEmpty())
        watcher_.addPaths(added);
}

std::set<QString> FontFolderWatcher::FontFiles() const
{
    std::set<QString> files;
    for (const QString& root : roots_) {
        if (!QFileInfo(root).isDir())
            continue;
        QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (IsFontFile(path))
                files.insert(path);
        }
    }
    return files;
}

void FontFolderWatcher::FolderChanged()
{
    quiet_.start();
}

void FontFolderWatcher::Settle()
{
    // New folders (a user's first font folder, a font family's own) are
    // watched from now on.
    WatchFolders();
    const std::set<QString> now = FontFiles();
    if (now == files_)
        return;
    // The configuration is read again so that font matching knows the new
    // faces. Whether it is out of date is not asked of it: it compares the
    // folders' times in whole seconds, and misses a font that arrives
    // within the second it was last read.
    FcInitReinitialize();
    for (const QString& file : now) {
        if (files_.count(file))
            continue;
        const int id = QFontDatabase::addApplicationFont(file);
        if (id >= 0)
            registered_[file] = id;
    }
    for (const QString& file : files_) {
        if (now.count(file))
            continue;
        const auto it = registered_.find(file);
        if (it != registered_.end()) {
            QFontDatabase::removeApplicationFont(it->second);
            registered_.erase(it);
        }
    }
    files_ = now;
    if (changed_)
        changed_();
}
