#include "text/line_table.h"

#include <algorithm>

#include "frames/record_table.h"

int32_t LineTable::Count() const { return table_ ? table_->Count() : 0; }

TextLineRecord LineTable::At(int32_t i) const
{
    TextLineRecord line;
    Get(i, &line);
    return line;
}

bool LineTable::Get(int32_t i, TextLineRecord* out) const
{
    const uint8_t* p = table_ && table_->Contains(i) ? table_->RecordPtr(i) : nullptr;
    if (!p)
        return false;
    *out = ReadLineRecord(p);
    return true;
}

bool LineTable::GetEnd(int32_t i, int32_t* paragraph, int32_t* end) const
{
    const uint8_t* p = table_ && table_->Contains(i) ? table_->RecordPtr(i) : nullptr;
    if (!p)
        return false;
    ReadLineEnd(p, paragraph, end);
    return true;
}

void LineTable::Set(int32_t i, const TextLineRecord& line)
{
    uint8_t* p = table_ && table_->Contains(i) ? table_->RecordPtr(i) : nullptr;
    if (p)
        WriteLineRecord(line, p);
}

bool LineTable::Append(const TextLineRecord& line) { return Insert(Count() + 1, line); }

bool LineTable::Insert(int32_t i, const TextLineRecord& line)
{
    if (!table_)
        return false;
    uint8_t bytes[kLineRecordBytes];
    WriteLineRecord(line, bytes);
    return table_->InsertRecords(1, i, bytes) == 0;
}

void LineTable::Delete(int32_t i, int32_t n)
{
    if (table_ && n > 0)
        table_->DeleteRecords(n, i);
}

void LineTable::Clear() { Delete(1, Count()); }

int32_t LineTable::FirstLineOf(int32_t paragraph) const
{
    for (int32_t i = 1; i <= Count(); ++i) {
        if (At(i).paragraph == paragraph)
            return i;
    }
    return 0;
}

int32_t LineTable::LastLineOf(int32_t paragraph) const
{
    for (int32_t i = Count(); i >= 1; --i) {
        if (At(i).paragraph == paragraph)
            return i;
    }
    return 0;
}

void LineTable::DeleteParagraphLines(int32_t paragraph)
{
    const int32_t first = FirstLineOf(paragraph);
    if (first == 0)
        return;
    Delete(first, LastLineOf(paragraph) - first + 1);
}

int32_t LineTable::FindLineOfPosition(int32_t character, int32_t paragraph) const
{
    int32_t atEnd = 0;
    for (int32_t i = 1; i <= Count(); ++i) {
        const TextLineRecord line = At(i);
        if (line.paragraph != paragraph)
            continue;
        if (character >= line.first && character < line.End())
            return i;
        if (character == line.End())
            atEnd = i;
    }
    return atEnd;
}

void LineTable::ShiftLineStarts(int32_t n, int32_t fromLine, int32_t direction, int32_t paragraph)
{
    if (Count() == 0 || fromLine < 1)
        return;
    for (int32_t i = fromLine; i <= Count(); ++i) {
        TextLineRecord line = At(i);
        if (line.paragraph != paragraph)
            return;
        line.first = uint16_t(direction == 2 ? line.first + n : line.first - n);
        Set(i, line);
    }
}

void LineTable::ShiftLines(int32_t fromLine, int32_t dy)
{
    for (int32_t i = std::max<int32_t>(fromLine, 1); i <= Count(); ++i) {
        TextLineRecord line = At(i);
        line.rect.top += dy;
        line.rect.bottom += dy;
        Set(i, line);
    }
}

void LineTable::RenumberLines(int32_t fromLine, int32_t delta)
{
    for (int32_t i = std::max<int32_t>(fromLine, 1); i <= Count(); ++i) {
        TextLineRecord line = At(i);
        line.paragraph += delta;
        Set(i, line);
    }
}
