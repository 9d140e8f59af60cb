// Reads arbitrary bytes as a document set-up record, as a card document
// file hands one over. Whatever it holds, it writes back byte for byte but
// for the preview document's slot, and its texts stay within their fields.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "catalog/doc_setup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> bytes(kDocSetupSize, 0);
    std::memcpy(bytes.data(), data, size < kDocSetupSize ? size : kDocSetupSize);
    DocSetup setup;
    DocSetupDecode(bytes.data(), &setup);
    for (int32_t k = 0; k < int32_t(kDocSetupFieldTextCount); ++k) {
        if (DocSetupText(setup, k).size() >= kDocSetupFieldTextSize)
            abort();
    }
    std::vector<uint8_t> again(kDocSetupSize, 0xAA);
    DocSetupEncode(setup, again.data());
    std::memset(bytes.data() + kDocSetupPreviewSlot, 0, 4);
    if (again != bytes)
        abort();
    return 0;
}
