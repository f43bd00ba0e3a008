#include "records/RecordBuffer.h"

#include <bit>
#include <cstring>

#include "common/QuestionBox.h"
#include "platform/host/Format.h"

namespace {

// The logged-on user's code, stamped into new records.
uint8_t g_stampUserCode = 0;

void StoreLE32(uint8_t* p, uint32_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

uint32_t LoadLE32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

void StoreLE64(uint8_t* p, uint64_t v)
{
    for (int i = 0; i < 8; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint64_t LoadLE64(const uint8_t* p)
{
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

// Reads a count and checks that `count` elements of at least `minSize` bytes each fit.
bool GetCount(CRecordReader& r, uint32_t& count, uint32_t minSize)
{
    uint32_t n = 0;
    if (!GetUInt32(r, n) || !r.CheckCount(n, minSize))
        return false;
    count = n;
    return true;
}

bool PutCount(CRecordWriter& w, size_t count)
{
    if (count > 0xFFFFFFFFu) {
        w.Fail("Too many entries to store in one record.");
        return false;
    }
    return PutUInt32(w, static_cast<uint32_t>(count));
}

uint32_t FinishAtStart(const CRecordWriter& w)
{
    return w.IsValid() ? w.GetPosition() : 0;
}

}  // namespace

CRecordReader::CRecordReader(const uint8_t* data, uint32_t length)
    : m_pData(data), m_nLength(data ? length : 0)
{
}

CRecordReader::CRecordReader(IRecordStore& store)
    : CRecordReader(store.GetRecordBuffer(),
                    store.GetRecordLength() < RECORD_BUFFER_SIZE ? store.GetRecordLength()
                                                                 : RECORD_BUFFER_SIZE)
{
    m_bWholeRecord = true;
}

const uint8_t* CRecordReader::Take(uint32_t n)
{
    if (m_bFailed || n > m_nLength - m_nPosition) {
        m_bFailed = true;
        return nullptr;
    }
    const uint8_t* p = m_pData + m_nPosition;
    m_nPosition += n;
    return p;
}

bool CRecordReader::CheckCount(uint32_t count, uint32_t minElementSize)
{
    if (m_bFailed)
        return false;
    uint64_t need = static_cast<uint64_t>(count) * minElementSize;
    if (need > m_nLength - m_nPosition) {
        m_bFailed = true;
        return false;
    }
    return true;
}

CRecordWriter::CRecordWriter(uint8_t* data, uint32_t capacity)
    : m_pData(data), m_nCapacity(data ? capacity : 0)
{
}

CRecordWriter::CRecordWriter(IRecordStore& store)
    : CRecordWriter(store.GetRecordBuffer(), MAX_RECORD_DATA_LENGTH)
{
}

uint8_t* CRecordWriter::Reserve(uint32_t n)
{
    if (m_bFailed)
        return nullptr;
    if (n > m_nCapacity - m_nPosition) {
        Fail(Format("The record is too big to store (more than %u bytes). It was not saved.",
                    m_nCapacity));
        return nullptr;
    }
    uint8_t* p = m_pData + m_nPosition;
    m_nPosition += n;
    return p;
}

void CRecordWriter::Fail(const std::string& message)
{
    if (!m_bFailed)
        m_sError = message;
    m_bFailed = true;
}

std::string StringTooBigMessage(uint32_t length)
{
    return Format("String too big, length %u; at most %u characters can be stored.\n"
                  "The record was not saved.",
                  length, MAX_STORED_STRING_LENGTH - 1);
}

// ---- writers ----

bool PutByte(CRecordWriter& w, uint8_t value)
{
    uint8_t* p = w.Reserve(1);
    if (!p)
        return false;
    *p = value;
    return true;
}

bool PutByte(CRecordWriter& w, char value)
{
    return PutByte(w, static_cast<uint8_t>(value));
}

bool PutUInt32(CRecordWriter& w, uint32_t value)
{
    uint8_t* p = w.Reserve(4);
    if (!p)
        return false;
    StoreLE32(p, value);
    return true;
}

bool PutUInt32(CRecordWriter& w, int32_t value)
{
    return PutUInt32(w, static_cast<uint32_t>(value));
}

bool PutUInt32(CRecordWriter& w, float value)
{
    return PutUInt32(w, std::bit_cast<uint32_t>(value));
}

bool PutDouble(CRecordWriter& w, double value)
{
    uint8_t* p = w.Reserve(8);
    if (!p)
        return false;
    StoreLE64(p, std::bit_cast<uint64_t>(value));
    return true;
}

bool PutBytes(CRecordWriter& w, const uint8_t* field, uint32_t n)
{
    uint8_t* p = w.Reserve(n);
    if (!p)
        return false;
    if (n)
        std::memcpy(p, field, n);
    return true;
}

bool PutString(CRecordWriter& w, const std::string& value)
{
    if (!w.IsValid())
        return false;
    if (value.size() >= MAX_STORED_STRING_LENGTH) {
        uint64_t length = static_cast<uint64_t>(value.size()) + 1;
        w.Fail(StringTooBigMessage(length > 0xFFFFFFFFu ? 0xFFFFFFFFu
                                                        : static_cast<uint32_t>(length)));
        return false;
    }
    size_t chars = value.size();
    uint32_t length = static_cast<uint32_t>(chars) + 1;
    if (!PutUInt32(w, length))
        return false;
    uint8_t* p = w.Reserve(length);
    if (!p)
        return false;
    if (chars)
        std::memcpy(p, value.data(), chars);
    p[chars] = 0;
    return true;
}

bool PutStringArray(CRecordWriter& w, const std::vector<std::string>& values)
{
    if (!PutCount(w, values.size()))
        return false;
    for (const std::string& s : values)
        if (!PutString(w, s))
            return false;
    return true;
}

bool PutUIntArray(CRecordWriter& w, const std::vector<uint32_t>& values)
{
    if (!PutCount(w, values.size()))
        return false;
    for (uint32_t v : values)
        if (!PutUInt32(w, v))
            return false;
    return true;
}

bool PutDoubleArray(CRecordWriter& w, const std::vector<double>& values)
{
    if (!PutCount(w, values.size()))
        return false;
    for (double v : values)
        if (!PutDouble(w, v))
            return false;
    return true;
}

bool PutCodeValueArray(CRecordWriter& w, const std::vector<stCodeValuePair>& values)
{
    if (!PutCount(w, values.size()))
        return false;
    for (const stCodeValuePair& v : values) {
        PutUInt32(w, v.code);
        if (!PutDouble(w, v.value))
            return false;
    }
    return true;
}

// ---- readers ----

bool GetByte(CRecordReader& r, uint8_t& field)
{
    const uint8_t* p = r.Take(1);
    if (!p)
        return false;
    field = *p;
    return true;
}

bool GetByte(CRecordReader& r, char& field)
{
    uint8_t b = 0;
    if (!GetByte(r, b))
        return false;
    field = static_cast<char>(b);
    return true;
}

bool GetUInt32(CRecordReader& r, uint32_t& field)
{
    const uint8_t* p = r.Take(4);
    if (!p)
        return false;
    field = LoadLE32(p);
    return true;
}

bool GetUInt32(CRecordReader& r, int32_t& field)
{
    uint32_t v = 0;
    if (!GetUInt32(r, v))
        return false;
    field = static_cast<int32_t>(v);
    return true;
}

bool GetUInt32(CRecordReader& r, float& field)
{
    uint32_t v = 0;
    if (!GetUInt32(r, v))
        return false;
    field = std::bit_cast<float>(v);
    return true;
}

bool GetDouble(CRecordReader& r, double& field)
{
    const uint8_t* p = r.Take(8);
    if (!p)
        return false;
    field = std::bit_cast<double>(LoadLE64(p));
    return true;
}

bool GetBytes(CRecordReader& r, uint8_t* field, uint32_t n)
{
    const uint8_t* p = r.Take(n);
    if (!p)
        return false;
    if (n)
        std::memcpy(field, p, n);
    return true;
}

bool GetString(CRecordReader& r, std::string& field)
{
    uint32_t length = 0;
    if (!GetUInt32(r, length))
        return false;
    const uint8_t* p = r.Take(length);
    if (!p)
        return false;
    if (length < 2) {
        field.clear();
        return true;
    }
    const void* nul = std::memchr(p, 0, length);
    size_t chars = nul ? static_cast<const uint8_t*>(nul) - p : length;
    field.assign(reinterpret_cast<const char*>(p), chars);
    return true;
}

bool GetStringArray(CRecordReader& r, std::vector<std::string>& field)
{
    uint32_t n = 0;
    if (!GetCount(r, n, 4))
        return false;
    std::vector<std::string> values;
    values.reserve(n);
    for (uint32_t i = 0; i < n; ++i) {
        std::string s;
        if (!GetString(r, s))
            return false;
        values.push_back(std::move(s));
    }
    field = std::move(values);
    return true;
}

bool GetUIntArray(CRecordReader& r, std::vector<uint32_t>& field)
{
    uint32_t n = 0;
    if (!GetCount(r, n, 4))
        return false;
    std::vector<uint32_t> values(n);
    for (uint32_t i = 0; i < n; ++i)
        GetUInt32(r, values[i]);
    if (!r.IsValid())
        return false;
    field = std::move(values);
    return true;
}

bool GetDoubleArray(CRecordReader& r, std::vector<double>& field)
{
    uint32_t n = 0;
    if (!GetCount(r, n, 8))
        return false;
    std::vector<double> values(n);
    for (uint32_t i = 0; i < n; ++i)
        GetDouble(r, values[i]);
    if (!r.IsValid())
        return false;
    field = std::move(values);
    return true;
}

bool GetCodeValueArray(CRecordReader& r, std::vector<stCodeValuePair>& field)
{
    uint32_t n = 0;
    if (!GetCount(r, n, 12))
        return false;
    std::vector<stCodeValuePair> values(n);
    for (uint32_t i = 0; i < n; ++i) {
        GetUInt32(r, values[i].code);
        GetDouble(r, values[i].value);
    }
    if (!r.IsValid())
        return false;
    field = std::move(values);
    return true;
}

// ---- settings records ----

uint32_t PutBlock1024(IRecordStore& store, const uint8_t* field)
{
    CRecordWriter w(store);
    PutBytes(w, field, SETTINGS_BLOCK_SIZE);
    return FinishAtStart(w);
}

bool GetBlock1024(CRecordReader& r, uint8_t* field)
{
    return GetBytes(r, field, SETTINGS_BLOCK_SIZE);
}

uint32_t PutBlock84(IRecordStore& store, const uint8_t* field)
{
    CRecordWriter w(store);
    PutBytes(w, field, FONT_RECORD_BLOCK_SIZE);
    return FinishAtStart(w);
}

bool GetBlock84(CRecordReader& r, uint8_t* field)
{
    return GetBytes(r, field, FONT_RECORD_BLOCK_SIZE);
}

uint32_t PutStringList(IRecordStore& store, const std::vector<std::string>& list)
{
    CRecordWriter w(store);
    PutStringArray(w, list);
    return FinishAtStart(w);
}

bool GetStringList(CRecordReader& r, std::vector<std::string>& list)
{
    return GetStringArray(r, list);
}

uint32_t PutFormatRecord(IRecordStore& store, const uint8_t* block, const std::vector<double>& values)
{
    CRecordWriter w(store);
    PutBytes(w, block, FORMAT_RECORD_BLOCK_SIZE);
    PutDoubleArray(w, values);
    return FinishAtStart(w);
}

bool GetFormatRecord(CRecordReader& r, uint8_t* block, std::vector<double>& values)
{
    uint8_t tmp[FORMAT_RECORD_BLOCK_SIZE];
    std::vector<double> array;
    if (!GetBytes(r, tmp, FORMAT_RECORD_BLOCK_SIZE) || !GetDoubleArray(r, array))
        return false;
    std::memcpy(block, tmp, FORMAT_RECORD_BLOCK_SIZE);
    values = std::move(array);
    return true;
}

uint8_t GetStampUserCode()
{
    return g_stampUserCode;
}

void SetStampUserCode(uint8_t code)
{
    g_stampUserCode = code;
}

uint32_t StorePackedRecord(IRecordStore& store, const CRecordWriter& w, uint32_t table, uint32_t key)
{
    if (!w.IsValid()) {
        GetResponse(w.GetError(), MB_OK, 0);
        return RECORD_WRITE_FAILED;
    }
    return store.WriteRecord(w.GetPosition(), table, key, 0, 0);
}
