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

int32_t GifLineRow(int64_t n, int32_t height, bool interlaced)
{
    if (n < 0 || n >= height)
        return -1;
    if (!interlaced)
        return int32_t(n);
    static constexpr int32_t kStart[4] = {0, 4, 2, 1};
    static constexpr int32_t kStep[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        const int64_t inPass = height > kStart[pass] ? (int64_t(height) - kStart[pass] + kStep[pass] - 1) / kStep[pass] : 0;
        if (n < inPass)
            return int32_t(kStart[pass] + n * kStep[pass]);
        n -= inPass;
    }
    return -1;
}

int32_t GifDecodeLzw(const uint8_t* data, size_t size, size_t* pos, int32_t width, int64_t maxLines,
                     std::vector<uint8_t>* lines, uint32_t* badCodes)
{
    if (badCodes)
        *badCodes = 0;
    if (*pos >= size)
        return kGifLzwBadCodeSize;
    const int minSize = data[(*pos)++];
    SubBlockReader in(data, size, *pos);
    if (minSize < 2 || minSize > 9 || width <= 0) {
        *pos = in.finish();
        return kGifLzwBadCodeSize;
    }
    const uint64_t wanted = uint64_t(width) * uint64_t(maxLines > 0 ? maxLines : 0);
    std::vector<uint16_t> prefix;
    std::vector<uint8_t> suffix, stack;
    try {
        prefix.assign(kTableSize, 0);
        suffix.assign(kTableSize, 0);
        stack.resize(kTableSize + 1);
    } catch (const std::bad_alloc&) {
        *pos = in.finish();
        return kGifLzwNoMemory;
    }
    const size_t start = lines->size();
    auto full = [&] { return lines->size() - start >= wanted; };
    bool noMemory = false;
    // The lines grow with what the data holds; their memory never runs
    // ahead of the pixels decoded.
    auto emit = [&](uint8_t pixel) {
        if (full() || noMemory)
            return;
        try {
            lines->push_back(pixel);
        } catch (const std::bad_alloc&) {
            noMemory = true;
        }
    };

    const int32_t clear = 1 << minSize;
    const int32_t end = clear + 1;
    for (int32_t i = 0; i < clear; ++i)
        suffix[size_t(i)] = uint8_t(i);
    int codeWidth = minSize + 1;
    int32_t nextFree = clear + 2;
    int32_t limit = 1 << codeWidth;
    int32_t previous = -1;
    uint8_t first = 0;

    while (!full() && !noMemory) {
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
            emit(first);
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
            break;  // a corrupt chain; the lines so far stay
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
        while (depth > 0 && !full())
            emit(stack[--depth]);
    }
    // A line the data ended in is no line of the picture.
    lines->resize(lines->size() - (lines->size() - start) % size_t(width));
    *pos = in.finish();
    return noMemory ? kGifLzwNoMemory : kGifLzwOk;
}
