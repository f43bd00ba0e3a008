#pragma once
// CRC-32 of the zip format (reflected polynomial 0xEDB88320).

#include <cstddef>
#include <cstdint>

// Runs the CRC-32 table over *length bytes, starting from *crc as given (no inversion
// before or after), and returns the new value; *crc unchanged for length 0. The caller
// stores the result back as its running value.
uint32_t Crc32Update(const void* buffer, const uint32_t* length, const uint32_t* crc);

// The zip format's CRC-32 of a data stream: start from 0 and feed each piece in turn;
// the inversion before and after each piece is done here.
uint32_t ZipCrc32(uint32_t crc, const void* buffer, size_t length);
