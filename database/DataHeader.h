#pragma once
// The 36-byte block header of the database file and the fixed places of the file header area.
// A header is packed and unpacked byte by byte, little-endian, never copied as a struct.

#include <cstdint>

// Locations are unsigned 32-bit offsets; this value means "none" (and "no key").
constexpr uint32_t LOC_NONE = 0xFFFFFFFF;
// The first record block follows the 1024-byte file header area.
constexpr uint32_t LOC_START_TABLES = 0x400;
// Bytes of a block header in the file.
constexpr uint32_t DB_HEADER_LEN = 36;

// File header area.
constexpr uint32_t DB_VERSION_LOC = 0;        // format version, 4 bytes
constexpr uint32_t DB_CLOSE_STATUS_LOC = 4;   // 1 closed properly, 0 open or crashed
constexpr uint32_t DB_NAME_LOC = 8;           // database title, NUL padded
constexpr uint32_t DB_NAME_LEN = 78;
constexpr uint32_t DB_LOCK_AREA_LOC = 256;    // database lock owner; table t owner at 256 + t
constexpr uint32_t DB_LOCK_AREA_LEN = 767;    // what releasing all locks zeroes (256 to 1022)
constexpr uint32_t DB_FORMAT_CURRENT = 0;
constexpr uint32_t DB_FORMAT_OLD = 0xFFFFFFFF;

// Block status characters.
constexpr char DB_STATUS_USED = '+';
constexpr char DB_STATUS_LOCKED = '*';
constexpr char DB_STATUS_MARKDEL = '#';
constexpr char DB_STATUS_DELETED = '-';

// Number of tables; codes run from 1 to this.
constexpr uint32_t DB_NUM_TABLES = 12;

struct stDataHeader {
    char cDelimiter[2] = {'U', 'U'};
    uint32_t nCurrLoc = LOC_START_TABLES;
    uint32_t nNextLoc = LOC_NONE;
    uint32_t nPrevLoc = LOC_NONE;
    uint16_t nBlockLen = 0;
    uint16_t nDataLen = 0;
    uint8_t nTable = 0;
    uint8_t nSubTable = 0;
    uint32_t nKey = LOC_NONE;
    uint32_t nSubKey = 0;
    uint8_t nUser = 0;
    char cStatus = 0;
    uint8_t nLockOwner = 0;
    // Bytes 2-3, 22-23 and 35 carry no meaning; they are kept so a header read and written
    // back is left byte for byte as it was.
    uint8_t cSpare1[2] = {0, 0};
    uint8_t cSpare2[2] = {0, 0};
    uint8_t cSpare3 = 0;

    void Pack(uint8_t out[DB_HEADER_LEN]) const;
    void Unpack(const uint8_t in[DB_HEADER_LEN]);
};

// One of "+-#*" (NUL is not a valid status).
bool IsValidStatus(char status);
// The state name of a status for block descriptions (".USED", ".LOCKED", ...).
const char* StatusStateName(char status);

// A key is the creating user's code - 1 in the high 8 bits and a serial in the low 24.
// A serial of 2^24 or more gives LOC_NONE (no key).
uint32_t MakeKey(uint32_t prefix, uint32_t serial);
// The user code that created a key: its high 8 bits + 1.
uint32_t KeyUserCode(uint32_t key);
// The first key of user `user` and the first key past its range (as 64 bits: user 256 ends
// past 32 bits).
uint64_t KeyRangeStart(uint32_t user);
uint64_t KeyRangeEnd(uint32_t user);

// Check of a record's data. Bytes 2-3 and 22, 23, 35 carry no meaning for the format; a record
// written by this program marks bytes 2-3 with kDataCheckMark and keeps the low 24 bits of the
// CRC-32 of its data in bytes 22, 23 and 35, so a record whose data and header disagree (a save
// cut short) is found damaged. Headers without the mark are not checked.
constexpr uint8_t kDataCheckMark[2] = {'C', 'K'};
void SetDataCheck(stDataHeader& header, const uint8_t* data, uint32_t length);
// 1 the data matches, 0 it does not, -1 the header carries no check.
int TestDataCheck(const stDataHeader& header, const uint8_t* data, uint32_t length);
