#include "starter_catalogue.h"

#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "card_builder.h"
#include "carddoc/labels_doc.h"
#include "carddoc/labels_doc_registry.h"
#include "carddoc/labels_view.h"
#include "catalog/backdrop_list.h"
#include "catalog/doc_setup.h"
#include "catalog/wiz_tree.h"
#include "catalog/wizard_data.h"
#include "catalog/wizard_file_io.h"
#include "catalog/wizard_folders.h"
#include "catalog/wizard_list_format.h"
#include "database/field_table.h"
#include "foundation/byte_order.h"
#include "foundation/file_io.h"
#include "foundation/path_record.h"
#include "frames/frame_obj.h"
#include "records/label_stock_format.h"

namespace {

// --- Sheet layouts ------------------------------------------------------------

struct Layout {
    const char* name;
    double width, height, top, left, rowGap, columnGap;
    int16_t columns, rows;
    int32_t sides;
};

std::vector<uint8_t> LabelType(const Layout& l)
{
    std::vector<uint8_t> r(kWizLayoutSize, 0);
    WizPutName(r.data(), kWizNameSize, l.name);
    PutF64LE(&r[kLabelTypeCardWidthOffset], l.width);
    PutF64LE(&r[kLabelTypeCardHeightOffset], l.height);
    PutF64LE(&r[kLabelTypeTopMarginOffset], l.top);
    PutF64LE(&r[kLabelTypeLeftMarginOffset], l.left);
    PutF64LE(&r[kLabelTypeVerticalSpacingOffset], l.rowGap);
    PutF64LE(&r[kLabelTypeHorizontalSpacingOffset], l.columnGap);
    PutI16LE(&r[kLabelTypeColumnsOffset], l.columns);
    PutI16LE(&r[kLabelTypeRowsOffset], l.rows);
    PutI16LE(&r[kLabelTypeUnitOffset], 1);  // shown in inches
    PutU32LE(&r[kLabelTypeSidesOffset], uint32_t(l.sides));
    PutU32LE(&r[kLabelTypeWord140Offset], 1);
    return r;
}

// US Letter sheets, in points.
const Layout kBusinessCards{"Business Cards", 252, 144, 36, 54, 0, 0, 2, 5, 2};
const Layout kAddressLabels{"Address Labels", 189, 72, 36, 13.5, 0, 9, 3, 10, 1};
const Layout kShippingLabels{"Shipping Labels", 288, 144, 36, 11.25, 0, 13.5, 2, 5, 1};
const Layout kNameBadges{"Name Badges", 243, 168, 60, 36, 0, 54, 2, 4, 1};
const Layout kIndexCards{"Index Cards", 360, 216, 72, 126, 0, 0, 1, 3, 2};

// --- Backdrops ------------------------------------------------------------------

// A backdrop is drawn for its kind of document at 1.25 pixels a point, in
// one main colour and one accent.
using BackdropPainter = std::function<void(QPainter& p, double w, double h, QColor main, QColor accent)>;

struct Colourway {
    const char* name;
    QColor main;
    QColor accent;
};

const Colourway kOcean{"Ocean", QColor(32, 96, 168), QColor(120, 196, 220)};
const Colourway kForest{"Forest", QColor(34, 110, 72), QColor(190, 214, 120)};
const Colourway kSunset{"Sunset", QColor(200, 80, 48), QColor(246, 190, 90)};
const Colourway kSlate{"Slate", QColor(60, 72, 92), QColor(170, 182, 200)};
const Colourway kBerry{"Berry", QColor(140, 40, 96), QColor(232, 150, 180)};

QColor Tint(const QColor& c, double amount)
{
    return QColor(int(c.red() + (255 - c.red()) * amount), int(c.green() + (255 - c.green()) * amount),
                  int(c.blue() + (255 - c.blue()) * amount));
}

// Soft waves rising along the bottom edge.
void PaintWaves(QPainter& p, double w, double h, QColor main, QColor accent)
{
    p.fillRect(QRectF(0, 0, w, h), Tint(accent, 0.85));
    for (int layer = 0; layer < 3; ++layer) {
        const double base = h * (0.84 + 0.05 * layer);
        QPainterPath wave(QPointF(0, h));
        wave.lineTo(0, base);
        for (int i = 0; i <= 40; ++i) {
            const double x = w * i / 40.0;
            wave.lineTo(x, base + std::sin(x / w * 6.283 * 1.2 + layer * 1.3) * h * 0.03);
        }
        wave.lineTo(w, h);
        wave.closeSubpath();
        p.fillPath(wave, layer == 2 ? main : Tint(layer == 0 ? accent : main, layer == 0 ? 0.3 : 0.45));
    }
}

// A band down the left side with a thin accent line beside it.
void PaintSideBand(QPainter& p, double w, double h, QColor main, QColor accent)
{
    p.fillRect(QRectF(0, 0, w, h), QColor(252, 252, 250));
    QLinearGradient band(0, 0, 0, h);
    band.setColorAt(0, main);
    band.setColorAt(1, main.darker(130));
    p.fillRect(QRectF(0, 0, w * 0.075, h), band);
    p.fillRect(QRectF(w * 0.09, 0, w * 0.012, h), accent);
}

// A quarter circle in the top right corner and a strip along the bottom.
void PaintCorner(QPainter& p, double w, double h, QColor main, QColor accent)
{
    p.fillRect(QRectF(0, 0, w, h), Qt::white);
    p.setPen(Qt::NoPen);
    p.setBrush(Tint(accent, 0.4));
    p.drawEllipse(QPointF(w, 0), h * 0.62, h * 0.62);
    p.setBrush(main);
    p.drawEllipse(QPointF(w, 0), h * 0.42, h * 0.42);
    p.fillRect(QRectF(0, h * 0.93, w, h * 0.07), main);
}

// A fine double frame inside the edge, for a formal look.
void PaintFrame(QPainter& p, double w, double h, QColor main, QColor accent)
{
    p.fillRect(QRectF(0, 0, w, h), Tint(accent, 0.92));
    const double m = std::min(w, h) * 0.05;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(main, std::max(1.5, m * 0.25)));
    p.drawRect(QRectF(m, m, w - 2 * m, h - 2 * m));
    p.setPen(QPen(accent, std::max(1.0, m * 0.12)));
    p.drawRect(QRectF(m * 1.6, m * 1.6, w - 3.2 * m, h - 3.2 * m));
}

