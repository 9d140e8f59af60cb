// Layouts of the two metafile formats: enhanced metafiles (32-bit records)
// and Windows metafiles (16-bit records), with the 22-byte placeable header
// that precedes Windows metafiles in files.
//
// Both are little-endian record streams. Offsets are from the start of the
// record (its type word) unless a comment says otherwise; every reader goes
// through LeReader or checks the record's size before a Get*LE.
#pragma once

#include <cstdint>

// --- Enhanced metafiles ----------------------------------------------------
//
// Every record starts with type u32 and size u32 (bytes, a multiple of 4,
// at least 8). The first record is the header, the last EMR_EOF.

enum : uint32_t {
    EMR_HEADER = 1,
    EMR_POLYBEZIER = 2,
    EMR_POLYGON = 3,
    EMR_POLYLINE = 4,
    EMR_POLYBEZIERTO = 5,
    EMR_POLYLINETO = 6,
    EMR_POLYPOLYLINE = 7,
    EMR_POLYPOLYGON = 8,
    EMR_SETWINDOWEXTEX = 9,
    EMR_SETWINDOWORGEX = 10,
    EMR_SETVIEWPORTEXTEX = 11,
    EMR_SETVIEWPORTORGEX = 12,
    EMR_SETBRUSHORGEX = 13,
    EMR_EOF = 14,
    EMR_SETPIXELV = 15,
    EMR_SETMAPPERFLAGS = 16,
    EMR_SETMAPMODE = 17,
    EMR_SETBKMODE = 18,
    EMR_SETPOLYFILLMODE = 19,
    EMR_SETROP2 = 20,
    EMR_SETSTRETCHBLTMODE = 21,
    EMR_SETTEXTALIGN = 22,
    EMR_SETCOLORADJUSTMENT = 23,
    EMR_SETTEXTCOLOR = 24,
    EMR_SETBKCOLOR = 25,
    EMR_OFFSETCLIPRGN = 26,
    EMR_MOVETOEX = 27,
    EMR_SETMETARGN = 28,
    EMR_EXCLUDECLIPRECT = 29,
    EMR_INTERSECTCLIPRECT = 30,
    EMR_SCALEVIEWPORTEXTEX = 31,
    EMR_SCALEWINDOWEXTEX = 32,
    EMR_SAVEDC = 33,
    EMR_RESTOREDC = 34,
    EMR_SETWORLDTRANSFORM = 35,
    EMR_MODIFYWORLDTRANSFORM = 36,
    EMR_SELECTOBJECT = 37,
    EMR_CREATEPEN = 38,
    EMR_CREATEBRUSHINDIRECT = 39,
    EMR_DELETEOBJECT = 40,
    EMR_ANGLEARC = 41,
    EMR_ELLIPSE = 42,
    EMR_RECTANGLE = 43,
    EMR_ROUNDRECT = 44,
    EMR_ARC = 45,
    EMR_CHORD = 46,
    EMR_PIE = 47,
    EMR_SELECTPALETTE = 48,
    EMR_CREATEPALETTE = 49,
    EMR_SETPALETTEENTRIES = 50,
    EMR_RESIZEPALETTE = 51,
    EMR_REALIZEPALETTE = 52,
    EMR_EXTFLOODFILL = 53,
    EMR_LINETO = 54,
    EMR_ARCTO = 55,
    EMR_POLYDRAW = 56,
    EMR_SETARCDIRECTION = 57,
    EMR_SETMITERLIMIT = 58,
    EMR_BEGINPATH = 59,
    EMR_ENDPATH = 60,
    EMR_CLOSEFIGURE = 61,
    EMR_FILLPATH = 62,
    EMR_STROKEANDFILLPATH = 63,
    EMR_STROKEPATH = 64,
    EMR_FLATTENPATH = 65,
    EMR_WIDENPATH = 66,
    EMR_SELECTCLIPPATH = 67,
    EMR_ABORTPATH = 68,
    EMR_GDICOMMENT = 70,
    EMR_FILLRGN = 71,
    EMR_FRAMERGN = 72,
    EMR_INVERTRGN = 73,
    EMR_PAINTRGN = 74,
    EMR_EXTSELECTCLIPRGN = 75,
    EMR_BITBLT = 76,
    EMR_STRETCHBLT = 77,
    EMR_MASKBLT = 78,
    EMR_PLGBLT = 79,
    EMR_SETDIBITSTODEVICE = 80,
    EMR_STRETCHDIBITS = 81,
    EMR_EXTCREATEFONTINDIRECTW = 82,
    EMR_EXTTEXTOUTA = 83,
    EMR_EXTTEXTOUTW = 84,
    EMR_POLYBEZIER16 = 85,
    EMR_POLYGON16 = 86,
    EMR_POLYLINE16 = 87,
    EMR_POLYBEZIERTO16 = 88,
    EMR_POLYLINETO16 = 89,
    EMR_POLYPOLYLINE16 = 90,
    EMR_POLYPOLYGON16 = 91,
    EMR_POLYDRAW16 = 92,
    EMR_CREATEMONOBRUSH = 93,
    EMR_CREATEDIBPATTERNBRUSHPT = 94,
    EMR_EXTCREATEPEN = 95,
    EMR_POLYTEXTOUTA = 96,
    EMR_POLYTEXTOUTW = 97,
    EMR_SETICMMODE = 98,
    EMR_SMALLTEXTOUT = 108,
    EMR_ALPHABLEND = 114,
    EMR_SETLAYOUT = 115,
    EMR_TRANSPARENTBLT = 116,
    EMR_GRADIENTFILL = 118,
};

