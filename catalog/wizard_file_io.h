// Whole-file reads and crash-safe whole-file writes of the wizard's own
// files, and the check every file name read from the wizard's data passes
// before it names a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "foundation/file_io.h"
#include "foundation/path_record.h"

// Larger files are not the wizard's: reading one gives kWizWrongCode
// rather than an allocation of that size.
constexpr uint32_t kWizMaxFileSize = 256u << 20;

struct WizBytes {
    const uint8_t* data;
    size_t size;
};

// The parts one after the other become the file's content. They go to a
// new file beside it, which replaces the file only once it is complete and
// on the disk, so the file is always either the old or the new one.
int32_t WizWriteFile(const PathRecord& path, std::initializer_list<WizBytes> parts);
int32_t WizWriteFile(const PathRecord& path, const std::vector<uint8_t>& bytes);

// The whole content of a file, or of a file already open (read from its
// start). 0, kWizWrongCode beyond maxSize, or the file layer's code.
int32_t WizReadFile(const PathRecord& path, std::vector<uint8_t>* bytes, uint32_t maxSize = kWizMaxFileSize);
int32_t WizReadOpenFile(FileHandle file, std::vector<uint8_t>* bytes, uint32_t maxSize = kWizMaxFileSize);

// True when the field (of fieldSize bytes) holds a terminated, non-empty
// name of a file in one folder: no separator, drive or parent step. Names
// read from the wizard's data are used only when they pass, so a damaged
// record can never reach a file outside the wizard's folders.
bool WizIsPlainFileName(const char* field, size_t fieldSize);

// Copies at most fieldSize - 1 characters of text into the field,
// terminated and zero-filled behind.
void WizPutName(uint8_t* field, size_t fieldSize, const char* text);
// The text of a field up to its terminator, at most fieldSize - 1
// characters even when a damaged field has none, into buffer (size bytes,
// always terminated when size is at least 1).
void WizGetName(const uint8_t* field, size_t fieldSize, char* buffer, int32_t size);
