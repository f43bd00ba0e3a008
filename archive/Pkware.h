#pragma once
// Implode and Explode: the compressed-stream format of the PKWARE Data Compression Library
// (a two-byte header, then literals and repetitions over a sliding dictionary of 1024, 2048
// or 4096 bytes, ended by an end-of-stream code). Both keep all their state in the
// caller's work buffer and pass data through the caller's callbacks.

#include <cstdint>

// Asked for up to *size bytes; returns how many it delivered, 0 at the end of the input.
typedef unsigned int (*PkReadFn)(char* buffer, unsigned int* size, void* param);
// Takes *size bytes.
typedef void (*PkWriteFn)(char* buffer, unsigned int* size, void* param);

// Work buffer sizes the caller allocates.
constexpr unsigned int kImplodeWorkSize = 36312;
constexpr unsigned int kExplodeWorkSize = 12596;

// Literal coding (the type byte of the stream).
constexpr unsigned int kPkBinary = 0;
constexpr unsigned int kPkAscii = 1;

// Results.
constexpr unsigned int kPkOk = 0;
constexpr unsigned int kPkBadDictSize = 1;  // Implode: size not 1024/2048/4096; Explode: header bits not 4-6
constexpr unsigned int kPkBadType = 2;      // the type is neither 0 nor 1
constexpr unsigned int kPkBadData = 3;      // Explode: too few bytes for a stream
constexpr unsigned int kPkAbort = 4;        // Explode: the data breaks off or cannot be decoded

// Compresses everything the read callback delivers; every output write but the last has
// 2048 bytes. Returns 0, kPkBadDictSize or kPkBadType (then no callback is called).
unsigned int Implode(PkReadFn read, PkWriteFn write, char* workBuffer, void* param,
                     unsigned int* type, unsigned int* dictSize);

// Expands a stream; every output write but the last has 4096 bytes, and the last one is
// made also when empty. On failure the output decoded so far is written first.
unsigned int Explode(PkReadFn read, PkWriteFn write, char* workBuffer, void* param);
