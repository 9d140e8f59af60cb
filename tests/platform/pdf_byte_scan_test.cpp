// The scans that look at a block of bytes at once find what a byte-by-byte
// look finds, wherever it falls against the blocks' edges.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pdf/pdf_byte_scan.h"

namespace {

TEST(PdfByteScan, LineBreaksAreFoundWhereverTheyFall)
{
    // Breaks on each side of the 16- and 32-byte edges, some side by side,
    // in content of every length to past two blocks of lines.
    for (size_t size = 0; size <= 100; ++size) {
        for (size_t step : {1u, 3u, 15u, 16u, 17u, 31u, 33u}) {
            std::string content(size, 'x');
            std::vector<size_t> expected;
            for (size_t at = step - 1; at < size; at += step) {
                content[at] = '\n';
                expected.push_back(at);
            }
            PdfLineBreaks breaks(content.data(), content.data() + content.size());
            std::vector<size_t> found;
            for (const char* p = breaks.next(); p != content.data() + content.size(); p = breaks.next())
                found.push_back(size_t(p - content.data()));
            EXPECT_EQ(found, expected) << size << " " << step;
            EXPECT_EQ(PdfCountLineBreaks(content.data(), content.data() + content.size()), expected.size());
        }
    }
}

TEST(PdfByteScan, ARunOfNumberOrHexBytesEndsAtTheFirstOtherByte)
{
    for (int other = 0; other < 256; ++other) {
        const auto c = char(other);
        const bool number = (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+';
        const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        // The byte at each place of the first two blocks and past them.
        for (size_t at = 0; at < 40; ++at) {
            std::string numbers(48, '7'), digits(48, 'b');
            numbers[4] = '-', numbers[9] = '.', numbers[20] = '+';
            digits[3] = 'F', digits[18] = '0';
            numbers[at] = c;
            digits[at] = c;
            const char* const numbersEnd = numbers.data() + numbers.size();
            const char* const digitsEnd = digits.data() + digits.size();
            EXPECT_EQ(PdfPastNumberBytes(numbers.data(), numbersEnd) - numbers.data(), number ? 48 : ptrdiff_t(at))
                << other << " at " << at;
            EXPECT_EQ(PdfPastHexBytes(digits.data(), digitsEnd) - digits.data(), hex ? 48 : ptrdiff_t(at))
                << other << " at " << at;
        }
    }
}

}  // namespace
