#include "graphics/eps_bounding_box.h"

#include <cstring>
#include <vector>

#include "foundation/cstr.h"
#include "foundation/file_io.h"
#include "foundation/win_error.h"
#include "graphics/eps_section.h"

namespace {

constexpr char kComment[] = "%%BoundingBox:";
constexpr uint32_t kCommentLength = sizeof kComment - 1;
// Bytes of the comment parsed for its numbers, the comment itself included.
constexpr uint32_t kValueBytes = 100;
// The section is searched in windows that overlap by the comment's length,
// so a comment across two windows is still seen whole in one of them.
constexpr uint32_t kWindow = 8192;

bool IsNumberChar(char c)
{
    return (c >= '0' && c <= '9') || c == '-' || c == '.';
}

// The four numbers of the comment text; false when there are fewer.
bool ParseBox(const char* text, uint32_t n, IntRect* rect)
{
    int32_t values[4] = {};
    uint32_t i = 0;
    for (int k = 0; k < 4; ++k) {
        while (i < n && !IsNumberChar(text[i]))
            ++i;
        if (i == n)
            return false;
        char number[kValueBytes + 1] = {};
        uint32_t length = 0;
        while (i < n && IsNumberChar(text[i]))
            number[length++] = text[i++];
        if (char* dot = std::strchr(number, '.'))
            *dot = 0;
        values[k] = CStrToLong(number, nullptr);
    }
    rect->left = values[0];
    rect->top = values[1];
    rect->right = values[2];
    rect->bottom = values[3];
    return true;
}

bool IsAtEnd(const char* text, uint32_t n)
{
    uint32_t i = kCommentLength;
    while (i < n && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    return n - i >= 7 && std::memcmp(text + i, "(atend)", 7) == 0;
}

// Reads up to kValueBytes of the comment at position into text.
int32_t ReadComment(FileHandle file, uint32_t position, uint32_t sectionEnd, char* text, uint32_t* n)
{
    *n = sectionEnd - position < kValueBytes ? sectionEnd - position : kValueBytes;
    int32_t result = FileSeek(file, kSeekStart, int32_t(position));
    if (result == 0)
        result = FileReadCount(file, n, text);
    return result == kErrHandleEof ? 0 : result;
}

// Finds the comments of the section: the first and the last.
int32_t FindComments(FileHandle file, uint32_t offset, uint32_t length, int64_t* first, int64_t* last)
{
    *first = *last = -1;
    std::vector<char> window(kWindow);
    uint32_t at = offset;
    const uint32_t end = offset + length;
    while (at < end) {
        uint32_t n = end - at < kWindow ? end - at : kWindow;
        int32_t result = FileSeek(file, kSeekStart, int32_t(at));
        if (result == 0)
            result = FileReadCount(file, &n, window.data());
        if (result != 0 && result != kErrHandleEof)
            return result;
        for (uint32_t i = 0; i + kCommentLength <= n; ++i) {
            if (window[i] == '%' && std::memcmp(window.data() + i, kComment, kCommentLength) == 0) {
                if (*first < 0)
                    *first = at + i;
                *last = at + i;
            }
        }
        if (n < kWindow || at + n >= end)
            break;
        at += n - (kCommentLength - 1);
    }
    return 0;
}

}  // namespace

int32_t EpsReadBoundingBox(const PathRecord* record, IntRect* rect)
{
    *rect = IntRect{};
    if (!FileExists(record, 0))
        return 1;
    FileHandle file = kNoFile;
    int32_t result = FileOpen(record, kFileRead, &file);
    if (result != 0)
        return result;
    uint32_t offset = 0, length = 0;
    int64_t first = -1, last = -1;
    result = EpsLocateSection(file, &offset, &length);
    if (result == 0)
        result = FindComments(file, offset, length, &first, &last);
    if (result == 0)
        result = 2;
    char text[kValueBytes] = {};
    uint32_t n = 0;
    if (result == 2 && first >= 0) {
        result = ReadComment(file, uint32_t(first), offset + length, text, &n);
        // "(atend)": the box is in the trailer, the file's last comment.
        if (result == 0 && IsAtEnd(text, n) && last != first)
            result = ReadComment(file, uint32_t(last), offset + length, text, &n);
        IntRect box;
        if (result == 0 && !IsAtEnd(text, n) && ParseBox(text, n, &box))
            *rect = box;
        else if (result == 0)
            result = 2;
    }
    FileClose(file);
    return result;
}
