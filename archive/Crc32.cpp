#include "archive/Crc32.h"

#include <zlib.h>

uint32_t ZipCrc32(uint32_t crc, const void* buffer, size_t length)
{
    const auto* p = static_cast<const Bytef*>(buffer);
    uLong value = crc;
    // zlib takes at most uInt bytes per call.
    while (length > 0) {
        const uInt piece = length > 0x40000000u ? 0x40000000u : static_cast<uInt>(length);
        value = crc32(value, p, piece);
        p += piece;
        length -= piece;
    }
    return static_cast<uint32_t>(value);
}

uint32_t Crc32Update(const void* buffer, const uint32_t* length, const uint32_t* crc)
{
    if (*length == 0 || buffer == nullptr)
        return *crc;
    // zlib inverts before and after; the running value here is kept uninverted.
    return ~ZipCrc32(~*crc, buffer, *length);
}