// The header record (ENHMETAHEADER). The base form is 88 bytes; 100 adds
// the pixel-format fields and 108 the reference device in micrometres.
enum : uint32_t {
    kEmfHeaderBounds = 8,        // 4 x i32, device units, inclusive
    kEmfHeaderFrame = 24,        // 4 x i32, 0.01 mm, inclusive
    kEmfHeaderSignature = 40,    // u32 kEmfSignature
    kEmfHeaderVersion = 44,      // u32 0x10000
    kEmfHeaderBytes = 48,        // u32 size of the whole metafile
    kEmfHeaderRecords = 52,      // u32 number of records
    kEmfHeaderHandles = 56,      // u16 object table size, index 0 reserved
    kEmfHeaderReserved = 58,     // u16 0
    kEmfHeaderDescriptionChars = 60,   // u32 UTF-16 units, terminators included
    kEmfHeaderDescriptionOffset = 64,  // u32 from the record start
    kEmfHeaderPalEntries = 68,   // u32
    kEmfHeaderDevice = 72,       // 2 x i32 reference device, pixels
    kEmfHeaderMillimeters = 80,  // 2 x i32 reference device, millimetres
    kEmfHeaderPixelFormatSize = 88,
    kEmfHeaderPixelFormatOffset = 92,
    kEmfHeaderOpenGl = 96,
    kEmfHeaderMicrometers = 100,  // 2 x i32 reference device, micrometres
    kEmfHeaderBaseSize = 88,
    kEmfHeaderSizeWithPixelFormat = 100,
    kEmfHeaderFullSize = 108,
};
constexpr uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr uint32_t kEmfVersion = 0x00010000;

// Object indexes with the high bit set name stock objects.
constexpr uint32_t kEmfStockObject = 0x80000000;
enum : uint32_t {
    WHITE_BRUSH = 0,
    LTGRAY_BRUSH = 1,
    GRAY_BRUSH = 2,
    DKGRAY_BRUSH = 3,
    BLACK_BRUSH = 4,
    NULL_BRUSH = 5,
    WHITE_PEN = 6,
    BLACK_PEN = 7,
    NULL_PEN = 8,
    OEM_FIXED_FONT = 10,
    ANSI_FIXED_FONT = 11,
    ANSI_VAR_FONT = 12,
    SYSTEM_FONT = 13,
    DEVICE_DEFAULT_FONT = 14,
    DEFAULT_PALETTE = 15,
    SYSTEM_FIXED_FONT = 16,
    DEFAULT_GUI_FONT = 17,
    DC_BRUSH = 18,
    DC_PEN = 19,
};

