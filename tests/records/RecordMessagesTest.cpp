// What the user is told: a record that cannot be stored, and cells out of range of the 2-D
// arrays. Message boxes are scripted through the window layer's test hooks.

#include <gtest/gtest.h>

#include "ByteBuilder.h"
#include "RecordTestSupport.h"
#include "records/Category.h"
#include "common/Diagnostic.h"
#include "records/Person.h"
#include "records/PurchaseRecord.h"
#include "records/ScheduleRecord.h"
#include "records/TextArray2D.h"
#include "records/UIntArray2D.h"
#include "platform/host/Format.h"
#include "platform/ui/Application.h"
#include "platform/ui/TestHooks.h"


namespace {

class RecordMessagesTest : public RecordTest {
protected:
    void SetUp() override
    {
        RecordTest::SetUp();
        ui::test::EnsureApplication();
        hooks = &ui::test::ResetHooks();
        hooks->scriptMessageBoxes = true;
    }
    void TearDown() override
    {
        EXPECT_TRUE(hooks->failures.empty());
        ui::test::ResetHooks();
        RecordTest::TearDown();
    }
    // Expects exactly these message texts since the last call.
    void ExpectMessages(const std::vector<std::string>& texts)
    {
        EXPECT_EQ(hooks->messageBoxTexts, texts);
        hooks->messageBoxTexts.clear();
    }

