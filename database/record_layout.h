// Reading the fixed part of a stored record (its first 33 bytes), which
// decides how long the record is and whether it can be trusted.
#pragma once

#include <cstdint>

// Sum of the 24 body lengths.
uint32_t RecordBodySum(const uint8_t* head);
// 33 + the body lengths + slack, the slack taken as signed, so that a
// damaged head can give a length below 33.
int32_t RecordLength(const uint8_t* head);

// The length of the record when head is the head of a sound record, else
// 0. Sound: marker 0xFC, slack not negative, no body longer than its
// field's maximum, and at most the largest record (1103 bytes). A record
// that passes can be held in a record buffer and edited without running
// past it.
uint32_t SoundRecordLength(const uint8_t* head);

// True when the n bytes are the start of a record cut short: a write that
// never finished. They begin with the marker, what they hold of the head
// is what a sound head holds, and the head (when all there) claims more
// bytes than n. Such bytes at the end of a record file are no record and
// no damage, only a change that was never committed.
bool IsTornRecord(const uint8_t* bytes, uint32_t n);
