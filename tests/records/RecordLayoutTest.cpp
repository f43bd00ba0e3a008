// Golden layouts of every record class and version, built by hand from the field tables:
// reading gives the fields, writing gives the bytes, an older version comes back in the current
// layout with its defaults.

#include <gtest/gtest.h>

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

class RecordLayoutTest : public RecordTest {};

// ---- category ----

TEST_F(RecordLayoutTest, Category)
{
    CCategory c('B');
    Bytes stored = CategoryBytes();
    EXPECT_EQ(ReadAndWriteBack(c, stored), stored);
    EXPECT_EQ(c.m_nSequence, 12);
    EXPECT_EQ(c.m_nCode, 0x1234u);
    EXPECT_EQ(c.m_cField3, 9);
    EXPECT_EQ(c.m_cType, 'A');
    EXPECT_EQ(c.m_sName, "Rent");
    EXPECT_EQ(c.m_Params[0], 3);
    EXPECT_EQ(c.m_Params[1], 0xEF);
    EXPECT_EQ(c.m_Params[4], 0x00);
    EXPECT_EQ(c.m_Params[5], 0xFF);
    EXPECT_EQ(c.m_Params[13], 1);
    EXPECT_EQ(c.m_Params[63], 0);
}

TEST_F(RecordLayoutTest, NewCategoryDefaults)
{
    CCategory c('T');
    FakeRecordStore store;
    uint32_t n = c.WriteRecord(store);
    Bytes expected = ByteBuilder().I32(-1).I32(-1).U8(0).Ch('T').Str("").Fill(64, 0).bytes;
    EXPECT_EQ(store.Written(n), expected);
}

TEST_F(RecordLayoutTest, CategoryDumpLine)
{
    CCategory c('A');
    c.m_sName = "Tuition 10%";
    c.m_nCode = 4000000000u;
    c.m_Params[0] = 'x';
    EXPECT_EQ(c.GetDumpLine(), "Category:Tuition 10%, code:4000000000, type:A, param0:x \n");
}

// ---- mail list ----

TEST_F(RecordLayoutTest, MailList)
{
    ByteBuilder b;
    b.U32(2).U8(1).Str("Arial").I32(100).F32(1.25f);
    b.U8(1).U8(0).U8(1).U8(0).U8(7).U8(4);  // four style bytes, one more, top lines
    b.F32(0.3f).U8(3).U8(10).U8(5).F32(2.75f).U8(4).F32(0.6f).U8(0).Strs({"Studio", "Main St"});
    CMailList m(1);
    EXPECT_EQ(ReadAndWriteBack(m, b.bytes), b.bytes);
    EXPECT_EQ(m.m_nCode, 2u);
    EXPECT_EQ(m.m_sFontName, "Arial");
    EXPECT_EQ(m.m_nFontSize, 100);
    EXPECT_EQ(m.m_fHeightScale, 1.25f);
    EXPECT_EQ(m.m_Styles[4], 7);
    EXPECT_EQ(m.m_cTopLines, 4);
    EXPECT_EQ(m.m_fLeftPosition, 0.3f);
    EXPECT_EQ(m.m_cColumns, 3);
    EXPECT_EQ(m.m_cRows, 10);
    EXPECT_EQ(m.m_cLinesPerRow, 5);
    EXPECT_EQ(m.m_fColumnWidth, 2.75f);
    EXPECT_EQ(m.m_cBlankLines, 4);
    EXPECT_EQ(m.m_fEnvelopeIndent, 0.6f);
    EXPECT_EQ(m.m_cReturnAddress, 0);
    EXPECT_EQ(m.m_ReturnAddressLines, (std::vector<std::string>{"Studio", "Main St"}));
}

