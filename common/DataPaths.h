#pragma once
// Where the program's data files lie, and the small path helpers that name and list them.
// Paths are program paths (Windows-1252, '\' or '/' as separators, drive letters through the
// host layer's drive map); a folder is kept without a trailing separator.

#include <string>
#include <vector>

// The folder of the database opened from a path ("" when none) and the program's own folder,
// where "Dorvalquintex.cfg" lies. The application sets both; the helpers here only read them.
extern std::string DatabaseFolder;
extern std::string ProgramFolder;

// "<folder>\<name>.<extension>" in the database folder, else in the program folder, else the
// bare "<name>.<extension>". A leading dot of the extension is dropped; an empty extension gives
// the name without a dot.
std::string BuildDataFilePath(const std::string& name, const std::string& extension);
// "<current folder>\<name>"; the name unchanged when the current folder cannot be read.
std::string GetPathInCurrentFolder(const std::string& name);
// The path without its double quotes, up to its last separator (excluded); "" without one.
std::string GetFolderPart(const std::string& path);
// The last-write time as "%m/%d/%Y %H:%M", or "" when the path is not found.
std::string GetFileDateText(const std::string& path);
// Appends, for every entry the pattern finds (folders included, in listing order), its name
// (after GetFolderPart(pattern) + "\" when `prefix` is 1) and its last-write time as
// "%a, %b %d, %Y %I:%M %p". Nothing is appended when nothing is found.
void ListFilesWithDates(const std::string& pattern, std::vector<std::string>& names,
                        std::vector<std::string>& dates, int prefix);