// Pen style bits beyond the basic styles of gdi_types.h.
enum : uint32_t {
    PS_STYLE_MASK = 0x0000000F,
    PS_USERSTYLE = 7,
    PS_ALTERNATE = 8,
    PS_TYPE_MASK = 0x000F0000,
    PS_GEOMETRIC = 0x00010000,
};

// Brush styles that only metafiles carry.
enum : uint32_t {
    BS_INDEXED = 4,
    BS_DIBPATTERN = 5,
    BS_DIBPATTERNPT = 6,
};

enum : uint32_t {
    MWT_IDENTITY = 1,
    MWT_LEFTMULTIPLY = 2,
    MWT_RIGHTMULTIPLY = 3,
    MWT_SET = 4,
};
enum : uint32_t {
    AD_COUNTERCLOCKWISE = 1,
    AD_CLOCKWISE = 2,
};
enum : uint32_t {
    GM_COMPATIBLE = 1,
    GM_ADVANCED = 2,
};
enum : uint32_t {
    DIB_RGB_COLORS = 0,
    DIB_PAL_COLORS = 1,
};
// Text output options carried by the text records (ETO_OPAQUE and
// ETO_CLIPPED are in dc.h).
enum : uint32_t {
    ETO_GLYPH_INDEX = 0x0010,
    ETO_RTLREADING = 0x0080,
    ETO_NO_RECT = 0x0100,
    ETO_SMALL_CHARS = 0x0200,
    ETO_PDY = 0x2000,
};

// The text part shared by EMR_EXTTEXTOUTA/W and each string of
// EMR_POLYTEXTOUTA/W (offsets from the part's start; the string and dx
// offsets inside it count from the record's start).
enum : uint32_t {
    kEmrTextReference = 0,  // 2 x i32
    kEmrTextChars = 8,      // u32
    kEmrTextOffString = 12,
    kEmrTextOptions = 16,
    kEmrTextRect = 20,      // 4 x i32
    kEmrTextOffDx = 36,
    kEmrTextSize = 40,
};
// EMR_EXTTEXTOUTA/W: bounds 8, graphics mode 24, x scale 28, y scale 32,
// then the text part.
constexpr uint32_t kEmrExtTextOutText = 36;

// Region data (RGNDATA): a 32-byte header (size 32, type 1, rectangle
// count, byte count, bounds) and the rectangles, in device units.
constexpr uint32_t kRgnDataHeaderSize = 32;
constexpr uint32_t kRdhRectangles = 1;

// --- Windows metafiles -----------------------------------------------------

// The placeable header (22 bytes) some files put before the metafile.
constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
enum : uint32_t {
    kPlaceableKeyOffset = 0,       // u32
    kPlaceableHandle = 4,          // u16 0
    kPlaceableLeft = 6,            // i16
    kPlaceableTop = 8,             // i16
    kPlaceableRight = 10,          // i16
    kPlaceableBottom = 12,         // i16
    kPlaceableInch = 14,           // u16 units per inch
    kPlaceableReserved = 16,       // u32 0
    kPlaceableChecksum = 20,       // u16 XOR of the ten words before it
};
constexpr uint32_t kPlaceableSize = 22;

// The metafile header (METAHEADER, 18 bytes).
enum : uint32_t {
    kWmfHeaderType = 0,          // u16 1 memory, 2 disk
    kWmfHeaderSizeWords = 2,     // u16 9
    kWmfHeaderVersion = 4,       // u16 0x100 or 0x300
    kWmfHeaderFileWords = 6,     // u32 size of the metafile in 16-bit words
    kWmfHeaderObjects = 10,      // u16 object table size
    kWmfHeaderMaxRecord = 12,    // u32 largest record, words
    kWmfHeaderMembers = 16,      // u16 0
};
constexpr uint32_t kWmfHeaderSize = 18;