TEST_F(RecordLayoutTest, MailListDefaultsAndFloatsBitForBit)
{
    CMailList m(3);
    FakeRecordStore store;
    uint32_t n = m.WriteRecord(store);
    ByteBuilder b;
    b.U32(3).U8(0).Str("Courier New").I32(90).F32(1.0f).Fill(6, 0).F32(0.1f).U8(2).U8(0).U8(6);
    b.F32(3.0f).U8(2).F32(0.5f).U8(1).U32(0);
    EXPECT_EQ(store.Written(n), b.bytes);

    // A float that is not a round number (and a NaN payload) comes back with the same bits.
    Bytes odd = b.bytes;
    const uint8_t nan[4] = {0x01, 0x00, 0xC0, 0x7F};
    std::copy(nan, nan + 4, odd.begin() + 4 + 1 + 16 + 4);
    CMailList back;
    EXPECT_EQ(ReadAndWriteBack(back, odd), odd);
}

// ---- person and interviews ----

TEST_F(RecordLayoutTest, PersonEveryVersion)
{
    for (int version = 0; version <= 4; ++version) {
        SCOPED_TRACE(version);
        CPerson p;
        Bytes stored = PersonBytes(version, false, version < 4 ? version : 3).bytes;
        EXPECT_EQ(ReadAndWriteBack(p, stored),
                  PersonBytes(version, true, version < 4 ? version : 3).bytes);
        EXPECT_EQ(p.m_nVersion, 4);
        EXPECT_EQ(p.m_nSequence, 77);
        EXPECT_EQ(p.m_nCode, 501u);
        EXPECT_EQ(p.m_cType, 'C');
        EXPECT_EQ(p.m_cSex, 'M');
        EXPECT_EQ(p.m_cStatus, 'G');
        EXPECT_EQ(p.m_sLastName, "Smith");
        EXPECT_EQ(p.m_sFirstName, "Ann");
        EXPECT_EQ(p.m_sZip, "62701");
        EXPECT_EQ(p.m_sEmail, "ann@example.com");
        EXPECT_EQ(p.m_sText23, version >= 1 ? "pic.jpg" : "");
        EXPECT_EQ(p.m_dBirthday, 30000.0);
        EXPECT_EQ(p.m_dAnniversary, version >= 4 ? 40000.0 : 0.0);
        EXPECT_EQ(p.m_nReferredBy, 601u);
        EXPECT_EQ(p.m_nTeacher, 602u);
        EXPECT_EQ(p.m_nCode29, version >= 2 ? 604u : NO_CODE);
        EXPECT_EQ(p.m_nCode32, version >= 3 ? 607u : NO_CODE);
        EXPECT_EQ(p.m_cField33, version >= 3 ? '1' : '0');
        EXPECT_EQ(p.m_nField34, version >= 3 ? 1 : 0);
        EXPECT_EQ(p.m_Notes, (std::vector<std::string>{"note one", "note two"}));
        EXPECT_TRUE(p.HasNumber(9));
        EXPECT_FALSE(p.HasNumber(6));
        ASSERT_EQ(p.m_Interviews.size(), 2u);
        EXPECT_EQ(p.m_dStamp2Date, 44001.5);
        EXPECT_EQ(p.m_cStamp2User, 3);
    }
}

TEST_F(RecordLayoutTest, InterviewOfVersionTwoGetsDefaults)
{
    CPerson p;
    ReadAndWriteBack(p, PersonBytes(4, false, 2).bytes);
    ASSERT_EQ(p.m_Interviews.size(), 2u);
    const CInterview& v = *p.m_Interviews[0];
    EXPECT_EQ(v.m_nVersion, 3);
    EXPECT_EQ(v.m_cKind, 'V');
    EXPECT_STREQ(v.GetKindText(), "Visit");
    EXPECT_EQ(v.m_dDate, 45000.5);
    EXPECT_EQ(v.m_nProgram, 13u);
    EXPECT_EQ(v.m_nDueTo, 14u);
    EXPECT_EQ(v.m_nField8, 15);
    EXPECT_EQ(v.m_nField9, NO_CODE);
    EXPECT_EQ(v.m_nField10, NO_CODE);
    EXPECT_EQ(v.m_nField22, 29);
    EXPECT_EQ(v.m_Comments, (std::vector<std::string>{"called back", ""}));
    EXPECT_EQ(v.m_cStamp1User, 5);
    EXPECT_EQ(p.m_Interviews[1]->m_nField9, 16u);
}

