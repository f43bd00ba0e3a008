#pragma once
// Stored bytes of every record class, built by hand from the field tables. Each builder gives a
// record of the stored `version`; with `current` the same record as it is written back: the
// current version byte, and the fields that the stored version lacked at their defaults.

#include <algorithm>

#include <gtest/gtest.h>

#include "ByteBuilder.h"

namespace records_test {

using Bytes = std::vector<uint8_t>;

inline Bytes CategoryBytes()
{
    ByteBuilder b;
    b.I32(12).U32(0x1234).U8(9).Ch('A').Str("Rent");
    // An account's parameters: type 3, two 32-bit account codes, flags; zeros included.
    b.U8(3).U32(0x00ABCDEF).U32(0xFFFFFFFF).U8(1).U8(0).U8(1).U8(0).U8(1).Fill(50, 0);
    return b.bytes;
}

// An interview of `version`.
inline ByteBuilder InterviewBytes(int version, bool current)
{
    int v = current ? 4 : version;  // 4: every field present
    ByteBuilder b;
    b.U8(current ? 3 : version).Ch('V').F64(45000.5).U32(11).U32(12).U32(13);
    if (v >= 1)
        b.U32(version >= 1 ? 14 : 0xFFFFFFFF);
    if (v >= 2)
        b.I32(version >= 2 ? 15 : 0);
    if (v >= 3)
        b.U32(version >= 3 ? 16 : 0xFFFFFFFF).U32(version >= 3 ? 17 : 0xFFFFFFFF);
    b.I32(18).I32(19).I32(20).F64(21.5).I32(22).F64(23.5).U32(24).I32(25).U8(26).F64(27.5);
    b.U32(28).I32(29).Strs({"called back", ""});
    b.F64(45001.25).U8(5).F64(45002.75).U8(6);
    return b;
}

inline ByteBuilder PersonBytes(int version, bool current, int interviewVersion)
{
    int v = current ? 4 : version;
    ByteBuilder b;
    b.I32(77).U8(current ? 4 : version).U32(501).Ch('C').Ch('M').Ch('G');
    for (const char* s : {"Smith", "Ann", "123-45", "M77", "1 Main St", "Apt 2", "Springfield", "IL",
                          "62701", "Sangamon", "USA", "555-1000", "555-2000", "555-3000",
                          "555-4000", "ann@example.com"})
        b.Str(s);
    if (v >= 1)
        b.Str(version >= 1 ? "pic.jpg" : "");
    b.F64(30000.0);
    if (v >= 4)
        b.F64(version >= 4 ? 40000.0 : 0.0);
    b.U32(601).U32(602).U32(603);
    if (v >= 2)
        b.U32(version >= 2 ? 604 : 0xFFFFFFFF);
    b.U32(605).U32(606);
    if (v >= 3)
        b.U32(version >= 3 ? 607 : 0xFFFFFFFF).Ch(version >= 3 ? '1' : '0').I32(version >= 3 ? 1 : 0);
    b.Strs({"note one", "note two"}).U32s({5, 9});
    b.U32(2).Append(InterviewBytes(interviewVersion, current)).Append(InterviewBytes(3, current));
    b.F64(44000.5).U8(2).F64(44001.5).U8(3);
    return b;
}

inline ByteBuilder PriceListBytes(int version, bool current)
{
    int v = current ? 3 : version;
    ByteBuilder b;
    b.I32(4).U8(current ? 3 : version).U32(801).Ch('p').Str("Waltz 10").U32(21).F64(450.0);
    b.I32(10).I32(45).U32(602);
    if (v >= 2)
        b.U32(version >= 2 ? 31 : 0xFFFFFFFF);
    b.U8(1);
    if (v >= 3)
        b.U8(version >= 3 ? 1 : 0);
    if (v >= 1)
        version >= 1 ? b.F64s({45000.75, 45007.75}) : b.F64s({});
    return b;
}

inline ByteBuilder TokenBytes(int version, bool current, char state, double date)
{
    int v = current ? 2 : version;
    ByteBuilder b;
    b.U8(current ? 2 : version).Ch('p').Ch(state).F64(date).I32(50);
    if (v >= 1)
        b.U32(version >= 1 ? 2 : 0);
    if (v >= 2)
        b.U32(version >= 2 ? 801 : 0xFFFFFFFF);
    b.U32(602).U32(31).U8(4).F64(45010.5);
    return b;
}

inline ByteBuilder ItemBytes(int version, bool current, int tokenVersion)
{
    int v = current ? 2 : version;
    ByteBuilder b;
    b.U8(current ? 2 : version).U32(801).Str("Waltz");
    if (v >= 1)
        b.F64(version >= 1 ? 300.0 : 0.0);
    b.U32(21).Ch('p').I32(2).U32(602).I32(45);
    if (v >= 2)
        b.F64(version >= 2 ? 12.5 : 0.0);
    b.U32(2);
    b.Append(TokenBytes(tokenVersion, current, 'U', 45005.75));
    // An unused token stored with a date reads back with none.
    b.Append(TokenBytes(tokenVersion, current, 'N', current ? 0.0 : 45006.75));
    return b;
}

inline ByteBuilder PaymentEntryBytes(int version, bool current, char kind, double amount,
                                     uint32_t reference)
{
    int v = current ? 3 : version;
    ByteBuilder b;
    b.U8(current ? 3 : version).Ch(kind).Ch('C').Str("1001").U32(501);
    if (v >= 1)
        b.U32(version >= 1 ? 51 : 0xFFFFFFFF);
    if (v >= 3)
        b.U32(version >= 3 ? 52 : 0xFFFFFFFF);
    b.Str("deposit").F64(amount);
    if (v >= 2)
        b.U32(version >= 2 ? reference : 0xFFFFFFFF);
    b.F64(45003.5).U8(1).F64(45003.25).U8(2).F64(45003.75);
    return b;
}

inline ByteBuilder PurchaseBytes(int version, bool current, int subVersion)
{
    int v = current ? 7 : version;
    ByteBuilder b;
    b.I32(8).U8(current ? 7 : version).U32(1001);
    if (v >= 3)
        b.I32(version >= 3 ? -2 : -1);
    b.U32(501).U32(502).U32(503).F64(999.0);
    if (v >= 6)
        b.Ch(version >= 6 ? 'P' : 'T');
    b.Str("Ten lessons");
    if (v >= 1)
        b.U32(version >= 1 ? 61 : 0xFFFFFFFF);
    if (v >= 2)
        b.U32(version >= 2 ? 62 : 0xFFFFFFFF).U32(version >= 2 ? 63 : 0xFFFFFFFF);
    b.U32(64);
    if (v >= 7)
        b.U32(version >= 7 ? 65 : 0xFFFFFFFF);
    if (v >= 4)
        b.U32(version >= 4 ? 66 : 0xFFFFFFFF);
    b.F64(45000.5);
    int item = std::min(subVersion, 2), token = std::min(subVersion, 2), pay = std::min(subVersion, 3);
    b.U32(1).Append(ItemBytes(item, current, token));
    b.U32(2)
        .Append(PaymentEntryBytes(pay, current, 'R', 100.0, 7))
        .Append(PaymentEntryBytes(pay, current, 'd', 10.0, 0));
    b.F64(45001.0);
    if (v >= 5)
        b.F64(version >= 5 ? 45002.0 : 45001.0);
    b.F64(45004.5).U8(2).F64(45005.5).U8(3);
    return b;
}

inline ByteBuilder PaymentBytes(int version, bool current)
{
    int v = current ? 3 : version;
    ByteBuilder b;
    b.I32(3).U8(current ? 3 : version).U32(1101).Ch('R').Str("Walk-in").U32(501).F64(75.25);
    b.Ch('S').Ch('C').Str("2002").Str("Lesson fee");
    if (v >= 1)
        b.U32(version >= 1 ? 71 : 0xFFFFFFFF);
    if (v >= 2)
        b.U32(version >= 2 ? 72 : 0xFFFFFFFF);
    b.U32(73).U32(74);
    if (v >= 3)
        b.U32(version >= 3 ? 75 : 0xFFFFFFFF);
    b.F64(45020.5).U8(1).F64(45021.5).U8(2).F64(45022.5);
    return b;
}

inline ByteBuilder ScheduleBytes(int version, bool current)
{
    int v = current ? 5 : version;
    ByteBuilder b;
    b.I32(6).U8(current ? 5 : version).U32(1201).U32(602).U32(501).U32(31).Str("Group class");
    b.Ch('W').F64(45000.75).F64(45100.0);
    if (v >= 5)
        b.I32(version >= 5 ? 45 : 60);
    if (v >= 3) {
        b.Ch(version >= 1 ? 'S' : 'N').U8(version >= 3 ? 1 : 0).U32(version >= 2 ? 801 : 0xFFFFFFFF);
    } else if (v >= 1) {
        b.U32(0x12345600 | 'S');  // the kind in the low byte of a 32-bit value
        if (v == 2)
            b.U32(801);
    }
    if (v >= 4)
        version >= 4 ? b.Pairs({{1, 0.0}, {3, 45030.5}}) : b.Pairs({});
    b.U8(1).F64(45040.5).U8(2).F64(45041.5);
    return b;
}

// Reads `stored` into a fresh record, checks it consumed every byte, writes it back and gives
// the bytes written.
template <class R>
inline Bytes ReadAndWriteBack(R& record, const Bytes& stored)
{
    FakeRecordStore store;
    store.Load(stored);
    EXPECT_EQ(record.ReadRecord(store), stored.size());
    std::string error;
    uint32_t n = record.WriteRecord(store, &error);
    EXPECT_NE(n, 0u) << error;
    return store.Written(n);
}

}  // namespace records_test
