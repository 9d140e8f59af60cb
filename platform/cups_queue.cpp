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
    return CupsPrintFile(queue.toUtf8().toStdString(), path.toLocal8Bit().toStdString(), title.toUtf8().toStdString(),
                         {{kFormat, kPostScript}}) > 0;
}

int CupsPrintFile(const std::string& queue, const std::string& file, const std::string& title,
                  const std::vector<std::pair<std::string, std::string>>& options)
{
    cups_option_t* list = nullptr;
    int count = 0;
    for (const auto& [name, value] : options)
        count = cupsAddOption(name.c_str(), value.c_str(), count, &list);
    const int id = cupsPrintFile(queue.c_str(), file.c_str(), title.c_str(), count, list);
    cupsFreeOptions(count, list);
    return id;
}

const char* CupsLastError() { return cupsLastErrorString(); }
