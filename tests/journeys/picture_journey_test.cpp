// Pictures in and out of a card the way a person moves them: File > Export
// > Export As Picture... in each format the program writes, and an EPS
// picture brought in with File > Import Graphics... and printed to a PDF
// file, where Ghostscript's drawing of its PostScript is what prints.
#include <QDialog>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QElapsedTimer>
#include <QPointer>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include <atomic>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "support/needed_tools.h"
#include "app/main_frame.h"
#include "carddoc/labels_doc.h"
#include "carddoc/print_preview_dialog.h"
#include "dialogs/label_type_dlg.h"
#include "carddoc/labels_view.h"
#include "foundation/path_record.h"
#include "frames/curr_page_mng.h"
#include "frames/eps_preview_cache.h"
#include "frames/frame_obj.h"
#include "frames/frame_obj_image.h"
#include "frames/metafile_failures.h"
#include "graphics/eps_bounding_box.h"
#include "graphics/ghostscript.h"
#include "graphics/picture_time_limit.h"
#include "journey_fixture.h"
#include "records/command_ids.h"
#include "support/shell.h"
#include "support/run_program.h"
#include "support/without_ghostscript.h"
#include "support/runaway_metafile.h"

namespace {

bool Have(const char* program)
{
    return HaveTool(program);
}

// Runs a program; its standard output, empty (and the test failed, with
// the program's exit code and errors) when it fails.
QByteArray RunProgram(const QString& program, const QStringList& arguments)
{
    std::vector<std::string> list;
    for (const QString& argument : arguments)
        list.push_back(argument.toStdString());
    const ProgramRun run = RunProgramFor(program.toStdString(), list);
    if (!run.ok) {
        ADD_FAILURE() << run.failure;
        return {};
    }
    return QByteArray::fromStdString(run.out);
}

std::vector<QRgb> Pixels(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    std::vector<QRgb> pixels;
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x)
            pixels.push_back(rgb.pixel(x, y) & 0xFFFFFF);
    return pixels;
}

// The mean difference of the colour channels of two pictures of one size.
double MeanDifference(const QImage& a, const QImage& b)
{
    const std::vector<QRgb> pa = Pixels(a), pb = Pixels(b);
    if (pa.size() != pb.size() || pa.empty())
        return 1e9;
    double sum = 0;
    for (size_t i = 0; i < pa.size(); ++i)
        sum += std::abs(qRed(pa[i]) - qRed(pb[i])) + std::abs(qGreen(pa[i]) - qGreen(pb[i])) +
               std::abs(qBlue(pa[i]) - qBlue(pb[i]));
    return sum / double(pa.size() * 3);
}

class PictureJourney : public JourneyTest {
protected:
    // The export dialog answered with a format (its filter's name) and a file
    // name typed without an extension.
    static DialogDriver ExportAs(const QString& format, const std::string& path)
    {
        return [format, path](QWidget* dialog) {
            auto* files = qobject_cast<QFileDialog*>(dialog);
            if (!files) {
                ADD_FAILURE() << "the export dialog was expected";
                if (auto* other = qobject_cast<QDialog*>(dialog))
                    other->reject();
                return;
            }
            QString filter;
            for (const QString& f : files->nameFilters())
                if (f.startsWith(format + " ("))
                    filter = f;
            EXPECT_FALSE(filter.isEmpty()) << format.toStdString();
            files->selectNameFilter(filter);
            // Typed into its name field until the dialog takes it: a name
            // given with selectFile loses to the last export's file, which the
            // dialog selects in its list once it has read the folder.
            ChooseFile(path)(files);
        };
    }

    // Exports the open card; the file written.
    std::string Export(const QString& format, const std::string& name)
    {
        OnNextDialog(ExportAs(format, TempFile(name)));
        EXPECT_TRUE(Trigger("File > Export > Export As Picture..."));
        Settle();
        return TempFile(name);
    }

