#pragma once
// A mail-list layout (table 7): one print layout of the mail-list view, its code saying phone
// list (1), mail labels (2) or envelopes (3).

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "records/RecordBuffer.h"

class CMailList {
public:
    static constexpr uint32_t PHONE_LIST = 1;
    static constexpr uint32_t MAIL_LABELS = 2;
    static constexpr uint32_t ENVELOPES = 3;

    explicit CMailList(uint32_t code = PHONE_LIST);
    virtual ~CMailList() = default;
    CMailList(CMailList&&) = default;
    CMailList& operator=(CMailList&&) = default;

    // Bytes read, or 0 when the record is damaged (the object is then unchanged).
    uint32_t ReadRecord(IRecordStore& store);
    bool ReadRecord(CRecordReader& r);
    // Bytes written, or 0 when the record cannot be stored (the reason in `error`).
    uint32_t WriteRecord(IRecordStore& store, std::string* error = nullptr) const;
    bool WriteRecord(CRecordWriter& w) const;
    // The record's file location, or RECORD_WRITE_FAILED after telling the user why.
    uint32_t SaveRecord(IRecordStore& store) const;

    void CopyFrom(const CMailList& other);
    bool IsEqual(const CMailList& other) const;

    // The view's column positions: the left position, then for envelopes one more at the
    // envelope indent, otherwise one per column, each the column width further on.
    std::vector<float> GetColumnPositions() const;

    uint32_t m_nCode;
    uint8_t m_cField2 = 0;
    std::string m_sFontName = "Courier New";
    int32_t m_nFontSize = 90;  // tenths of a point
    float m_fHeightScale = 1.0f;
    std::array<uint8_t, 5> m_Styles{};  // four style bytes and one more
    uint8_t m_cTopLines = 0;
    float m_fLeftPosition = 0.1f;
    uint8_t m_cColumns = 2;
    uint8_t m_cRows = 0;
    uint8_t m_cLinesPerRow = 6;
    float m_fColumnWidth = 3.0f;
    uint8_t m_cBlankLines = 2;
    float m_fEnvelopeIndent = 0.5f;
    uint8_t m_cReturnAddress = 1;
    std::vector<std::string> m_ReturnAddressLines;

private:
    template <class Self>
    static auto Stored(Self& s)
    {
        return std::tie(s.m_nCode, s.m_cField2, s.m_sFontName, s.m_nFontSize, s.m_fHeightScale,
                        s.m_Styles, s.m_cTopLines, s.m_fLeftPosition, s.m_cColumns, s.m_cRows,
                        s.m_cLinesPerRow, s.m_fColumnWidth, s.m_cBlankLines, s.m_fEnvelopeIndent,
                        s.m_cReturnAddress, s.m_ReturnAddressLines);
    }
};
