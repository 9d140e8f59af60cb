// The end of writing a new database file through FileSwap, for the
// commands that write records to a file of their own (Split, the
// selection's file).
#pragma once

#include <cstdint>

class FileSwap;

// Puts the new file in place unless err already says the writing failed;
// a failure is told to the user. 1 when the file stands, -1 when not.
int32_t FinishNewDatabaseFile(FileSwap& out, int32_t err);
