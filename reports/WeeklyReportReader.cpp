#include "reports/WeeklyReportReader.h"

#include <clocale>
#include <cstdlib>
#include <locale.h>

#include "platform/host/File.h"

bool CWeeklyReportReader::Open(const std::string& path)
{
    m_aLines.clear();
    m_nNext = 0;
    host::File file;
    if (!file.OpenReadOnly(path)) return false;
    std::string bytes;
    char buffer[65536];
    for (;;) {
        size_t done = 0;
        if (!file.Read(buffer, sizeof buffer, &done)) return false;
        if (done == 0) break;
        bytes.append(buffer, done);
    }
    SetText(bytes);
    return true;
}

void CWeeklyReportReader::SetText(const std::string& bytes)
{
    m_aLines.clear();
    m_nNext = 0;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        const size_t next = end == std::string::npos ? bytes.size() : end + 1;
        if (end == std::string::npos) end = bytes.size();
        size_t length = end - start;
        if (end < bytes.size() && length > 0 && bytes[end - 1] == '\r') --length;
        m_aLines.emplace_back(bytes, start, length);
        start = next;
    }
}

bool CWeeklyReportReader::NextLine(std::string& line)
{
    if (AtEnd()) return false;
    line = m_aLines[m_nNext++];
    return true;
}

bool CWeeklyReportReader::ReadCount(uint32_t& count)
{
    std::string line;
    return NextLine(line) && ParseCount(line, count);
}

bool CWeeklyReportReader::ParseCount(const std::string& text, uint32_t& count)
{
    size_t at = text.find_first_not_of(' ');
    if (at == std::string::npos) return false;
    if (text[at] == '+') ++at;
    const size_t stop = text.find_first_not_of("0123456789", at);
    const size_t end = stop == std::string::npos ? text.size() : stop;
    if (end == at || text.find_first_not_of(' ', end) != std::string::npos) return false;
    // Counts are "%i" text: one past 2^31 - 1 is no count the writer made.
    if (end - at > 10) return false;
    const unsigned long long value = std::strtoull(text.c_str() + at, nullptr, 10);
    if (value > 0x7FFFFFFFull) return false;
    count = static_cast<uint32_t>(value);
    return true;
}

bool CWeeklyReportReader::SplitRecord(const std::string& line, size_t fields, std::vector<std::string>& out)
{
    out.clear();
    if (fields == 0) return true;
    size_t start = 0;
    while (out.size() + 1 < fields) {
        const size_t bar = line.find('|', start);
        if (bar == std::string::npos) return false;
        out.emplace_back(line, start, bar - start);
        start = bar + 1;
    }
    out.emplace_back(line, start);
    return true;
}

bool CWeeklyReportReader::ReadRecord(size_t fields, std::vector<std::string>& out)
{
    std::string line;
    return NextLine(line) && SplitRecord(line, fields, out);
}

uint32_t CWeeklyReportReader::ToUInt(const std::string& field)
{
    size_t at = field.find_first_not_of(" \t");
    if (at == std::string::npos) return 0;
    bool negative = false;
    if (field[at] == '-' || field[at] == '+') negative = field[at++] == '-';
    uint32_t value = 0;
    for (; at < field.size() && field[at] >= '0' && field[at] <= '9'; ++at)
        value = value * 10u + static_cast<uint32_t>(field[at] - '0');
    return negative ? 0u - value : value;
}

double CWeeklyReportReader::ToMoney(const std::string& field)
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    if (c == static_cast<locale_t>(0)) return std::strtod(field.c_str(), nullptr);
    return strtod_l(field.c_str(), nullptr, c);
}