TEST_F(RecordLayoutTest, NewPersonWithoutInterviews)
{
    CPerson p('E');
    FakeRecordStore store;
    uint32_t n = p.WriteRecord(store);
    ByteBuilder b;
    b.I32(0).U8(4).U32(0).Ch('E').Ch('F').Ch('A');
    for (int i = 0; i < 17; ++i)
        b.Str("");
    b.F64(0.0).F64(0.0);
    for (int i = 0; i < 7; ++i)
        b.U32(0xFFFFFFFF);
    b.Ch('2').I32(0).U32(0).U32(0).U32(0);
    b.F64(kNow).U8(kUser).F64(kNow).U8(kUser);
    EXPECT_EQ(store.Written(n), b.bytes);

    CPerson back;
    ReadAndWriteBack(back, b.bytes);
    EXPECT_TRUE(back.m_Interviews.empty());
    EXPECT_TRUE(back.IsEqual(p));
}

// ---- price list and package ----

TEST_F(RecordLayoutTest, PriceListEveryVersion)
{
    for (int version = 0; version <= 3; ++version) {
        SCOPED_TRACE(version);
        CPriceListItem p;
        EXPECT_EQ(ReadAndWriteBack(p, PriceListBytes(version, false).bytes),
                  PriceListBytes(version, true).bytes);
        EXPECT_EQ(p.m_nVersion, 3);
        EXPECT_EQ(p.m_nCode, 801u);
        EXPECT_TRUE(p.IsKindPS());
        EXPECT_EQ(p.m_sName, "Waltz 10");
        EXPECT_EQ(p.m_dPrice, 450.0);
        EXPECT_EQ(p.m_nNumber, 10);
        EXPECT_EQ(p.m_nDuration, 45);
        EXPECT_EQ(p.m_nTeacher, 602u);
        EXPECT_EQ(p.m_nBallroom, version >= 2 ? 31u : NO_CODE);
        EXPECT_EQ(p.m_cPackageOnly, 1);
        EXPECT_EQ(p.m_cSelfSignIn, version >= 3 ? 1 : 0);
        EXPECT_EQ(p.m_Dates.size(), version >= 1 ? 2u : 0u);
    }
}

TEST_F(RecordLayoutTest, Package)
{
    Bytes stored = ByteBuilder().I32(2).U8(0).U32(901).Str("Starter").U32(41).F64(99.5).U32s({801, 802}).bytes;
    CPackageRecord p;
    EXPECT_EQ(ReadAndWriteBack(p, stored), stored);
    EXPECT_EQ(p.m_nCode, 901u);
    EXPECT_EQ(p.m_sName, "Starter");
    EXPECT_EQ(p.m_nProgram, 41u);
    EXPECT_EQ(p.m_dPrice, 99.5);
    EXPECT_EQ(p.m_Items, (std::vector<uint32_t>{801, 802}));
}

// ---- purchase, items, tokens, scheduled payments ----

