// CDatabase: the studio settings records of tables 1-4 (Configuration, Parameters, fonts, page
// layouts): defaults, validation, reading and writing.

#include "database/Database.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "common/Diagnostic.h"
#include "common/QuestionBox.h"
#include "widgets/WindowList.h"
#include "platform/host/Clock.h"
#include "platform/host/Format.h"

namespace {

constexpr uint32_t kTableConfig = 1;
constexpr uint32_t kTableParams = 2;
constexpr uint32_t kTableFonts = 3;
constexpr uint32_t kTableLayouts = 4;

const float kDefaultMeasures[param::kMeasureCount] = {5.0f, 6.0f, 0.75f, 1.0f, 1.5f, 6.0f,
                                                      1.5f, 1.0f, 2.0f, 1.0f, 2.5f};

// Keeps a signed value within [min, max], else writes the default.
void ClampIntSetting(stParameters& p, int32_t min, int32_t max, int32_t def, uint32_t field)
{
    int32_t v = p.GetInt(field);
    if (v < min || v > max) p.SetInt(field, def);
}

void ClampFloatSetting(stParameters& p, float min, float max, float def, uint32_t field)
{
    float v = p.GetFloat(field);
    if (!(v >= min && v <= max)) p.SetFloat(field, def);
}

void SetDefaultFontGroup(stParameters& p)
{
    for (uint32_t i = 0; i < param::kMeasureCount; ++i) p.SetFloat(param::kMeasures + 4 * i, kDefaultMeasures[i]);
    p.SetFontFace("Courier New");
    p.SetUInt(param::kFontSize, 90);
    p.SetByte(param::kFontFlag1, 0);
    p.SetByte(param::kFontFlag2, 0);
}

void SetDefaultAppearance(stParameters& p, uint32_t at)
{
    const uint8_t bytes[8] = {50, 0, 1, 1, 1, 1, 1, p.GetByte(at + 7)};
    for (uint32_t i = 0; i < 8; ++i) p.SetByte(at + i, bytes[i]);
    p.SetUInt(at + 8, 0x00ffff);
    p.SetUInt(at + 12, 0);
}

// The keys of the Configuration table, in the order they are written.
struct ConfigKey {
    const char* line;  // how the writer formats the line: the key, "|" and the value
    std::string stStudioStrings::*value;
    std::string Key() const
    {
        const std::string text = line;
        return text.substr(0, text.find('|'));
    }
};
const ConfigKey kConfigKeys[] = {
    {"STUDIO_NAME|%s", &stStudioStrings::sStudioName},
    {"STUDIO_CODE|%s", &stStudioStrings::sStudioCode},
    {"STUDIO_ADDRESS1|%s", &stStudioStrings::sAddress1},
    {"STUDIO_ADDRESS2|%s", &stStudioStrings::sAddress2},
    {"STUDIO_CITY|%s", &stStudioStrings::sCity},
    {"STUDIO_STATE|%s", &stStudioStrings::sState},
    {"STUDIO_ZIP|%s", &stStudioStrings::sZip},
    {"STUDIO_COUNTRY|%s", &stStudioStrings::sCountry},
    {"STUDIO_PHONE|%s", &stStudioStrings::sPhone},
    {"STUDIO_FAX|%s", &stStudioStrings::sFax},
    {"STUDIO_EMAIL|%s", &stStudioStrings::sStudioEmail},
    {"REPORT_EMAIL|%s", &stStudioStrings::sReportEmail},
    {"WELCOMELOGOFILE|%s", &stStudioStrings::sWelcomeLogoFile},
    {"WELCOMELOGOTEXT|%s", &stStudioStrings::sWelcomeLogoText},
    {"WELCOMEMESSAGE|%s", &stStudioStrings::sWelcomeMessage},
};

std::string Trim(const std::string& text)
{
    size_t a = text.find_first_not_of(" \t");
    if (a == std::string::npos) return std::string();
    size_t b = text.find_last_not_of(" \t");
    return text.substr(a, b - a + 1);
}

}  // namespace

int CDatabase::WriteSettingsRecord(uint32_t length, uint32_t table, uint32_t key)
{
    if (length == 0) return 0;
    return WriteRecord(length, table, key, 0, 0) != LOC_NONE ? 1 : 0;
}

// ---------------------------------------------------------------------------------------------
// Parameters

