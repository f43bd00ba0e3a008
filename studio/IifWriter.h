#pragma once
// CIifWriter: writes an accounting exchange file, fields joined by tabs, each line ending in CR LF:
// into a temporary file beside the target that then replaces it, so a failed write leaves the old
// file as it was. Lines are collected in memory until Begin; from then on they go to the file a
// piece at a time, so a long file is never held whole. A field's tabs, CRs and LFs become blanks:
// they would split the field or the line.

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "platform/host/File.h"

class CIifWriter {
public:
    CIifWriter() = default;
    // A file begun and not finished is removed: the target stays as it was.
    ~CIifWriter();
    CIifWriter(const CIifWriter&) = delete;
    CIifWriter& operator=(const CIifWriter&) = delete;

    // Fields joined and cleaned once, for a run of fields that many lines share.
    class CFieldRun {
    public:
        CFieldRun() = default;
        // The fields, then empty ones up to `total` fields.
        explicit CFieldRun(std::initializer_list<std::string_view> fields, size_t total = 0);

    private:
        friend class CIifWriter;
        std::string m_sText;
        size_t m_nFields = 0;
    };

    // The fields, then empty ones up to `total` fields.
    void AddLine(std::initializer_list<std::string_view> fields, size_t total = 0);
    // The fields of `head`, the fields, then those of `tail`.
    void AddLine(const CFieldRun& head, std::initializer_list<std::string_view> fields, const CFieldRun& tail);
    size_t LineCount() const { return m_nLines; }

    // Opens the temporary file for `path`; the lines so far and all later ones go to it. False
    // after "Can't open output file %s".
    bool Begin(const std::string& path);
    // Writes what is left, flushes and puts the file in place: 1, or 0 after "Error in writing
    // file %s" (the target then is as it was).
    int Finish();
    // Begin and Finish: the lines collected so far as the file at `path`.
    int WriteFile(const std::string& path);

private:
    // Room for `bytes` more text.
    char* Room(size_t bytes);
    // Counts the line written into Room's space and hands a long text to the file.
    void LineAdded(size_t length);
    void Spill();

    std::unique_ptr<char[]> m_pText;
    size_t m_nSize = 0;
    size_t m_nCapacity = 0;
    size_t m_nLines = 0;
    std::string m_sPath;
    host::File m_File;
    bool m_bFailed = false;
    size_t m_nUnflushed = 0;
};
