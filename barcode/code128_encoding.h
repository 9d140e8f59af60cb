// Code 128: the greedy choice among code sets A, B and C, the check
// symbol, and the symbol patterns.
//
// The symbol string is a PStr in which a byte stands for the symbol value
// byte - 32, except that in set A a control character (0-31) stands for
// byte + 64, in set C two digit characters stand for one value 10 x d1 + d2
// (d1 may be ":" for the values 100-102 of a check symbol), and the bytes
// 128-137 stand for the values 96-105 in every set.
#pragma once

#include <cstdint>

#include "barcode/barcode_record.h"

// Bytes the encoder writes to start a set or switch to it.
enum : uint8_t {
    kCode128CodeC = 131,
    kCode128CodeB = 132,
    kCode128CodeA = 133,
    kCode128StartA = 135,
    kCode128StartB = 136,
    kCode128StartC = 137,
};
// The highest byte data may hold: the function and start codes typed directly.
constexpr uint8_t kCode128LastDataByte = 137;
constexpr int kCode128Stop = 106;
// The largest number of symbol values of one symbol string.
constexpr int kCode128MaxSymbols = 256;

bool IsDigitChar(uint8_t ch);
bool IsControlChar(uint8_t ch);
bool IsLowerRangeChar(uint8_t ch);
// Characters both set A and set B hold: 32-47 and 58-95.
bool IsSharedChar(uint8_t ch);

// Encodes rec->data into symbols, the check symbol last, whatever
// rec->addCheckDigit says. False when the data is empty, holds a byte
// above 137, or would need more than 255 bytes of symbols.
bool EncodeCode128(const BarcodeRecord* rec, uint8_t* symbols);

// Reads a symbol string as a reader would: the value of each symbol, start
// included. False when a byte does not stand for a value 0-106 in the set
// it appears in.
bool Code128SymbolValues(const uint8_t* symbols, int* values, int* count);

// The check value of symbol values: the start's value plus each later
// value times its position, modulo 103.
int Code128CheckValue(const int* values, int count);

// Width in modules of bar or space i (0-5) of a symbol value 0-106, bars
// first.
int Code128ElementWidth(int value, int element);
