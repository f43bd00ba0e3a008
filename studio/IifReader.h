#pragma once
// CIifReader: reads the delimited text files of the accounting exchange line by line. A line
// longer than 16,383 characters arrives in pieces, each read as a line of its own. ReadLine gives
// the lines as the IIF import reads them (trailing white space cut, blank lines skipped);
// ReadRawLine gives them as they stand, without the line end only.
//
// Fields: each separator character ends a field, so empty fields between two separators are kept;
// the text after the last separator is a field only when it is not empty; a line without any
// separator is one field and an empty line none.

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

class CIifReader {
public:
    static constexpr size_t kPieceLength = 16383;

    CIifReader() = default;
    ~CIifReader();
    CIifReader(const CIifReader&) = delete;
    CIifReader& operator=(const CIifReader&) = delete;

    // False when the file cannot be opened for reading.
    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return m_pFile != nullptr; }
    // Back to the first line.
    void Rewind();

    // The next line that is not blank, its trailing white space cut; false at the end.
    bool ReadLine(std::string& line);
    // The next line without its line end (CR LF or LF); false at the end.
    bool ReadRawLine(std::string& line);

    // The first separator of `candidates`, in their order, that splits the line into at least
    // `minimum` fields; "" when none does.
    static std::string ChooseSeparator(const std::string& line, const std::string& candidates, size_t minimum);
    static void SplitFields(const std::string& line, char separator, std::vector<std::string>& fields);
    // Calls fn(index, field) for each field SplitFields would give, without copying them.
    template <class Fn>
    static void ForEachField(std::string_view line, char separator, Fn&& fn);
    static size_t CountFields(std::string_view line, char separator);
    // The text without trailing blanks, tabs, CR, LF, vertical tabs and form feeds.
    static std::string TrimRight(const std::string& text);
    // The text without that white space on either side.
    static std::string Trim(const std::string& text);

    // Lines (pieces) of the file as ReadRawLine counts them; 0 when it cannot be opened.
    static int CountLines(const std::string& path);

private:
    std::FILE* m_pFile = nullptr;
};

template <class Fn>
void CIifReader::ForEachField(std::string_view line, char separator, Fn&& fn)
{
    size_t start = 0, index = 0;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] != separator) continue;
        fn(index++, line.substr(start, i - start));
        start = i + 1;
    }
    if (start < line.size()) fn(index, line.substr(start));
}
