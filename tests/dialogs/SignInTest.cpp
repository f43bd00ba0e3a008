// The sign-in dialog on a real file: its three lists and balance, marking lessons used,
// splitting and recombining them, the payment edits on copies, and the status dialog.

#include "tests/dialogs/CheckInFixture.h"

#include "dialogs/DialogSetStatus.h"
#include "dialogs/DialogSignIn.h"

#include <algorithm>

namespace {

constexpr int kActivities = 1181;
constexpr int kPayments = 1185;
constexpr int kPayAsYouGo = 1186;
constexpr int kBalance = 1391;
constexpr int kEditSchedule = 1117;
constexpr int kMarkUsed = 1189;
constexpr int kSplit = 1191;
constexpr int kUnsplit = 1350;
constexpr int kMarkPaid = 1341;
constexpr int kShowPicture = 1354;

CDialogSignIn& SignIn(ui::Dialog& d) { return static_cast<CDialogSignIn&>(d); }

class SignInTest : public CheckInTest {
protected:
    void RunSignIn(const std::function<void(ui::Dialog&)>& script)
    {
        Script(script);
        db_->RunSignIn(student_);
    }
    // The stored purchase equals the one read back from the file.
    void ExpectFileEqualsMemory(uint32_t code)
    {
        CPurchaseRecord before;
        before.CopyFrom(Purchase(code));
        Reopen();
        EXPECT_TRUE(Purchase(code).IsEqual(before));
        student_ = static_cast<CPerson*>(db_->GetItem(TABLE_PERSON, student_->m_nCode));
    }
};

TEST_F(SignInTest, AStudentWithoutPurchasesHasEmptyListsAndNoBalance)
{
    RunSignIn([&](ui::Dialog& d) {
        EXPECT_EQ(d.GetTemplateId(), 146);
        EXPECT_EQ(d.GetWindowText(), "Sign-in for Zelda Quill");
        for (int id : {kActivities, kPayments, kPayAsYouGo}) EXPECT_TRUE(Lines(d, id).empty());
        EXPECT_EQ(d.GetDlgItemText(kBalance), "Balance due: 0.00");
        EXPECT_FALSE(d.GetDlgItem(kShowPicture)->IsWindowEnabled());
        ui::test::Click(d, 1000);
    });
}

TEST_F(SignInTest, RowsFoldUnscheduledLessonsAndOrderPayments)
{
    CPurchaseRecord* lessons = AddLessons("NNNNNN", {}, 300.0, {{'S', 100.0, Today(9) + 20}, {'U', 100.0, 0.0},
                                                                {'R', 100.0, DaysAgo(3)}});
    lessons->m_Items[0]->m_Tokens[2]->m_nSplitCount = 1;  // a split lesson has a row of its own
    db_->SaveModifiedItem(TABLE_PURCHASE, lessons->m_nCode, lessons);
    auto due = std::make_unique<CPaymentRecord>();
    due->m_cType = 'R';
    due->m_nPerson = student_->m_nCode;
    due->m_sText = "Workshop";
    due->m_dAmount = 35.0;
    due->m_cReceived = 'U';
    const uint32_t dueCode = Add(TABLE_PAYMENT, std::move(due))->m_nCode;

    RunSignIn([&](ui::Dialog& d) {
        // Both undated: in the order of their schedule texts.
        std::vector<std::string> rows = Lines(d, kActivities);
        std::sort(rows.begin(), rows.end());
        EXPECT_EQ(rows, (std::vector<std::string>{"(5) Unscheduled item from purchase Private lessons",
                                                  "Unscheduled item from purchase Private lessons [Split 1 times]"}));
        const std::vector<std::string> payments = Lines(d, kPayments);
        ASSERT_EQ(payments.size(), 2u);
        EXPECT_EQ(SignIn(d).m_aPayments[0].date, 0.0);  // the unscheduled one first
        EXPECT_EQ(SignIn(d).m_aPayments[1].date, Today(9) + 20);
        // Price 300 less 100 received, and the workshop still due.
        EXPECT_EQ(d.GetDlgItemText(kBalance), "Balance due: 235.00");
        ASSERT_EQ(Lines(d, kPayAsYouGo), std::vector<std::string>{"Workshop @ 35.00"});
        EXPECT_EQ(d.List(kPayAsYouGo)->GetItemData(0), -1 - static_cast<intptr_t>(dueCode));
        ui::test::Click(d, 1000);
    });
}

TEST_F(SignInTest, LessonUsedSplitAndRecombined)
{
    db_->m_Parameters.SetFloat(param::kFlashSeconds, 0.0f);
    const uint32_t code = AddLessons("NNN", {}, 150.0, {{'U', 150.0, 0.0}})->m_nCode;
    const uint32_t teacher = [&] {
        auto t = std::make_unique<CPerson>('E');
        t->m_sLastName = "Mendez";
        t->m_sFirstName = "Rosa";
        return Add(TABLE_PERSON, std::move(t))->m_nCode;
    }();
    student_->m_nTeacher = teacher;
    CPurchaseRecord original;
    original.CopyFrom(Purchase(code));

    RunSignIn([&](ui::Dialog& d) {
        ASSERT_EQ(Lines(d, kActivities).size(), 1u);
        EXPECT_EQ(Lines(d, kActivities)[0].rfind("(3) ", 0), 0u);
        // Split and Unsplit follow the selection: a lesson row enables them.
        EXPECT_FALSE(d.GetDlgItem(kSplit)->IsWindowEnabled());
        Pick(d, kActivities, "(3)");
        EXPECT_TRUE(d.GetDlgItem(kSplit)->IsWindowEnabled());

        ui::test::Click(d, kSplit);
        const CScheduleToken& split = *Purchase(code).m_Items[0]->m_Tokens[0];
        EXPECT_EQ(split.m_nSplitCount, 1u);
        EXPECT_EQ(Purchase(code).m_Items[0]->m_Tokens.size(), 4u);
        // The split lesson and its twin stand apart; the two unsplit ones still fold.
        const std::vector<std::string> rows = Lines(d, kActivities);
        ASSERT_EQ(rows.size(), 3u) << rows[0];

        Pick(d, kActivities, "Unscheduled item from purchase Private lessons [Split");
        ui::test::Click(d, kUnsplit);
        EXPECT_EQ(Purchase(code).m_Items[0]->m_Tokens.size(), 3u);
        EXPECT_EQ(Purchase(code).m_Items[0]->m_Tokens[0]->m_nSplitCount, 0u);

        Pick(d, kActivities, "(3)");
        ui::test::Click(d, kMarkUsed);
        const CScheduleToken& used = *Purchase(code).m_Items[0]->m_Tokens[0];
        EXPECT_EQ(used.m_cState, 'U');
        EXPECT_EQ(used.m_dDate, Today(9));
        EXPECT_EQ(used.m_nField8, teacher);  // the student's own teacher
        EXPECT_EQ(Lines(d, kActivities)[0].rfind("(2) ", 0), 0u);
        ui::test::Click(d, 1000);
    });
    // Split then unsplit gave the lesson back as it was: only the use changed the purchase.
    CPurchaseRecord expected;
    expected.CopyFrom(original);
    expected.m_Items[0]->m_Tokens[0]->CopyFrom(*Purchase(code).m_Items[0]->m_Tokens[0]);
    EXPECT_TRUE(Purchase(code).IsEqual(expected));
    ExpectFileEqualsMemory(code);
}

TEST_F(SignInTest, UnsplitRefusals)
{
    const uint32_t code = AddLessons("NN", {}, 100.0, {})->m_nCode;
    Answer({ui::IDOK});
    RunSignIn([&](ui::Dialog& d) {
        Pick(d, kActivities, "(2)");
        ui::test::Click(d, kUnsplit);
        ui::test::Click(d, 1000);
    });
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Not a split lesson"});
    EXPECT_EQ(Purchase(code).m_Items[0]->m_Tokens.size(), 2u);
}

TEST_F(SignInTest, MarkAsPaidThenCancelChangesNothing)
{
    const uint32_t code = AddLessons("N", {}, 80.0, {{'S', 80.0, Today(9) + 7}})->m_nCode;
    CPurchaseRecord before;
    before.CopyFrom(Purchase(code));
    RunSignIn([&](ui::Dialog& d) {
        Pick(d, kPayments, "");
        Script([](ui::Dialog& payment) { ui::test::Click(payment, ui::IDCANCEL); });
        ui::test::Click(d, kMarkPaid);
        EXPECT_TRUE(Purchase(code).IsEqual(before));
        EXPECT_EQ(d.GetDlgItemText(kBalance), "Balance due: 80.00");
        // OK in the payment dialog stores it received.
        Pick(d, kPayments, "");
        Script([](ui::Dialog& payment) { ui::test::Click(payment, 1000); });
        ui::test::Click(d, kMarkPaid);
        EXPECT_EQ(Purchase(code).m_Payments[0]->m_cKind, 'R');
        EXPECT_TRUE(Lines(d, kPayments).empty());
        EXPECT_EQ(d.GetDlgItemText(kBalance), "Balance due: 0.00");
        ui::test::Click(d, 1000);
    });
    ExpectFileEqualsMemory(code);
}

TEST_F(SignInTest, NoSelectionIsTold)
{
    Answer({ui::IDOK, ui::IDOK});
    RunSignIn([&](ui::Dialog& d) {
        ui::test::Click(d, kMarkUsed);
        ui::test::Click(d, kMarkPaid);
        ui::test::Click(d, 1000);
    });
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"No item selected", "No item selected"}));
}