// Every record: size u32 (16-bit words, header included), function u16,
// then the parameters, most of them in the reverse order of the call's
// arguments.
enum : uint16_t {
    META_EOF = 0x0000,
    META_REALIZEPALETTE = 0x0035,
    META_SETPALENTRIES = 0x0037,
    META_SETBKMODE = 0x0102,
    META_SETMAPMODE = 0x0103,
    META_SETROP2 = 0x0104,
    META_SETRELABS = 0x0105,
    META_SETPOLYFILLMODE = 0x0106,
    META_SETSTRETCHBLTMODE = 0x0107,
    META_SETTEXTCHAREXTRA = 0x0108,
    META_RESTOREDC = 0x0127,
    META_RESIZEPALETTE = 0x0139,
    META_DIBCREATEPATTERNBRUSH = 0x0142,
    META_SETLAYOUT = 0x0149,
    META_SETBKCOLOR = 0x0201,
    META_SETTEXTCOLOR = 0x0209,
    META_OFFSETVIEWPORTORG = 0x0211,
    META_LINETO = 0x0213,
    META_MOVETO = 0x0214,
    META_OFFSETCLIPRGN = 0x0220,
    META_FILLREGION = 0x0228,
    META_SETMAPPERFLAGS = 0x0231,
    META_SELECTPALETTE = 0x0234,
    META_POLYGON = 0x0324,
    META_POLYLINE = 0x0325,
    META_SETTEXTJUSTIFICATION = 0x020A,
    META_SETWINDOWORG = 0x020B,
    META_SETWINDOWEXT = 0x020C,
    META_SETVIEWPORTORG = 0x020D,
    META_SETVIEWPORTEXT = 0x020E,
    META_OFFSETWINDOWORG = 0x020F,
    META_SCALEWINDOWEXT = 0x0410,
    META_SCALEVIEWPORTEXT = 0x0412,
    META_EXCLUDECLIPRECT = 0x0415,
    META_INTERSECTCLIPRECT = 0x0416,
    META_ELLIPSE = 0x0418,
    META_FLOODFILL = 0x0419,
    META_FRAMEREGION = 0x0429,
    META_ANIMATEPALETTE = 0x0436,
    META_TEXTOUT = 0x0521,
    META_POLYPOLYGON = 0x0538,
    META_EXTFLOODFILL = 0x0548,
    META_RECTANGLE = 0x041B,
    META_SETPIXEL = 0x041F,
    META_ROUNDRECT = 0x061C,
    META_PATBLT = 0x061D,
    META_SAVEDC = 0x001E,
    META_PIE = 0x081A,
    META_STRETCHBLT = 0x0B23,
    META_ESCAPE = 0x0626,
    META_INVERTREGION = 0x012A,
    META_PAINTREGION = 0x012B,
    META_SELECTCLIPREGION = 0x012C,
    META_SELECTOBJECT = 0x012D,
    META_SETTEXTALIGN = 0x012E,
    META_ARC = 0x0817,
    META_CHORD = 0x0830,
    META_BITBLT = 0x0922,
    META_EXTTEXTOUT = 0x0A32,
    META_SETDIBTODEV = 0x0D33,
    META_DIBBITBLT = 0x0940,
    META_DIBSTRETCHBLT = 0x0B41,
    META_STRETCHDIB = 0x0F43,
    META_DELETEOBJECT = 0x01F0,
    META_CREATEPALETTE = 0x00F7,
    META_CREATEPATTERNBRUSH = 0x01F9,
    META_CREATEPENINDIRECT = 0x02FA,
    META_CREATEFONTINDIRECT = 0x02FB,
    META_CREATEBRUSHINDIRECT = 0x02FC,
    META_CREATEREGION = 0x06FF,
};

// Font records: LOGFONT with a 16-bit (Windows metafiles) or 32-bit
// (enhanced metafiles) height, width, escapement, orientation and weight,
// then eight bytes (italic, underline, strike-out, character set, output
// precision, clip precision, quality, pitch and family) and the face name,
// 32 characters of 1 (Windows) or 2 (enhanced) bytes.
constexpr uint32_t kLogFontWSize = 92;
constexpr uint32_t kFaceChars = 32;

// Bitmap headers inside records.
constexpr uint32_t kBitmapCoreHeaderSize = 12;
constexpr uint32_t kBitmapInfoHeaderSize = 40;
enum : uint32_t {
    BI_RGB = 0,
    BI_RLE8 = 1,
    BI_RLE4 = 2,
    BI_BITFIELDS = 3,
};
