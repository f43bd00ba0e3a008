#pragma once
// CWeeklyReportReader: the weekly report file read back line by line. The whole file is taken at
// once and split at each line feed (a carriage return before it dropped); lines may be empty or
// of any length. Record lines hold fields separated by '|'; codes and counts are unsigned 32-bit
// decimals (a code of -2 is written as 4294967294), money is decimal text with a '.' whatever
// the locale.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CWeeklyReportReader {
public:
    // Reads the whole file; false when it cannot be opened or read.
    bool Open(const std::string& path);
    // Takes the file's bytes as they are.
    void SetText(const std::string& bytes);
    // Back to the first line.
    void Rewind() { m_nNext = 0; }

    bool AtEnd() const { return m_nNext >= m_aLines.size(); }
    // The next line; false at the end.
    bool NextLine(std::string& line);
    // The next line as a count: false at the end or when the line is not a decimal number.
    bool ReadCount(uint32_t& count);
    // The next line cut into exactly `fields` fields, the last one taking the rest of the line
    // ('|' included); false at the end or when the line has fewer fields.
    bool ReadRecord(size_t fields, std::vector<std::string>& out);

    // A count: decimal digits (blanks around them allowed) up to 2^31 - 1; false otherwise.
    static bool ParseCount(const std::string& text, uint32_t& count);
    // Cuts a line as ReadRecord does; false when it has fewer fields.
    static bool SplitRecord(const std::string& line, size_t fields, std::vector<std::string>& out);
    // Leading blanks skipped, an optional sign, then decimal digits taken modulo 2^32 (a minus
    // sign negates); 0 without digits.
    static uint32_t ToUInt(const std::string& field);
    // The decimal number at the start of the field (C locale); 0.0 without one.
    static double ToMoney(const std::string& field);

private:
    std::vector<std::string> m_aLines;
    size_t m_nNext = 0;
};
