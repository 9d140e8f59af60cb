#include "graphics/gif_lzw.h"

#include <cstring>
#include <vector>

namespace {

constexpr int kMaxCodeBits = 12;
constexpr uint32_t kTableSize = 1u << kMaxCodeBits;

// The bytes of a run of sub-blocks, one at a time.
class SubBlockReader {
public:
    SubBlockReader(const uint8_t* data, size_t size, size_t pos) : data_(data), size_(size), pos_(pos) {}

    // The next data byte; -1 at the terminating empty block or the end.
    int next()
    {
        if (ended_)
            return -1;
        if (left_ == 0) {
            if (pos_ >= size_ || data_[pos_] == 0) {
                if (pos_ < size_)
                    ++pos_;
                ended_ = true;
                return -1;
            }
            left_ = data_[pos_++];
        }
        if (pos_ >= size_) {
            ended_ = true;
            return -1;
        }
        --left_;
        return data_[pos_++];
    }

    // The next code of width bits; -1 when the data ran out.
    int32_t code(int width)
    {
        while (bitCount_ < width) {
            const int b = next();
            if (b < 0)
                return -1;
            bits_ |= uint32_t(b) << bitCount_;
            bitCount_ += 8;
        }
        const int32_t c = int32_t(bits_ & ((1u << width) - 1));
        bits_ >>= width;
        bitCount_ -= width;
        return c;
    }

    // Skips whatever is left of the sub-blocks; returns the position
    // behind them.
    size_t finish()
    {
        if (!ended_) {
            pos_ += left_ < size_ - pos_ ? left_ : size_ - pos_;
            left_ = 0;
            GifSkipSubBlocks(data_, size_, &pos_);
            ended_ = true;
        }
        return pos_;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_;
    uint32_t left_ = 0;
    bool ended_ = false;
    uint32_t bits_ = 0;
    int bitCount_ = 0;
};

// Which picture row each decoded line goes to.
class RowOrder {
public:
    RowOrder(int32_t height, bool interlaced) : height_(height), interlaced_(interlaced) { skipEmptyPasses(); }

    bool done() const { return row_ >= height_; }
    int32_t row() const { return row_; }
    void advance()
    {
        if (!interlaced_) {
            ++row_;
            return;
        }
        row_ += kStep[pass_];
        skipEmptyPasses();
    }

private:
    void skipEmptyPasses()
    {
        if (!interlaced_)
            return;
        while (row_ >= height_ && pass_ < 3) {
            ++pass_;
            row_ = kStart[pass_];
        }
    }

    static constexpr int32_t kStart[4] = {0, 4, 2, 1};
    static constexpr int32_t kStep[4] = {8, 8, 4, 2};
    int32_t height_;
    bool interlaced_;
    int pass_ = 0;
    int32_t row_ = 0;
};

}  // namespace

void GifSkipSubBlocks(const uint8_t* data, size_t size, size_t* pos)
{
    while (*pos < size) {
        const uint8_t length = data[(*pos)++];
        if (length == 0)
            return;
        *pos += length < size - *pos ? length : size - *pos;
    }
}

int32_t GifDecodeLzw(const uint8_t* data, size_t size, size_t* pos, bool interlaced, CDibImage& image,
                     uint32_t* badCodes)
{
    if (badCodes)
        *badCodes = 0;
    if (*pos >= size)
        return kGifLzwBadCodeSize;
    const int minSize = data[(*pos)++];
    SubBlockReader in(data, size, *pos);
    if (minSize < 2 || minSize > 9) {
        *pos = in.finish();
        return kGifLzwBadCodeSize;
    }
    const int32_t width = image.GetWidth();
    std::vector<uint16_t> prefix;
    std::vector<uint8_t> suffix, stack, line;
    try {
        prefix.assign(kTableSize, 0);
        suffix.assign(kTableSize, 0);
        stack.resize(kTableSize + 1);
        line.assign(size_t(width), 0);
    } catch (const std::bad_alloc&) {
        *pos = in.finish();
        return kGifLzwNoMemory;
    }

    const int32_t clear = 1 << minSize;
    const int32_t end = clear + 1;
    for (int32_t i = 0; i < clear; ++i)
        suffix[size_t(i)] = uint8_t(i);
    int codeWidth = minSize + 1;
    int32_t nextFree = clear + 2;
    int32_t limit = 1 << codeWidth;
    int32_t previous = -1;
    uint8_t first = 0;
    int32_t x = 0;
    RowOrder rows(image.GetHeight(), interlaced);

    auto emit = [&](const uint8_t* pixels, size_t n) {
        for (size_t i = 0; i < n && !rows.done(); ++i) {
            line[size_t(x++)] = pixels[i];
            if (x == width) {
                std::memcpy(image.RowFromTop(rows.row()), line.data(), size_t(width));
                rows.advance();
                x = 0;
            }
        }
    };

    while (!rows.done()) {
        int32_t code = in.code(codeWidth);
        if (code < 0 || code == end)
            break;
        if (code == clear) {
            codeWidth = minSize + 1;
            nextFree = clear + 2;
            limit = 1 << codeWidth;
            previous = -1;
            continue;
        }
        if (previous < 0) {
            if (code >= nextFree)
                code = 0;
            first = suffix[size_t(code)];
            emit(&first, 1);
            previous = code;
            continue;
        }
        size_t depth = 0;
        if (code > nextFree && badCodes)
            ++*badCodes;
        int32_t incoming = code;
        if (code >= nextFree) {
            // The code being defined: the previous string plus its own
            // first character.
            incoming = nextFree;
            stack[depth++] = first;
            code = previous;
        }
        while (code >= clear && depth < kTableSize) {
            stack[depth++] = suffix[size_t(code)];
            code = prefix[size_t(code)];
        }
        if (code >= clear)
            break;  // a corrupt chain; the rows so far stay
        first = uint8_t(code);
        stack[depth++] = first;
        if (nextFree < int32_t(kTableSize)) {
            prefix[size_t(nextFree)] = uint16_t(previous);
            suffix[size_t(nextFree)] = first;
            ++nextFree;
            if (nextFree == limit && codeWidth < kMaxCodeBits) {
                ++codeWidth;
                limit <<= 1;
            }
        }
        previous = incoming < nextFree ? incoming : nextFree - 1;
        while (depth > 0 && !rows.done()) {
            const uint8_t pixel = stack[--depth];
            emit(&pixel, 1);
        }
    }
    if (x > 0 && !rows.done())
        std::memcpy(image.RowFromTop(rows.row()), line.data(), size_t(x));
    *pos = in.finish();
    return kGifLzwOk;
}