// A solid band across the top, as on a badge or a parcel label's header.
void PaintTopBand(QPainter& p, double w, double h, QColor main, QColor accent)
{
    p.fillRect(QRectF(0, 0, w, h), Qt::white);
    QLinearGradient band(0, 0, w, 0);
    band.setColorAt(0, main);
    band.setColorAt(1, main.lighter(125));
    p.fillRect(QRectF(0, 0, w, h * 0.24), band);
    p.fillRect(QRectF(0, h * 0.24, w, h * 0.025), accent);
    p.fillRect(QRectF(0, h * 0.94, w, h * 0.06), Tint(main, 0.6));
}

// Dots scattered along the right edge, growing toward it.
void PaintDots(QPainter& p, double w, double h, QColor main, QColor accent)
{
    p.fillRect(QRectF(0, 0, w, h), QColor(252, 252, 250));
    p.setPen(Qt::NoPen);
    const double step = h / 8.0;
    for (int col = 0; col < 6; ++col) {
        for (int row = 0; row < 8; ++row) {
            const double r = step * 0.08 * (col + 1);
            p.setBrush((row + col) % 3 == 0 ? main : Tint(accent, 0.2));
            p.drawEllipse(QPointF(w - step * (5.5 - col) - step * 0.5, step * (row + 0.5)), r, r);
        }
    }
}

