#include "support/test_runner.h"

// The suites of the ground layers: no application object and no card
// document host, neither of which their layers can reach.
int main(int argc, char** argv)
{
    return RunTestSuite(argc, argv, nullptr);
}
