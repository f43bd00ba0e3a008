#pragma once
// The studio settings records of tables 2 to 4: the 1024-byte Parameters block, the font
// (format) records and the page layouts. Each is packed and unpacked byte by byte,
// little-endian; bytes that no field names are kept as they were read.

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace settings_bytes {
inline uint32_t GetU32(const uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline void PutU32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline float GetF32(const uint8_t* p)
{
    uint32_t bits = GetU32(p);
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}
inline void PutF32(uint8_t* p, float f)
{
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    PutU32(p, bits);
}
inline std::string GetText(const uint8_t* p, size_t n)
{
    size_t len = 0;
    while (len < n && p[len] != 0) ++len;
    return std::string(reinterpret_cast<const char*>(p), len);
}
// Stores the text NUL-padded, cut to leave room for the NUL.
inline void PutText(uint8_t* p, size_t n, const std::string& text)
{
    std::memset(p, 0, n);
    std::memcpy(p, text.data(), text.size() < n ? text.size() : n - 1);
}
}  // namespace settings_bytes

// Offsets in the Parameters block (table 2, key 1).
namespace param {
constexpr uint32_t kSize = 1024;
constexpr uint32_t kMeasures = 4;           // 11 x float32
constexpr uint32_t kMeasureCount = 11;
constexpr uint32_t kFontFace = 48;          // char[32]
constexpr uint32_t kFontFaceLen = 32;
constexpr uint32_t kFontSize = 80;          // uint32, tenths of a point
constexpr uint32_t kFontFlag1 = 84;
constexpr uint32_t kFontFlag2 = 85;
constexpr uint32_t kLogoTextLook = 92;      // 16-byte sign-in appearance
constexpr uint32_t kMessageTextLook = 108;  // 16-byte sign-in appearance
constexpr uint32_t kNameTagFirstOnly = 128;
constexpr uint32_t kScheduleHeaderFont = 129;
constexpr uint32_t kScheduleCellFont = 130;
constexpr uint32_t kRefreshSeconds = 252;
constexpr uint32_t kPackedBackups = 256;
constexpr uint32_t kStartHour = 260;
constexpr uint32_t kStartMinute = 264;
constexpr uint32_t kIncrements = 268;
constexpr uint32_t kMinutesPerIncrement = 272;
constexpr uint32_t kNextInvoiceNumber = 276;
constexpr uint32_t kStartDayOfWeek = 280;
constexpr uint32_t kActivityUnitMinutes = 284;
constexpr uint32_t kLabelColour = 288;
constexpr uint32_t kCellColour = 292;
constexpr uint32_t kAccountPayments = 296;
constexpr uint32_t kAccountPaymentsByStudio = 300;
constexpr uint32_t kAccountCredits = 304;
constexpr uint32_t kAccountRefunds = 308;
constexpr uint32_t kFlashSeconds = 512;     // float32
constexpr uint32_t kLogoPercent = 516;      // float32
// Fields that callers use but whose place no layout gives: bytes nobody else uses, read as 0
// from older files.
constexpr uint32_t kLastExportTime1 = 520;  // 3 x float64 (DATE)
constexpr uint32_t kLastExportTime2 = 528;
constexpr uint32_t kLastExportTime3 = 536;
constexpr uint32_t kZipBackups = 544;       // int32
constexpr uint32_t kMailListSort = 548;     // int32
constexpr uint32_t kCheckInBackground = 552;  // uint32 COLORREF, sign-in dialog background

constexpr uint32_t kDefaultLabelColour = 0xc0c0c0;
constexpr uint32_t kDefaultCellColour = 0xdcdcdc;
}  // namespace param

// The Parameters record: the raw block with typed access by offset.
struct stParameters {
    std::array<uint8_t, param::kSize> bytes{};

    int32_t GetInt(uint32_t off) const { return static_cast<int32_t>(settings_bytes::GetU32(&bytes[off])); }
    uint32_t GetUInt(uint32_t off) const { return settings_bytes::GetU32(&bytes[off]); }
    float GetFloat(uint32_t off) const { return settings_bytes::GetF32(&bytes[off]); }
    uint8_t GetByte(uint32_t off) const { return bytes[off]; }
    double GetDouble(uint32_t off) const
    {
        uint64_t bits = settings_bytes::GetU32(&bytes[off]) |
                        (static_cast<uint64_t>(settings_bytes::GetU32(&bytes[off + 4])) << 32);
        double d;
        std::memcpy(&d, &bits, 8);
        return d;
    }
    void SetInt(uint32_t off, int32_t v) { settings_bytes::PutU32(&bytes[off], static_cast<uint32_t>(v)); }
    void SetUInt(uint32_t off, uint32_t v) { settings_bytes::PutU32(&bytes[off], v); }
    void SetFloat(uint32_t off, float v) { settings_bytes::PutF32(&bytes[off], v); }
    void SetByte(uint32_t off, uint8_t v) { bytes[off] = v; }
    void SetDouble(uint32_t off, double v)
    {
        uint64_t bits;
        std::memcpy(&bits, &v, 8);
        settings_bytes::PutU32(&bytes[off], static_cast<uint32_t>(bits));
        settings_bytes::PutU32(&bytes[off + 4], static_cast<uint32_t>(bits >> 32));
    }
    std::string GetFontFace() const { return settings_bytes::GetText(&bytes[param::kFontFace], param::kFontFaceLen); }
    void SetFontFace(const std::string& face) { settings_bytes::PutText(&bytes[param::kFontFace], param::kFontFaceLen, face); }
};

constexpr uint32_t FORMAT_COUNT = 38;
constexpr uint32_t PAGE_LAYOUT_COUNT = 6;

// One font (format) record of table 3: a 56-byte block, then its tab stops in inches.
struct stFormatRecord {
    int32_t nCode = 0;
    char szFace[32] = {};
    int32_t nSize = 90;
    float fSpacing = 1.0f;
    uint8_t cCharSet = 0;
    uint8_t cBold = 0;
    uint8_t cItalic = 0;
    uint8_t cUnderline = 0;
    uint8_t cStrikeOut = 0;
    uint8_t cCentred = 0;
    uint8_t cPad[2] = {0, 0};
    int32_t nField52 = 0;
    std::vector<double> aTabStops;

    std::string GetFace() const { return settings_bytes::GetText(reinterpret_cast<const uint8_t*>(szFace), 32); }
    void SetFace(const std::string& face) { settings_bytes::PutText(reinterpret_cast<uint8_t*>(szFace), 32, face); }
    void PackBlock(uint8_t out[56]) const
    {
        settings_bytes::PutU32(out, static_cast<uint32_t>(nCode));
        std::memcpy(out + 4, szFace, 32);
        settings_bytes::PutU32(out + 36, static_cast<uint32_t>(nSize));
        settings_bytes::PutF32(out + 40, fSpacing);
        out[44] = cCharSet;
        out[45] = cBold;
        out[46] = cItalic;
        out[47] = cUnderline;
        out[48] = cStrikeOut;
        out[49] = cCentred;
        out[50] = cPad[0];
        out[51] = cPad[1];
        settings_bytes::PutU32(out + 52, static_cast<uint32_t>(nField52));
    }
    void UnpackBlock(const uint8_t in[56])
    {
        nCode = static_cast<int32_t>(settings_bytes::GetU32(in));
        std::memcpy(szFace, in + 4, 32);
        nSize = static_cast<int32_t>(settings_bytes::GetU32(in + 36));
        fSpacing = settings_bytes::GetF32(in + 40);
        cCharSet = in[44];
        cBold = in[45];
        cItalic = in[46];
        cUnderline = in[47];
        cStrikeOut = in[48];
        cCentred = in[49];
        cPad[0] = in[50];
        cPad[1] = in[51];
        nField52 = static_cast<int32_t>(settings_bytes::GetU32(in + 52));
    }
};

// One page layout of table 4: an 84-byte block. The page-number font is kept as a format
// block of its own at offset 24.
struct stPageLayout {
    int32_t nCode = 0;
    float fLeftMargin = 0.5f;
    float fTopMargin = 0.75f;
    float fBottomMargin = 0.75f;
    int32_t nFirstPageNumber = 1;
    int32_t nLandscape = 0;
    int32_t nFormatCode = 0;
    char szFormatFace[32] = {};
    int32_t nFormatSize = 100;
    float fFormatSpacing = 1.0f;
    uint8_t cFormatFlags[5] = {0, 0, 0, 0, 0};
    uint8_t cFormatCentred = 1;
    uint8_t cPad[2] = {0, 0};
    int32_t nField76 = 0;
    int32_t nField80 = 0;

    std::string GetFormatFace() const { return settings_bytes::GetText(reinterpret_cast<const uint8_t*>(szFormatFace), 32); }
    void SetFormatFace(const std::string& face) { settings_bytes::PutText(reinterpret_cast<uint8_t*>(szFormatFace), 32, face); }
    void Pack(uint8_t out[84]) const
    {
        using namespace settings_bytes;
        PutU32(out, static_cast<uint32_t>(nCode));
        PutF32(out + 4, fLeftMargin);
        PutF32(out + 8, fTopMargin);
        PutF32(out + 12, fBottomMargin);
        PutU32(out + 16, static_cast<uint32_t>(nFirstPageNumber));
        PutU32(out + 20, static_cast<uint32_t>(nLandscape));
        PutU32(out + 24, static_cast<uint32_t>(nFormatCode));
        std::memcpy(out + 28, szFormatFace, 32);
        PutU32(out + 60, static_cast<uint32_t>(nFormatSize));
        PutF32(out + 64, fFormatSpacing);
        std::memcpy(out + 68, cFormatFlags, 5);
        out[73] = cFormatCentred;
        out[74] = cPad[0];
        out[75] = cPad[1];
        PutU32(out + 76, static_cast<uint32_t>(nField76));
        PutU32(out + 80, static_cast<uint32_t>(nField80));
    }
    void Unpack(const uint8_t in[84])
    {
        using namespace settings_bytes;
        nCode = static_cast<int32_t>(GetU32(in));
        fLeftMargin = GetF32(in + 4);
        fTopMargin = GetF32(in + 8);
        fBottomMargin = GetF32(in + 12);
        nFirstPageNumber = static_cast<int32_t>(GetU32(in + 16));
        nLandscape = static_cast<int32_t>(GetU32(in + 20));
        nFormatCode = static_cast<int32_t>(GetU32(in + 24));
        std::memcpy(szFormatFace, in + 28, 32);
        nFormatSize = static_cast<int32_t>(GetU32(in + 60));
        fFormatSpacing = GetF32(in + 64);
        std::memcpy(cFormatFlags, in + 68, 5);
        cFormatCentred = in[73];
        cPad[0] = in[74];
        cPad[1] = in[75];
        nField76 = static_cast<int32_t>(GetU32(in + 76));
        nField80 = static_cast<int32_t>(GetU32(in + 80));
    }
};