// Ruled lines like a card file's, with a coloured heading line.
void PaintRuled(QPainter& p, double w, double h, QColor main, QColor accent)
{
    p.fillRect(QRectF(0, 0, w, h), QColor(255, 254, 248));
    const double step = h / 10.0;
    p.setPen(QPen(Tint(accent, 0.3), 1));
    for (int i = 3; i < 10; ++i)
        p.drawLine(QPointF(0, step * i), QPointF(w, step * i));
    p.setPen(QPen(main, 2));
    p.drawLine(QPointF(0, step * 2), QPointF(w, step * 2));
    p.drawLine(QPointF(w * 0.08, 0), QPointF(w * 0.08, h));
}

struct BackdropDesign {
    const char* name;
    BackdropPainter paint;
    std::vector<Colourway> colours;
    int32_t group = 0;
};

// Draws the design in one colourway, saves it as a bitmap file and makes
// a backdrop item of it in the design's group.
int32_t AddBackdrop(const PathRecord& home, const Layout& layout, BackdropDesign& design, const Colourway& colour)
{
    const int w = int(std::lround(layout.width * 1.25));
    const int h = int(std::lround(layout.height * 1.25));
    QImage image(w, h, QImage::Format_RGB32);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        design.paint(p, w, h, colour.main, colour.accent);
    }
    const std::string name = std::string(design.name) + " " + colour.name;
    PathRecord source = home;
    std::strncpy(source.name, (name + ".bmp").c_str(), sizeof source.name - 1);
    const std::string path = PathRecordToPosix(source);
    if (!image.save(QString::fromStdString(path), "BMP"))
        return 1;
    int32_t n = 0;
    uint8_t item[kBkItemSize];
    const int32_t err = ReadBackdropFile(&source, name.c_str(), &design.group, &n, item);
    FileDelete(&source);
    return err;
}

// --- Templates ------------------------------------------------------------------

using Piece = std::pair<std::string, int32_t>;
Piece F(int32_t field) { return {"", field}; }
Piece T(const char* text) { return {text, 0}; }

using TemplateBuilder = std::function<bool(CLabelsDoc& doc, const IntRect& card)>;

struct TemplateDesign {
    const char* name;
    TemplateBuilder build;
};

bool Rule(CLabelsDoc& doc, const IntRect& r, uint8_t colour)
{
    return CardShape(doc, kFrameRect, r, colour, colour) != nullptr;
}

// Fields a contact often leaves empty (second address line, fax, custom
// fields) would print their names, so the layouts keep to the others.
const std::vector<Piece> kCityLine = {F(kFieldCity), T(" "), F(kFieldZipCode)};
const std::vector<Piece> kUsCityLine = {F(kFieldCity), T(", "), F(kFieldState), T(" "), F(kFieldZipCode)};
const std::vector<Piece> kNameLine = {F(kFieldFirstName), T(" "), F(kFieldLastName)};

