#include "app/recent_file_list.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

const char* const kSection = "Recent File List";

// Two paths name the same file when their absolute, cleaned forms agree;
// a file that exists is compared by its canonical path, so links and
// "../" detours don't make a second entry.
QString Canonical(const std::string& path)
{
    const QString text = QString::fromStdString(path);
    const QFileInfo info(text);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

}  // namespace

RecentFileList::RecentFileList(int32_t size) : size_(std::max(size, 1)) {}

void RecentFileList::Load(QSettings& settings)
{
    paths_.clear();
    settings.beginGroup(kSection);
    for (int32_t i = 0; i < size_; ++i) {
        const std::string path = settings.value(QString("File%1").arg(i + 1)).toString().toStdString();
        if (path.empty())
            continue;
        const QString key = Canonical(path);
        const bool repeated = std::any_of(paths_.begin(), paths_.end(),
                                          [&](const std::string& p) { return Canonical(p) == key; });
        if (!repeated)
            paths_.push_back(path);
    }
    settings.endGroup();
}

void RecentFileList::Save(QSettings& settings) const
{
    settings.beginGroup(kSection);
    for (int32_t i = 0; i < size_; ++i) {
        const QString key = QString("File%1").arg(i + 1);
        if (i < Count())
            settings.setValue(key, QString::fromStdString(paths_[size_t(i)]));
        else
            settings.remove(key);
    }
    settings.endGroup();
}

void RecentFileList::Add(const std::string& path)
{
    if (path.empty())
        return;
    const QString key = Canonical(path);
    paths_.erase(std::remove_if(paths_.begin(), paths_.end(),
                                [&](const std::string& p) { return Canonical(p) == key; }),
                 paths_.end());
    paths_.insert(paths_.begin(), path);
    if (Count() > size_)
        paths_.resize(size_t(size_));
}

void RecentFileList::Remove(int32_t index)
{
    if (index >= 0 && index < Count())
        paths_.erase(paths_.begin() + index);
}

QString RecentFileList::MenuText(int32_t index, int32_t maxLength) const
{
    if (index < 0 || index >= Count())
        return {};
    QString path = QDir::toNativeSeparators(QString::fromStdString(At(index)));
    const QString name = QFileInfo(path).fileName();
    if (path.size() > maxLength) {
        // Keep the file name whole and as much of the folder's start as fits.
        const int32_t room = std::max<int32_t>(maxLength - int32_t(name.size()) - 4, 3);
        path = path.left(room) + ".../" + name;
        if (name.size() + 4 > maxLength)
            path = name;
    }
    path.replace("&", "&&");
    return QString("&%1 %2").arg(index + 1).arg(path);
}
