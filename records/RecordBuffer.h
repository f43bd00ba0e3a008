#pragma once
// Packing of records into the record store's buffer and back.
//
// A record is the concatenation of its fields, little-endian, with no tags: the reader and the
// writer of a class name the same fields in the same order. Every primitive works byte by byte
// through a cursor. Readers are bounds-checked against the record's length: a count or length
// that does not fit makes the cursor fail, every later read on it does nothing, and the record
// is reported as damaged. Writers never write past their capacity and refuse a string longer
// than can be stored; a failed writer keeps the reason as a text for the user.

#include <cstdint>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

// The engine's record buffer holds 65536 bytes; a block header stores the data length in 16 bits.
constexpr uint32_t RECORD_BUFFER_SIZE = 65536;
constexpr uint32_t MAX_RECORD_DATA_LENGTH = 65535;
// Longest stored string length, terminating NUL included (4095 characters).
constexpr uint32_t MAX_STORED_STRING_LENGTH = 4096;
// "No record" in every field that refers to another record by code.
constexpr uint32_t NO_CODE = 0xFFFFFFFF;
// What a record store returns when it could not write a record.
constexpr uint32_t RECORD_WRITE_FAILED = 0xFFFFFFFF;

// Table codes of the record classes.
constexpr uint32_t TABLE_CATEGORY = 5;
constexpr uint32_t TABLE_PERSON = 6;
constexpr uint32_t TABLE_MAILLIST = 7;
constexpr uint32_t TABLE_PRICELIST = 8;
constexpr uint32_t TABLE_PACKAGE = 9;
constexpr uint32_t TABLE_PURCHASE = 10;
constexpr uint32_t TABLE_PAYMENT = 11;
constexpr uint32_t TABLE_SCHEDULE = 12;

struct stCodeValuePair {
    int32_t code = 0;
    double value = 0.0;
    bool operator==(const stCodeValuePair&) const = default;
};

// What the record classes need of the record store (the database engine implements it): its
// buffer, the length of the record last read into it, and the write of the packed record.
class IRecordStore {
public:
    virtual ~IRecordStore() = default;
    // The store's record buffer, RECORD_BUFFER_SIZE bytes.
    virtual uint8_t* GetRecordBuffer() = 0;
    // Bytes of record data that the last read put into the buffer.
    virtual uint32_t GetRecordLength() const = 0;
    // Stores the first `length` bytes of the buffer as the record (table, key); gives the
    // record's file location, or RECORD_WRITE_FAILED.
    virtual uint32_t WriteRecord(uint32_t length, uint32_t table, uint32_t key, uint32_t subtable,
                                 uint32_t subkey) = 0;
};

// What the record classes need of the database to name a category in their texts.
class ICategoryNames {
public:
    virtual ~ICategoryNames() = default;
    // The name of the category with that code; false when there is no such category.
    virtual bool LookupCategoryName(uint32_t code, std::string& name) const = 0;
};

// Reading cursor over one record's bytes.
class CRecordReader {
public:
    CRecordReader(const uint8_t* data, uint32_t length);
    // The record last read into the store's buffer: a record whose fields do not end exactly
    // at its length is damaged (IsComplete).
    explicit CRecordReader(IRecordStore& store);

    uint32_t GetPosition() const { return m_nPosition; }
    uint32_t GetRemaining() const { return m_bFailed ? 0 : m_nLength - m_nPosition; }
    bool IsValid() const { return !m_bFailed; }
    // Valid, and for a whole record from the store, at its end.
    bool IsComplete() const { return !m_bFailed && (!m_bWholeRecord || m_nPosition == m_nLength); }
    // Gives the next n bytes and moves past them, or null (and the cursor fails) when the
    // record has fewer left.
    const uint8_t* Take(uint32_t n);
    // Fails the cursor when a list of `count` elements of at least `minElementSize` bytes each
    // cannot fit in what is left; gives whether it fits.
    bool CheckCount(uint32_t count, uint32_t minElementSize);
    void Fail() { m_bFailed = true; }

private:
    const uint8_t* m_pData;
    uint32_t m_nLength;
    uint32_t m_nPosition = 0;
    bool m_bFailed = false;
    bool m_bWholeRecord = false;
};