const std::vector<TemplateDesign> kBusinessTemplates = {
    {"Classic", [](CLabelsDoc& d, const IntRect& c) {
         return CardTextBox(d, OnCard(c, 30, 10, 240, 38), {{{F(kFieldCompany)}, 13, kCardBold, kCardDarkBlue}}) &&
                CardTextBox(d, OnCard(c, 30, 46, 240, 78),
                            {{kNameLine, 11, kCardBold}, {{F(kFieldTitle)}, 8, kCardItalic, kCardDarkGray}}) &&
                CardTextBox(d, OnCard(c, 30, 88, 240, 132),
                            {{{F(kFieldAddress1)}, 7}, {kCityLine, 7},
                             {{T("Tel. "), F(kFieldPhone1), T("   "), F(kFieldEMail)}, 7}});
     }},
    {"Centred", [](CLabelsDoc& d, const IntRect& c) {
         return CardTextBox(d, OnCard(c, 16, 12, 236, 40),
                            {{{F(kFieldCompany)}, 12, kCardBold, kCardDarkBlue, kAlignCentre}}) &&
                CardTextBox(d, OnCard(c, 16, 50, 236, 84),
                            {{kNameLine, 12, kCardBold, kCardBlack, kAlignCentre},
                             {{F(kFieldTitle)}, 8, kCardItalic, kCardDarkGray, kAlignCentre}}) &&
                CardTextBox(d, OnCard(c, 16, 100, 236, 132),
                            {{{F(kFieldAddress1), T(", "), F(kFieldCity), T(" "), F(kFieldZipCode)}, 7, 0, kCardBlack,
                              kAlignCentre},
                             {{F(kFieldPhone1), T("  |  "), F(kFieldEMail)}, 7, 0, kCardBlack, kAlignCentre}});
     }},
    {"Name Right", [](CLabelsDoc& d, const IntRect& c) {
         return CardTextBox(d, OnCard(c, 24, 10, 150, 36), {{{F(kFieldCompany)}, 11, kCardBold, kCardDarkBlue}}) &&
                CardTextBox(d, OnCard(c, 96, 64, 238, 96),
                            {{kNameLine, 12, kCardBold, kCardBlack, kAlignRight},
                             {{F(kFieldTitle)}, 8, kCardItalic, kCardDarkGray, kAlignRight}}) &&
                CardTextBox(d, OnCard(c, 96, 104, 238, 134),
                            {{{F(kFieldPhone1)}, 7, 0, kCardBlack, kAlignRight},
                             {{F(kFieldEMail)}, 7, 0, kCardBlack, kAlignRight}});
     }},
    {"Two Columns", [](CLabelsDoc& d, const IntRect& c) {
         return CardTextBox(d, OnCard(c, 24, 20, 128, 76),
                            {{kNameLine, 11, kCardBold}, {{F(kFieldTitle)}, 8, kCardItalic, kCardDarkGray},
                             {{F(kFieldCompany)}, 8, kCardBold, kCardDarkBlue}}) &&
                Rule(d, OnCard(c, 132, 22, 133, 122), kCardGray) &&
                CardTextBox(d, OnCard(c, 140, 22, 240, 122),
                            {{{F(kFieldAddress1)}, 7}, {kCityLine, 7}, {{F(kFieldCountry)}, 7}, {{T(" ")}, 5},
                             {{T("Tel. "), F(kFieldPhone1)}, 7}, {{F(kFieldEMail)}, 7}});
     }},
    {"Bold Name", [](CLabelsDoc& d, const IntRect& c) {
         return CardTextBox(d, OnCard(c, 24, 12, 240, 44), {{kNameLine, 16, kCardBold, kCardDarkBlue}}) &&
                Rule(d, OnCard(c, 24, 46, 120, 48), kCardOrange) &&
                CardTextBox(d, OnCard(c, 24, 54, 240, 82),
                            {{{F(kFieldTitle), T(", "), F(kFieldCompany)}, 8, kCardItalic, kCardDarkGray}}) &&
                CardTextBox(d, OnCard(c, 24, 96, 240, 132),
                            {{{F(kFieldAddress1), T("  "), F(kFieldCity)}, 7}, {{F(kFieldPhone1)}, 7},
                             {{F(kFieldEMail)}, 7}});
     }},
    {"Contact Lines", [](CLabelsDoc& d, const IntRect& c) {
         return CardTextBox(d, OnCard(c, 24, 16, 140, 56),
                            {{kNameLine, 11, kCardBold}, {{F(kFieldTitle)}, 8, kCardItalic, kCardDarkGray}}) &&
                CardTextBox(d, OnCard(c, 24, 100, 140, 130), {{{F(kFieldCompany)}, 9, kCardBold, kCardDarkBlue}}) &&
                CardTextBox(d, OnCard(c, 144, 70, 238, 132),
                            {{{T("Phone  "), F(kFieldPhone1)}, 7, 0, kCardBlack, kAlignRight},
                             {{F(kFieldAddress1)}, 7, 0, kCardBlack, kAlignRight},
                             {kCityLine, 7, 0, kCardBlack, kAlignRight},
                             {{F(kFieldEMail)}, 7, 0, kCardBlack, kAlignRight}});
     }},
};

