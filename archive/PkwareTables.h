#pragma once
// The fixed code tables of the implode stream. A code is stored with the bit that comes
// first in the stream in bit 0, ready for output and lookup least significant bit first.

#include <cstdint>

struct PkCode {
    uint8_t bits;
    uint16_t code;
};

struct PkLengthCode {
    uint8_t bits;
    uint8_t code;
    uint16_t base;   // smallest length of the code
    uint8_t extra;   // extra bits after the code
};

// Sixteen length codes; code 15 with all eight extra bits set (length 519) ends the stream.
extern const PkLengthCode kPkLengthCodes[16];
// Codes of the high part of (distance - 1).
extern const PkCode kPkDistanceCodes[64];
// Literal codes of the ASCII type, by byte value.
extern const PkCode kPkAsciiCodes[256];

constexpr unsigned int kPkMinLength = 2;
constexpr unsigned int kPkEndLength = 519;       // the end-of-stream code
constexpr unsigned int kPkMaxLength = 518;       // largest length a repetition can code
