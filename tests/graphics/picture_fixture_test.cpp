// The loaders against standard tools: every fixture that
// make_picture_fixtures.sh writes decodes to the same pixels as the
// tools' own decode (within a small tolerance for JPEG).

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "graphics/dib_image.h"
#include "graphics/picture_loader.h"
#include "picture_test_support.h"
#include "support/shell.h"

namespace {

struct FixtureCase {
    std::string file;
    std::string reference;
    uint32_t index = 0;
    int tolerance = 0;
};

std::string FixtureDir()
{
    return std::string(TESSALINE_BINARY_DIR) + "/picture-fixtures";
}

std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

bool ReadPpm(const std::string& path, int32_t* width, int32_t* height, std::vector<uint8_t>* rgb)
{
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    if (!(in >> magic >> *width >> *height >> maxValue) || magic != "P6" || maxValue != 255)
        return false;
    in.get();
    rgb->resize(size_t(*width) * size_t(*height) * 3);
    return bool(in.read(reinterpret_cast<char*>(rgb->data()), std::streamsize(rgb->size())));
}

class PictureFixtures : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // The script lies beside this file, which the compiler may name
        // relative to the build folder.
        const std::string script = TESSALINE_TEST_DATA_DIR "/../graphics/make_picture_fixtures.sh";
        made_ = std::system(("bash '" + script + "' '" + FixtureDir() + "'").c_str()) == 0;
        std::ifstream manifest(FixtureDir() + "/manifest.txt");
        std::string line;
        while (std::getline(manifest, line)) {
            std::istringstream fields(line);
            FixtureCase c;
            if (fields >> c.file >> c.reference >> c.index >> c.tolerance)
                cases_.push_back(c);
        }
    }

    // Empty when the picture matches its reference, else what differs.
    static std::string Compare(const CDibImage& image, const FixtureCase& c)
    {
        int32_t width = 0, height = 0;
        std::vector<uint8_t> expected;
        if (!ReadPpm(FixtureDir() + "/" + c.reference, &width, &height, &expected))
            return "reference unreadable";
        if (image.GetWidth() != width || image.GetHeight() != height)
            return "size " + std::to_string(image.GetWidth()) + "x" + std::to_string(image.GetHeight()) +
                   ", expected " + std::to_string(width) + "x" + std::to_string(height);
        const std::vector<uint8_t> actual = PictureRgb(image);
        for (size_t i = 0; i < actual.size(); ++i) {
            if (std::abs(int(actual[i]) - int(expected[i])) > c.tolerance) {
                const size_t pixel = i / 3;
                return "pixel (" + std::to_string(pixel % size_t(width)) + ", " + std::to_string(pixel / size_t(width)) +
                       ") channel " + std::to_string(i % 3) + ": " + std::to_string(actual[i]) + ", expected " +
                       std::to_string(expected[i]);
            }
        }
        return {};
    }

    static inline bool made_ = false;
    static inline std::vector<FixtureCase> cases_;
};

TEST_F(PictureFixtures, EveryFixtureDecodesAsTheStandardToolsDecodeIt)
{
    ASSERT_TRUE(made_) << "make_picture_fixtures.sh failed (ImageMagick, libtiff-tools and python3-pil needed)";
    ASSERT_GE(cases_.size(), 60u);
    for (const FixtureCase& c : cases_) {
        SCOPED_TRACE(c.file + " image " + std::to_string(c.index));
        const std::vector<uint8_t> bytes = ReadBytes(FixtureDir() + "/" + c.file);
        const int32_t type = PictureTypeFromContent(bytes.data(), bytes.size());
        ASSERT_EQ(type, PictureTypeFromExtension(c.file.c_str()));
        CDibImage image;
        image.SetImageIndex(c.index);
        const std::string path = FixtureDir() + "/" + c.file;
        ASSERT_TRUE(image.DibLoadByType(path.c_str(), type)) << image.ErrorText();
        EXPECT_EQ(image.GetType(), type);
        EXPECT_STREQ(image.FileName(), path.c_str());
        EXPECT_EQ(Compare(image, c), "");
    }
}

// Truncation anywhere gives a clean failure or a picture, never a read
// outside the bytes; the sanitizer build checks the latter.
TEST_F(PictureFixtures, EveryCutOfAFixtureLoadsOrFailsCleanly)
{
    ASSERT_TRUE(made_);
    for (const FixtureCase& c : cases_) {
        const std::vector<uint8_t> bytes = ReadBytes(FixtureDir() + "/" + c.file);
        const int32_t type = PictureTypeFromExtension(c.file.c_str());
        for (size_t cut : {size_t(0), size_t(7), size_t(40), bytes.size() / 3, bytes.size() / 2, bytes.size() - 1}) {
            if (cut > bytes.size())
                continue;
            std::vector<uint8_t> part(bytes.begin(), bytes.begin() + long(cut));
            CDibImage image;
            image.SetImageIndex(c.index);
            if (image.DibLoadBytesByType(part.data(), part.size(), type))
                EXPECT_FALSE(image.IsEmpty()) << c.file << " cut at " << cut;
            else
                EXPECT_TRUE(image.IsEmpty()) << c.file << " cut at " << cut;
        }
    }
}

TEST_F(PictureFixtures, ToolWritesWhatTheLoadersDecodeAs24BitBitmaps)
{
    ASSERT_TRUE(made_);
    const std::string tool = ToolPath();
    for (const char* name : {"png-palette-4.png", "gif-16-transparent.gif", "tiff-grey-16.tif", "jpeg-cmyk.jpg"}) {
        SCOPED_TRACE(name);
        const std::string out = FixtureDir() + "/" + name + ".tool.bmp";
        const std::string command =
            std::string("'") + tool + "' picture '" + FixtureDir() + "/" + name + "' '" + out + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
        const std::vector<uint8_t> bmp = ReadBytes(out);
        ASSERT_GT(bmp.size(), 54u);
        EXPECT_EQ(bmp[28], 24);
        CDibImage written, original;
        ASSERT_TRUE(written.DibLoadBytesByType(bmp.data(), bmp.size(), kPictureBmp));
        const std::string source = FixtureDir() + "/" + name;
        ASSERT_TRUE(original.DibLoadByType(source.c_str(), PictureTypeFromExtension(name)));
        EXPECT_EQ(PictureRgb(written), PictureRgb(original));
    }
    const std::string bad = std::string("'") + tool + "' picture '" + FixtureDir() + "/manifest.txt' '" +
                            FixtureDir() + "/x.bmp' 2>/dev/null";
    EXPECT_NE(std::system(bad.c_str()), 0);
}

}  // namespace