const std::vector<TemplateDesign> kAddressTemplates = {
    {"Plain Address", [](CLabelsDoc& d, const IntRect& c) {
         return CardTextBox(d, OnCard(c, 12, 10, 180, 66),
                            {{kNameLine, 9}, {{F(kFieldAddress1)}, 9}, {kUsCityLine, 9}});
     }},
    {"Company Address", [](CLabelsDoc& d, const IntRect& c) {
         return CardTextBox(d, OnCard(c, 12, 8, 180, 66),
                            {{kNameLine, 9, kCardBold}, {{F(kFieldCompany)}, 8, kCardItalic},
                             {{F(kFieldAddress1)}, 8}, {kCityLine, 8}});
     }},
    {"Centred Address", [](CLabelsDoc& d, const IntRect& c) {
         return CardTextBox(d, OnCard(c, 8, 10, 181, 66),
                            {{kNameLine, 9, kCardBold, kCardBlack, kAlignCentre},
                             {{F(kFieldAddress1)}, 8, 0, kCardBlack, kAlignCentre},
                             {{F(kFieldZipCode), T(" "), F(kFieldCity)}, 8, 0, kCardBlack, kAlignCentre},
                             {{F(kFieldCountry)}, 8, 0, kCardBlack, kAlignCentre}});
     }},
};

const std::vector<TemplateDesign> kShippingTemplates = {
    {"Ship To", [](CLabelsDoc& d, const IntRect& c) {
         return CardTextBox(d, OnCard(c, 16, 8, 140, 32), {{{T("SHIP TO:")}, 9, kCardBold, kCardDarkGray}}) &&
                CardTextBox(d, OnCard(c, 40, 40, 276, 130),
                            {{kNameLine, 14, kCardBold}, {{F(kFieldCompany)}, 12}, {{F(kFieldAddress1)}, 12},
                             {kCityLine, 12}, {{F(kFieldCountry)}, 12}});
     }},
    {"To Box", [](CLabelsDoc& d, const IntRect& c) {
         return CardTextBox(d, OnCard(c, 12, 34, 58, 76), {{{T("TO")}, 20, kCardBold, kCardDarkBlue}}) &&
                Rule(d, OnCard(c, 60, 38, 62, 130), kCardDarkBlue) &&
                CardTextBox(d, OnCard(c, 70, 38, 278, 130),
                            {{kNameLine, 13, kCardBold}, {{F(kFieldAddress1)}, 12}, {kCityLine, 12},
                             {{F(kFieldCountry)}, 11, kCardBold}});
     }},
    {"Parcel With Phone", [](CLabelsDoc& d, const IntRect& c) {
         return CardTextBox(d, OnCard(c, 20, 36, 276, 110),
                            {{kNameLine, 14, kCardBold, kCardBlack, kAlignCentre},
                             {{F(kFieldCompany)}, 11, 0, kCardBlack, kAlignCentre},
                             {{F(kFieldAddress1)}, 11, 0, kCardBlack, kAlignCentre},
                             {kCityLine, 11, 0, kCardBlack, kAlignCentre}}) &&
                CardTextBox(d, OnCard(c, 20, 116, 276, 134),
                            {{{T("Phone "), F(kFieldPhone1)}, 8, kCardItalic, kCardDarkGray, kAlignCentre}});
     }},
};

