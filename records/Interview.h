#pragma once
// A contact with a person (a telephone call or a visit), stored only inside a person record.

#include <cstdint>
#include <string>
#include <vector>

#include "common/DateTime.h"
#include "records/RecordBuffer.h"

class CInterview {
public:
    static constexpr uint8_t CURRENT_VERSION = 3;

    CInterview();
    virtual ~CInterview() = default;
    CInterview(CInterview&&) = default;
    CInterview& operator=(CInterview&&) = default;

    // Read at the cursor, older versions with their defaults; false when damaged (the object is
    // then unchanged). The writer always writes the current version.
    bool ReadRecord(CRecordReader& r);
    bool WriteRecord(CRecordWriter& w) const;

    void CopyFrom(const CInterview& other);
    bool IsEqual(const CInterview& other) const;

    // "Phone" for kind 'P', else "Visit".
    const char* GetKindText() const { return m_cKind == 'P' ? "Phone" : "Visit"; }

    uint8_t m_nVersion = CURRENT_VERSION;
    char m_cKind = 'P';
    DATE m_dDate;
    uint32_t m_nField4 = NO_CODE;
    uint32_t m_nField5 = NO_CODE;
    uint32_t m_nProgram = NO_CODE;  // category code
    uint32_t m_nDueTo = NO_CODE;    // category code, from version 1
    int32_t m_nField8 = 0;          // from version 2
    uint32_t m_nField9 = NO_CODE;   // from version 3
    uint32_t m_nField10 = NO_CODE;  // from version 3
    int32_t m_nField11 = 0;
    int32_t m_nField12 = 0;
    int32_t m_nField13 = 0;
    double m_dField14 = 0.0;
    int32_t m_nField15 = 0;
    double m_dField16 = 0.0;
    uint32_t m_nField17 = NO_CODE;
    int32_t m_nField18 = 0;
    uint8_t m_cField19 = 0;
    double m_dField20 = 0.0;
    uint32_t m_nField21 = NO_CODE;
    int32_t m_nField22 = 0;
    std::vector<std::string> m_Comments;
    DATE m_dStamp1Date;
    uint8_t m_cStamp1User;
    DATE m_dStamp2Date;
    uint8_t m_cStamp2User;

private:
    template <class Self>
    static auto Stored(Self& s)
    {
        return std::tie(s.m_nVersion, s.m_cKind, s.m_dDate, s.m_nField4, s.m_nField5, s.m_nProgram,
                        s.m_nDueTo, s.m_nField8, s.m_nField9, s.m_nField10, s.m_nField11,
                        s.m_nField12, s.m_nField13, s.m_dField14, s.m_nField15, s.m_dField16,
                        s.m_nField17, s.m_nField18, s.m_cField19, s.m_dField20, s.m_nField21,
                        s.m_nField22, s.m_Comments, s.m_dStamp1Date, s.m_cStamp1User,
                        s.m_dStamp2Date, s.m_cStamp2User);
    }
};
