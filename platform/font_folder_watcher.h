// Watches the font folders of the font configuration while the program
// runs. When fonts arrive in one (or leave it), and the folders have been
// quiet for a moment, the font configuration is brought up to date, new
// font files are registered with Qt's font database, the fonts registered
// so that have gone are taken out of it, and the owner hears of it once.
#pragma once

#include <functional>
#include <map>
#include <set>

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

class FontFolderWatcher final : public QObject {
public:
    using ChangeHandler = std::function<void()>;

    // Starts watching the folders the font configuration names now.
    explicit FontFolderWatcher(ChangeHandler changed, QObject* parent = nullptr);
    ~FontFolderWatcher() override;

    // How long the folders stay quiet before a change counts: a font is
    // often copied as several files, or written in several steps.
    static constexpr int kQuietMilliseconds = 700;

    const QFileSystemWatcher& Watcher() const { return watcher_; }

private:
    // The folders to watch: every configured font folder and the folders
    // below it; for a configured folder that does not exist yet, the
    // nearest folder above it that does, so that its making is seen.
    void WatchFolders();
    // The font files now in the watched font folders.
    std::set<QString> FontFiles() const;
    void FolderChanged();
    void Settle();

    ChangeHandler changed_;
    QFileSystemWatcher watcher_;
    QTimer quiet_;
    std::set<QString> roots_;
    std::set<QString> files_;
    // Files registered with Qt's font database, and their ids there.
    std::map<QString, int> registered_;
};