TEST_F(RecordLayoutTest, PurchaseEveryVersion)
{
    for (int version = 0; version <= 7; ++version) {
        for (int sub = 0; sub <= 3; ++sub) {
            SCOPED_TRACE(testing::Message() << "purchase " << version << ", entries " << sub);
            CPurchaseRecord p;
            EXPECT_EQ(ReadAndWriteBack(p, PurchaseBytes(version, false, sub).bytes),
                      PurchaseBytes(version, true, sub).bytes);
            EXPECT_EQ(p.m_nVersion, 7);
            EXPECT_EQ(p.m_nCode, 1001u);
            EXPECT_EQ(p.m_nStatus, version >= 3 ? -2 : -1);
            EXPECT_EQ(p.m_nPerson, 501u);
            EXPECT_EQ(p.m_nSecondPerson, 502u);
            EXPECT_EQ(p.GetPayer(), 503u);
            EXPECT_EQ(p.m_cPricing, version >= 6 ? 'P' : 'T');
            EXPECT_EQ(p.m_nProgram, version >= 1 ? 61u : NO_CODE);
            EXPECT_EQ(p.m_nField15, version >= 7 ? 65u : NO_CODE);
            EXPECT_EQ(p.m_nField16, version >= 4 ? 66u : NO_CODE);
            EXPECT_EQ(p.m_dDate, 45001.0);
            EXPECT_EQ(p.m_dStartDate, version >= 5 ? 45002.0 : 45001.0);
            ASSERT_EQ(p.m_Items.size(), 1u);
            const CPurchaseItem& item = *p.m_Items[0];
            EXPECT_EQ(item.m_dAmount, sub >= 1 ? 300.0 : 0.0);
            EXPECT_EQ(item.m_dField10, sub >= 2 ? 12.5 : 0.0);
            ASSERT_EQ(item.m_Tokens.size(), 2u);
            EXPECT_EQ(item.m_Tokens[0]->m_nSplitCount, sub >= 1 ? 2u : 0u);
            EXPECT_EQ(item.m_Tokens[0]->m_nActivity, sub >= 2 ? 801u : NO_CODE);
            EXPECT_EQ(item.m_Tokens[0]->m_dDate, 45005.75);
            EXPECT_EQ(item.m_Tokens[1]->m_dDate, 0.0);
            ASSERT_EQ(p.m_Payments.size(), 2u);
            const CSchedulePayment& pay = *p.m_Payments[0];
            EXPECT_EQ(pay.m_nVersion, 3);
            EXPECT_EQ(pay.m_nCategory, sub >= 1 ? 51u : NO_CODE);
            EXPECT_EQ(pay.m_nField7, sub >= 3 ? 52u : NO_CODE);
            EXPECT_EQ(pay.m_nReference, sub >= 2 ? 7u : NO_CODE);
            EXPECT_EQ(pay.m_sDescription, "deposit");
            EXPECT_EQ(pay.m_cStamp2User, 2);
        }
    }
}

// ---- payment ----

TEST_F(RecordLayoutTest, PaymentEveryVersion)
{
    for (int version = 0; version <= 3; ++version) {
        SCOPED_TRACE(version);
        CPaymentRecord p;
        EXPECT_EQ(ReadAndWriteBack(p, PaymentBytes(version, false).bytes), PaymentBytes(version, true).bytes);
        EXPECT_EQ(p.m_nCode, 1101u);
        EXPECT_EQ(p.m_cType, 'R');
        EXPECT_EQ(p.m_sName, "Walk-in");
        EXPECT_EQ(p.m_dAmount, 75.25);
        EXPECT_EQ(p.m_cReceived, 'S');
        EXPECT_EQ(p.m_cMethod, 'C');
        EXPECT_EQ(p.m_sMethodText, "2002");
        EXPECT_EQ(p.m_sText, "Lesson fee");
        EXPECT_EQ(p.m_nField12, version >= 1 ? 71u : NO_CODE);
        EXPECT_EQ(p.m_nReference, version >= 2 ? 72u : NO_CODE);
        EXPECT_EQ(p.m_nField16, version >= 3 ? 75u : NO_CODE);
        EXPECT_EQ(p.m_dDate, 45020.5);
        EXPECT_EQ(p.m_dStamp2Date, 45022.5);
    }
}

