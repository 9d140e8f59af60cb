// The program's three alert boxes: information, question and stop.
//
// Texts may come from the string table (base + index) and may carry a
// numeric code, shown behind the text as "[%ld]". All of them return 1 for
// OK and 0 for Cancel; information and stop boxes return 1.
#pragma once

#include <cstdint>

enum : int16_t {
    kAlertKindNote = 29060,     // OK, information icon
    kAlertKindConfirm = 29061,  // OK and Cancel, question icon
    kAlertKindStop = 29062,     // OK, stop icon (also any other value)
};

int16_t AlertShow(int16_t kind, const char* part1, const char* part2, const char* part3, const char* part4);
int16_t AlertShowText(int16_t kind, const char* text, int32_t code);
int16_t AlertShowString(int16_t kind, int32_t base, int32_t index, int32_t code);

int16_t AlertNote(const char* text, int32_t code);
int16_t AlertConfirm(const char* text, int32_t code);
int16_t AlertStop(const char* text, int32_t code);

int16_t AlertNoteById(int32_t base, int32_t index, int32_t code);
int16_t AlertConfirmById(int32_t base, int32_t index, int32_t code);
int16_t AlertStopById(int32_t base, int32_t index, int32_t code);

// A stop box without code, then the program ends at once. Kept for the
// callers that cannot go on; anything that can recover must not use it.
[[noreturn]] void AlertStopAndAbort(const char* text);

// Replaces what AlertStopAndAbort does after its box (tests).
using AbortHandler = void (*)();
AbortHandler SetAbortHandler(AbortHandler handler);