TEST_F(SignInTest, LimitedItemUseIsLinkedToTheChosenActivity)
{
    CPriceListItem* salsa = AddClass("Salsa", NO_CODE, {Today(18)});
    const uint32_t code = AddLimited(*salsa, 'N', 3, 0, DaysAgo(2))->m_nCode;
    RunSignIn([&](ui::Dialog& d) {
        Pick(d, kActivities, "Limited quantity item");
        Script([](ui::Dialog& menu) {
            EXPECT_EQ(menu.GetWindowText(), "Select activity");
            ui::test::PressKey(menu, ui::VK_RETURN);
        });
        ui::test::Click(d, kMarkUsed);
        ui::test::Click(d, 1000);
    });
    const CPurchaseItem& item = *Purchase(code).m_Items[0];
    ASSERT_EQ(item.m_Tokens.size(), 2u);
    EXPECT_EQ(item.CountTokens('N'), 1u);  // an unused token stays for the uses left
    ASSERT_EQ(item.CountTokens('U'), 1u);
    const CScheduleToken& use = *item.m_Tokens[item.m_Tokens[0]->m_cState == 'U' ? 0 : 1];
    EXPECT_EQ(use.m_nActivity, salsa->m_nCode);
    EXPECT_EQ(use.m_dDate, Today(18));
    EXPECT_EQ(item.GetUnusedCount(), 2u);
}

