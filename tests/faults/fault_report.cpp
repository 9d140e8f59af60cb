// The counts of the suite's crash trials, printed when it ends: one line
// per operation and their sum, the record of a long run.

#include <gtest/gtest.h>

#include <cstdio>

#include "fault_trials.h"

namespace {

void PrintCounts(const char* name, const FaultTotals& t)
{
    std::printf("%-18s trials %7lld  power lost %7lld  writes dropped %8lld  torn partly %7lld  torn at 4 KiB "
                "%6lld  records checked %9lld  trials losing a record or mixing %lld\n",
                name, static_cast<long long>(t.trials), static_cast<long long>(t.crashes),
                static_cast<long long>(t.dropped), static_cast<long long>(t.tornPartly),
                static_cast<long long>(t.tornAtPage), static_cast<long long>(t.recordsChecked),
                static_cast<long long>(t.lost));
}

class FaultReport : public ::testing::Environment {
public:
    void TearDown() override
    {
        FaultTotals sum;
        for (const auto& [name, t] : TotalsByOperation()) {
            PrintCounts(name.c_str(), t);
            sum.trials += t.trials;
            sum.crashes += t.crashes;
            sum.dropped += t.dropped;
            sum.tornPartly += t.tornPartly;
            sum.tornAtPage += t.tornAtPage;
            sum.recordsChecked += t.recordsChecked;
            sum.lost += t.lost;
        }
        PrintCounts("all", sum);
    }
};

const ::testing::Environment* const kFaultReport = ::testing::AddGlobalTestEnvironment(new FaultReport);

}  // namespace
