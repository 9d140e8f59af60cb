// Pieces of a PostScript job packed on the packer's thread come back in the
// order they were handed over, each as the ASCII85 text of its Flate data,
// also when many wait at once, and a packer given up with pieces waiting
// ends without them.
#include <string>

#include <gtest/gtest.h>

#include "postscript/ps_packer.h"
#include "postscript/ps_words.h"
#include "support/postscript_as_run.h"

namespace {

std::string Piece(int n)
{
    std::string bytes;
    for (int i = 0; i < 20000 + n * 977; ++i)
        bytes += char('a' + (i * (n + 3)) % 26);
    return bytes + " piece " + std::to_string(n);
}

TEST(PsPacker, PiecesComeBackInTheirOrderAsTheyWouldBePackedHere)
{
    PsPacker packer;
    EXPECT_EQ(packer.take(), "");
    int given = 0, taken = 0;
    // Taken now and then, and ten left waiting at once.
    for (int round = 0; round < 3; ++round) {
        for (int k = 0; k < 10; ++k)
            packer.add(Piece(given++));
        EXPECT_GT(packer.waiting(), 0u);
        while (packer.waiting() > (round == 2 ? 0u : 4u)) {
            SCOPED_TRACE(taken);
            const std::string packed = packer.take();
            std::string here;
            PsAppendFlateAscii85(&here, Piece(taken));
            EXPECT_EQ(packed, here);
            std::string back;
            size_t end = 0;
            ASSERT_TRUE(DecodeAscii85(packed, 0, &back, &end));
            ++taken;
        }
    }
    EXPECT_EQ(taken, given);
    EXPECT_EQ(packer.waiting(), 0u);
    EXPECT_FALSE(packer.ready());
    {
        PsPacker left;
        for (int k = 0; k < 8; ++k)
            left.add(Piece(k));
    }
}

}  // namespace
