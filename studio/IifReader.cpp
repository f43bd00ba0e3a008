#include "studio/IifReader.h"

#include "common/ListHelpers.h"

namespace {

bool IsWhite(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

CIifReader::~CIifReader() { Close(); }

bool CIifReader::Open(const std::string& path)
{
    Close();
    m_pFile = OpenTextFile(path, "rb");
    return m_pFile != nullptr;
}

void CIifReader::Close()
{
    if (m_pFile) std::fclose(m_pFile);
    m_pFile = nullptr;
}

void CIifReader::Rewind()
{
    if (m_pFile) std::rewind(m_pFile);
}

bool CIifReader::ReadRawLine(std::string& line)
{
    line.clear();
    if (!m_pFile) return false;
    char buffer[kPieceLength + 1];
    if (std::fgets(buffer, sizeof buffer, m_pFile) == nullptr) return false;
    line = buffer;
    if (!line.empty() && line.back() == '\n') line.pop_back();
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

bool CIifReader::ReadLine(std::string& line)
{
    while (ReadRawLine(line)) {
        line = TrimRight(line);
        if (!line.empty()) return true;
    }
    return false;
}

std::string CIifReader::ChooseSeparator(const std::string& line, const std::string& candidates, size_t minimum)
{
    std::vector<std::string> fields;
    for (char separator : candidates) {
        SplitFields(line, separator, fields);
        if (fields.size() >= minimum) return std::string(1, separator);
    }
    return std::string();
}

void CIifReader::SplitFields(const std::string& line, char separator, std::vector<std::string>& fields)
{
    fields.clear();
    ForEachField(line, separator, [&fields](size_t, std::string_view field) { fields.emplace_back(field); });
}

size_t CIifReader::CountFields(std::string_view line, char separator)
{
    size_t count = 0;
    ForEachField(line, separator, [&count](size_t, std::string_view) { ++count; });
    return count;
}

std::string CIifReader::TrimRight(const std::string& text)
{
    size_t end = text.size();
    while (end > 0 && IsWhite(text[end - 1])) --end;
    return text.substr(0, end);
}

std::string CIifReader::Trim(const std::string& text)
{
    size_t start = 0;
    while (start < text.size() && IsWhite(text[start])) ++start;
    return TrimRight(text.substr(start));
}

int CIifReader::CountLines(const std::string& path)
{
    CIifReader reader;
    if (!reader.Open(path)) return 0;
    int count = 0;
    std::string line;
    while (reader.ReadRawLine(line)) ++count;
    return count;
}
