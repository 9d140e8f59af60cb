#include "support/test_runner.h"

int main(int argc, char** argv)
{
    return RunTestSuite(argc, argv, false);
}
