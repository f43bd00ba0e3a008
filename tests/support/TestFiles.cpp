#include "TestFiles.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace dqtest {

std::string MakeTempFolder(const std::string& prefix)
{
    std::string pattern = (fs::temp_directory_path() / (prefix + "XXXXXX")).string();
    return mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

void WriteBytes(const fs::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

std::string ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string NoiseBytes(size_t size, uint32_t seed)
{
    std::string data(size, '\0');
    uint32_t x = seed * 2654435761u + 12345u;
    for (size_t i = 0; i < size; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        data[i] = static_cast<char>(x >> 24);
    }
    return data;
}

void PutDrive(std::vector<host::DriveEntry>& drives, char letter, const std::string& folder,
              host::DriveType type, uint64_t capacity)
{
    std::erase_if(drives, [letter](const host::DriveEntry& e) { return e.letter == letter; });
    host::DriveEntry d;
    d.letter = letter;
    d.folder = folder;
    d.type = type;
    d.capacity = capacity;
    drives.push_back(d);
    host::Drives::SetMapForTesting(drives);
}

}  // namespace dqtest