    ui::test::Hooks* hooks = nullptr;
};

TEST_F(RecordMessagesTest, SaveHandsTheRecordToTheStore)
{
    FakeRecordStore store;
    store.result = 4096;
    CCategory c('P');
    c.m_nCode = 0x01000005;
    c.m_sName = "Bronze";
    EXPECT_EQ(c.SaveRecord(store), 4096u);
    ASSERT_EQ(store.writes.size(), 1u);
    const auto& w = store.writes[0];
    EXPECT_EQ(w.length, 4u + 4 + 1 + 1 + 11 + 64);
    EXPECT_EQ(w.table, 5u);
    EXPECT_EQ(w.key, 0x01000005u);
    EXPECT_EQ(w.subtable, 0u);
    EXPECT_EQ(w.subkey, 0u);

    store.result = RECORD_WRITE_FAILED;
    CScheduleRecord s;
    s.m_nCode = 9;
    EXPECT_EQ(s.SaveRecord(store), RECORD_WRITE_FAILED);
    EXPECT_EQ(store.writes.back().table, 12u);
    ExpectMessages({});
}

TEST_F(RecordMessagesTest, TooLongTextIsRefusedAndKept)
{
    FakeRecordStore store;
    CPerson p('C');
    p.m_sLastName = std::string(4096, 'L');
    hooks->messageBoxAnswers = {ui::IDOK};
    EXPECT_EQ(p.SaveRecord(store), RECORD_WRITE_FAILED);
    EXPECT_TRUE(store.writes.empty());
    EXPECT_EQ(p.m_sLastName.size(), 4096u);
    ASSERT_EQ(hooks->messageBoxTexts.size(), 1u);
    EXPECT_EQ(hooks->messageBoxTexts[0].rfind("String too big, length 4097", 0), 0u);
    hooks->messageBoxTexts.clear();

    // A text too long inside a sub-record is refused the same way.
    CPurchaseRecord purchase;
    auto item = std::make_unique<CPurchaseItem>();
    item->m_sName = std::string(5000, 'n');
    purchase.m_Items.push_back(std::move(item));
    hooks->messageBoxAnswers = {ui::IDOK};
    EXPECT_EQ(purchase.SaveRecord(store), RECORD_WRITE_FAILED);
    EXPECT_TRUE(store.writes.empty());
    ASSERT_EQ(hooks->messageBoxTexts.size(), 1u);
    EXPECT_EQ(hooks->messageBoxTexts[0].rfind("String too big, length 5001", 0), 0u);
}

TEST_F(RecordMessagesTest, RecordTooBigForABlockIsRefused)
{
    FakeRecordStore store;
    CPerson p('C');
    p.m_Notes.assign(17, std::string(4000, 'x'));
    hooks->messageBoxAnswers = {ui::IDOK};
    EXPECT_EQ(p.SaveRecord(store), RECORD_WRITE_FAILED);
    EXPECT_TRUE(store.writes.empty());
    EXPECT_EQ(p.m_Notes.size(), 17u);
    ASSERT_EQ(hooks->messageBoxTexts.size(), 1u);
    EXPECT_NE(hooks->messageBoxTexts[0].find("too big"), std::string::npos);
}

TEST_F(RecordMessagesTest, UIntArrayChecksRowAndColumn)
{
    CUIntArray2D a(3, 4);
    EXPECT_EQ(a.GetRows(), 3);
    EXPECT_EQ(a.GetColumns(), 4);
    EXPECT_EQ(a.GetAt(2, 3), 0u);  // made zeroed
    a.SetAt(1, 1, 11);
    a.SetAt(2, 3, 23);
    EXPECT_EQ(a.GetAt(1, 1), 11u);
    EXPECT_EQ(a.GetAt(2, 3), 23u);
    ExpectMessages({});

    struct Case {
        int row, column;
    };
    // (0, 5) lands on cell 5 = (1, 1) by its combined index alone; it is refused all the same.
    const Case outside[] = {{0, 5}, {2, 4}, {3, 0}, {-1, 1}, {1, -1}};
    for (const Case& c : outside) {
        hooks->messageBoxAnswers = {ui::IDOK, ui::IDOK};
        EXPECT_EQ(a.GetAt(c.row, c.column), 0u);
        a.SetAt(c.row, c.column, 99);
        ExpectMessages({Format("CUIntArray2D::GetAt(%i, %i) out of bounds", c.row, c.column),
                        Format("CUIntArray2D::SetAt(%i, %i) out of bounds", c.row, c.column)});
    }
    EXPECT_EQ(a.GetAt(1, 1), 11u);
    EXPECT_EQ(a.GetAt(2, 3), 23u);
}

TEST_F(RecordMessagesTest, UIntArrayIsInTheMemoryTrace)
{
    const void* buffer = nullptr;
    {
        CUIntArray2D a(2, 2);
        auto traced = GetTracedPointers();
        ASSERT_FALSE(traced.empty());
        buffer = traced.back();
    }
    auto after = GetTracedPointers();
    EXPECT_EQ(std::find(after.begin(), after.end(), buffer), after.end());
}

TEST_F(RecordMessagesTest, TextArray)
{
    CTextArray2D t;
    EXPECT_EQ(t.GetRows(), 0);
    EXPECT_EQ(t.GetColumns(), 0);
    t.SetSize(2, 3);
    EXPECT_EQ(t.SetAt(1, 2, "last", 0x0000FF), 1);
    EXPECT_EQ(t.SetAt(0, 0, "first", 0x00FF00), 1);
    EXPECT_EQ(t.GetText(1, 2), "last");
    EXPECT_EQ(t.GetColour(1, 2), 0x0000FFu);
    EXPECT_EQ(t.GetColour(0, 1), 0xFFFFFFu);
    EXPECT_EQ(t.GetText(0, 1), "");

    // Growing keeps the texts of the cells that survive; every colour becomes white.
    t.SetSize(3, 3);
    EXPECT_EQ(t.GetText(0, 0), "first");
    EXPECT_EQ(t.GetText(1, 2), "last");
    EXPECT_EQ(t.GetColour(0, 0), 0xFFFFFFu);
    EXPECT_EQ(t.GetColour(2, 2), 0xFFFFFFu);
    ExpectMessages({});

    hooks->messageBoxAnswers = {ui::IDOK, ui::IDOK, ui::IDOK};
    EXPECT_EQ(t.SetAt(0, 3, "x", 0), 0);
    EXPECT_EQ(t.GetText(0, 3), "");
    EXPECT_EQ(t.GetColour(3, 0), 0xFFFFFFu);
    ExpectMessages({"CTextArray2D::SetAt(0, 3) out of bounds", "CTextArray2D::GetAt(0, 3) out of bounds",
                    "CTextArray2D::GetAt(3, 0) out of bounds"});
    EXPECT_EQ(t.GetText(1, 0), "");  // (0, 3) did not land on (1, 0)
}

}  // namespace
