// UTF-8 text as files from elsewhere carry it, brought into Windows-1252,
// the code page of all stored text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The byte order mark some programs put at the start of a UTF-8 file.
constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";
constexpr size_t kUtf8BomLength = 3;
bool StartsWithUtf8Bom(std::string_view bytes);

// The text in the code page. A character the code page lacks, and a byte
// that starts no valid sequence, become '?' and are counted in replaced
// (one per character). A sequence cut short by the end of the text is
// dropped without a count: a field cut at its greatest length may end
// inside a character.
std::string Utf8ToCp1252(std::string_view utf8, int32_t* replaced);

// A text file's bytes as a story takes them: in UTF-16 (said by its byte
// order mark) or UTF-8 (said by its byte order mark, which goes, or by
// being valid UTF-8 beyond ASCII, as the database's import tells it)
// brought into the code page, characters it
// lacks counted in replaced as Utf8ToCp1252 does; and every line end, LF,
// CR LF or CR, one CR.
std::string TextFileToCp1252(std::string_view bytes, int32_t* replaced);

// Follows bytes fed in pieces and tells whether they are valid UTF-8 that
// holds at least one character beyond ASCII: plain ASCII reads the same in
// either code, and single bytes of Windows-1252 above 0x7F almost never
// form valid sequences.
class Utf8Check {
public:
    void Feed(const char* bytes, size_t n);
    // Valid UTF-8 with a character beyond ASCII, once every piece is fed.
    bool IsUtf8() const { return valid_ && multibyte_ && carried_ == 0; }
    // Still valid so far; an invalid byte settles the question.
    bool StillValid() const { return valid_; }

private:
    bool valid_ = true;
    bool multibyte_ = false;
    char carry_[3] = {};
    size_t carried_ = 0;
};
