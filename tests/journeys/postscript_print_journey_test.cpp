// Printing a card with an EPS picture to a PostScript file through the
// Print dialog: the job carries the picture's own PostScript between the
// set-up that isolates it and the clean-up after it, and the sheet looks as
// the same sheet printed to PDF does. A PDF made of the contacts' cards
// printed so reads as their names, and small text reads word by word.
#include <QImage>
#include <QProcess>

#include <string>
#include <vector>

#include "support/needed_tools.h"
#include "support/postscript_as_run.h"
#include "carddoc/labels_doc.h"
#include "foundation/cp1252.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
#include "graphics/postscript.h"
#include "journey_fixture.h"
#include "support/pixel_match.h"
#include "support/shell.h"

namespace {

bool Have(const char* program)
{
    return HaveTool(program);
}

// A page of a PDF or PostScript file as Ghostscript draws it, so both
// files go through the same rasteriser.
QImage Rendered(const std::string& file, const std::string& png)
{
    QProcess gs;
    gs.start("gs", {"-dSAFER", "-dBATCH", "-dNOPAUSE", "-q", "-sDEVICE=png16m", "-r100", "-dFirstPage=1",
                    "-dLastPage=1", "-dGraphicsAlphaBits=4", "-dTextAlphaBits=4",
                    QString::fromStdString("-sOutputFile=" + png), QString::fromStdString(file)});
    if (!gs.waitForFinished(60000) || gs.exitCode() != 0)
        return {};
    return QImage(QString::fromStdString(png));
}

class PostScriptPrintJourney : public JourneyTest {};

TEST_F(PostScriptPrintJourney, APostScriptFileCarriesTheEpsPictureAndLooksLikeThePdfSheet)
{
    if (!Have("gs"))
        SKIP_FOR_MISSING_TOOL() << "Ghostscript is needed";
    // Over a database without records the card's fields print empty (with
    // none they would print their names): the sheets compared are the
    // card's shapes and pictures.
    const std::string empty = TempFile("Empty.dqx");
    Tool("db new '" + empty + "'");
    OnNextDialog(ChooseFile(empty));
    ASSERT_TRUE(Trigger("File > Open > Database..."));
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    MaximizeCardWindow();

    // Drawn by Ghostscript, the PostScript sheet is the PDF sheet: an edge
    // may move by a pixel and change its shade, but a card missing, moved
    // or in another colour fails by thousands of pixels.
    const std::string plainPs = TempFile("plain.ps");
    const std::string plainPdf = TempFile("plain.pdf");
    OnNextDialog(PrintToPostScriptFile(plainPs));
    ASSERT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
    Settle();
    OnNextDialog(PrintToPdfFile(plainPdf));
    ASSERT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
    Settle();
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
    const QImage fromPs = Rendered(plainPs, TempFile("ps.png"));
    const QImage fromPdf = Rendered(plainPdf, TempFile("pdf.png"));
    ASSERT_FALSE(fromPs.isNull());
    ASSERT_EQ(fromPs.size(), fromPdf.size());
    EXPECT_LE(UnmatchedPixels(fromPs, fromPdf, 64), 300);
    EXPECT_LE(UnmatchedPixels(fromPdf, fromPs, 64), 300);

    // Black on its left half, white on its right.
    const std::string eps = TempFile("half.eps");
    const std::string epsText = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 100 50\n% the picture's own words\n"
                                "newpath 0 0 moveto 50 0 lineto 50 50 lineto 0 50 lineto closepath fill\n%%EOF\n";
    WriteFileBytes(eps, epsText);
    IntRect bounds;
    ASSERT_NO_FATAL_FAILURE(ImportPicture(eps, {130, 80}, {180, 105}, {230, 130}, &bounds));

    const std::string ps = TempFile("sheet.ps");
    OnNextDialog(PrintToPostScriptFile(ps));
    ASSERT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
    Settle();
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();

    // The file's own PostScript, whole, inside its set-up and clean-up, on
    // every card of the sheet.
    const std::string job = PostScriptAsRun(ReadFileBytes(ps));
    ASSERT_EQ(job.rfind("%!PS-Adobe-3.0\n", 0), 0u);
    const size_t prolog = job.find(kEpsProlog);
    ASSERT_NE(prolog, std::string::npos);
    const size_t begin = job.find("%%BeginDocument:A\n" + epsText + "%%EndDocument\n", prolog);
    ASSERT_NE(begin, std::string::npos);
    EXPECT_EQ(job.find(kEpsEpilog, begin), begin + 18 + epsText.size() + 14);
    size_t copies = 0;
    for (size_t at = job.find(epsText); at != std::string::npos; at = job.find(epsText, at + 1))
        ++copies;
    EXPECT_EQ(copies, 10u);
    const QImage sheet = Rendered(ps, TempFile("sheet.png"));
    ASSERT_FALSE(sheet.isNull());

    // The picture is where the frame is: black on its left, white on its
    // right (100 pixels an inch).
    const IntRect slot = CardDocument()->PageGeometry().slots[0];
    IntRect cell;
    CardDocument()->GetCellRect(&cell, 0, 0);
    const auto onSheet = [&](int x, int y) {
        return QPoint((cell.left + x - slot.left) * 100 / 72, (cell.top + y - slot.top) * 100 / 72);
    };
    const int middle = (bounds.top + bounds.bottom) / 2;
    EXPECT_LT(qGray(sheet.pixel(onSheet(bounds.left + (bounds.right - bounds.left) / 4, middle))), 40);
    EXPECT_GT(qGray(sheet.pixel(onSheet(bounds.right - (bounds.right - bounds.left) / 4, middle))), 230);
}

// The cards of the database printed to a PostScript file and made a PDF,
// as a PDF-making print queue makes one: every contact's name reads whole,
// accents and the space between included.
TEST_F(PostScriptPrintJourney, APdfMadeOfThePostScriptCardsReadsAsTheContactsNames)
{
    if (!Have("ps2pdf") || !Have("pdftotext"))
        SKIP_FOR_MISSING_TOOL() << "Ghostscript and poppler-utils are needed";
    const std::string people = TempFile("People.dqx");
    Tool("db new '" + people + "'");
    Tool("db fill '" + people + "' 10 --seed 3");
    const QStringList records = Cp1252ToQString(Tool("db dump '" + people + "'")).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(records.size(), 11);
    OnNextDialog(ChooseFile(people));
    ASSERT_TRUE(Trigger("File > Open > Database..."));
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    const std::string ps = TempFile("names.ps");
    OnNextDialog(PrintToPostScriptFile(ps));
    ASSERT_TRUE(Trigger("File > Print > Document From Database..."));
    Settle(100);
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
    bool made = false;
    const std::string pdf = TempFile("names.pdf");
    CommandOutput("ps2pdf '" + ps + "' '" + pdf + "'", &made);
    ASSERT_TRUE(made);
    const QString text = QString::fromStdString(PdfText(pdf));

    int accented = 0;
    for (qsizetype i = 1; i < records.size(); ++i) {
        const QStringList fields = records[i].split('\t');
        ASSERT_GT(fields.size(), 3);
        const QString name = fields[2] + ' ' + fields[3];
        accented += name.toLatin1() != name.toUtf8();
        EXPECT_TRUE(text.contains(name)) << name.toStdString();
    }
    EXPECT_GT(accented, 0);
}

// Address labels of a European office, printed to a PostScript file and
// made a PDF as a PDF-making print queue makes one: every word reads whole,
// accents included, at 9 points as at 6, 12 and 72. The layout advances
// each character by its width in whole points, up to half a point from its
// glyph's own; readers guess the size of the job's fonts from the widths
// of their glyphs, and one whose first letter is narrow and which has no
// "m" looks small to them, so these records are the hard case.
TEST_F(PostScriptPrintJourney, APdfMadeOfThePostScriptLabelsReadsEveryWordWholeAtEverySize)
{
    if (!Have("ps2pdf") || !Have("pdftotext"))
        SKIP_FOR_MISSING_TOOL() << "Ghostscript and poppler-utils are needed";
    // First name, last name, company, street, postcode, town, country.
    const std::vector<std::vector<QString>> people = {
        {"Ilse", "Brückner", "Bäckerei Weiß", "Hauptstraße 12", "01067", "Dresden", "Deutschland"},
        {"Zoë", "Lefèvre", "Café Crème", "Rue de l'Église 5", "1204", "Genève", "Suisse"},
        {"Jörg", "Østergård", "Fjordværk", "Søndergade 7", "8000", "Århus", "Danmark"},
        {"Lisa", "Weißkirchen", "Kühlhaus Süd", "Lindenallee 4", "04109", "Leipzig", "Deutschland"}};
    std::string lines;
    for (const auto& p : people)
        lines += QStringToCp1252(QStringList{p[0], p[1], "", p[2], p[3], "", p[5], "", p[4], p[6]}.join('\t')) + "\r\n";
    const std::string records = TempFile("records.txt");
    WriteFileBytes(records, lines);
    const std::string db = TempFile("Offices.dqx");
    Tool("db new '" + db + "'");
    Tool("dbdoc import '" + db + "' '" + records + "' --delimiter 2");
    const std::string card = TempFile("labels.lqx");
    Tool("card new-sizes '" + card + "'");
    OnNextDialog(ChooseFile(db));
    ASSERT_TRUE(Trigger("File > Open > Database..."));
    ASSERT_NE(OpenThroughMenu(card), nullptr) << alerts.lastText();

    const std::string ps = TempFile("labels.ps");
    OnNextDialog(PrintToPostScriptFile(ps));
    ASSERT_TRUE(Trigger("File > Print > Document From Database..."));
    Settle(100);
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
    bool made = false;
    const std::string pdf = TempFile("labels.pdf");
    CommandOutput("ps2pdf '" + ps + "' '" + pdf + "'", &made);
    ASSERT_TRUE(made);
    const QString text = QString::fromStdString(PdfText(pdf));
    for (const auto& p : people) {
        // At 9 points the name, street and town; the company at 6 and the
        // country at 12; the first name once more at 72.
        for (const QString& words : {p[0] + ' ' + p[1], p[3], p[4] + ' ' + p[5], p[2], p[6]})
            EXPECT_TRUE(text.contains(words)) << words.toStdString() << "\n" << text.toStdString();
        EXPECT_EQ(text.count(p[0]), 2) << p[0].toStdString() << "\n" << text.toStdString();
    }
}

}  // namespace
