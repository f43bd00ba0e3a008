// Damaged records (cut short, a count or length past the end) are refused without reading
// outside the record, and the object being read stays as it was.

#include <gtest/gtest.h>

#include <random>

#include "ByteBuilder.h"
#include "RecordBytes.h"
#include "RecordTestSupport.h"
#include "records/Category.h"
#include "records/MailList.h"
#include "records/PackageRecord.h"
#include "records/PaymentRecord.h"
#include "records/Person.h"
#include "records/PriceListItem.h"
#include "records/PurchaseRecord.h"
#include "records/ScheduleRecord.h"

namespace {

using namespace records_test;

class DamagedRecordTest : public RecordTest {};

// Reads `bytes` into a record that already holds `before`; the read must fail and leave it so.
template <class R>
void ExpectRefused(const Bytes& bytes, const Bytes& before, const std::string& what)
{
    FakeRecordStore store;
    R record;
    store.Load(before);
    ASSERT_NE(record.ReadRecord(store), 0u) << what;
    R snapshot;
    snapshot.CopyFrom(record);
    store.Load(bytes);
    EXPECT_EQ(record.ReadRecord(store), 0u) << what;
    EXPECT_TRUE(record.IsEqual(snapshot)) << what;
}

template <class R>
void ExpectEveryTruncationRefused(const Bytes& full)
{
    for (size_t n = 0; n < full.size(); ++n)
        ExpectRefused<R>(Bytes(full.begin(), full.begin() + n), full,
                         "cut to " + std::to_string(n) + " of " + std::to_string(full.size()));
}

TEST_F(DamagedRecordTest, EveryTruncationIsRefused)
{
    ExpectEveryTruncationRefused<CCategory>(CategoryBytes());
    ExpectEveryTruncationRefused<CMailList>(
        ByteBuilder().U32(2).U8(1).Str("Arial").I32(100).F32(1.0f).Fill(6, 1).F32(0.1f).U8(2).U8(0)
            .U8(6).F32(3.0f).U8(2).F32(0.5f).U8(1).Strs({"a"}).bytes);
    ExpectEveryTruncationRefused<CPerson>(PersonBytes(4, true, 3).bytes);
    ExpectEveryTruncationRefused<CPriceListItem>(PriceListBytes(3, true).bytes);
    ExpectEveryTruncationRefused<CPackageRecord>(
        ByteBuilder().I32(2).U8(0).U32(901).Str("S").U32(41).F64(9.5).U32s({801}).bytes);
    ExpectEveryTruncationRefused<CPurchaseRecord>(PurchaseBytes(7, true, 3).bytes);
    ExpectEveryTruncationRefused<CPaymentRecord>(PaymentBytes(3, true).bytes);
    ExpectEveryTruncationRefused<CScheduleRecord>(ScheduleBytes(5, true).bytes);
}

// Replaces the 32-bit count that starts the one place where `pattern` occurs.
Bytes WithCount(Bytes bytes, const Bytes& pattern, uint32_t count)
{
    auto it = std::search(bytes.begin(), bytes.end(), pattern.begin(), pattern.end());
    EXPECT_NE(it, bytes.end());
    EXPECT_EQ(std::search(it + 1, bytes.end(), pattern.begin(), pattern.end()), bytes.end());
    for (int i = 0; i < 4; ++i)
        it[i] = static_cast<uint8_t>(count >> (8 * i));
    return bytes;
}

TEST_F(DamagedRecordTest, CountsPastTheEndAreRefused)
{
    const Bytes person = PersonBytes(4, true, 3).bytes;
    const Bytes purchase = PurchaseBytes(7, true, 3).bytes;
    const Bytes schedule = ScheduleBytes(5, true).bytes;
    for (uint32_t count : {3u, 0x10000u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        SCOPED_TRACE(count);
        ExpectRefused<CPerson>(WithCount(person, {2, 0, 0, 0, 3, 'V'}, count), person, "interviews");
        ExpectRefused<CPerson>(WithCount(person, {2, 0, 0, 0, 9, 0, 0, 0, 'n'}, count), person, "notes");
        ExpectRefused<CPerson>(WithCount(person, {2, 0, 0, 0, 5, 0, 0, 0, 9}, count), person,
                               "numbers");
        ExpectRefused<CPurchaseRecord>(WithCount(purchase, {1, 0, 0, 0, 2, 0x21, 3}, count),
                                       purchase, "items");
        ExpectRefused<CPurchaseRecord>(WithCount(purchase, {2, 0, 0, 0, 2, 'p'}, count), purchase,
                                       "tokens");
        ExpectRefused<CPurchaseRecord>(WithCount(purchase, {2, 0, 0, 0, 3, 'R'}, count), purchase,
                                       "payments");
        ExpectRefused<CScheduleRecord>(WithCount(schedule, {2, 0, 0, 0, 1, 0, 0, 0, 0}, count),
                                       schedule, "changes");
    }
}

TEST_F(DamagedRecordTest, StringLengthPastTheEndIsRefused)
{
    const Bytes payment = PaymentBytes(3, true).bytes;
    for (uint32_t length : {200u, 0x10000u, 0xFFFFFFF0u})
        ExpectRefused<CPaymentRecord>(WithCount(payment, {8, 0, 0, 0, 'W', 'a', 'l'}, length),
                                      payment, "name length " + std::to_string(length));
}

// Random damage anywhere in a record: a read either fails or gives a record that writes again.
template <class R>
void ScrambleAndRead(const Bytes& full, std::mt19937& random)
{
    std::uniform_int_distribution<size_t> where(0, full.size() - 1);
    std::uniform_int_distribution<int> value(0, 255);
    for (int round = 0; round < 300; ++round) {
        Bytes bytes = full;
        for (int flips = 1 + round % 4; flips > 0; --flips)
            bytes[where(random)] = static_cast<uint8_t>(value(random));
        if (round % 3 == 0)
            bytes.resize(where(random));
        FakeRecordStore store;
        store.Load(bytes);
        R record;
        if (record.ReadRecord(store) != 0) {
            std::string error;
            record.WriteRecord(store, &error);
        }
    }
}

TEST_F(DamagedRecordTest, RandomDamageNeverReadsOutsideTheRecord)
{
    std::mt19937 random(20261210);
    ScrambleAndRead<CCategory>(CategoryBytes(), random);
    ScrambleAndRead<CPerson>(PersonBytes(2, false, 1).bytes, random);
    ScrambleAndRead<CPerson>(PersonBytes(4, true, 3).bytes, random);
    ScrambleAndRead<CPriceListItem>(PriceListBytes(1, false).bytes, random);
    ScrambleAndRead<CPurchaseRecord>(PurchaseBytes(7, true, 3).bytes, random);
    ScrambleAndRead<CPurchaseRecord>(PurchaseBytes(2, false, 0).bytes, random);
    ScrambleAndRead<CPaymentRecord>(PaymentBytes(0, false).bytes, random);
    ScrambleAndRead<CScheduleRecord>(ScheduleBytes(1, false).bytes, random);
    ScrambleAndRead<CScheduleRecord>(ScheduleBytes(5, true).bytes, random);
}

TEST_F(DamagedRecordTest, EmptyRecordIsRefused)
{
    FakeRecordStore store;
    store.Load({});
    CPerson p;
    EXPECT_EQ(p.ReadRecord(store), 0u);
    CScheduleRecord s;
    EXPECT_EQ(s.ReadRecord(store), 0u);
}

}  // namespace