TEST_F(RecordLayoutTest, NewPaymentDefaults)
{
    CPaymentRecord p;
    FakeRecordStore store;
    uint32_t n = p.WriteRecord(store);
    ByteBuilder b;
    b.I32(0).U8(3).U32(0xFFFFFFFF).Ch('P').Str("").U32(0xFFFFFFFF).F64(0.0).Ch('R').Ch('A');
    b.Str("").Str("");
    for (int i = 0; i < 5; ++i)
        b.U32(0xFFFFFFFF);
    b.F64(kNow).U8(kUser).F64(kNow).U8(kUser).F64(kNow);
    EXPECT_EQ(store.Written(n), b.bytes);
}

// ---- schedule ----

TEST_F(RecordLayoutTest, ScheduleEveryVersion)
{
    for (int version = 0; version <= 5; ++version) {
        SCOPED_TRACE(version);
        CScheduleRecord s;
        EXPECT_EQ(ReadAndWriteBack(s, ScheduleBytes(version, false).bytes), ScheduleBytes(version, true).bytes);
        EXPECT_EQ(s.m_nVersion, 5);
        EXPECT_EQ(s.m_nCode, 1201u);
        EXPECT_EQ(s.m_nTeacher, 602u);
        EXPECT_EQ(s.m_nStudent, 501u);
        EXPECT_EQ(s.m_nRoom, 31u);
        EXPECT_EQ(s.m_sText, "Group class");
        EXPECT_EQ(s.m_cRepeat, 'W');
        EXPECT_EQ(s.m_dFirstDate, 45000.75);
        EXPECT_EQ(s.m_dLastDate, 45100.0);
        EXPECT_EQ(s.m_nDuration, version >= 5 ? 45 : 60);
        EXPECT_EQ(s.m_cKind, version >= 1 ? 'S' : 'N');
        EXPECT_EQ(s.m_cSelfCheckIn, version >= 3 ? 1 : 0);
        EXPECT_EQ(s.m_nPriceListCode, version >= 2 ? 801u : NO_CODE);
        EXPECT_EQ(s.m_Changes.size(), version >= 4 ? 2u : 0u);
        EXPECT_EQ(s.m_cStamp2User, 2);
    }
}

// ---- copies and comparisons ----

TEST_F(RecordLayoutTest, CopyFromMakesAnEqualIndependentRecord)
{
    CPurchaseRecord p;
    ReadAndWriteBack(p, PurchaseBytes(7, false, 3).bytes);
    CPurchaseRecord copy;
    copy.CopyFrom(p);
    EXPECT_TRUE(copy.IsEqual(p));
    ASSERT_EQ(copy.m_Items.size(), 1u);
    EXPECT_NE(copy.m_Items[0].get(), p.m_Items[0].get());
    EXPECT_NE(copy.m_Items[0]->m_Tokens[0].get(), p.m_Items[0]->m_Tokens[0].get());

    copy.m_Items[0]->m_Tokens[1]->m_cState = 'S';
    EXPECT_FALSE(copy.IsEqual(p));
    copy.CopyFrom(p);
    copy.m_Payments[1]->m_dAmount = 11.0;
    EXPECT_FALSE(copy.IsEqual(p));
    copy.CopyFrom(p);
    copy.m_dStamp2Date += 1.0;
    EXPECT_FALSE(copy.IsEqual(p));
    copy.CopyFrom(p);
    copy.m_Payments.pop_back();
    EXPECT_FALSE(copy.IsEqual(p));

    CPerson person;
    ReadAndWriteBack(person, PersonBytes(4, false, 3).bytes);
    CPerson personCopy;
    personCopy.CopyFrom(person);
    EXPECT_TRUE(personCopy.IsEqual(person));
    personCopy.m_Interviews[1]->m_Comments.push_back("x");
    EXPECT_FALSE(personCopy.IsEqual(person));
    personCopy.CopyFrom(person);
    personCopy.m_Numbers.push_back(1);
    EXPECT_FALSE(personCopy.IsEqual(person));
}

}  // namespace