const std::vector<TemplateDesign> kBadgeTemplates = {
    {"Hello", [](CLabelsDoc& d, const IntRect& c) {
         return CardTextBox(d, OnCard(c, 10, 6, 233, 38),
                            {{{T("HELLO")}, 18, kCardBold, kCardWhite, kAlignCentre}}) &&
                CardTextBox(d, OnCard(c, 10, 60, 233, 120),
                            {{{F(kFieldFirstName)}, 30, kCardBold, kCardBlack, kAlignCentre}}) &&
                CardTextBox(d, OnCard(c, 10, 124, 233, 150),
                            {{{F(kFieldCompany)}, 10, kCardItalic, kCardDarkGray, kAlignCentre}});
     }},
    {"Conference", [](CLabelsDoc& d, const IntRect& c) {
         return CardTextBox(d, OnCard(c, 10, 42, 233, 106),
                            {{{F(kFieldFirstName)}, 24, kCardBold, kCardBlack, kAlignCentre},
                             {{F(kFieldLastName)}, 14, 0, kCardBlack, kAlignCentre}}) &&
                CardTextBox(d, OnCard(c, 10, 108, 233, 150),
                            {{{F(kFieldTitle)}, 10, kCardItalic, kCardDarkGray, kAlignCentre},
                             {{F(kFieldCompany)}, 11, kCardBold, kCardDarkBlue, kAlignCentre}});
     }},
    {"Staff", [](CLabelsDoc& d, const IntRect& c) {
         return CardTextBox(d, OnCard(c, 14, 8, 229, 36), {{{F(kFieldCompany)}, 12, kCardBold, kCardWhite}}) &&
                CardTextBox(d, OnCard(c, 14, 62, 229, 110),
                            {{kNameLine, 18, kCardBold}, {{F(kFieldTitle)}, 11, kCardItalic, kCardDarkGray}}) &&
                CardTextBox(d, OnCard(c, 14, 124, 229, 150), {{{F(kFieldEMail)}, 9, 0, kCardDarkBlue}});
     }},
};

const std::vector<TemplateDesign> kIndexTemplates = {
    {"Contact Card", [](CLabelsDoc& d, const IntRect& c) {
         return CardTextBox(d, OnCard(c, 36, 6, 350, 40),
                            {{{F(kFieldLastName), T(", "), F(kFieldFirstName)}, 14, kCardBold, kCardDarkBlue}}) &&
                CardTextBox(d, OnCard(c, 36, 66, 350, 204),
                            {{{F(kFieldCompany)}, 11}, {{F(kFieldAddress1)}, 11}, {kCityLine, 11},
                             {{T("Phone: "), F(kFieldPhone1)}, 11}, {{T("E-mail: "), F(kFieldEMail)}, 11}});
     }},
    {"Company Record", [](CLabelsDoc& d, const IntRect& c) {
         return CardTextBox(d, OnCard(c, 36, 6, 350, 40), {{{F(kFieldCompany)}, 14, kCardBold, kCardDarkBlue}}) &&
                CardTextBox(d, OnCard(c, 36, 66, 350, 204),
                            {{{T("Contact: "), F(kFieldFirstName), T(" "), F(kFieldLastName)}, 11},
                             {{T("Title: "), F(kFieldTitle)}, 11},
                             {{T("Phone: "), F(kFieldPhone1)}, 11}, {{T("E-mail: "), F(kFieldEMail)}, 11},
                             {{T("Address: "), F(kFieldAddress1), T(", "), F(kFieldCity)}, 11}});
     }},
    {"Address Card", [](CLabelsDoc& d, const IntRect& c) {
         return CardTextBox(d, OnCard(c, 36, 6, 350, 40), {{kNameLine, 14, kCardBold}}) &&
                CardTextBox(d, OnCard(c, 36, 66, 350, 204),
                            {{{F(kFieldAddress1)}, 12}, {kCityLine, 12}, {{F(kFieldCountry)}, 12},
                             {{T("Phone: "), F(kFieldPhone1)}, 10, kCardItalic}});
     }},
};

// --- The kinds of documents ----------------------------------------------------------

struct Kind {
    const Layout* layout;
    const char* parent;  // the category a subcategory is under; null for a category
    std::vector<BackdropDesign> backdrops;
    const std::vector<TemplateDesign>* templates;
    WizNode* node = nullptr;
};

