// The installed fonts as the font list and the font table see them: the
// font families of the font database, each described as the desktop's
// enumeration describes a face. The common Windows faces are listed under
// their own names wherever their metric-compatible stand-ins are installed,
// because that is how the drawing code resolves them (platform/font_mapper.h).
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QRawFont>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "foundation/cp1252.h"
#include "platform/font_mapper.h"
#include "platform/printer_handles.h"
#include "typography/font_source.h"

namespace {

struct Charset {
    uint8_t charSet;
    const char* script;
};

// The code-page bits of a face's OS/2 table, in the order the character
// sets are listed.
struct CodePageBit {
    int bit;
    Charset set;
};
constexpr CodePageBit kCodePages[] = {
    {0, {0, "Western"}},          {1, {238, "Central European"}}, {2, {204, "Cyrillic"}},
    {3, {161, "Greek"}},          {4, {162, "Turkish"}},          {5, {177, "Hebrew"}},
    {6, {178, "Arabic"}},         {7, {186, "Baltic"}},           {8, {163, "Vietnamese"}},
    {16, {222, "Thai"}},          {17, {128, "Japanese"}},        {18, {134, "CHINESE_GB2312"}},
    {19, {129, "Hangul"}},        {20, {136, "CHINESE_BIG5"}},    {21, {130, "Hangul(Johab)"}},
    {31, {2, "Symbol"}},
};

// For faces whose tables say nothing of code pages.
struct WritingSystemSet {
    QFontDatabase::WritingSystem system;
    Charset set;
};
const WritingSystemSet kWritingSystems[] = {
    {QFontDatabase::Latin, {0, "Western"}},
    {QFontDatabase::Greek, {161, "Greek"}},
    {QFontDatabase::Cyrillic, {204, "Cyrillic"}},
    {QFontDatabase::Hebrew, {177, "Hebrew"}},
    {QFontDatabase::Arabic, {178, "Arabic"}},
    {QFontDatabase::Vietnamese, {163, "Vietnamese"}},
    {QFontDatabase::Thai, {222, "Thai"}},
    {QFontDatabase::Japanese, {128, "Japanese"}},
    {QFontDatabase::SimplifiedChinese, {134, "CHINESE_GB2312"}},
    {QFontDatabase::Korean, {129, "Hangul"}},
    {QFontDatabase::TraditionalChinese, {136, "CHINESE_BIG5"}},
    {QFontDatabase::Symbol, {2, "Symbol"}},
};

struct WindowsAlias {
    const char* face;
};
constexpr WindowsAlias kAliases[] = {{"Arial"}, {"Times New Roman"}, {"Courier New"}};

struct Face {
    std::string name;  // Windows-1252
    QString family;    // the family that draws it
    uint32_t fontType = TRUETYPE_FONTTYPE;
    uint8_t pitchAndFamily = 0;
    uint32_t emSize = 0;
    std::vector<Charset> charsets;
    std::vector<int32_t> pointSizes;  // raster faces
};

// The family bits of a face from its OS/2 table: the PANOSE classification
// first, then the IBM font class.
uint8_t FamilyBits(const QByteArray& os2, bool fixedPitch)
{
    uint8_t bits = FF_DONTCARE;
    if (os2.size() >= 42) {
        const auto* t = reinterpret_cast<const uint8_t*>(os2.constData());
        const uint8_t kind = t[32];
        const uint8_t serif = t[33];
        const uint8_t proportion = t[35];
        const uint8_t familyClass = t[30];
        if (kind == 2) {
            if (proportion == 9)
                bits = FF_MODERN;
            else if (serif >= 11 && serif <= 13)
                bits = FF_SWISS;
            else if (serif >= 2 && serif <= 10)
                bits = FF_ROMAN;
        } else if (kind == 3) {
            bits = FF_SCRIPT;
        } else if (kind == 4 || kind == 5) {
            bits = FF_DECORATIVE;
        }
        if (bits == FF_DONTCARE) {
            if ((familyClass >= 1 && familyClass <= 5) || familyClass == 7)
                bits = FF_ROMAN;
            else if (familyClass == 8)
                bits = FF_SWISS;
            else if (familyClass == 10)
                bits = FF_SCRIPT;
            else if (familyClass == 9 || familyClass == 12)
                bits = FF_DECORATIVE;
        }
    }
    if (bits == FF_DONTCARE && fixedPitch)
        bits = FF_MODERN;
    return bits;
}

Face Describe(const QString& family)
{
    Face f;
    f.family = family;
    f.name = QStringToCp1252(family);
    const bool scalable = QFontDatabase::isScalable(family);
    const bool fixed = QFontDatabase::isFixedPitch(family);
    f.fontType = scalable ? TRUETYPE_FONTTYPE : RASTER_FONTTYPE;
    QFont font(family);
    font.setPixelSize(64);
    const QRawFont raw = QRawFont::fromFont(font);
    const QByteArray os2 = raw.isValid() ? raw.fontTable("OS/2") : QByteArray();
    if (scalable && raw.isValid())
        f.emSize = uint32_t(std::max(0.0, raw.unitsPerEm()));
    f.pitchAndFamily = uint8_t((fixed ? FIXED_PITCH : VARIABLE_PITCH) | FamilyBits(os2, fixed));

    if (os2.size() >= 86 && qFromBigEndian<quint16>(os2.constData()) >= 1) {
        const quint32 pages = qFromBigEndian<quint32>(os2.constData() + 78);
        for (const CodePageBit& cp : kCodePages) {
            if (pages & (1u << cp.bit))
                f.charsets.push_back(cp.set);
        }
    }
    if (f.charsets.empty()) {
        const QList<QFontDatabase::WritingSystem> systems = QFontDatabase::writingSystems(family);
        for (const WritingSystemSet& ws : kWritingSystems) {
            if (systems.contains(ws.system))
                f.charsets.push_back(ws.set);
        }
    }
    if (f.charsets.empty())
        f.charsets.push_back({0, "Western"});
    if (!scalable) {
        for (int size : QFontDatabase::pointSizes(family))
            f.pointSizes.push_back(size);
    }
    return f;
}

// Face names are at most 31 bytes of Windows-1252: a family that cannot be
// named so cannot be asked for by a stored font description.
bool Nameable(const QString& family)
{
    if (family.isEmpty())
        return false;
    for (QChar c : family) {
        if (UnicodeToCp1252(c.unicode()) < 0)
            return false;
    }
    return QStringToCp1252(family).size() <= 31;
}

class SystemFontSource : public FontSource {
public:
    // The application's printer, as its settings hold it: the print system
    // is asked once, not at every font looked up.
    bool OnPrinter() const override { return GetPrinterHandles() != nullptr; }

