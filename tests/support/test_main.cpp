#include <gtest/gtest.h>

#include "tools/stand_ins/stand_in_hosts.h"

int main(int argc, char** argv)
{
    ScopedStandInCardDocumentHost documentHost;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