// Makes one template from a new document of the kind's layout through the
// card document's save-as-template path, and offers it with every backdrop
// of the kind.
int32_t AddTemplate(const Kind& kind, const TemplateDesign& design)
{
    const std::vector<uint8_t> layout = LabelType(*kind.layout);
    DocSetup setup;
    setup.fromCategory = 1;
    std::memcpy(setup.labelLayout, layout.data(), sizeof setup.labelLayout);
    uint8_t record[kDocSetupSize];
    DocSetupEncode(setup, record);
    std::unique_ptr<CLabelsDoc> doc = NewCardDocument(record);
    if (!doc)
        return 1;
    // The template's preview is drawn through a view, never shown.
    CLabelsView view(nullptr);
    view.resize(800, 600);
    view.InitView(doc.get());
    const bool built = design.build(*doc, doc->PageGeometry().slots[0]);
    int32_t id = 0;
    int32_t err = built ? doc->AddTemplateToWizard(design.name, &id) : 1;
    doc->SetView(nullptr);
    if (err)
        return err;
    WizTemplateEntry entry;
    std::strncpy(entry.name, design.name, sizeof entry.name - 1);
    entry.templateId = uint32_t(id);
    for (const BackdropDesign& b : kind.backdrops) {
        setup.backdropId = uint32_t(b.group);
        if ((err = AddTemplateToWizardTree(setup, entry)) != 0)
            return err;
    }
    return 0;
}

}  // namespace

int32_t BuildStarterCatalogue(const PathRecord& home)
{
    std::vector<Kind> kinds = {
        {&kBusinessCards,
         nullptr,
         {{"Waves", PaintWaves, {kOcean, kForest, kSunset}},
          {"Side Band", PaintSideBand, {kSlate, kOcean, kBerry}},
          {"Corner", PaintCorner, {kSunset, kOcean}},
          {"Double Frame", PaintFrame, {kSlate, kForest}}},
         &kBusinessTemplates},
        {&kAddressLabels, "Labels", {{"Stripe", PaintSideBand, {kOcean, kForest}}, {"Dots", PaintDots, {kBerry, kSlate}}},
         &kAddressTemplates},
        {&kShippingLabels,
         "Labels",
         {{"Header", PaintTopBand, {kSlate, kSunset}}, {"Frame", PaintFrame, {kOcean, kForest}}},
         &kShippingTemplates},
        {&kNameBadges,
         nullptr,
         {{"Badge Band", PaintTopBand, {kOcean, kBerry, kForest}}, {"Badge Waves", PaintWaves, {kSunset, kOcean}}},
         &kBadgeTemplates},
        {&kIndexCards, nullptr, {{"Ruled", PaintRuled, {kOcean, kSunset}}, {"Card Corner", PaintCorner, {kSlate, kForest}}},
         &kIndexTemplates},
    };

    if (int32_t err = WizardTreeInit(&home))
        return err;
    int32_t err = WizardDataOpen(2);
    for (Kind& kind : kinds)
        for (BackdropDesign& b : kind.backdrops)
            for (const Colourway& c : b.colours)
                if (err == 0)
                    err = AddBackdrop(home, *kind.layout, b, c);

    CWizTree* tree = GetWizardTree();
    WizNode* labels = nullptr;
    for (Kind& kind : kinds) {
        if (err != 0)
            break;
        const std::vector<uint8_t> layout = LabelType(*kind.layout);
        if (kind.parent) {
            if (!labels) {
                // The category of labels takes its first subcategory's sheet.
                labels = tree->AddCategory(layout.data(), nullptr);
                if (!labels || tree->SetName(labels, kind.parent) != 0) {
                    err = 1;
                    break;
                }
            }
            kind.node = tree->AddSubCategory(labels, layout.data(), nullptr);
        } else {
            kind.node = tree->AddCategory(layout.data(), nullptr);
        }
        if (!kind.node) {
            err = 1;
            break;
        }
        for (const BackdropDesign& b : kind.backdrops)
            if (!tree->AddBackdrop(kind.node, uint32_t(b.group)))
                err = 1;
    }
    // The tree is written before the templates, which add their entries to
    // it file by file.
    const int32_t closed = WizardDataClose();
    if (err == 0)
        err = closed;
    for (const Kind& kind : kinds)
        for (const TemplateDesign& t : *kind.templates)
            if (err == 0)
                err = AddTemplate(kind, t);
    WizardTreeFree();
    return err;
}