namespace {

// What reading the Parameters record accepts; a value outside takes its default.
void ApplyReadingRanges(stParameters& p)
{
    ClampIntSetting(p, 0, 100, 1, param::kRefreshSeconds);
    ClampIntSetting(p, 0, 10, 10, param::kPackedBackups);
    ClampIntSetting(p, 1, 23, 8, param::kStartHour);
    ClampIntSetting(p, 0, 59, 0, param::kStartMinute);
    ClampIntSetting(p, 0, 100, 14, param::kIncrements);
    ClampIntSetting(p, 1, 120, 60, param::kMinutesPerIncrement);
    ClampIntSetting(p, 1, INT32_MAX, 1, param::kNextInvoiceNumber);
    ClampIntSetting(p, 1, 60, 10, param::kActivityUnitMinutes);
    ClampIntSetting(p, 1, 7, 1, param::kStartDayOfWeek);
    uint32_t size = p.GetUInt(param::kFontSize);
    if (size < 50 || size > 160) SetDefaultFontGroup(p);
    uint8_t header12 = p.GetByte(param::kScheduleHeaderFont);
    if (header12 < 1 || header12 > 15) p.SetByte(param::kScheduleHeaderFont, 12);
    uint8_t cell = p.GetByte(param::kScheduleCellFont);
    if (cell < 1 || cell > 15) p.SetByte(param::kScheduleCellFont, 10);
    uint32_t label = p.GetUInt(param::kLabelColour);
    uint32_t cellColour = p.GetUInt(param::kCellColour);
    if (label < 1 || label > 0xffffff || cellColour < 1 || cellColour > 0xffffff) {
        p.SetUInt(param::kLabelColour, param::kDefaultLabelColour);
        p.SetUInt(param::kCellColour, param::kDefaultCellColour);
    }
    ClampFloatSetting(p, 0.0f, 5.0f, 1.5f, param::kFlashSeconds);
    ClampFloatSetting(p, 0.0f, 100.0f, 10.0f, param::kLogoPercent);
}

}  // namespace

void CDatabase::SetDefaultSettings()
{
    stParameters& p = m_Parameters;
    SetDefaultFontGroup(p);
    SetDefaultAppearance(p, param::kLogoTextLook);
    SetDefaultAppearance(p, param::kMessageTextLook);
    p.SetByte(param::kScheduleHeaderFont, 12);
    p.SetByte(param::kScheduleCellFont, 10);
    p.SetInt(param::kRefreshSeconds, 1);
    p.SetInt(param::kPackedBackups, 5);
    p.SetInt(param::kStartHour, 8);
    p.SetInt(param::kStartMinute, 0);
    p.SetInt(param::kIncrements, 14);
    p.SetInt(param::kMinutesPerIncrement, 60);
    p.SetUInt(param::kLabelColour, param::kDefaultLabelColour);
    p.SetUInt(param::kCellColour, param::kDefaultCellColour);
    p.SetFloat(param::kFlashSeconds, 1.5f);
    p.SetFloat(param::kLogoPercent, 80.0f);
    // The fields without a default (receipt number, start day, activity unit) as every reader
    // of the file has them: the copy that made the file works with what the others see.
    ApplyReadingRanges(p);
}

int CDatabase::ValidateSettings(const stDataHeader& header)
{
    if (ReadRecord(header.nCurrLoc, true) == 0) return 0;
    CRecordReader r(*this);
    stParameters p;
    if (!GetBlock1024(r, p.bytes.data())) return 0;
    ApplyReadingRanges(p);
    m_Parameters = p;
    return 1;
}

int CDatabase::ReadVarRecord()
{
    if (DiagnosticLevel > 0) WriteDiagnosticFormat("CDatabase::ReadVarRecord, Timer=%s\n", GetTimerText().c_str());
    uint32_t loc = GetItemLoc(kTableParams, 1, 0, 0);
    if (loc == LOC_NONE) return 0;
    stDataHeader header;
    header.nCurrLoc = loc;
    header.nTable = kTableParams;
    header.nKey = 1;
    return ValidateSettings(header);
}

int CDatabase::SaveVarRecord()
{
    if (DiagnosticLevel > 0) WriteDiagnosticString("CDatabase::SaveVarRecord()\n");
    return WriteSettingsRecord(PutBlock1024(*this, m_Parameters.bytes.data()), kTableParams, 1);
}

void CDatabase::SetDefaults()
{
    SetDefaultSettings();
    SetDefaultFormats();
    SetDefaultPageLayouts();
}

