#include "dbdoc/report_print.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "database/database_messages.h"
#include "database/db_document.h"
#include "database/progress_window.h"
#include "dbdoc/selection_walk.h"
#include "foundation/alerts.h"
#include "foundation/win_error.h"

namespace {

constexpr int32_t kStringPrinting = 270;
constexpr int32_t kStringTesting = 271;
constexpr int32_t kProgressShowAt = 100;
constexpr const char* kPrintingError = "Printing error ";
constexpr const char* kPageWord = "Page ";
constexpr uint8_t kFixedPitchModern = 0x31;  // fixed pitch, modern family

struct Item {
    int32_t x;
    std::string text;
};
using Line = std::vector<Item>;

std::string FieldText(const CardRecord& record, int32_t column)
{
    const int32_t id = FieldIdByIndex(column);
    return std::string(reinterpret_cast<const char*>(record.FieldBody(id)), record.GetFieldLength(id));
}

class ReportPrinter {
public:
    ReportPrinter(ReportSurface& surface, const ReportOptions& options, std::string name, std::time_t time)
        : surface_(surface), options_(options), name_(std::move(name))
    {
        const int32_t dpi = surface.VerticalDpi();
        body_ = ReportFont(false, dpi);
        header_ = ReportFont(true, dpi);
        width_ = std::max(surface.PrintableWidth(), 1);
        height_ = surface.PrintableHeight();
        surface.SelectFont(header_);
        const TextMetrics h = surface.Metrics();
        headerLine_ = h.ascent + h.descent + h.externalLeading;
        headerAscent_ = h.ascent;
        surface.SelectFont(body_);
        const TextMetrics b = surface.Metrics();
        bodyLine_ = std::max(b.ascent + b.descent + b.externalLeading, 1);
        bodyAscent_ = b.ascent;
        twoSpaces_ = surface.TextWidth("  ");
        char date[128];
        std::tm local{};
        localtime_r(&time, &local);
        date_ = std::strftime(date, sizeof date, "%A, %B %d, %Y, %H:%M", &local) ? date : "";
    }

    // The measures of one record: greatest length and greatest width.
    void Measure(const CardRecord& record)
    {
        lengths_.Take(record);
        for (int32_t column = 0; column < kEntryColumnCount; ++column) {
            const std::string text = FieldText(record, column);
            if (!text.empty())
                widths_[column] = std::max(widths_[column], surface_.TextWidth(text) + twoSpaces_);
        }
    }

    // The number of strips the reported width takes.
    void Plan()
    {
        int64_t total = 0;
        if (options_.kind == kReportRoster) {
            int64_t characters = 0;
            for (int32_t place = 0; place < kEntryColumnCount; ++place) {
                const int32_t column = ReportColumn(options_, place);
                if (column >= 0)
                    characters += lengths_.length[column] + 2;
            }
            total = int64_t(twoSpaces_) * (std::min<int64_t>(characters, options_.maxLength) / 2 + 1);
        } else {
            for (int32_t place = 0; place < kEntryColumnCount; ++place) {
                const int32_t column = ReportColumn(options_, place);
                if (column >= 0)
                    total += widths_[column];
            }
        }
        strips_ = int32_t(std::max<int64_t>(1, (total + width_ - 1) / width_));
    }

    int32_t Start() { return surface_.StartDoc(name_); }

    // The lines of one record; false once a page could not be printed.
    bool Add(const CardRecord& record)
    {
        std::vector<Line> lines;
        if (options_.kind == kReportRoster)
            RosterLines(record, lines);
        else
            lines.push_back(TabularLine(record));
        for (Line& line : lines) {
            if (!band_.empty() && BodyTop() + int64_t(band_.size() + 1) * bodyLine_ > height_ - bodyLine_ &&
                !Flush())
                return false;
            band_.push_back(std::move(line));
        }
        return true;
    }

    // Prints the band of lines gathered for the current page, once per
    // strip. False when a page could not be printed.
    bool Flush()
    {
        if (band_.empty())
            return true;
        ++page_;
        for (int32_t strip = 1; strip <= strips_; ++strip) {
            if ((error_ = surface_.StartPage()) != 0)
                return false;
            surface_.SetOriginX(0);
            PageHeader(strip);
            surface_.SetOriginX((strip - 1) * width_);
            int32_t top = BodyTop();
            for (const Line& line : band_) {
                for (const Item& item : line)
                    surface_.DrawText(item.x, top + bodyAscent_, item.text);
                top += bodyLine_;
            }
            if ((error_ = surface_.EndPage()) != 0)
                return false;
        }
        band_.clear();
        return true;
    }

    int32_t Error() const { return error_; }

private:
    int32_t BodyTop() const { return 2 * headerLine_ + 2 * bodyLine_; }

