#include "database/DataHeader.h"

#include <zlib.h>

namespace {

void PutU16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void PutU32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint16_t GetU16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t GetU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

void stDataHeader::Pack(uint8_t out[DB_HEADER_LEN]) const {
    out[0] = static_cast<uint8_t>(cDelimiter[0]);
    out[1] = static_cast<uint8_t>(cDelimiter[1]);
    out[2] = cSpare1[0];
    out[3] = cSpare1[1];
    PutU32(out + 4, nCurrLoc);
    PutU32(out + 8, nNextLoc);
    PutU32(out + 12, nPrevLoc);
    PutU16(out + 16, nBlockLen);
    PutU16(out + 18, nDataLen);
    out[20] = nTable;
    out[21] = nSubTable;
    out[22] = cSpare2[0];
    out[23] = cSpare2[1];
    PutU32(out + 24, nKey);
    PutU32(out + 28, nSubKey);
    out[32] = nUser;
    out[33] = static_cast<uint8_t>(cStatus);
    out[34] = nLockOwner;
    out[35] = cSpare3;
}

void stDataHeader::Unpack(const uint8_t in[DB_HEADER_LEN]) {
    cDelimiter[0] = static_cast<char>(in[0]);
    cDelimiter[1] = static_cast<char>(in[1]);
    cSpare1[0] = in[2];
    cSpare1[1] = in[3];
    nCurrLoc = GetU32(in + 4);
    nNextLoc = GetU32(in + 8);
    nPrevLoc = GetU32(in + 12);
    nBlockLen = GetU16(in + 16);
    nDataLen = GetU16(in + 18);
    nTable = in[20];
    nSubTable = in[21];
    cSpare2[0] = in[22];
    cSpare2[1] = in[23];
    nKey = GetU32(in + 24);
    nSubKey = GetU32(in + 28);
    nUser = in[32];
    cStatus = static_cast<char>(in[33]);
    nLockOwner = in[34];
    cSpare3 = in[35];
}

bool IsValidStatus(char status) {
    return status == DB_STATUS_USED || status == DB_STATUS_LOCKED || status == DB_STATUS_MARKDEL ||
           status == DB_STATUS_DELETED;
}

const char* StatusStateName(char status) {
    switch (status) {
    case DB_STATUS_USED: return ".USED";
    case DB_STATUS_LOCKED: return ".LOCKED";
    case DB_STATUS_MARKDEL: return ".MARKDEL";
    case DB_STATUS_DELETED: return ".DELETED";
    case 0: return ".NULL";
    default: return ".BAD";
    }
}

uint32_t MakeKey(uint32_t prefix, uint32_t serial) {
    if (serial >= (1u << 24)) return LOC_NONE;
    return (prefix << 24) | serial;
}

uint32_t KeyUserCode(uint32_t key) {
    return (key >> 24) + 1;
}

uint64_t KeyRangeStart(uint32_t user) {
    return user == 0 ? 0 : static_cast<uint64_t>(user - 1) << 24;
}

uint64_t KeyRangeEnd(uint32_t user) {
    return static_cast<uint64_t>(user) << 24;
}

namespace {

uint32_t DataCheck(const uint8_t* data, uint32_t length) {
    uLong crc = crc32(0L, Z_NULL, 0);
    if (length > 0) crc = crc32(crc, data, length);
    return static_cast<uint32_t>(crc) & 0xFFFFFF;
}

}  // namespace

void SetDataCheck(stDataHeader& header, const uint8_t* data, uint32_t length) {
    uint32_t check = DataCheck(data, length);
    header.cSpare1[0] = kDataCheckMark[0];
    header.cSpare1[1] = kDataCheckMark[1];
    header.cSpare2[0] = static_cast<uint8_t>(check);
    header.cSpare2[1] = static_cast<uint8_t>(check >> 8);
    header.cSpare3 = static_cast<uint8_t>(check >> 16);
}

int TestDataCheck(const stDataHeader& header, const uint8_t* data, uint32_t length) {
    if (header.cSpare1[0] != kDataCheckMark[0] || header.cSpare1[1] != kDataCheckMark[1]) return -1;
    uint32_t stored = header.cSpare2[0] | (header.cSpare2[1] << 8) |
                      (static_cast<uint32_t>(header.cSpare3) << 16);
    return stored == DataCheck(data, length) ? 1 : 0;
}
