#pragma once
// Small text files read and written line by line. Lines are written ending in CR LF, as the
// program's files always have; readers accept CR LF and LF alike and drop trailing white space.

#include <cstdio>
#include <string>
#include <vector>

// Opens (truncating) for writing; shows "Can't open output file %s" and gives null on failure.
std::FILE* OpenOutputFile(const std::string& path);
// Writes the text and a line end.
void WriteTextLine(const std::string& text, std::FILE* file);
// Writes the text as a text-mode write does: each "\n" as CR LF.
void WriteText(const std::string& text, std::FILE* file);
// Writes every line; 1 when written and closed, 0 when the file could not be opened (the user has
// been told) or a write failed.
int WriteLinesToFile(const std::string& path, const std::vector<std::string>& lines);
// Appends every line of the file (longer lines than 1,023 characters arrive in pieces); leaves
// the list as it was when the file cannot be opened.
void ReadLinesFromFile(const std::string& path, std::vector<std::string>& lines);
// The next line (at most 999 characters), or "" at the end of the file.
std::string ReadTextLine(std::FILE* file);
// The text with each "\n" (not already after a CR) as CR LF, as a text-mode write stores it.
std::string WithCrLf(const std::string& text);
// Splits the text at each "\r\n".
void SplitLines(const std::string& text, std::vector<std::string>& lines);
