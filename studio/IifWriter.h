#pragma once
// CIifWriter: collects the lines of an accounting exchange file, fields joined by tabs, each line
// ending in CR LF, and writes them in one go: into a temporary file beside the target that then
// replaces it, so a failed write leaves the old file as it was. A field's tabs, CRs and LFs become
// blanks: they would split the field or the line.

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

class CIifWriter {
public:
    void AddLine(const std::vector<std::string>& fields);
    // The fields, then empty ones up to `total` fields.
    void AddLine(std::initializer_list<std::string_view> fields, size_t total = 0);
    // Room for `bytes` more text, so that a long file's lines are not moved as it grows.
    void Reserve(size_t bytes) { m_sText.reserve(m_sText.size() + bytes); }
    // The other writer's lines after these.
    void Append(const CIifWriter& other);
    // The file's text so far.
    const std::string& Text() const { return m_sText; }
    size_t LineCount() const { return m_nLines; }

    // 1 when the file was written (these lines, then `rest`'s when given); 0 after
    // "Can't open output file %s" or "Error in writing file %s" (the target then is as it was).
    int WriteFile(const std::string& path, const CIifWriter* rest = nullptr) const;

    static std::string CleanField(const std::string& field);

private:
    std::string m_sText;
    size_t m_nLines = 0;
};
