#pragma once
// Temporary folders, whole-file reads and writes, incompressible data and the drive map, as the
// test fixtures use them.

#include "platform/host/Drives.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace dqtest {

// A fresh folder under the system's temporary folder, named `prefix` and six random characters;
// empty when it cannot be made.
std::string MakeTempFolder(const std::string& prefix);

// Writes `bytes` as the whole file (its folder must exist).
void WriteBytes(const std::filesystem::path& path, const std::string& bytes);
// The file's bytes; empty when it cannot be read.
std::string ReadBytes(const std::filesystem::path& path);

// `size` bytes that do not compress and do not repeat on any short period (xorshift from `seed`).
std::string NoiseBytes(size_t size, uint32_t seed);

// Puts a drive of the letter in `drives` (replacing the letter's entry) and applies the map.
void PutDrive(std::vector<host::DriveEntry>& drives, char letter, const std::string& folder,
              host::DriveType type, uint64_t capacity);

}  // namespace dqtest
