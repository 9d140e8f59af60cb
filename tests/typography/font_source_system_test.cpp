// The installed fonts as the desktop's own source reports them. The test
// machine has the Liberation faces, which also stand for Arial.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/cp1252.h"
#include "typography/font_source.h"

namespace {

struct Listed {
    std::string name;
    uint8_t charSet;
    uint8_t pitchAndFamily;
    uint32_t emSize;
    uint32_t type;
    bool operator==(const Listed&) const = default;
};

std::vector<Listed> Enumerate(const char* face)
{
    LogFont filter;
    filter.charSet = DEFAULT_CHARSET;
    std::strncpy(filter.faceName, face, sizeof(filter.faceName) - 1);
    std::vector<Listed> out;
    CurrentFontSource().EnumFontFamiliesEx(filter, [&](const EnumeratedFont& f, uint32_t type) {
        out.push_back({f.logFont.faceName, f.logFont.charSet, f.logFont.pitchAndFamily, f.emSize, type});
        return 1;
    });
    return out;
}

// Faces are described when first named, so a face asked for by name, before
// or after the whole list was made, must be the one the whole list shows.
TEST(SystemFontSource, AFaceAskedForByNameIsTheOneTheWholeListShows)
{
    const char* const names[] = {"Arial", "liberation serif", "TIMES NEW ROMAN"};
    std::vector<std::vector<Listed>> byName;
    for (const char* name : names)
        byName.push_back(Enumerate(name));
    const std::vector<Listed> all = Enumerate("");
    ASSERT_FALSE(all.empty());

    for (size_t i = 0; i < std::size(names); ++i) {
        SCOPED_TRACE(names[i]);
        std::vector<Listed> expected;
        for (const Listed& f : all) {
            if (Cp1252EqualIgnoringCase(f.name, names[i]))
                expected.push_back(f);
        }
        ASSERT_FALSE(expected.empty());
        EXPECT_EQ(byName[i], expected);

        LogFont request;
        request.charSet = DEFAULT_CHARSET;
        std::strncpy(request.faceName, names[i], sizeof(request.faceName) - 1);
        RealizedFont realized;
        ASSERT_TRUE(CurrentFontSource().RealizeFont(request, &realized));
        EXPECT_EQ(std::string(realized.faceName), expected.front().name);
        EXPECT_EQ(realized.pitchAndFamily & 0xF0, expected.front().pitchAndFamily & 0xF0);
        EXPECT_TRUE(realized.pitchAndFamily & TMPF_TRUETYPE);
    }

    // A face nobody has is realised as a face of the list: the one drawn
    // in its place.
    LogFont missing;
    std::strncpy(missing.faceName, "No Such Face Here", sizeof(missing.faceName) - 1);
    RealizedFont realized;
    ASSERT_TRUE(CurrentFontSource().RealizeFont(missing, &realized));
    bool listed = false;
    for (const Listed& f : all)
        listed = listed || f.name == realized.faceName;
    EXPECT_TRUE(listed) << realized.faceName;
    EXPECT_STRNE(realized.faceName, "No Such Face Here");
}

}  // namespace