    int32_t LogPixelsY() const override
    {
        const PrinterSettings* s = GetPrinterHandles();
        if (s && s->dmYResolution > 0)
            return s->dmYResolution;
        return 96;
    }

    int32_t EnumFontFamiliesEx(const LogFont& filter, const FontEnumProc& proc) const override
    {
        const std::string wanted(filter.faceName, strnlen(filter.faceName, sizeof(filter.faceName)));
        const std::vector<Face> faces = wanted.empty() ? Faces() : FacesNamed(wanted);
        const int32_t dpi = wanted.empty() ? 96 : LogPixelsY();
        int32_t result = 1;
        for (const Face& face : faces) {
            if (!wanted.empty() && !SameName(face.name, wanted))
                continue;
            for (const Charset& set : face.charsets) {
                if (filter.charSet != DEFAULT_CHARSET && filter.charSet != set.charSet)
                    continue;
                EnumeratedFont e;
                std::memcpy(e.logFont.faceName, face.name.data(), face.name.size());
                e.logFont.charSet = set.charSet;
                e.logFont.pitchAndFamily = face.pitchAndFamily;
                std::strncpy(e.script, set.script, sizeof(e.script) - 1);
                e.emSize = face.emSize;
                if (wanted.empty() || face.pointSizes.empty()) {
                    result = proc(e, face.fontType);
                    if (result == 0)
                        return 0;
                    continue;
                }
                for (int32_t points : face.pointSizes) {
                    e.height = (points * dpi + 36) / 72;
                    e.internalLeading = 0;
                    result = proc(e, face.fontType);
                    if (result == 0)
                        return 0;
                }
            }
        }
        return result;
    }