// ---------------------------------------------------------------------------------------------
// Configuration

int CDatabase::SaveConfigurationTable()
{
    std::vector<std::string> lines;
    for (const ConfigKey& k : kConfigKeys) {
        const std::string& value = (*m_pStudio).*(k.value);
        if (!value.empty()) lines.push_back(Format(k.line, value.c_str()));
    }
    return WriteSettingsRecord(PutStringList(*this, lines), kTableConfig, 1);
}

void CDatabase::ApplyConfigurationLines(const std::vector<std::string>& lines)
{
    stStudioStrings values;
    for (const std::string& line : lines) {
        size_t bar = line.find('|');
        if (bar == std::string::npos) continue;
        const std::string key = line.substr(0, bar);
        for (const ConfigKey& k : kConfigKeys)
            if (key == k.Key()) {
                values.*(k.value) = line.substr(bar + 1);
                break;
            }
    }
    *m_pStudio = values;
}

int CDatabase::ReadConfigurationRecord(const stDataHeader& header)
{
    if (ReadRecord(header.nCurrLoc, true) == 0) return 0;
    CRecordReader r(*this);
    std::vector<std::string> lines;
    if (!GetStringList(r, lines)) return 0;
    m_aConfigLines = lines;
    ApplyConfigurationLines(lines);
    return 1;
}

// ---------------------------------------------------------------------------------------------
// Fonts (formats)

stFormatRecord* CDatabase::GetFormat(uint32_t index) const
{
    return index < m_aFormats.size() ? m_aFormats[index].get() : nullptr;
}

