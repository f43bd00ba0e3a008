// Fuzz target: Explode on arbitrary input must never read or write out of bounds.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "archive/Pkware.h"

namespace {

struct Input {
    const uint8_t* data;
    size_t size;
    size_t pos;
    size_t written;
};

unsigned int Read(char* buffer, unsigned int* size, void* param)
{
    auto* in = static_cast<Input*>(param);
    const size_t n = std::min<size_t>(*size, in->size - in->pos);
    std::memcpy(buffer, in->data + in->pos, n);
    in->pos += n;
    return static_cast<unsigned int>(n);
}

void Write(char* buffer, unsigned int* size, void* param)
{
    auto* in = static_cast<Input*>(param);
    volatile char sink = 0;
    for (unsigned int i = 0; i < *size; ++i)
        sink = static_cast<char>(sink ^ buffer[i]);
    in->written += *size;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<char> work(kExplodeWorkSize);
    Input in{data, size, 0, 0};
    Explode(Read, Write, work.data(), &in);
    return 0;
}