// ---- The status dialog ----

class SetStatusTest : public CheckInTest {};

TEST_F(SetStatusTest, UnchangedOkCancelsAndUnscheduleStoresNoDate)
{
    CScheduleToken token;
    token.m_cKind = 'p';
    token.m_cState = 'S';
    token.m_dDate = Today(15);
    token.m_cStampUser = 7;
    token.m_dStampDate = DaysAgo(3);
    {
        CDialogSetStatus dialog(db_.get(), &token);
        Script([](ui::Dialog& d) {
            EXPECT_EQ(d.GetTemplateId(), 231);
            EXPECT_EQ(d.GetDlgItemText(1311), "Tuesday March 10, 2026, 03:00PM");
            ui::test::Click(d, 1000);
        });
        EXPECT_EQ(dialog.DoModal(), ui::IDCANCEL);
        EXPECT_EQ(token.m_cStampUser, 7);
        EXPECT_EQ(token.m_dStampDate, DaysAgo(3));
    }
    CDialogSetStatus dialog(db_.get(), &token);
    Script([](ui::Dialog& d) {
        ui::test::Click(d, 1121);
        ui::test::Click(d, 1000);
    });
    EXPECT_EQ(dialog.DoModal(), ui::IDOK);
    EXPECT_EQ(token.m_cState, 'N');
    EXPECT_EQ(token.m_dDate, 0.0);
    EXPECT_EQ(token.m_cStampUser, 1);
    EXPECT_EQ(token.m_dStampDate, Today(9));
}

TEST_F(SetStatusTest, ARefusedConflictStaysOpen)
{
    auto teacher = std::make_unique<CPerson>('E');
    teacher->m_sLastName = "Mendez";
    teacher->m_sFirstName = "Rosa";
    const uint32_t rosa = Add(TABLE_PERSON, std::move(teacher))->m_nCode;
    // Rosa teaches another student at 15:00.
    auto booked = NewPurchase("Private lessons");
    booked->m_nPerson = AddStudent("Lindqvist", "Eva")->m_nCode;
    auto item = std::make_unique<CPurchaseItem>();
    item->m_cKind = 'p';
    item->m_Tokens.push_back(Token('p', 'S', Today(15), NO_CODE));
    item->m_Tokens[0]->m_nField8 = rosa;
    booked->m_Items.push_back(std::move(item));
    Add(TABLE_PURCHASE, std::move(booked));

    CPurchaseRecord* mine = AddLessons("N");
    CScheduleToken token;
    token.CopyFrom(*mine->m_Items[0]->m_Tokens[0]);
    token.m_dDate = Today(15);
    token.m_nField8 = rosa;
    CDialogSetStatus dialog(db_.get(), &token);
    dialog.SetPurchase(mine, 0, 0);
    Answer({ui::IDNO, ui::IDYES});
    Script([&](ui::Dialog& d) {
        ui::test::Click(d, 1117);  // Schedule: the date stays 15:00
        ui::test::Click(d, 1000);
        EXPECT_FALSE(d.HasEnded());
        ui::test::Click(d, 1000);
        EXPECT_TRUE(d.HasEnded());
    });
    EXPECT_EQ(dialog.DoModal(), ui::IDOK);
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[0].rfind("Apparent conflict for ", 0), 0u) << Boxes()[0];
    EXPECT_EQ(token.m_cState, 'S');
    // Nothing was stored by the dialog: the caller stores the purchase.
    EXPECT_EQ(Purchase(mine->m_nCode).m_Items[0]->m_Tokens[0]->m_cState, 'N');
}

}  // namespace