void CDatabase::AddFormat(const std::string& name, int index, const std::string& face, int bold, int centred,
                          int size, const std::string& tabStops)
{
    if (index < 0) return;
    m_aFormatNames.push_back(name);
    auto format = std::make_unique<stFormatRecord>();
    format->nCode = index;
    format->SetFace(face);
    format->nSize = size;
    format->cBold = static_cast<uint8_t>(bold);
    format->cCentred = static_cast<uint8_t>(centred);
    size_t start = 0;
    while (!tabStops.empty() && start <= tabStops.size()) {
        size_t comma = tabStops.find(',', start);
        std::string part = Trim(tabStops.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        double value = 0.0;
        if (!part.empty()) std::from_chars(part.data(), part.data() + part.size(), value);
        format->aTabStops.push_back(value);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    if (DiagnosticLevel > 2)
        WriteDiagnosticFormat("CDatabase::AddFormat(%i) pointer %u\n", index,
                              static_cast<uint32_t>(reinterpret_cast<uintptr_t>(format.get())));
    if (static_cast<size_t>(index) >= m_aFormats.size()) m_aFormats.resize(index + 1);
    m_aFormats[index] = std::move(format);
}

void CDatabase::SetDefaultFormats()
{
    struct Row {
        const char* name;
        int bold;
        const char* tabs;
    };
    static const Row kRows[FORMAT_COUNT] = {
        {"Default", 0, "1,2,3,4,5,6"},
        {"RTF format reports", 0, ""},
        {"Default report text", 0, "2"},
        {"Default report header", 1, ""},
        {"Person list", 0, "1.563,2.854"},
        {"Purchase list", 0, "0.781,1.500,2.604,3.469"},
        {"Payment list", 0, "0.781,1.479,2.771,4.219,5.125"},
        {"Schedule list", 0, "1.177,2.177"},
        {"Interview list", 0, "1.280,2.542,4.052"},
        {"Mailing list", 0, ""},
        {"Mail labels", 0, ""},
        {"Envelopes", 0, ""},
        {"Balance due list", 0, "1.75,2.75,4"},
        {"Balance due header", 1, ""},
        {"Obligation list", 0, "2.0, 4.0"},
        {"Obligation list header", 1, ""},
        {"Tax report", 0, "2.0, 4.0"},
        {"Tax report header", 1, ""},
        {"Student payment", 0, "2.0"},
        {"Student payment header", 1, ""},
        {"Account activity", 0, "1.0, 2.0, 4.0, 5.0"},
        {"Account activity header", 1, ""},
        {"Student summary", 0, "1.0, 2.0, 4.0, 5.0"},
        {"Student summary header", 1, ""},
        {"Student activity", 0, "1.0, 2.0, 4.0, 5.0"},
        {"Student activity header", 1, ""},
        {"Student history", 0, "1.0, 2.0, 4.0, 5.0"},
        {"Student history header", 1, ""},
        {"Person activity", 0, "1.0, 2.0, 4.0, 5.0"},
        {"Person activity header", 1, ""},
        {"Summary report", 0, "1.260,2.417,3.594,4.833,5.979,6.990"},
        {"Summary report header", 1, ""},
        {"Balance sheet", 0, "0.802,1.573,4.552,5.313,6.000"},
        {"Balance sheet header", 1, ""},
        {"Daily balance", 0, "0.719,1.427,2.510,3.917,4.656,5.417,7.208"},
        {"Daily balance header", 1, ""},
        {"Name tag name", 1, ""},
        {"Name tag text", 1, ""},
    };
    m_aFormatNames.clear();
    m_pRtfFormat = nullptr;
    for (int i = 0; i < static_cast<int>(FORMAT_COUNT); ++i) {
        const bool nameTag = i >= 36;
        AddFormat(kRows[i].name, i, i == 0 ? "Courier New" : "Times New Roman", kRows[i].bold, nameTag ? 1 : 0,
                  nameTag ? 160 : 90, kRows[i].tabs);
    }
    m_pRtfFormat = GetFormat(1);
}

namespace {
// Unpacks a font record from the record buffer.
bool UnpackFormat(IRecordStore& store, stFormatRecord& format)
{
    CRecordReader r(store);
    uint8_t block[FORMAT_RECORD_BLOCK_SIZE];
    std::vector<double> tabs;
    if (!GetFormatRecord(r, block, tabs)) return false;
    format.UnpackBlock(block);
    format.aTabStops = std::move(tabs);
    return true;
}
}  // namespace

int CDatabase::ReadFormatRecordTable()
{
    std::vector<stDataHeader> headers;
    for (const stDataHeader& h : GetHeaderArray())
        if (h.nTable == kTableFonts && (h.cStatus == DB_STATUS_USED || h.cStatus == DB_STATUS_LOCKED))
            headers.push_back(h);
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CDatabase::ReadFormatRecordTable, # records %u\n", static_cast<uint32_t>(headers.size()));
    if (headers.size() != FORMAT_COUNT) {
        for (const stDataHeader& h : headers) DeleteRecord(h.nCurrLoc, 1, true);
        GetResponse("In reading font table, number of fonts has changed. Saving default fonts", MB_OK);
        SaveFormatRecordTable();
        return 1;
    }
    // Read whole before anything in memory changes.
    std::vector<stFormatRecord> read;
    for (const stDataHeader& h : headers) {
        stFormatRecord format;
        if (ReadRecord(h.nCurrLoc, true) == 0 || !UnpackFormat(*this, format)) return 0;
        if (format.nCode < 0 || static_cast<uint32_t>(format.nCode) >= FORMAT_COUNT)
            format.nCode = static_cast<int32_t>(h.nKey);
        read.push_back(std::move(format));
    }
    for (stFormatRecord& format : read) {
        if (format.nCode < 0 || static_cast<uint32_t>(format.nCode) >= FORMAT_COUNT) continue;
        uint32_t slot = static_cast<uint32_t>(format.nCode);
        if (slot >= m_aFormats.size()) m_aFormats.resize(slot + 1);
        if (!m_aFormats[slot]) m_aFormats[slot] = std::make_unique<stFormatRecord>();
        *m_aFormats[slot] = std::move(format);
    }
    m_pRtfFormat = GetFormat(1);
    return 1;
}

int CDatabase::ReadFormatRecord(uint32_t index)
{
    if (index >= m_aFormats.size()) {
        if (DiagnosticLevel > 1)
            WriteDiagnosticFormat("CDatabase::ReadFormatRecord(), error - index %u exceeds array size %u\n", index,
                                  static_cast<uint32_t>(m_aFormats.size()));
        return 0;
    }
    if (DiagnosticLevel > 1)
        WriteDiagnosticFormat("CDatabase::ReadFormatRecord(), index %u of %u\n", index,
                              static_cast<uint32_t>(m_aFormats.size()));
    stFormatRecord format;
    if (ReadRecord(kTableFonts, index) == 0 || !UnpackFormat(*this, format)) return 0;
    uint32_t slot = format.nCode >= 0 && static_cast<uint32_t>(format.nCode) < m_aFormats.size()
                        ? static_cast<uint32_t>(format.nCode)
                        : index;
    if (!m_aFormats[slot]) m_aFormats[slot] = std::make_unique<stFormatRecord>();
    *m_aFormats[slot] = std::move(format);
    return 1;
}

int CDatabase::RefreshFormatRecord(const stDataHeader& header)
{
    stFormatRecord format;
    if (ReadRecord(header.nCurrLoc, true) == 0 || !UnpackFormat(*this, format)) return 0;
    if (header.nKey >= FORMAT_COUNT) return 1;
    uint32_t slot = format.nCode >= 0 && static_cast<uint32_t>(format.nCode) < FORMAT_COUNT
                        ? static_cast<uint32_t>(format.nCode)
                        : header.nKey;
    if (slot >= m_aFormats.size()) m_aFormats.resize(slot + 1);
    if (!m_aFormats[slot]) m_aFormats[slot] = std::make_unique<stFormatRecord>();
    *m_aFormats[slot] = std::move(format);
    m_pRtfFormat = GetFormat(1);
    return 1;
}

int CDatabase::WriteFormatRecord(const stFormatRecord& format)
{
    uint8_t block[FORMAT_RECORD_BLOCK_SIZE];
    format.PackBlock(block);
    return WriteSettingsRecord(PutFormatRecord(*this, block, format.aTabStops), kTableFonts,
                               static_cast<uint32_t>(format.nCode));
}

int CDatabase::SaveFormatRecordTable()
{
    if (DiagnosticLevel > 0) WriteDiagnosticString("CDatabase::SaveFormatRecordTable()\n");
    int result = 0;
    for (uint32_t i = 0; i < FORMAT_COUNT && i < m_aFormats.size(); ++i)
        if (m_aFormats[i]) result = WriteFormatRecord(*m_aFormats[i]);
    return result;
}

int CDatabase::ResetFormats()
{
    ClearFormat();
    SetDefaultFormats();
    return SaveFormatRecordTable();
}

int CDatabase::ResetFonts()
{
    if (!IsOpen()) return 0;
    if (!LockAndRefreshDatabase("save format data", 0, 0, 0, 0)) return 0;
    // The defaults are built aside; the live objects stay where the views point.
    std::vector<std::unique_ptr<stFormatRecord>> live = std::move(m_aFormats);
    const std::vector<std::string> names = m_aFormatNames;
    SetDefaultFormats();
    std::vector<std::unique_ptr<stFormatRecord>> defaults = std::move(m_aFormats);
    m_aFormats = std::move(live);
    m_aFormatNames = names;
    m_pRtfFormat = GetFormat(1);
    int written = 1;
    for (const auto& format : defaults)
        if (format && WriteFormatRecord(*format) == 0) written = 0;
    if (written == 1) {
        if (m_aFormats.size() < defaults.size()) m_aFormats.resize(defaults.size());
        for (size_t i = 0; i < defaults.size(); ++i) {
            if (!defaults[i]) continue;
            if (!m_aFormats[i]) m_aFormats[i] = std::make_unique<stFormatRecord>();
            *m_aFormats[i] = *defaults[i];
            const uint32_t key = static_cast<uint32_t>(i);
            NotifyDataModified(kTableFonts, key, GetItemLoc(kTableFonts, key, 0, 0));
        }
        m_pRtfFormat = GetFormat(1);
    }
    ReleaseDatabaseLock();
    return written;
}

void CDatabase::ClearFormat()
{
    if (DiagnosticLevel > 0) WriteDiagnosticString("CDatabase::ClearTableFormat()\n");
    for (size_t i = 0; i < m_aFormats.size(); ++i)
        if (DiagnosticLevel > 2)
            WriteDiagnosticFormat("CDatabase::ClearFormat(%i) pointer %u\n", static_cast<int>(i),
                                  static_cast<uint32_t>(reinterpret_cast<uintptr_t>(m_aFormats[i].get())));
    m_pRtfFormat = nullptr;
    m_aFormats.clear();
}

// ---------------------------------------------------------------------------------------------
// Page layouts

void CDatabase::SetDefaultPageLayouts()
{
    m_aPageLayouts.clear();
    for (int32_t i = 0; i < static_cast<int32_t>(PAGE_LAYOUT_COUNT); ++i) {
        stPageLayout layout;
        layout.nCode = i;
        layout.SetFormatFace("Courier New");
        m_aPageLayouts.push_back(layout);
    }
}

namespace {
bool UnpackLayout(IRecordStore& store, stPageLayout& layout)
{
    CRecordReader r(store);
    uint8_t block[FONT_RECORD_BLOCK_SIZE];
    if (!GetBlock84(r, block)) return false;
    layout.Unpack(block);
    return true;
}
}  // namespace

int CDatabase::ReadPageLayoutTable()
{
    std::vector<stDataHeader> headers;
    for (const stDataHeader& h : GetHeaderArray())
        if (h.nTable == kTableLayouts && (h.cStatus == DB_STATUS_USED || h.cStatus == DB_STATUS_LOCKED))
            headers.push_back(h);
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CDatabase::ReadPageLayoutTable, # records %u\n", static_cast<uint32_t>(headers.size()));
    if (headers.size() != PAGE_LAYOUT_COUNT) {
        for (const stDataHeader& h : headers) DeleteRecord(h.nCurrLoc, 1, true);
        GetResponse("Number of page layouts has changed. Saving default layouts", MB_OK);
        for (const stPageLayout& layout : m_aPageLayouts) SavePageLayoutTable(layout);
        return 1;
    }
    // Read whole before the layouts in memory change.
    std::vector<stPageLayout> layouts;
    for (const stDataHeader& h : headers) {
        stPageLayout layout;
        if (ReadRecord(h.nCurrLoc, true) == 0 || !UnpackLayout(*this, layout)) return 0;
        if (layout.nCode < 0 || static_cast<uint32_t>(layout.nCode) >= PAGE_LAYOUT_COUNT)
            layout.nCode = static_cast<int32_t>(h.nKey);
        if (layout.nCode < 0 || static_cast<uint32_t>(layout.nCode) >= PAGE_LAYOUT_COUNT) continue;
        if (layouts.size() <= static_cast<size_t>(layout.nCode)) layouts.resize(layout.nCode + 1);
        layouts[layout.nCode] = layout;
    }
    m_aPageLayouts = layouts;
    return 1;
}

int CDatabase::ReadPageLayoutRecord(uint32_t index)
{
    if (index >= m_aPageLayouts.size()) {
        if (DiagnosticLevel > 1)
            WriteDiagnosticFormat("CDatabase::ReadPageLayoutRecord(), error - index %u exceeds array size %u\n", index,
                                  static_cast<uint32_t>(m_aPageLayouts.size()));
        return 0;
    }
    if (DiagnosticLevel > 1)
        WriteDiagnosticFormat("CDatabase::ReadPageLayoutRecord(), index %u of %u\n", index,
                              static_cast<uint32_t>(m_aPageLayouts.size()));
    stPageLayout layout;
    if (ReadRecord(kTableLayouts, index) == 0 || !UnpackLayout(*this, layout)) return 0;
    m_aPageLayouts[index] = layout;
    return 1;
}

int CDatabase::RefreshPageLayoutRecord(const stDataHeader& header)
{
    stPageLayout layout;
    if (ReadRecord(header.nCurrLoc, true) == 0 || !UnpackLayout(*this, layout)) return 0;
    if (layout.nCode < 0 || static_cast<uint32_t>(layout.nCode) >= 256) return 0;
    if (layout.nCode == 2 || layout.nCode == 3) {
        layout.fLeftMargin = 0.0f;
        layout.fTopMargin = 0.0f;
        layout.fBottomMargin = 0.0f;
        layout.nFirstPageNumber = 0;
    }
    if (m_aPageLayouts.size() <= static_cast<size_t>(layout.nCode)) m_aPageLayouts.resize(layout.nCode + 1);
    m_aPageLayouts[layout.nCode] = layout;
    return 1;
}

int CDatabase::SavePageLayoutTable(const stPageLayout& layout)
{
    if (DiagnosticLevel > 1)
        WriteDiagnosticFormat("CDatabase::SavePageLayoutTable(%u)\n", static_cast<uint32_t>(layout.nCode));
    uint8_t block[FONT_RECORD_BLOCK_SIZE];
    layout.Pack(block);
    return WriteSettingsRecord(PutBlock84(*this, block), kTableLayouts, static_cast<uint32_t>(layout.nCode));
}

void CDatabase::ClearPageLayouts()
{
    m_aPageLayouts.clear();
}

// ---------------------------------------------------------------------------------------------
// Editing the settings records

namespace {

// One settings record held under its record lock; released on the file it was taken on (a file
// replaced meanwhile by a compaction or a restore gets the unlock notice instead).
class SettingsRecordLock {
public:
    SettingsRecordLock(CDatabase& db, uint32_t table, uint32_t key)
        : m_DB(db), m_nTable(table), m_nKey(key), m_File(db.GetFile().Identity()),
          m_nLoc(db.LockRecord(table, key))
    {
    }
    ~SettingsRecordLock()
    {
        if (m_nLoc == LOC_NONE) return;
        if (m_DB.GetFile().Identity() == m_File) m_DB.UnlockRecord(m_nLoc);
        else m_DB.SendUnlockNotice(static_cast<uint8_t>(m_nTable), m_nKey);
    }
    SettingsRecordLock(const SettingsRecordLock&) = delete;
    SettingsRecordLock& operator=(const SettingsRecordLock&) = delete;
    bool IsHeld() const { return m_nLoc != LOC_NONE; }

private:
    CDatabase& m_DB;
    uint32_t m_nTable;
    uint32_t m_nKey;
    host::FileId m_File;
    uint32_t m_nLoc;
};

}  // namespace

void CDatabase::RefreshBeforeSettingsEdit()
{
    // The dialog starts from what the file holds.
    if (IsFileReplaced() || !m_aRefreshFlags.empty()) LockAndRefreshDatabase("refresh database", 0, 0, 0, 1);
}

int CDatabase::SaveParameterRecord(int showDialog)
{
    if (!IsOpen()) return 0;
    // The dialog starts from what the file holds; without it the caller's values are the change.
    if (showDialog == 1) RefreshBeforeSettingsEdit();
    // The dialog works on the live settings; a refused save puts back what they were. Without
    // the dialog the caller puts its values back on 0.
    const stParameters before = m_Parameters;
    const stStudioStrings beforeStrings = *m_pStudio;
    auto restore = [&] {
        m_Parameters = before;
        *m_pStudio = beforeStrings;
    };
    SettingsRecordLock lock(*this, kTableParams, 1);
    if (!lock.IsHeld()) return 0;
    if (showDialog == 1 && Ui().EditConfiguration(*this) != 1) {
        restore();
        return 0;
    }
    const stParameters changed = m_Parameters;
    const stStudioStrings changedStrings = *m_pStudio;
    if (!LockAndRefreshDatabase("save data", 0, 0, 0, 0)) {
        if (showDialog == 1) restore();
        return 0;
    }
    // The refresh may have read another desk's older settings over the dialog's.
    const stParameters refreshed = m_Parameters;
    const stStudioStrings refreshedStrings = *m_pStudio;
    // The receipt counter only rises: a number another desk took while the dialog was open is kept.
    const uint32_t counter = std::max(m_Parameters.GetUInt(param::kNextInvoiceNumber),
                                      changed.GetUInt(param::kNextInvoiceNumber));
    m_Parameters = changed;
    m_Parameters.SetUInt(param::kNextInvoiceNumber, counter);
    *m_pStudio = changedStrings;
    CDialogWaitBox* box = ShowWaitBox("Save miscellaneous parameter record.", false, 0);
    int saved = 0;
    if (SaveVarRecord() != 0 && SaveConfigurationTable() != 0) {
        NotifyDataModified(kTableParams, 1, GetItemLoc(kTableParams, 1, 0, 0));
        saved = 1;
    } else {
        m_Parameters = refreshed;
        *m_pStudio = refreshedStrings;
    }
    ReleaseDatabaseLock();
    CloseWaitBox(box);
    return saved;
}

bool CDatabase::SaveParameterDate(uint32_t offset, DATE value)
{
    if (offset + 8 > param::kSize) return false;
    return SaveParameterFields([&](stParameters& p) {
        p.SetDouble(offset, value);
        return true;
    });
}

int CDatabase::SaveParameterInt(uint32_t offset, int32_t value)
{
    if (offset + 4 > param::kSize) return 0;
    return SaveParameterFields([&](stParameters& p) {
        p.SetInt(offset, value);
        return true;
    }) ? 1 : 0;
}

bool CDatabase::SaveParameterFields(const std::function<bool(stParameters&)>& change)
{
    if (!IsOpen()) return false;
    RefreshBeforeSettingsEdit();
    // Another desk holds the record for as long as its own one-field save takes: wait that out
    // rather than refuse (a configuration dialog open elsewhere still refuses after the wait).
    for (int waited = 0; waited < 150 && TestRecordLockByKey(kTableParams, 1, 2) != 0; ++waited)
        host::Clock::Sleep(20);
    SettingsRecordLock lock(*this, kTableParams, 1);
    if (!lock.IsHeld()) return false;
    if (!LockAndRefreshDatabase("save data", 0, 0, 0, 0)) return false;
    // The caller's fields go onto the record as the file holds it now: another desk's change
    // may not have been announced yet.
    ReadVarRecord();
    const stParameters before = m_Parameters;
    bool stored = false;
    if (change(m_Parameters)) {
        CDialogWaitBox* box = ShowWaitBox("Save miscellaneous parameter record.", false, 0);
        if (SaveVarRecord() != 0) {
            NotifyDataModified(kTableParams, 1, GetItemLoc(kTableParams, 1, 0, 0));
            stored = true;
        } else {
            m_Parameters = before;
        }
        CloseWaitBox(box);
    }
    ReleaseDatabaseLock();
    return stored;
}

uint32_t CDatabase::ConfirmReceiptNumber(uint32_t wanted, uint32_t offered, bool* confirmed)
{
    uint32_t kept = wanted;
    bool compared = false;
    bool moved = false;
    const bool stored = SaveParameterFields([&](stParameters& p) {
        compared = true;
        const uint32_t last = p.GetUInt(param::kNextInvoiceNumber);
        if (wanted > last) {
            p.SetUInt(param::kNextInvoiceNumber, wanted);
            moved = true;
        } else if (offered != 0 && wanted == offered) {
            // Another desk took the number offered meanwhile: the next free one.
            kept = last + 1;
            p.SetUInt(param::kNextInvoiceNumber, kept);
            moved = true;
        }
        // A lower number typed by hand stays on the payment and leaves the counter.
        return moved;
    });
    // Settled when compared under the locks and, where the counter moved, stored.
    if (confirmed) *confirmed = compared && (!moved || stored);
    return kept;
}

int CDatabase::SaveFormatRecord(uint32_t index, const std::string& name, int value1, int value2)
{
    if (GetUserAccessLevel() < 9) {
        GetResponse("Access denied for access level less than 9", MB_OK);
        return 2;
    }
    if (!IsOpen() || index >= m_aFormats.size() || !m_aFormats[index]) return 2;
    RefreshBeforeSettingsEdit();
    SettingsRecordLock lock(*this, kTableFonts, index);
    if (!lock.IsHeld() || index >= m_aFormats.size() || !m_aFormats[index]) return 2;
    stFormatRecord format = *m_aFormats[index];
    const int result = Ui().EditFormat(*this, format, Format("Format %s", name.c_str()), value1, value2);
    if (result != 1) return result;
    if (!LockAndRefreshDatabase("save format data", 0, 0, 0, 0)) return 2;
    CDialogWaitBox* box = ShowWaitBox(Format("Save format record %u.", static_cast<uint32_t>(format.nCode)), false, 0);
    if (index < m_aFormats.size() && m_aFormats[index]) {
        if (WriteFormatRecord(format) != 0) {
            *m_aFormats[index] = format;
            m_pRtfFormat = GetFormat(1);
            NotifyDataModified(kTableFonts, static_cast<uint32_t>(format.nCode),
                               GetItemLoc(kTableFonts, static_cast<uint32_t>(format.nCode), 0, 0));
        }
    }
    ReleaseDatabaseLock();
    CloseWaitBox(box);
    return result;
}

void CDatabase::SavePageLayoutRecord(uint32_t index, const std::string& name)
{
    if (!IsOpen() || index >= m_aPageLayouts.size()) return;
    RefreshBeforeSettingsEdit();
    SettingsRecordLock lock(*this, kTableLayouts, index);
    if (!lock.IsHeld() || index >= m_aPageLayouts.size()) return;
    stPageLayout layout = m_aPageLayouts[index];
    if (Ui().EditPageLayout(*this, layout, name) != 1) return;
    if (!LockAndRefreshDatabase("save page layout", 0, 0, 0, 0)) return;
    CDialogWaitBox* box = ShowWaitBox(Format("Save page layout record %u.", index), false, 0);
    if (index < m_aPageLayouts.size() && SavePageLayoutTable(layout) != 0) {
        m_aPageLayouts[index] = layout;
        NotifyDataModified(kTableLayouts, index, GetItemLoc(kTableLayouts, index, 0, 0));
    }
    ReleaseDatabaseLock();
    CloseWaitBox(box);
}
