#include <gtest/gtest.h>

// The suites of the ground layers: no application object and no card
// document host, neither of which their layers can reach.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
