#include "carddoc/card_document_host.h"

#include <QtGlobal>
#include <utility>

namespace {

CardDocumentHost* g_host = nullptr;

}  // namespace

CardDocumentHost* SetCardDocumentHost(CardDocumentHost* host) { return std::exchange(g_host, host); }

CardDocumentHost& CurrentCardDocumentHost()
{
    if (!g_host)
        qFatal("A card document was used before the program installed its CardDocumentHost");
    return *g_host;
}

void ShowToolPrompt(const std::string& text)
{
    // Without a person nobody reads the status bar.
    if (g_host)
        g_host->ShowPrompt(text);
}
