// Crash trials: an operation runs on files of a temporary folder while the
// power goes at a random step of it (support/crash_disk.h); the folder is
// then reopened and must hold what was committed before the crash, or in
// addition exactly what the step in flight was committing.
//
// TESSALINE_FAULT_TRIALS sets the trials per operation (40 by default, for
// the test run; a long run asks for hundreds or thousands), and
// TESSALINE_FAULT_SEED the first seed. The counts of every operation and
// their sum are printed at the end.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "support/crash_disk.h"
#include "support/flushes_skipped.h"
#include "support/shell.h"

struct FaultTotals {
    int64_t trials = 0;
    int64_t crashes = 0;       // trials whose power went during the operation
    int64_t dropped = 0;       // unflushed writes and size changes lost whole
    int64_t tornPartly = 0;    // unflushed writes cut at a random byte
    int64_t tornAtPage = 0;    // unflushed writes cut at a 4 KiB boundary
    int64_t recordsChecked = 0;
    int64_t lost = 0;          // trials whose outcome was not one allowed
};

// The counts of each operation's trials, by name, for the summary the
// suite prints at its end (fault_report.cpp).
inline std::map<std::string, FaultTotals>& TotalsByOperation()
{
    static std::map<std::string, FaultTotals> totals;
    return totals;
}

inline int TrialsPerOperation()
{
    const char* text = std::getenv("TESSALINE_FAULT_TRIALS");
    const int n = text ? std::atoi(text) : 0;
    return n > 0 ? n : 40;
}

inline uint64_t FirstSeed()
{
    const char* text = std::getenv("TESSALINE_FAULT_SEED");
    return text ? std::strtoull(text, nullptr, 10) : 1;
}

// Every file of a folder as bytes, put back before each trial.
class FolderImage {
public:
    void Capture(const std::string& folder)
    {
        files_.clear();
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (entry.is_regular_file())
                files_[entry.path().filename().string()] = ReadFileBytes(entry.path().string());
        }
    }
    void Restore(const std::string& folder) const
    {
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            std::filesystem::remove_all(entry.path());
        for (const auto& [name, bytes] : files_)
            WriteFileBytes(folder + "/" + name, bytes);
    }

private:
    std::map<std::string, std::string> files_;
};

inline std::string Describe(const std::string& s) { return s.size() > 120 ? s.substr(0, 120) + "..." : s; }
inline std::string Describe(char c) { return std::to_string(int(uint8_t(c))); }
template <typename A, typename B>
std::string Describe(const std::pair<A, B>& p)
{
    return Describe(p.second);
}

// Where an operation stands: the step count at the end of each of its
// parts, each a change that is committed when it returns.
class Trial {
public:
    explicit Trial(CrashDisk* disk) : disk_(disk) {}
    void EndOfPart()
    {
        if (disk_)
            ends_.push_back(disk_->stats().steps);
    }
    // The parts that had ended before step k began.
    int PartsBefore(int64_t k) const
    {
        int n = 0;
        for (int64_t end : ends_)
            n += end < k ? 1 : 0;
        return n;
    }

private:
    CrashDisk* disk_;
    std::vector<int64_t> ends_;
};

// What a state has that the expected one lacks, and the reverse, for the
// failure message.
template <typename State>
std::string Difference(const State& now, const State& expected)
{
    std::string text;
    int shown = 0;
    for (const auto& item : now) {
        if (std::find(expected.begin(), expected.end(), item) == expected.end() && shown++ < 3)
            text += "  found, not expected: " + Describe(item) + "\n";
    }
    for (const auto& item : expected) {
        if (std::find(now.begin(), now.end(), item) == now.end() && shown++ < 6)
            text += "  expected, not found: " + Describe(item) + "\n";
    }
    return text + "  (" + std::to_string(now.size()) + " found, " + std::to_string(expected.size()) + " expected)\n";
}

// Runs trials of an operation of parts parts. operation(parts, trial) runs
// the first `parts` parts on the folder (trial null: no crash). state()
// reads what the folder holds as a user reopening it would find it, and
// tells the records it checked. After a crash during part i (1-based), the
// state must be that after i-1 parts or after i; parts that ended before
// the crash must all be there.
template <typename State>
void RunCrashTrials(const std::string& name, const std::string& folder, int parts,
                    const std::function<void(int parts, Trial* trial)>& operation,
                    const std::function<State(int64_t* records)>& state)
{
    // Outside the trials' own crashes nothing needs to reach the disk.
    FlushesSkipped flushes;
    FolderImage base;
    base.Capture(folder);
    // What each number of committed parts leaves.
    std::vector<State> states;
    for (int i = 0; i <= parts; ++i) {
        base.Restore(folder);
        operation(i, nullptr);
        int64_t records = 0;
        states.push_back(state(&records));
    }
    base.Restore(folder);
    int64_t steps = 0;
    {
        CrashDisk counting(0, 0);
        operation(parts, nullptr);
        steps = counting.stats().steps;
    }
    ASSERT_GT(steps, 0) << name;

    const int trials = TrialsPerOperation();
    FaultTotals& totals = TotalsByOperation()[name];
    std::mt19937_64 random(FirstSeed() * 1000003u + std::hash<std::string>{}(name));
    for (int t = 0; t < trials; ++t) {
        base.Restore(folder);
        const uint64_t seed = random();
        const int64_t crashAt = 1 + int64_t(seed % uint64_t(steps));
        const bool harsh = (seed >> 32) % 4 == 0;
        int done = parts;
        {
            CrashDisk disk(seed, crashAt, harsh);
            Trial trial(&disk);
            operation(parts, &trial);
            disk.Restore();
            if (disk.crashed()) {
                done = trial.PartsBefore(crashAt);
                ++totals.crashes;
                totals.dropped += disk.stats().dropped;
                totals.tornPartly += disk.stats().tornPartly;
                totals.tornAtPage += disk.stats().tornAtPage;
            }
        }
        // TESSALINE_FAULT_KEEP names a folder that receives a copy of what a
        // crash left, when the trial fails.
        FolderImage left;
        left.Capture(folder);
        int64_t records = 0;
        const State now = state(&records);
        ++totals.trials;
        totals.recordsChecked += records;
        const bool allowed = now == states[size_t(done)] || (done < parts && now == states[size_t(done + 1)]);
        if (!allowed) {
            ++totals.lost;
            if (const char* keep = std::getenv("TESSALINE_FAULT_KEEP")) {
                std::filesystem::create_directories(keep);
                left.Restore(keep);
            }
        }
        EXPECT_TRUE(allowed) << Difference(now, states[size_t(done)]) << name << ": trial " << t << " (seed " << seed << ", power gone at step " << crashAt
                             << " of " << steps << (harsh ? ", every unflushed write lost" : "") << ", " << done
                             << " of " << parts << " parts committed)";
        if (!allowed)
            break;
    }
    base.Restore(folder);
}
