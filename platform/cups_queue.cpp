#include "platform/cups_queue.h"

#include <cups/cups.h>

namespace {

constexpr const char* kPostScript = CUPS_FORMAT_POSTSCRIPT;
constexpr const char* kFormat = "document-format";

}  // namespace

bool CupsQueueTakesPostScript(const QString& queue)
{
    if (queue.isEmpty())
        return false;
    const QByteArray name = queue.toUtf8();
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(), nullptr);
    if (!dest)
        return false;
    bool takes = false;
    if (cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest)) {
        takes = cupsCheckDestSupported(CUPS_HTTP_DEFAULT, dest, info, kFormat, kPostScript) != 0;
        cupsFreeDestInfo(info);
    }
    cupsFreeDests(1, dest);
    return takes;
}

bool CupsSubmitPostScript(const QString& queue, const QString& path, const QString& title)
{
    const QByteArray name = queue.toUtf8();
    const QByteArray file = path.toLocal8Bit();
    const QByteArray job = title.toUtf8();
    cups_option_t* options = nullptr;
    const int count = cupsAddOption(kFormat, kPostScript, 0, &options);
    const int id = cupsPrintFile(name.constData(), file.constData(), job.constData(), count, options);
    cupsFreeOptions(count, options);
    return id > 0;
}