// Writing cursor over the store's buffer.
class CRecordWriter {
public:
    CRecordWriter(uint8_t* data, uint32_t capacity);
    // Writes from the start of the store's buffer, at most MAX_RECORD_DATA_LENGTH bytes.
    explicit CRecordWriter(IRecordStore& store);

    uint32_t GetPosition() const { return m_nPosition; }
    bool IsValid() const { return !m_bFailed; }
    // Why the write failed, as a message for the user; empty while it has not.
    const std::string& GetError() const { return m_sError; }
    // Gives room for the next n bytes and moves past it, or null (and the writer fails).
    uint8_t* Reserve(uint32_t n);
    // Fails the writer with the message (the first failure's message is kept).
    void Fail(const std::string& message);

private:
    uint8_t* m_pData;
    uint32_t m_nCapacity;
    uint32_t m_nPosition = 0;
    bool m_bFailed = false;
    std::string m_sError;
};

// Primitives. Each copies one field and moves the cursor past it; the result tells whether the
// cursor is still valid. A reader that fails leaves the field as it was.
bool PutByte(CRecordWriter& w, uint8_t value);
bool PutByte(CRecordWriter& w, char value);
bool PutUInt32(CRecordWriter& w, uint32_t value);
bool PutUInt32(CRecordWriter& w, int32_t value);
bool PutUInt32(CRecordWriter& w, float value);
bool PutDouble(CRecordWriter& w, double value);
bool PutBytes(CRecordWriter& w, const uint8_t* field, uint32_t n);
// Refuses (fails the writer with "String too big, ...") a string of more than 4095 characters.
bool PutString(CRecordWriter& w, const std::string& value);
bool PutStringArray(CRecordWriter& w, const std::vector<std::string>& values);
bool PutUIntArray(CRecordWriter& w, const std::vector<uint32_t>& values);
bool PutDoubleArray(CRecordWriter& w, const std::vector<double>& values);
bool PutCodeValueArray(CRecordWriter& w, const std::vector<stCodeValuePair>& values);

bool GetByte(CRecordReader& r, uint8_t& field);
bool GetByte(CRecordReader& r, char& field);
bool GetUInt32(CRecordReader& r, uint32_t& field);
bool GetUInt32(CRecordReader& r, int32_t& field);
bool GetUInt32(CRecordReader& r, float& field);
bool GetDouble(CRecordReader& r, double& field);
bool GetBytes(CRecordReader& r, uint8_t* field, uint32_t n);
// A stored length of 0 or 1 reads as the empty string; otherwise the text up to its first NUL.
bool GetString(CRecordReader& r, std::string& field);
// Array readers replace the array's contents, also for a count of 0.
bool GetStringArray(CRecordReader& r, std::vector<std::string>& field);
bool GetUIntArray(CRecordReader& r, std::vector<uint32_t>& field);
bool GetDoubleArray(CRecordReader& r, std::vector<double>& field);
bool GetCodeValueArray(CRecordReader& r, std::vector<stCodeValuePair>& field);

// Settings records stored as fixed blocks or lists. The writers write at the start of the
// store's buffer and give the byte count (0 when it does not fit); the readers read at the
// cursor.
constexpr uint32_t SETTINGS_BLOCK_SIZE = 1024;
constexpr uint32_t FONT_RECORD_BLOCK_SIZE = 84;
constexpr uint32_t FORMAT_RECORD_BLOCK_SIZE = 56;
uint32_t PutBlock1024(IRecordStore& store, const uint8_t* field);
bool GetBlock1024(CRecordReader& r, uint8_t* field);
uint32_t PutBlock84(IRecordStore& store, const uint8_t* field);
bool GetBlock84(CRecordReader& r, uint8_t* field);
uint32_t PutStringList(IRecordStore& store, const std::vector<std::string>& list);
bool GetStringList(CRecordReader& r, std::vector<std::string>& list);
// A format record: its plain 56-byte block, then its array of doubles.
uint32_t PutFormatRecord(IRecordStore& store, const uint8_t* block, const std::vector<double>& values);
bool GetFormatRecord(CRecordReader& r, uint8_t* block, std::vector<double>& values);

// The message a writer fails with for a string of `length` bytes (NUL included).
std::string StringTooBigMessage(uint32_t length);

// Stamps of new records: the logged-on user's one-byte code, which the log-on sets here.
uint8_t GetStampUserCode();
void SetStampUserCode(uint8_t code);

