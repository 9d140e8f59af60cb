#include "wizard/backdrop_colour_names.h"

#include <cstring>
#include <string_view>

#include <QComboBox>

#include "catalog/backdrop_list.h"
#include "foundation/cp1252.h"
#include "foundation/handle.h"

namespace {

constexpr size_t kColourNameSize = 64;

}  // namespace

void AddBackdropColourNames(QComboBox* combo, int32_t group)
{
    HandleOwner names(HandleNew(0));
    int32_t n = 0;
    if (!names || ListGroupItemNames(group, names.get(), &n) != 0)
        return;
    const uint8_t* bytes = HandleData<uint8_t>(names.get());
    for (int32_t i = 0; i < n && size_t(i + 1) * kColourNameSize <= HandleGetSize(names.get()); ++i) {
        const char* name = reinterpret_cast<const char*>(bytes + size_t(i) * kColourNameSize);
        combo->addItem(Cp1252ToQString(std::string_view(name, strnlen(name, kColourNameSize))));
    }
}
