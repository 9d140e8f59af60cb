#include "foundation/dates.h"

#include <cstring>
#include <ctime>
#include <initializer_list>
#include <optional>

namespace {

constexpr int16_t kDaysPerMonth[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

std::optional<CalendarDate> g_todayOverride;

enum class Order { kMonthFirst, kDayFirst, kInvalid };

Order StyleOrder(int style)
{
    switch (style) {
    case 0:
    case 'A':
    case 'a':
        return Order::kMonthFirst;
    case 1:
    case 'E':
    case 'e':
        return Order::kDayFirst;
    default:
        return Order::kInvalid;
    }
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsDateSeparator(char c) { return c == '/' || c == ':' || c == '-'; }

int32_t TwoDigits(const char* p) { return (p[0] - '0') * 10 + (p[1] - '0'); }

void PutTwoDigits(char* p, int32_t v)
{
    p[0] = char('0' + v / 10 % 10);
    p[1] = char('0' + v % 10);
}

// The display date with the fields in the style's order and the year in
// digitsOfYear (2 or 4) digits, terminated.
void PutDisplayDate(char* out, int32_t day, int32_t month, int32_t year, Order order, int digitsOfYear)
{
    const bool monthFirst = order == Order::kMonthFirst;
    PutTwoDigits(out, monthFirst ? month : day);
    out[2] = '/';
    PutTwoDigits(out + 3, monthFirst ? day : month);
    out[5] = '/';
    if (digitsOfYear == 4) {
        PutTwoDigits(out + 6, year / 100);
        PutTwoDigits(out + 8, year % 100);
    } else {
        PutTwoDigits(out + 6, year % 100);
    }
    out[6 + digitsOfYear] = '\0';
}

// The edits of a date in the text refuse a style that names no order and
// leave an empty text as it is; edit gets the order and the text's length.
template <typename Edit>
char* EditDateText(char* text, int style, Edit edit)
{
    const Order order = StyleOrder(style);
    if (order == Order::kInvalid)
        return nullptr;
    const size_t length = std::strlen(text);
    if (length == 0)
        return text;
    return edit(order, length);
}

}  // namespace

CalendarDate TodayDate()
{
    if (g_todayOverride)
        return *g_todayOverride;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_mday, local.tm_mon + 1, local.tm_year + 1900};
}

void SetTodayOverride(const CalendarDate* date)
{
    if (date)
        g_todayOverride = *date;
    else
        g_todayOverride.reset();
}

int IsLeapYear(int32_t year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0 ? 1 : 0;
}

int IsValidDate(int32_t day, int32_t month, int32_t year)
{
    if (month < 1 || month > 12 || day < 1)
        return 0;
    if (day <= kDaysPerMonth[month])
        return 1;
    return month == 2 && day == 29 && IsLeapYear(year) ? 1 : 0;
}

bool FormatDateParts(char* out, int32_t day, int32_t month, int32_t year, int style)
{
    const Order order = StyleOrder(style);
    if (order == Order::kInvalid || !IsValidDate(day, month, year) || year < 0 || year > 9999)
        return false;
    PutDisplayDate(out, day, month, year, order, year >= 100 ? 4 : 2);
    return true;
}

bool TodayDateText(char* out, int style)
{
    const CalendarDate today = TodayDate();
    return FormatDateParts(out, today.day, today.month, today.year, style);
}

bool ParseDateText(const char* text, int32_t* day, int32_t* month, int32_t* year, int style)
{
    *day = *month = *year = 0;
    const Order order = StyleOrder(style);
    const size_t length = std::strlen(text);
    if (order == Order::kInvalid || (length != 8 && length != 10))
        return false;
    for (size_t i : {0, 1, 3, 4, 6, 7}) {
        if (!IsDigit(text[i]))
            return false;
    }
    if (length == 10 && !(IsDigit(text[8]) && IsDigit(text[9])))
        return false;
    const int32_t first = TwoDigits(text);
    const int32_t second = TwoDigits(text + 3);
    *month = order == Order::kMonthFirst ? first : second;
    *day = order == Order::kMonthFirst ? second : first;
    // Two-digit years belong to today's century, as they do when a date is
    // typed and completed.
    *year = length == 10 ? TwoDigits(text + 6) * 100 + TwoDigits(text + 8)
                         : TodayDate().year / 100 * 100 + TwoDigits(text + 6);
    return true;
}

int IsDateTextValid(const char* text, int style)
{
    const size_t length = std::strlen(text);
    if (length != 8 && length != 10)
        return 0;
    if (!IsDateSeparator(text[2]) || !IsDateSeparator(text[5]))
        return 0;
    int32_t day, month, year;
    if (!ParseDateText(text, &day, &month, &year, style))
        return 0;
    return IsValidDate(day, month, year);
}

char* FormatStoredDate(char* text, int style)
{
    return EditDateText(text, style, [text](Order order, size_t length) -> char* {
        if (length != 8)
            return nullptr;
        char stored[8];
        std::memcpy(stored, text, 8);
        const char* month = stored + 4;
        const char* day = stored + 6;
        const bool monthFirst = order == Order::kMonthFirst;
        std::memcpy(text, monthFirst ? month : day, 2);
        text[2] = '/';
        std::memcpy(text + 3, monthFirst ? day : month, 2);
        text[5] = '/';
        std::memcpy(text + 6, stored, 4);
        text[10] = '\0';
        return text;
    });
}

char* CompleteDateText(char* text, int style)
{
    return EditDateText(text, style, [text](Order order, size_t length) -> char* {
        const CalendarDate today = TodayDate();
        char date[11];
        PutDisplayDate(date, today.day, today.month, today.year, order, 4);

        // The typed text is read from its end and laid over today's date from
        // position 9 down. Groups are counted by the separators met so far:
        // 0 the year, 1 the middle field, 2 the first field.
        int w = 9;
        int separators = 0;
        int groupDigits = 0;
        for (size_t i = length; i-- > 0 && w >= 0;) {
            const char c = text[i];
            if (IsDigit(c)) {
                // Until a separator is met the digits run on through the fields,
                // stepping over the second separator's place but not the first's.
                if (separators == 0 && w == 5)
                    --w;
                date[w--] = c;
                ++groupDigits;
                continue;
            }
            // Anything else ends a group; only real separators are copied.
            ++separators;
            if (separators == 1) {
                // A short year overlays the right end of today's year.
                if (w > 5)
                    w = 5;
            } else if (separators == 2) {
                if (groupDigits == 1)
                    date[w] = '0';
                w = 2;
            }
            if (IsDateSeparator(c))
                date[w] = c;
            --w;
            groupDigits = 0;
        }
        // The last group read is a day or month field when a separator came
        // after it.
        if (separators > 0 && groupDigits == 1 && w >= 0)
            date[w] = '0';
        std::memcpy(text, date, sizeof date);
        return text;
    });
}

char* NormalizeDateText(char* text, int style)
{
    if (!CompleteDateText(text, style))
        return nullptr;
    if (text[0] == '\0')
        return text;
    const bool monthFirst = StyleOrder(style) == Order::kMonthFirst;
    char shown[10];
    std::memcpy(shown, text, 10);
    std::memcpy(text, shown + 6, 4);
    std::memcpy(text + 4, monthFirst ? shown : shown + 3, 2);
    std::memcpy(text + 6, monthFirst ? shown + 3 : shown, 2);
    text[8] = '\0';
    return text;
}
