#include "app/clipboard_system.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QVariant>
#include <map>

#include "foundation/cp1252.h"

namespace {

constexpr int32_t kFirstRegistered = 0xC000;

std::map<std::string, int32_t>& RegisteredByName()
{
    static std::map<std::string, int32_t> names;
    return names;
}

// The name a registered format goes by on the system clipboard.
QString RegisteredName(int32_t format)
{
    for (const auto& [name, number] : RegisteredByName()) {
        if (number == format)
            return QString::fromStdString(name);
    }
    return {};
}

QClipboard* System() { return QGuiApplication::instance() ? QGuiApplication::clipboard() : nullptr; }

const QMimeData* Offered()
{
    QClipboard* clipboard = System();
    return clipboard ? clipboard->mimeData() : nullptr;
}

bool Offers(const QMimeData* data, int32_t format)
{
    if (!data)
        return false;
    switch (format) {
    case kClipText: return data->hasText();
    case kClipDib: return data->hasImage();
    case kClipEnhMetafile:
    case kClipOwnerDisplay: return false;
    default: break;
    }
    const QString name = RegisteredName(format);
    return !name.isEmpty() && data->hasFormat(name);
}

}  // namespace

int32_t RegisterClipboardFormat(const char* name)
{
    auto& names = RegisteredByName();
    const auto found = names.find(name);
    if (found != names.end())
        return found->second;
    const int32_t number = kFirstRegistered + int32_t(names.size());
    names.emplace(name, number);
    return number;
}

int32_t FirstAvailableFormat(const int32_t* formats, int count)
{
    const QMimeData* data = Offered();
    if (!data || data->formats().isEmpty())
        return 0;
    for (int i = 0; i < count; ++i) {
        if (Offers(data, formats[i]))
            return formats[i];
    }
    return -1;
}

bool IsClipboardFormatAvailable(int32_t format) { return Offers(Offered(), format); }

ClipboardAccess::ClipboardAccess() = default;

ClipboardAccess::~ClipboardAccess()
{
    QClipboard* clipboard = System();
    if (!changed_ || !clipboard)
        return;
    if (!pending_ || pending_->formats().isEmpty())
        clipboard->clear();
    else
        clipboard->setMimeData(pending_.release());
}

void ClipboardAccess::Empty()
{
    pending_ = std::make_unique<QMimeData>();
    changed_ = true;
}

void ClipboardAccess::PutData(int32_t format, const QByteArray& bytes)
{
    const QString name = RegisteredName(format);
    if (name.isEmpty())
        return;
    if (!pending_)
        Empty();
    pending_->setData(name, bytes);
    changed_ = true;
}

void ClipboardAccess::PutText(const uint8_t* bytes, uint32_t n)
{
    if (!pending_)
        Empty();
    pending_->setText(ClipboardTextFromBytes(bytes, n));
    changed_ = true;
}

void ClipboardAccess::PutPicture(const QImage& picture)
{
    if (!pending_)
        Empty();
    pending_->setImageData(picture);
    changed_ = true;
}

std::string ClipboardAccess::GetText(int32_t* leftOut) const
{
    const QMimeData* data = Offered();
    if (leftOut)
        *leftOut = 0;
    return data && data->hasText() ? ClipboardBytesFromText(data->text(), leftOut) : std::string();
}

QImage ClipboardAccess::GetPicture() const
{
    const QMimeData* data = Offered();
    return data && data->hasImage() ? qvariant_cast<QImage>(data->imageData()) : QImage();
}

QByteArray ClipboardAccess::GetData(int32_t format) const
{
    const QMimeData* data = Offered();
    const QString name = RegisteredName(format);
    return data && !name.isEmpty() ? data->data(name) : QByteArray();
}

QString ClipboardTextFromBytes(const uint8_t* bytes, uint32_t n)
{
    std::string text(reinterpret_cast<const char*>(bytes), n);
    for (char& c : text) {
        if (c == '\r' || c == '\0')
            c = '\n';
    }
    return Cp1252ToQString(std::string_view(text));
}

std::string ClipboardBytesFromText(const QString& text, int32_t* leftOut)
{
    int32_t dropped = 0;
    const std::string bytes = QStringToCp1252Keeping(text, &dropped);
    std::string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            continue;
        // A story's text ends at a NUL where it is drawn and printed: one
        // is left out as a character the code page lacks is.
        if (c == '\0') {
            ++dropped;
            continue;
        }
        out.push_back(c == '\n' ? '\r' : c);
    }
    if (leftOut)
        *leftOut = dropped;
    return out;
}