    // The card's first picture, and a point inside it away from its edges
    // (where its stand-in or its drawing shows); null where there is none.
    FrameObjImage* FirstPicture(QPoint* inside)
    {
        CurrPageMng* pages = CardDocument()->PageManager();
        FrameObjImage* frame = nullptr;
        for (int16_t i = 0; i < pages->FrameCount() && !frame; ++i)
            frame = dynamic_cast<FrameObjImage*>(pages->FrameAt(i));
        if (frame) {
            IntRect bounds;
            frame->GetBounds(&bounds, 0, kGeometryCurrent);
            *inside = ViewPoint(IntPoint{bounds.left + (bounds.right - bounds.left) / 8,
                                         bounds.top + (bounds.bottom - bounds.top) / 4});
        }
        return frame;
    }
};

TEST_F(PictureJourney, ACardExportsInEveryFormatTheProgramWrites)
{
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();

    // The bitmap, which Qt reads, is what the others are held against.
    const std::string bmp = Export("Bitmap", "card");
    const QImage reference(QString::fromStdString(bmp + ".bmp"));
    ASSERT_FALSE(reference.isNull());
    EXPECT_EQ(reference.width(), 252);  // a point a pixel, at the card's size
    EXPECT_EQ(reference.height(), 144);

    // Targa and GIF read back through Qt; the GIF's palette costs a little.
    const QImage tga(QString::fromStdString(Export("TGA", "card") + ".tga"));
    EXPECT_EQ(Pixels(tga), Pixels(reference));
    const QImage gif(QString::fromStdString(Export("GIF", "card") + ".gif"));
    EXPECT_LT(MeanDifference(gif, reference), 3.0);

    // PCX and Sun raster read back through ImageMagick.
    const std::string pcx = Export("PCX", "card") + ".pcx";
    const std::string ras = Export("Sun Raster", "card") + ".ras";
    if (Have("convert")) {
        for (const std::string& file : {pcx, ras}) {
            QImage back;
            ASSERT_TRUE(back.loadFromData(RunProgram("convert", {QString::fromStdString(file), "ppm:-"}), "PPM")) << file;
            EXPECT_EQ(Pixels(back), Pixels(reference)) << file;
        }
    }

    // The EPS has the card's size as its bounding box, and Ghostscript
    // draws the card from it.
    const std::string eps = Export("PostScript Raster", "card") + ".eps";
    PathRecord record{};
    ASSERT_EQ(PathRecordFromPosix(eps, &record), 0);
    IntRect box;
    ASSERT_EQ(EpsReadBoundingBox(&record, &box), 0);
    EXPECT_EQ(box.right - box.left, 252);
    EXPECT_EQ(box.bottom - box.top, 144);
    if (Have("gs")) {
        QImage drawn;
        ASSERT_TRUE(drawn.loadFromData(RunProgram("gs", {"-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=ppmraw", "-r72",
                                                  "-g252x144", "-sOutputFile=-", QString::fromStdString(eps)}),
                                       "PPM"));
        EXPECT_EQ(Pixels(drawn), Pixels(reference));
    }
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();

    // The black-and-white formats hold the card's size; ImageMagick reads
    // the Macintosh picture and the CALS raster back.
    for (const auto& [filter, extension] : {std::pair{"Macintosh PICTURE", ".pct"}, {"CALS", ".cal"}}) {
        const std::string file = Export(filter, "card") + extension;
        if (!Have("convert"))
            continue;
        QImage back;
        ASSERT_TRUE(back.loadFromData(RunProgram("convert", {QString::fromStdString(file), "ppm:-"}), "PPM")) << file;
        EXPECT_EQ(back.size(), reference.size()) << file;
    }
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

// A little-endian TIFF of 8-bit grey that declares width x height pixels
// in one strip; what it holds of them does not matter to a reader that
// refuses the size.
std::string TiffDeclaring(uint32_t width, uint32_t height)
{
    std::string bytes("II*\0\x08\0\0\0", 8);
    const auto put16 = [&bytes](uint32_t v) { bytes += char(v & 0xFF), bytes += char((v >> 8) & 0xFF); };
    const auto put32 = [&put16](uint32_t v) { put16(v & 0xFFFF), put16(v >> 16); };
    const uint32_t entries[][3] = {{256, 4, width}, {257, 4, height}, {258, 3, 8},   {259, 3, 1},
                                   {262, 3, 1},     {273, 4, 122},    {277, 3, 1},   {278, 4, height},
                                   {279, 4, 16}};
    put16(9);
    for (const auto& e : entries) {
        put16(e[0]);
        put16(e[1]);
        put32(1);
        put32(e[2]);
    }
    put32(0);
    bytes.append(16, '\x80');
    return bytes;
}

TEST_F(PictureJourney, APictureTheProgramCantReadSaysWhyAsItIsPlaced)
{
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    IntRect bounds;

    // The card exported as IBM IOCA, a format the program writes but does
    // not read, and imported again.
    const std::string ica = Export("IBM IOCA", "card") + ".ica";
    ASSERT_TRUE(QFile::exists(QString::fromStdString(ica)));
    alerts.clear();
    ASSERT_NO_FATAL_FAILURE(ImportPicture(ica, {130, 80}, {180, 105}, {230, 130}, &bounds));
    EXPECT_EQ(alerts.lastText(), "\"card.ica\" is not a picture format the program reads, so the frame shows no "
                                 "picture. The program reads BMP, ICO, GIF, JPEG, PNG and TIFF pictures, WMF and EMF "
                                 "metafiles and EPS files.");

    // A TIFF wider than any picture may be, chosen for the frame still
    // selected, says so, with its size.
    const std::string tif = TempFile("wide.tif");
    WriteFileBytes(tif, TiffDeclaring(40000, 2));
    alerts.clear();
    OnNextDialog(ChooseFile(tif));
    ASSERT_TRUE(Trigger("File > Import Graphics..."));
    EXPECT_EQ(alerts.lastText(), "The picture \"wide.tif\" can't be read. The picture is too large: it is 40000 by 2 "
                                 "pixels, and a picture may have at most 32768 on a side. The frame shows no picture.");
    EXPECT_EQ(alerts.boxes().size(), 1u);
}

TEST_F(PictureJourney, AnEpsPicturePrintsItsPostScriptAndItsPreviewWithoutGhostscript)
{
    if (!Have("gs") || !Have("pdftoppm"))
        SKIP_FOR_MISSING_TOOL() << "Ghostscript and poppler-utils are needed";
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    MaximizeCardWindow();

    // Black on its left half, white on its right; the path is begun
    // without newpath, as in many files.
    const std::string eps = TempFile("half.eps");
    WriteFileBytes(eps, "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 100 50\n"
                        "0 0 moveto 50 0 lineto 50 50 lineto 0 50 lineto closepath fill\n%%EOF\n");

    // Brought in while gs is missing, the picture on the card is the grey
    // stand-in with the file's name.
    IntRect bounds;
    {
        WithoutGhostscript missing;
        ASSERT_NO_FATAL_FAILURE(ImportPicture(eps, {130, 80}, {180, 105}, {230, 130}, &bounds));
    }
    const QImage view = ViewPixels();
    const QPoint inside = ViewPoint(IntPoint{(bounds.left * 3 + bounds.right) / 4, (bounds.top + bounds.bottom) / 2});
    EXPECT_EQ(view.pixel(inside) & 0xFFFFFF, 0xC0C0C0u);

    // Printed, the frame shows what the PostScript draws; without gs, the
    // stand-in prints.
    const auto print = [&](const std::string& pdf) {
        OnNextDialog(PrintToPdfFile(pdf));
        EXPECT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
        Settle();
    };
    const auto sheet = [](const std::string& pdf) {
        const QString prefix = QString::fromStdString(pdf + "-page");
        RunProgram("pdftoppm", {"-r", "72", "-f", "1", "-l", "1", "-singlefile", "-png", QString::fromStdString(pdf), prefix});
        return QImage(prefix + ".png");
    };
    const IntRect slot = CardDocument()->PageGeometry().slots[0];
    IntRect cell;
    CardDocument()->GetCellRect(&cell, 0, 0);
    // A point of the frame on the printed sheet (72 pixels an inch).
    const auto onSheet = [&](int x, int y) { return QPoint(cell.left + x - slot.left, cell.top + y - slot.top); };
    const int left = bounds.left + (bounds.right - bounds.left) / 4;
    const int right = bounds.right - (bounds.right - bounds.left) / 4;
    const int middle = (bounds.top + bounds.bottom) / 2;

    print(TempFile("with-gs.pdf"));
    const QImage printed = sheet(TempFile("with-gs.pdf"));
    ASSERT_FALSE(printed.isNull());
    EXPECT_LT(qGray(printed.pixel(onSheet(left, middle))), 40);
    EXPECT_GT(qGray(printed.pixel(onSheet(right, middle))), 230);

    {
        WithoutGhostscript missing;
        print(TempFile("without-gs.pdf"));
    }
    const QImage fallback = sheet(TempFile("without-gs.pdf"));
    ASSERT_FALSE(fallback.isNull());
    EXPECT_NEAR(qGray(fallback.pixel(onSheet(left, middle))), 0xC0, 8);
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

// Ctrl+Shift+M let go quickly: the keys come up while the file dialog
// already holds the program, and the window they go to never hears of
// them. The drag that draws the picture is made without Ctrl, so the Object
// tool comes back with the new frame selected.
TEST_F(PictureJourney, AfterAShortcutsDialogTheToolSpringsBackAsCtrlIsUp)
{
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    MaximizeCardWindow();
    const std::string png = TempFile("dot.png");
    QImage dot(20, 20, QImage::Format_RGB32);
    dot.fill(Qt::darkBlue);
    ASSERT_TRUE(dot.save(QString::fromStdString(png)));

    QWindow* window = MainWindow()->windowHandle();
    QTest::keyPress(window, Qt::Key_Control);
    OnNextDialog([window, png](QWidget* dialog) {
        QTest::keyRelease(window, Qt::Key_Control);
        ChooseFile(png)(dialog);
    });
    ASSERT_TRUE(Trigger("File > Import Graphics..."));
    Settle();
    Drag(CardPoint(190, 50), {CardPoint(210, 65), CardPoint(240, 95)});
    EXPECT_TRUE(Enabled("Object > Object Info...")) << "the new picture frame is not selected";
    QAction* objectTool = Action(kFirstToolCommand);
    ASSERT_NE(objectTool, nullptr);
    EXPECT_TRUE(objectTool->isChecked()) << "the picture tool stayed on as if Ctrl were held";
}

// An EPS whose PostScript never ends: the window stays live while
// Ghostscript works on it, a progress window says what is being drawn and
// for how long, and its Cancel ends the work at once; the picture is placed
// as its grey stand-in.
TEST_F(PictureJourney, AnEpsThatNeverEndsCanBeCancelledWhileTheWindowLives)
{
    if (!Have("gs"))
        SKIP_FOR_MISSING_TOOL() << "Ghostscript is needed";
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    MaximizeCardWindow();
    const std::string eps = TempFile("forever.eps");
    WriteFileBytes(eps, "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 100 50\n{ } loop\n%%EOF\n");

    QString firstLabel, laterLabel;
    int ticks = 0;
    QElapsedTimer clock;
    OnNextDialog(ChooseFile(eps));
    ASSERT_TRUE(Trigger("File > Import Graphics..."));
    Settle();
    OnNextDialog([&](QWidget* dialog) {
        auto* progress = qobject_cast<QProgressDialog*>(dialog);
        if (!progress) {
            ADD_FAILURE() << "a progress window was expected";
            Reject()(dialog);
            return;
        }
        firstLabel = progress->labelText();
        // The window's thread goes on: timers keep firing while gs runs.
        auto* tick = new QTimer(progress);
        QObject::connect(tick, &QTimer::timeout, [&] { ++ticks; });
        tick->start(20);
        // After a while the progress has moved on, then Cancel is pressed,
        // and pressed again until the window is gone.
        // Owned by the application too: its deleteLater needs an event
        // loop, and the test may have none left to run.
        auto* answer = new QTimer(QCoreApplication::instance());
        QPointer<QProgressDialog> alive(progress);
        QObject::connect(answer, &QTimer::timeout, [&, alive, answer] {
            if (!alive || !alive->isVisible()) {
                answer->deleteLater();
                return;
            }
            if (laterLabel.isEmpty()) {
                laterLabel = alive->labelText();
                if (laterLabel == firstLabel)
                    laterLabel.clear();
                return;
            }
            QPushButton* cancel = alive->findChild<QPushButton*>();
            if (cancel)
                QTest::mouseClick(cancel, Qt::LeftButton);
            else
                alive->cancel();
        });
        answer->start(1100);
    });

    const IntRect slot = CardDocument()->PageGeometry().slots[0];
    const IntPoint from{slot.left + 130, slot.top + 80};
    const IntPoint to{slot.left + 230, slot.top + 130};
    CurrPageMng* pages = CardDocument()->PageManager();
    const int16_t before = pages->FrameCount();
    clock.start();
    Drag(ViewPoint(from), {ViewPoint(IntPoint{from.x + 50, from.y + 25}), ViewPoint(to)});
    const qint64 took = clock.elapsed();
    Settle();

    EXPECT_EQ(PendingDialogs(), 0u) << "no progress window showed";
    EXPECT_TRUE(firstLabel.contains("forever.eps")) << firstLabel.toStdString();
    EXPECT_FALSE(laterLabel.isEmpty()) << "the progress window never changed";
    EXPECT_GT(ticks, 10) << "the window's thread stood still";
    // Cancelled well before gs's own time limit would have stopped it.
    EXPECT_LT(took, qint64(kGhostscriptTimeLimitMs) / 2);
    ASSERT_GT(pages->FrameCount(), before) << "no picture frame was placed";
    IntRect bounds;
    pages->FrameAt(int16_t(pages->FrameCount() - 1))->GetBounds(&bounds, 0, kGeometryCurrent);
    const QImage view = ViewPixels();
    const QPoint inside = ViewPoint(IntPoint{(bounds.left * 3 + bounds.right) / 4, (bounds.top + bounds.bottom) / 2});
    EXPECT_EQ(view.pixel(inside) & 0xFFFFFF, 0xC0C0C0u);
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

}  // namespace

namespace {

// A card whose EPS picture is slow to draw and is not kept in the card:
// painting shows the stand-in at once, without running the window's events
// while the frame is half drawn, and the frame is painted again with the
// picture once Ghostscript has drawn it.
TEST_F(PictureJourney, ASlowEpsPaintsItsStandInAtOnceAndThePictureWhenDrawn)
{
    if (!Have("gs"))
        SKIP_FOR_MISSING_TOOL() << "Ghostscript is needed";
    const std::string eps = TempFile("slow.eps");
    const auto slowEps = [&](int ms) {
        WriteFileBytes(eps, "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 100 50\n/t0 realtime def\n"
                            "{ realtime t0 sub " + std::to_string(ms) + " gt { exit } if } loop\n"
                            "0 0 moveto 50 0 lineto 50 50 lineto 0 50 lineto closepath fill\n%%EOF\n");
    };
    slowEps(10);
    const std::string card = TempFile("slow.lqx");
    Tool("card new-picture '" + card + "' '" + eps + "'");
    ASSERT_NE(OpenThroughMenu(card), nullptr) << alerts.lastText();
    MaximizeCardWindow();
    QPoint left;
    FrameObjImage* frame = FirstPicture(&left);
    ASSERT_NE(frame, nullptr);
    const auto shown = [&] { return CardView()->Surface().pixel(left) & 0xFFFFFF; };
    Settle();

    // The file changes: its picture is drawn afresh, slowly.
    slowEps(1500);
    frame->ReleaseImage(true);
    bool eventsRan = false;
    QTimer::singleShot(0, [&] { eventsRan = true; });
    CardView()->Refresh();
    CardView()->UpdateNow();
    EXPECT_FALSE(eventsRan) << "the painting ran the window's events";
    EXPECT_EQ(shown(), 0xC0C0C0u) << "the stand-in is not shown";
    EXPECT_EQ(VisibleWindow<QProgressDialog>(), nullptr);

    for (int waited = 0; waited < 600 && qGray(shown()) > 40; ++waited)
        Settle(50);
    EXPECT_LT(qGray(shown()), 40) << "the frame was not painted again with its picture";
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

// A card whose EPS never ends, printed from the window: Ghostscript is
// stopped at its limit once, the cards print the stand-in, and one message
// box names the file and why.
TEST_F(PictureJourney, AnEpsThatNeverEndsPrintsItsStandInWithOneMessage)
{
    if (!Have("gs"))
        SKIP_FOR_MISSING_TOOL() << "Ghostscript is needed";
    const std::string eps = TempFile("forever.eps");
    WriteFileBytes(eps, "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 100 50\n{ } loop\n%%EOF\n");
    const std::string card = TempFile("forever.lqx");
    qputenv("TESSALINE_PICTURE_TIME_LIMIT_MS", "500");
    Tool("card new-picture '" + card + "' '" + eps + "'");
    qunsetenv("TESSALINE_PICTURE_TIME_LIMIT_MS");
    ASSERT_NE(OpenThroughMenu(card), nullptr) << alerts.lastText();
    alerts.clear();
    const std::string pdf = TempFile("forever.pdf");
    qputenv("TESSALINE_PICTURE_TIME_LIMIT_MS", "500");
    OnNextDialog(PrintToPdfFile(pdf));
    EXPECT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
    Settle();
    qunsetenv("TESSALINE_PICTURE_TIME_LIMIT_MS");
    ASSERT_EQ(alerts.boxes().size(), 1u) << alerts.lastText();
    EXPECT_NE(alerts.lastText().find("\"forever.eps\" could not be drawn: it took longer than 0.5 s."),
              std::string::npos)
        << alerts.lastText();
    EXPECT_TRUE(QFile::exists(QString::fromStdString(pdf)));
}

// What one paint of Print Preview's pane shows of its first card: the
// pixels of the stand-in's grey and the dark ones, and whether the window's
// events ran while the pane was painted.
struct PreviewPaint {
    int grey = 0;
    int dark = 0;
    bool eventsRan = false;
};

PreviewPaint PaintPreview(CDlgPrintPreview* preview)
{
    PreviewPaint shown;
    auto ran = std::make_shared<bool>(false);
    QTimer::singleShot(0, [ran] { *ran = true; });
    const QImage pane = preview->Pane()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    shown.eventsRan = *ran;
    const IntRect c = preview->CellImage(0, 0);
    const QRect cell = preview->OneCardView() ? pane.rect() : QRect(c.left + 1, c.top + 1, c.right - c.left - 2,
                                                                    c.bottom - c.top - 2);
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x) {
            const QRgb p = pane.pixel(x, y) & 0xFFFFFF;
            shown.grey += p == 0xC0C0C0u;
            shown.dark += qGray(p) < 60;
        }
    return shown;
}

// Print Preview of cards whose EPS is slow to draw or never ends: the pane
// paints at once with the stand-in, without running the window's events
// while a card is half drawn; a picture that ends shows once drawn, and one
// that never ends is tried once however the preview steps and zooms.
TEST_F(PictureJourney, ThePreviewNeverWaitsForAnEpsAndTriesAFailedOneOnce)
{
    if (!Have("gs"))
        SKIP_FOR_MISSING_TOOL() << "Ghostscript is needed";
    // A card holding an EPS that takes ms to draw; its path in a comment
    // makes it a picture no earlier drawing in the program has met.
    const auto cardWith = [&](const std::string& eps, int ms) {
        WriteFileBytes(eps, "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 100 50\n% " + eps + "\n/t0 realtime def\n"
                            "{ realtime t0 sub " + std::to_string(ms) + " gt { exit } if } loop\n"
                            "0 0 moveto 50 0 lineto 50 50 lineto 0 50 lineto closepath fill\n%%EOF\n");
        Tool("card new-picture '" + eps + ".lqx' '" + eps + "'");
        return eps + ".lqx";
    };
    const auto preview = [&](const std::string& card, const std::function<void(CDlgPrintPreview*)>& look) {
        ASSERT_NE(OpenThroughMenu(card), nullptr) << alerts.lastText();
        OnNextDialog([&](QWidget* dialog) {
            auto* shown = dynamic_cast<CDlgPrintPreview*>(dialog);
            ASSERT_NE(shown, nullptr);
            look(shown);
            Reject()(dialog);
        });
        ASSERT_TRUE(Trigger("File > Print Preview..."));
        EXPECT_EQ(PendingDialogs(), 0u);
        ASSERT_TRUE(Trigger("File > Close"));
    };

    // Slow, then drawn.
    preview(cardWith(TempFile("slow.eps"), 2500), [&](CDlgPrintPreview* shown) {
        const PreviewPaint first = PaintPreview(shown);
        EXPECT_FALSE(first.eventsRan) << "the painting ran the window's events";
        EXPECT_GT(first.grey, 50) << "the stand-in is not shown";
        PreviewPaint later = first;
        for (int waited = 0; waited < 600 && (later.grey > 0 || later.dark == 0); ++waited) {
            Settle(50);
            later = PaintPreview(shown);
        }
        EXPECT_EQ(later.grey, 0) << "the picture never replaced its stand-in";
        EXPECT_GT(later.dark, 50);
    });

    // Never ending: stopped at the limit, once.
    qputenv("TESSALINE_PICTURE_TIME_LIMIT_MS", "500");
    const std::string forever = TempFile("forever.eps");
    const std::string card = cardWith(forever, 1000000);
    CountingGhostscript gs;
    preview(card, [&](CDlgPrintPreview* shown) {
        std::vector<PreviewPaint> paints{PaintPreview(shown)};
        for (int waited = 0; waited < 200 && !EpsPreviewCache::Shared().FileFailed(forever); ++waited)
            Settle(50);
        // The back, the front again, the front as one card.
        for (QToolButton* step : {shown->NextButton(), shown->PreviousButton(), shown->ViewToggle()}) {
            step->click();
            paints.push_back(PaintPreview(shown));
        }
        Settle(200);
        for (size_t i = 0; i < paints.size(); ++i) {
            EXPECT_FALSE(paints[i].eventsRan) << "paint " << i << " ran the window's events";
            EXPECT_TRUE(i == 1 || paints[i].grey > 50) << "paint " << i << " shows no stand-in";
        }
    });
    qunsetenv("TESSALINE_PICTURE_TIME_LIMIT_MS");
    EXPECT_EQ(gs.Runs(), 1) << "the picture was drawn again after it ran out of time";
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

}  // namespace

namespace {

// A clock on which every reading is a second later than the one before:
// any metafile of more than a few dozen records runs out of time on it.
std::atomic<int64_t> g_readings{0};
int64_t SecondPerReading() { return 1000 * g_readings.fetch_add(1); }

// A card whose metafile takes longer than a picture may: the window shows
// its stand-in and says once which file and why, however often it paints;
// printed, the job says it once for all its cards.
TEST_F(PictureJourney, AMetafileThatRunsOutOfTimeShowsItsStandInAndIsNamedOnce)
{
    const std::string emf = TempFile("runaway.emf");
    const std::vector<uint8_t> bytes = RunawayMetafile(false, 300);
    WriteFileBytes(emf, std::string(bytes.begin(), bytes.end()));
    const std::string card = TempFile("runaway.lqx");
    Tool("card new-picture '" + card + "' '" + emf + "'");
    MetafileFailures::Shared().Clear();
    const PictureClock kept = SetPictureClockForTesting(SecondPerReading);
    struct PutBack {
        PictureClock clock;
        ~PutBack() { SetPictureClockForTesting(clock); }
    } putBack{kept};

    ASSERT_NE(OpenThroughMenu(card), nullptr) << alerts.lastText();
    MaximizeCardWindow();
    // The message comes once the painting is over and the events run.
    Settle();
    Settle();
    QPoint inside;
    ASSERT_NE(FirstPicture(&inside), nullptr);
    EXPECT_EQ(CardView()->Surface().pixel(inside) & 0xFFFFFF, 0xC0C0C0u) << "the stand-in is not shown";
    ASSERT_EQ(alerts.boxes().size(), 1u) << alerts.lastText();
    EXPECT_NE(alerts.lastText().find("The picture \"runaway.emf\" could not be drawn: it took longer than 30 s."),
              std::string::npos)
        << alerts.lastText();
    CardView()->Refresh();
    Settle();
    Settle();
    EXPECT_EQ(alerts.boxes().size(), 1u) << "said again at the next paint: " << alerts.lastText();

    alerts.clear();
    const std::string pdf = TempFile("runaway.pdf");
    OnNextDialog(PrintToPdfFile(pdf));
    EXPECT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
    Settle();
    ASSERT_EQ(alerts.boxes().size(), 1u) << alerts.lastText();
    EXPECT_NE(alerts.lastText().find("\"runaway.emf\" could not be drawn: it took longer than 30 s. Its stand-in "
                                     "was printed on every card."),
              std::string::npos)
        << alerts.lastText();
    EXPECT_TRUE(QFile::exists(QString::fromStdString(pdf)));
}

// Place cards: a sheet of cards 251 x 143 points, whose cells fall on the
// printer's 600 dpi grid each rounded its own way, with one picture of more
// pixels than its 36 points show. The printed file holds the picture once.
TEST_F(PictureJourney, OnePictureOnEveryCardOfASheetIsOneImageOfThePdf)
{
    if (!Have("pdfimages"))
        SKIP_FOR_MISSING_TOOL() << "pdfimages (poppler-utils) is not installed";
    QImage png(400, 400, QImage::Format_RGB32);
    for (int y = 0; y < png.height(); ++y)
        for (int x = 0; x < png.width(); ++x)
            png.setPixel(x, y, qRgb(x * 255 / 399, y * 255 / 399, 128));
    const std::string file = TempFile("guest.png");
    ASSERT_TRUE(png.save(QString::fromStdString(file)));
    const CLabelsDoc* card = NewLabelSheet([](CDlgLabelType* type) {
        type->NameEdit()->setText("Place cards");
        type->UnitsCombo()->setCurrentIndex(0);  // points
        type->WidthEdit()->setValue(251);
        type->HeightEdit()->setValue(143);
        type->TopEdit()->setValue(31);
        type->LeftEdit()->setValue(47);
        type->HorizontalEdit()->setValue(0);
        type->VerticalEdit()->setValue(0);
        type->AcrossEdit()->setValue(2);
        type->DownEdit()->setValue(5);
    });
    ASSERT_NE(card, nullptr) << alerts.lastText();
    IntRect bounds;
    ASSERT_NO_FATAL_FAILURE(ImportPicture(file, {20, 20}, {40, 40}, {56, 56}, &bounds));

    const std::string pdf = TempFile("place cards.pdf");
    OnNextDialog(PrintToPdfFile(pdf));
    ASSERT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
    Settle();
    // pdfimages -list: a line per image drawn, its object number in the
    // eleventh column.
    const QByteArray list = RunProgram("pdfimages", {"-list", QString::fromStdString(pdf)});
    std::set<QByteArray> images;
    int drawn = 0;
    for (const QByteArray& line : list.split('\n').mid(2)) {
        const QList<QByteArray> words = line.simplified().split(' ');
        if (words.size() > 10 && words[2] == "image") {
            images.insert(words[10]);
            ++drawn;
        }
    }
    EXPECT_EQ(drawn, 10) << list.toStdString();
    EXPECT_EQ(images.size(), 1u) << list.toStdString();
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

}  // namespace
