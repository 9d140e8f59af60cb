// The mark the program's scratch files and folders carry: which process
// made them. In a folder others write too (the temporary folder, the
// folder of a print's output), it tells what a killed copy of this program
// left from a file of a like name that is someone else's.
#pragma once

#include <string>

// Marks the file open on fd, or the file or folder at path, as made by
// this process. Where the file system keeps no such marks the entry stays
// unmarked, and so is never taken for a leftover.
void MarkOwnScratch(int fd);
void MarkOwnScratch(const std::string& path);
// Takes the mark off a file that is about to become the user's own.
void UnmarkOwnScratch(int fd);
// Marks a file this process has just made at path (open on fd) where its
// folder is this process's own scratch folder: what the program writes
// there is its own, and goes with the folder.
void MarkIfInOwnScratch(int fd, const std::string& path);

enum class ScratchMaker {
    kNone,     // not marked by this program
    kRunning,  // its maker still runs (or that can't be told)
    kGone,     // its maker has ended
};
// Who made the entry at path (never following a link).
ScratchMaker ScratchMakerOf(const std::string& path);