    bool RealizeFont(const LogFont& request, RealizedFont* out) const override
    {
        const std::vector<Listed> listed = List();
        if (listed.empty())
            return false;
        const std::string name(request.faceName, strnlen(request.faceName, sizeof(request.faceName)));
        const Listed* chosen = nullptr;
        for (const Listed& entry : listed) {
            if (!name.empty() && SameName(entry.name, name)) {
                chosen = &entry;
                break;
            }
        }
        if (!chosen) {
            // Whatever face the drawing code falls back on.
            const QRawFont raw = QRawFont::fromFont(QFont(ResolveFaceFamily(request.faceName)));
            if (!raw.isValid())
                return false;
            const QString drawn = raw.familyName();
            for (const Listed& entry : listed) {
                if (entry.family.compare(drawn, Qt::CaseInsensitive) == 0 &&
                    (!chosen || entry.name == QStringToCp1252(entry.family)))
                    chosen = &entry;
            }
            if (!chosen)
                return false;
        }
        const Face found = Described(*chosen);
        *out = RealizedFont{};
        out->charSet = found.charsets.front().charSet;
        for (const Charset& set : found.charsets) {
            if (set.charSet == request.charSet)
                out->charSet = set.charSet;
        }
        uint8_t bits = found.pitchAndFamily & 0xF0;
        if ((found.pitchAndFamily & 3) != FIXED_PITCH)
            bits |= TMPF_FIXED_PITCH;
        if (found.fontType == TRUETYPE_FONTTYPE)
            bits |= TMPF_TRUETYPE | TMPF_VECTOR;
        out->pitchAndFamily = bits;
        std::memcpy(out->faceName, found.name.data(), std::min(found.name.size(), sizeof(out->faceName) - 1));
        return true;
    }

private:
    // Face names match as the desktop matches them: in any case.
    static bool SameName(const std::string& a, const std::string& b) { return Cp1252EqualIgnoringCase(a, b); }

    // A face as listed: its name, and the family that draws it (another
    // family's for a Windows face listed under a stand-in).
    struct Listed {
        std::string name;  // Windows-1252
        QString family;
    };

    // The faces in the order they are enumerated; the list follows the
    // font database. Cheap: nothing is described.
    std::vector<Listed> List() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            return {};
        const QStringList families = QFontDatabase::families();
        if (families == families_ && !listed_.empty())
            return listed_;
        families_ = families;
        listed_.clear();
        for (const QString& family : families) {
            if (QFontDatabase::isPrivateFamily(family) || !Nameable(family))
                continue;
            listed_.push_back({QStringToCp1252(family), family});
        }
        for (const WindowsAlias& alias : kAliases) {
            const QString target = ResolveFaceFamily(alias.face);
            const auto own = std::find_if(listed_.begin(), listed_.end(),
                                          [&](const Listed& f) { return SameName(f.name, alias.face); });
            const auto standIn = std::find_if(listed_.begin(), listed_.end(), [&](const Listed& f) {
                return f.family.compare(target, Qt::CaseInsensitive) == 0;
            });
            if (own == listed_.end() && standIn != listed_.end())
                listed_.push_back({alias.face, standIn->family});
        }
        return listed_;
    }

    // Each family is described once, when first asked for: describing
    // opens the face, and a desktop may have hundreds of them.
    Face Described(const Listed& entry) const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = described_.find(entry.family);
        if (it == described_.end())
            it = described_.emplace(entry.family, Describe(entry.family)).first;
        Face f = it->second;
        f.name = entry.name;
        return f;
    }

    std::vector<Face> Faces() const
    {
        std::vector<Face> faces;
        for (const Listed& entry : List())
            faces.push_back(Described(entry));
        return faces;
    }

    std::vector<Face> FacesNamed(const std::string& name) const
    {
        std::vector<Face> faces;
        for (const Listed& entry : List()) {
            if (SameName(entry.name, name))
                faces.push_back(Described(entry));
        }
        return faces;
    }

    mutable std::mutex mutex_;
    mutable QStringList families_;
    mutable std::vector<Listed> listed_;
    mutable std::map<QString, Face> described_;
};

const FontSource* g_source = nullptr;

}  // namespace

const FontSource& CurrentFontSource()
{
    static SystemFontSource system;
    return g_source ? *g_source : system;
}

void SetFontSource(const FontSource* source) { g_source = source; }
