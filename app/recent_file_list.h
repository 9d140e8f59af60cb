// RecentFileList: the files opened or saved last, newest first, kept in
// the profile section "Recent File List" as "File1", "File2", ... and
// shown at the end of the File menu.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <QString>

class QSettings;

class RecentFileList {
public:
    explicit RecentFileList(int32_t size);

    // Reads the entries; empty and repeated ones are skipped.
    void Load(QSettings& settings);
    // Writes every slot, clearing those without an entry.
    void Save(QSettings& settings) const;

    // Puts the path (a host path) in front; an entry naming the same file
    // moves instead of appearing twice, and the oldest falls off.
    void Add(const std::string& path);
    void Remove(int32_t index);

    int32_t Size() const { return size_; }
    int32_t Count() const { return int32_t(paths_.size()); }
    const std::string& At(int32_t index) const { return paths_[size_t(index)]; }

    // The item text of an entry: "&1 " and the path, shortened in the
    // middle to at most maxLength characters so that the file name stays.
    QString MenuText(int32_t index, int32_t maxLength = 40) const;

private:
    int32_t size_;
    std::vector<std::string> paths_;
};
