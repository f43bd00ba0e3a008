#pragma once
// Folder listings with wildcard patterns, as FindFirstFile gives them.

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace host {

struct DirEntry {
    std::string name;       // Windows-1252, without the folder
    uint64_t size = 0;      // bytes; 0 for folders
    time_t modified = 0;    // last-write time
    bool isDirectory = false;
};

// Matches a name with '*' (any run) and '?' (one character) without regard to case.
// "*.*" and "*" match every name, with or without a dot.
bool MatchesPattern(std::string_view name, std::string_view pattern);

// Lists the entries of the folder of `pattern` ("C:\data\*.DBS", "A:*.*", "*.zp*") whose
// names match its last component; "." and ".." are left out. Entries come sorted by name
// without regard to case. Names that Windows-1252 cannot hold are left out and counted in
// `skipped` when given. False when the folder cannot be read (file error set); an
// empty folder or no match gives true and an empty list.
bool ListDirectory(const std::string& pattern, std::vector<DirEntry>& out,
                   int* skipped = nullptr);

}  // namespace host