    void PageHeader(int32_t strip)
    {
        surface_.SelectFont(header_);
        char page[64];
        if (strips_ > 1)
            std::snprintf(page, sizeof page, "%s %d-%d  ", kPageWord, page_, strip);
        else
            std::snprintf(page, sizeof page, "%s %d  ", kPageWord, page_);
        surface_.DrawText(0, headerAscent_, name_);
        surface_.DrawText(width_ - surface_.TextWidth(page), headerAscent_, page);
        surface_.DrawText(0, headerLine_ + headerAscent_, date_);
        surface_.SelectFont(body_);
    }

    Line TabularLine(const CardRecord& record)
    {
        Line line;
        int32_t x = 0;
        for (int32_t place = 0; place < kEntryColumnCount; ++place) {
            const int32_t column = ReportColumn(options_, place);
            if (column < 0)
                continue;
            std::string text = FieldText(record, column);
            const int32_t drawn = text.empty() ? 0 : surface_.TextWidth(text);
            line.push_back({x, std::move(text)});
            // A record the stopped measuring pass never saw may be wider.
            x += std::max(widths_[column], drawn);
        }
        return line;
    }

    void RosterLines(const CardRecord& record, std::vector<Line>& lines)
    {
        Line line;
        int64_t running = 0;
        int32_t x = 0;
        for (int32_t place = 0; place < kEntryColumnCount; ++place) {
            const int32_t column = ReportColumn(options_, place);
            if (column < 0)
                continue;
            if (running > 0 && running + lengths_.length[column] > options_.maxLength) {
                lines.push_back(std::move(line));
                line.clear();
                running = 0;
                x = 0;
            }
            std::string text = FieldText(record, column) + "  ";
            const int32_t drawn = surface_.TextWidth(text);
            line.push_back({x, std::move(text)});
            x += drawn;
            running += lengths_.length[column] + 2;
        }
        lines.push_back(std::move(line));
        lines.emplace_back();
    }

    ReportSurface& surface_;
    const ReportOptions& options_;
    std::string name_;
    std::string date_;
    LogFont body_, header_;
    int32_t width_ = 1;
    int32_t height_ = 0;
    int32_t headerLine_ = 0, headerAscent_ = 0;
    int32_t bodyLine_ = 1, bodyAscent_ = 0;
    int32_t twoSpaces_ = 0;
    ReportMeasures lengths_;
    int32_t widths_[kEntryColumnCount] = {};
    int32_t strips_ = 1;
    int32_t page_ = 0;
    std::vector<Line> band_;
    int32_t error_ = 0;
};

}  // namespace

LogFont ReportFont(bool header, int32_t dpi)
{
    LogFont font;
    const int32_t points = header ? 8 : 9;
    font.height = -int32_t((int64_t(points) * dpi + 36) / 72);
    font.weight = header ? FW_BOLD : FW_NORMAL;
    font.outPrecision = OUT_TT_ONLY_PRECIS;
    font.pitchAndFamily = kFixedPitchModern;
    std::strcpy(font.faceName, "Courier");
    return font;
}

int32_t PrintReport(DbDocument& document, const ReportOptions& options, ReportSurface& surface,
                    std::time_t time, ReportResult* result)
{
    *result = ReportResult{};
    DataFile& data = document.Data();
    if (data.GetLiveCount() <= 0) {
        DatabaseNote(23);
        return 0;
    }
    document.CommitEdits();
    if (const int32_t err = data.FlushRecordCache(); err != kErrNone) {
        AlertFileError(err);
        return -1;
    }
    ReportPrinter printer(surface, options, data.DatabaseName(), time);
    {
        DbProgressWindow progress(data.DatabaseName(), WorkingMessage(kStringTesting), data.GetLiveCount(),
                                  kProgressShowAt, 1);
        SelectionWalk walk(data);
        CardRecord record;
        while (walk.Next(record)) {
            printer.Measure(record);
            if (!progress.Step())
                break;
        }
        if (walk.failed())
            return -1;
    }
    printer.Plan();
    if (const int32_t err = printer.Start(); err != 0) {
        AlertStop(kPrintingError, err);
        return -1;
    }
    bool printed = true;
    {
        DbProgressWindow progress(data.DatabaseName(), WorkingMessage(kStringPrinting), data.GetLiveCount(),
                                  kProgressShowAt, 1);
        SelectionWalk walk(data);
        CardRecord record;
        while (printed && walk.Next(record)) {
            const bool goOn = progress.Step();
            printed = printer.Add(record);
            if (!printed)
                break;
            ++result->records;
            if (!goOn) {
                result->aborted = true;
                break;
            }
        }
    }
    if (printed)
        printed = printer.Flush();
    if (!printed) {
        AlertStop(kPrintingError, printer.Error());
        surface.AbortDoc();
        return -1;
    }
    if (const int32_t err = surface.EndDoc(); err != 0) {
        AlertStop(kPrintingError, err);
        return -1;
    }
    return 1;
}
