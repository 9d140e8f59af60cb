// Expands arbitrary bytes as a compressed container. Whatever expands must
// compress and expand back to the same bytes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "foundation/handle.h"
#include "foundation/pack_data.h"

namespace {

// Round trips of large expansions add time without reaching new code.
constexpr uint32_t kMaxRoundTrip = 1 << 20;

bool SameBytes(Handle a, Handle b)
{
    const uint32_t n = HandleGetSize(a);
    return n == HandleGetSize(b) && (n == 0 || std::memcmp(HandleData(a), HandleData(b), n) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > UINT32_MAX)
        return 0;
    Handle source = nullptr;
    HandleFromBytes(data, &source, uint32_t(size));
    HandleOwner container(source);
    HandleOwner expanded(HandleNew(0));
    if (!container || !expanded)
        return 0;

    const int32_t result = PackData(container.get(), expanded.get(), kPackExpand, 0, 0);
    if (result != kPackOk && result != kPackFileError && result != kPackDataError)
        std::abort();
    if (result != kPackOk || HandleGetSize(expanded.get()) > kMaxRoundTrip)
        return 0;

    HandleOwner packed(HandleNew(0));
    HandleOwner back(HandleNew(0));
    const int32_t level = int32_t(size % 11);
    if (PackData(expanded.get(), packed.get(), kPackCompress, level, 0) != kPackOk ||
        PackData(packed.get(), back.get(), kPackExpand, 0, 0) != kPackOk || !SameBytes(expanded.get(), back.get()))
        std::abort();
    return 0;
}
