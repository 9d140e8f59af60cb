// Times the passes every printed page's content goes through just before
// it is compressed (TrimPageContent, then DrawFromLocalOrigins). Each
// argument is a folder of page contents as Qt's PDF engine writes them
// (uncompressed, one file a page) or one such file; each line gives its
// size, the size written anew and the best speed of each pass over a few
// rounds, one thread.
//
//   page_content_bench FOLDER|FILE... [--rounds N]

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include "pdf/pdf_content_trim.h"
#include "pdf/pdf_local_origins.h"

namespace {

std::vector<QByteArray> Pages(const QString& path)
{
    QStringList files;
    if (QFileInfo(path).isDir()) {
        const QDir dir(path);
        for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
            files << dir.filePath(name);
    } else {
        files << path;
    }
    std::vector<QByteArray> pages;
    for (const QString& name : files) {
        QFile file(name);
        if (file.open(QIODevice::ReadOnly))
            pages.push_back(file.readAll());
    }
    return pages;
}

}  // namespace

int main(int argc, char** argv)
{
    int rounds = 5;
    QStringList paths;
    for (int k = 1; k < argc; ++k) {
        if (std::strcmp(argv[k], "--rounds") == 0 && k + 1 < argc)
            rounds = std::max(1, std::atoi(argv[++k]));
        else
            paths << QString::fromLocal8Bit(argv[k]);
    }
    if (paths.isEmpty()) {
        std::fprintf(stderr, "usage: page_content_bench FOLDER|FILE... [--rounds N]\n");
        return 2;
    }
    for (const QString& path : paths) {
        const std::vector<QByteArray> pages = Pages(path);
        if (pages.empty()) {
            std::fprintf(stderr, "%s: no pages\n", qPrintable(path));
            return 1;
        }
        qint64 in = 0;
        std::vector<QByteArray> trimmed;
        for (const QByteArray& page : pages) {
            in += page.size();
            trimmed.push_back(TrimPageContent(page));
        }
        // The best of the rounds of one pass over its pages, in MB/s, and
        // the bytes it writes.
        const auto time = [rounds, in](const std::vector<QByteArray>& from, QByteArray (*pass)(const QByteArray&),
                                       qint64* out) {
            qint64 best = -1;
            for (int round = 0; round < rounds; ++round) {
                QElapsedTimer clock;
                clock.start();
                qint64 written = 0;
                for (const QByteArray& page : from)
                    written += pass(page).size();
                const qint64 took = clock.nsecsElapsed();
                *out = written;
                best = best < 0 ? took : std::min(best, took);
            }
            return best > 0 ? in * 1e3 / double(best) : 0.0;
        };
        qint64 trimmedSize = 0, out = 0;
        const double trimSpeed = time(pages, [](const QByteArray& page) { return TrimPageContent(page); }, &trimmedSize);
        const double originSpeed = time(trimmed, DrawFromLocalOrigins, &out);
        std::printf("%-40s %5zu pages %11lld -> %11lld -> %11lld bytes, trimmed %8.1f MB/s, from origins %8.1f MB/s\n",
                    qPrintable(path), pages.size(), static_cast<long long>(in), static_cast<long long>(trimmedSize),
                    static_cast<long long>(out), trimSpeed, originSpeed);
    }
    return 0;
}