// Hands a packed record to the store: a writer that failed is refused with its message shown to
// the user, and nothing is written. Gives the store's result or RECORD_WRITE_FAILED.
uint32_t StorePackedRecord(IRecordStore& store, const CRecordWriter& w, uint32_t table, uint32_t key);

// Owned lists of sub-records (a person's interviews, a purchase's items and payments, an item's
// tokens). The containing record owns each element; a list is read whole or not at all.
template <class T>
using OwnedList = std::vector<std::unique_ptr<T>>;

template <class T>
void CopyOwnedList(OwnedList<T>& dst, const OwnedList<T>& src)
{
    OwnedList<T> copy;
    copy.reserve(src.size());
    for (const auto& p : src) {
        auto c = std::make_unique<T>();
        c->CopyFrom(*p);
        copy.push_back(std::move(c));
    }
    dst = std::move(copy);
}

template <class T>
bool OwnedListsEqual(const OwnedList<T>& a, const OwnedList<T>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (!a[i]->IsEqual(*b[i]))
            return false;
    return true;
}

template <class T>
bool PutOwnedList(CRecordWriter& w, const OwnedList<T>& list)
{
    if (list.size() > 0xFFFFFFFFu) {
        w.Fail("Too many entries to store in one record.");
        return false;
    }
    if (!PutUInt32(w, static_cast<uint32_t>(list.size())))
        return false;
    for (const auto& p : list)
        if (!p->WriteRecord(w))
            return false;
    return true;
}

// `minSize` is the fewest bytes one element can take, so that a damaged count fails at once.
template <class T>
bool GetOwnedList(CRecordReader& r, OwnedList<T>& list, uint32_t minSize)
{
    uint32_t n = 0;
    if (!GetUInt32(r, n) || !r.CheckCount(n, minSize))
        return false;
    OwnedList<T> items;
    items.reserve(n);
    for (uint32_t i = 0; i < n; ++i) {
        auto item = std::make_unique<T>();
        if (!item->ReadRecord(r))
            return false;
        items.push_back(std::move(item));
    }
    list = std::move(items);
    return true;
}

// The store-level operations that every record class shares.
template <class R>
uint32_t ReadRecordFromStore(R& record, IRecordStore& store)
{
    CRecordReader r(store);
    return record.ReadRecord(r) ? r.GetPosition() : 0;
}

template <class R>
uint32_t WriteRecordToStore(const R& record, IRecordStore& store, std::string* error)
{
    CRecordWriter w(store);
    if (record.WriteRecord(w))
        return w.GetPosition();
    if (error)
        *error = w.GetError();
    return 0;
}

template <class R>
uint32_t SaveRecordToStore(const R& record, IRecordStore& store, uint32_t table, uint32_t key)
{
    CRecordWriter w(store);
    record.WriteRecord(w);
    return StorePackedRecord(store, w, table, key);
}

// The two change stamps that close most records: when and by whom the record was made (1) and
// last changed (2). Some records store each date before its user's code, the others the code first.
enum class StampOrder { DateFirst, UserFirst };

template <class R>
void GetStamps(CRecordReader& r, R& record, StampOrder order)
{
    if (order == StampOrder::DateFirst) {
        GetDouble(r, record.m_dStamp1Date);
        GetByte(r, record.m_cStamp1User);
        GetDouble(r, record.m_dStamp2Date);
        GetByte(r, record.m_cStamp2User);
    } else {
        GetByte(r, record.m_cStamp1User);
        GetDouble(r, record.m_dStamp1Date);
        GetByte(r, record.m_cStamp2User);
        GetDouble(r, record.m_dStamp2Date);
    }
}

template <class R>
void PutStamps(CRecordWriter& w, const R& record, StampOrder order)
{
    if (order == StampOrder::DateFirst) {
        PutDouble(w, record.m_dStamp1Date);
        PutByte(w, record.m_cStamp1User);
        PutDouble(w, record.m_dStamp2Date);
        PutByte(w, record.m_cStamp2User);
    } else {
        PutByte(w, record.m_cStamp1User);
        PutDouble(w, record.m_dStamp1Date);
        PutByte(w, record.m_cStamp2User);
        PutDouble(w, record.m_dStamp2Date);
    }
}
