// Packs a PostScript job's pieces of page drawing (Flate in ASCII85, as
// PsAppendFlateAscii85 writes them) on a thread of its own, while the job
// goes on drawing: compressing costs about a seventh of a job of text and
// barcodes, which a second processor takes off its time. The pieces come
// back in the order they were handed over.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

class PsPacker {
public:
    PsPacker() = default;
    // Waits for the piece being packed; the rest is dropped.
    ~PsPacker();
    PsPacker(const PsPacker&) = delete;
    PsPacker& operator=(const PsPacker&) = delete;

    // Hands a piece over; the thread starts with the first.
    void add(std::string bytes);
    // The pieces handed over and not yet taken.
    size_t waiting() const { return added_ - taken_; }
    // Whether the oldest piece not taken is packed.
    bool ready();
    // The oldest piece not taken, packed (waits for it); none: empty.
    std::string take();

private:
    void run();

    std::mutex lock_;
    std::condition_variable changed_;
    std::deque<std::string> todo_;
    std::deque<std::string> done_;
    size_t added_ = 0;
    size_t taken_ = 0;
    bool stop_ = false;
    std::thread thread_;
};
