// The payment, purchase, schedule-item and mail-list views on the studio fixture, saved, closed
// and read back, on the fixed clock.

#include "tests/studio/StudioFixture.h"

#include "database/DatabaseUi.h"
#include "dialogs/DialogMaillist.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/FrameWindow.h"
#include "platform/ui/Font.h"
#include "platform/ui/ListBox.h"
#include "views/MaillistView.h"
#include "views/PaymentView.h"
#include "views/PurchaseView.h"
#include "views/ScheduleView.h"
#include "widgets/CommandGuards.h"
#include "common/TextFormat.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>

#include <unistd.h>

#include "platform/ui/PageModel.h"

namespace {

std::vector<std::string> Texts(CScrollBase& view)
{
    std::vector<std::string> out;
    for (int i = view.m_bHeader ? -1 : 0; i < view.m_nMaxLines; ++i) {
        char mark = 0, status = 0;
        std::string text;
        view.GetLine(i, mark, status, text);
        out.push_back(text);
    }
    return out;
}

bool Enabled(CScrollBase& view, int id)
{
    ui::CmdUI cmd(id);
    view.Updaters().RunUpdateHandler(cmd);
    return cmd.IsEnabled();
}

// The purchase editor of a convert: OK on the copy it is shown.
class EditorOk : public IDatabaseUi {
public:
    int EditItemDialog(CDatabase&, uint8_t table, void*, int, const stDataToken*) override
    {
        tables.push_back(table);
        return 1;
    }
    std::vector<uint8_t> tables;
};

class ListViewsTest : public StudioTest {
protected:
    void SetUp() override
    {
        StudioTest::SetUp();
        DatabaseOpen = 1;
        UserAccessLevel = 9;
        ListViewOperations() = DefaultListViewOperations();
        BuildStudio();
        // A payment from before the program's earliest date.
        CPaymentRecord old;
        old.m_cType = 'P';
        old.m_cReceived = 'R';
        old.m_dAmount = 12.0;
        old.m_dDate = D(1995, 12, 31, 9, 0);
        old.m_sName = "Old Supply";
        old.m_sText = "Chairs";
        oldPayment_ = Save(TABLE_PAYMENT, old);
        // A second student's purchase with two payments not yet scheduled.
        ada_ = AddPerson('C', "Ada", "Zeller");
        CPurchaseRecord shoes;
        shoes.m_nPerson = ada_;
        shoes.m_sDescription = "Amber shoes";
        shoes.m_dDate = D(2026, 3, 1, 15, 0);
        shoes.m_Payments.push_back(Scheduled('U', 0.0, 40.0));
        shoes.m_Payments.push_back(Scheduled('U', 0.0, 60.0));
        shoes_ = Save(TABLE_PURCHASE, shoes);
        Reopen();
        DatabaseOpen = 1;
        frame_ = std::make_unique<ui::FrameWindow>();
        ASSERT_TRUE(frame_->CreateFrame("views", {0, 0, 640, 480}));
    }
    void TearDown() override
    {
        frame_.reset();
        ListViewOperations() = DefaultListViewOperations();
        DatabaseOpen = 0;
        UserAccessLevel = 0;
        StudioTest::TearDown();
    }
    void ReopenInto(CScrollBase& view)
    {
        view.ClearLines();
        Reopen();
        view.SetLineViewDatabase(db_.get());
    }
    // The line of the view whose text starts with `start`, or -1.
    static int FindLine(CScrollBase& view, const std::string& part)
    {
        const std::vector<std::string> texts = Texts(view);
        for (size_t i = 0; i < texts.size(); ++i)
            if (texts[i].find(part) != std::string::npos) return static_cast<int>(i) - (view.m_bHeader ? 1 : 0);
        return -1;
    }

    uint32_t oldPayment_ = NO_CODE, ada_ = NO_CODE, shoes_ = NO_CODE;
    std::unique_ptr<ui::FrameWindow> frame_;
};

TEST_F(ListViewsTest, PaymentLinesAllAndDue)
{
    CPaymentView view;
    view.SetLineViewDatabase(db_.get());
    const std::vector<std::string> all = {
        "Date\tTransaction type\tName\tAmount\tStatus\tFor",
        "Unscheduled\tPurchase list payment from\tStudent, Carl\t355.00\tDue\t",
        "Unscheduled\tPurchase list payment from\tZeller, Ada\t40.00\tDue\t",
        "Unscheduled\tPurchase list payment from\tZeller, Ada\t60.00\tDue\t",
        "12/31/1995\tPayment by studio to\tOld Supply\t12.00\tPaid\t",
        "03/02/2026\tDiscount to\tStudent, Carl\t48.00\tApplied\t0",
        "03/03/2026\tPayment by studio to\tFloor Wax Co\t80.00\tPaid\t",
        "03/04/2026\tPurchase list payment from\tStudent, Carl\t25.00\tReceived\t",
        "03/04/2026\tNon-purchase list payment from\tCarl Student\t30.50\tPaid\t",
        "03/06/2026\tPurchase list payment from\tStudent, Carl\t100.00\tDue\t",
    };
    EXPECT_EQ(Texts(view), all);
    EXPECT_FALSE(Enabled(view, CPaymentView::kCmdAll));
    // "All" while all are shown does not rebuild: a payment gone from memory stays listed.
    // "All" while all are shown does not rebuild: a payment added in memory is not listed yet.
    auto* added = new CPaymentRecord;
    added->m_nCode = 999;
    added->m_dDate = D(2026, 3, 9, 9, 0);
    db_->AddIndex(TABLE_PAYMENT, added, 999, static_cast<uint32_t>(db_->GetItemList(TABLE_PAYMENT)->size()), 0,
                  0xFFFFFFFE, -1);
    view.OnCommand(CPaymentView::kCmdAll, 0);
    EXPECT_EQ(view.m_aLines.size(), all.size() - 1);
    db_->DeleteItemPointer(TABLE_PAYMENT, added);
    db_->GetItemList(TABLE_PAYMENT)->pop_back();

    view.OnCommand(CPaymentView::kCmdDue, 0);
    EXPECT_EQ(Texts(view), (std::vector<std::string>{
                               "Date\tTransaction type\tName\tAmount\tStatus\tFor",
                               "Unscheduled\tPurchase list payment from\tStudent, Carl\t355.00\tDue\t",
                               "Unscheduled\tPurchase list payment from\tZeller, Ada\t40.00\tDue\t",
                               "Unscheduled\tPurchase list payment from\tZeller, Ada\t60.00\tDue\t",
                               "03/06/2026\tPurchase list payment from\tStudent, Carl\t100.00\tDue\t",
                           }));
    EXPECT_TRUE(Enabled(view, CPaymentView::kCmdAll));
    EXPECT_FALSE(Enabled(view, CPaymentView::kCmdDue));
}

TEST_F(ListViewsTest, RefundNeedsAReceivedPaymentAndLevelEight)
{
    ListViewOperations().addItem = [](CDatabase&, uint8_t, const stDataToken&) { return 2; };
    CPaymentView view;
    view.SetLineViewDatabase(db_.get());
    view.m_nHiLiteLine = FindLine(view, "30.50");
    ASSERT_GE(view.m_nHiLiteLine, 0);
    UserAccessLevel = 7;
    EXPECT_FALSE(Enabled(view, CPaymentView::kCmdRefund));
    UserAccessLevel = 8;
    EXPECT_TRUE(Enabled(view, CPaymentView::kCmdRefund));
    // A payment by the studio is no received payment; nor is a scheduled payment.
    view.m_nHiLiteLine = FindLine(view, "Floor Wax Co");
    EXPECT_FALSE(Enabled(view, CPaymentView::kCmdRefund));
    view.m_nHiLiteLine = FindLine(view, "355.00");
    EXPECT_FALSE(Enabled(view, CPaymentView::kCmdRefund));
    // Without the payment editor, no refund.
    ListViewOperations().addItem = nullptr;
    view.m_nHiLiteLine = FindLine(view, "30.50");
    EXPECT_FALSE(Enabled(view, CPaymentView::kCmdRefund));
}

TEST_F(ListViewsTest, StubSeamsGetTheirRequests)
{
    std::vector<std::string> requests;
    ListViewOperations().addItem = [&](CDatabase&, uint8_t table, const stDataToken& request) {
        const auto* payment = static_cast<const CPaymentRecord*>(request.record);
        requests.push_back(Format("%u %c %d %d", table, request.type, request.index1,
                                  payment ? static_cast<int32_t>(payment->m_nCode) : -1));
        return 2;
    };
    CPaymentView payments;
    payments.SetLineViewDatabase(db_.get());
    for (int id : {int(CPaymentView::kCmdToStudio), int(CPaymentView::kCmdByStudio), int(CPaymentView::kCmdCredit)})
        payments.OnCommand(id, 0);
    payments.m_nHiLiteLine = FindLine(payments, "30.50");
    payments.OnCommand(CPaymentView::kCmdRefund, 0);
    CScheduleView schedule;
    schedule.SetLineViewDatabase(db_.get());
    schedule.OnCommand(CScheduleView::kCmdAddItem, 0);
    schedule.OnCommand(CScheduleView::kCmdAddScheduledPurchase, 0);
    EXPECT_EQ(requests, (std::vector<std::string>{
                            "11 R -1 -1", "11 P -1 -1", "11 c -1 -1",
                            Format("11 q %d %d", static_cast<int32_t>(codes_.carl), static_cast<int32_t>(codes_.received)),
                            "12 N -1 -1", "12 S -1 -1"}));
}

TEST_F(ListViewsTest, ScheduledPaymentDeletes)
{
    CPaymentView view;
    view.SetLineViewDatabase(db_.get());
    // The only payment of Carl's purchase not yet scheduled stays.
    view.m_nHiLiteLine = FindLine(view, "355.00");
    dqtest::QueueAnswers({ui::IDOK});
    view.OnCommand(CPaymentView::kCmdDelete, 0);
    EXPECT_EQ(ui::test::GetHooks().messageBoxTexts.back(), "Can not delete all payments for a purchase.");
    EXPECT_EQ(Purchase(codes_.purchase)->m_Payments.size(), 4u);
    // One of Ada's two goes, and is gone after reopening.
    view.m_nHiLiteLine = FindLine(view, "40.00");
    view.OnCommand(CPaymentView::kCmdDelete, 0);
    EXPECT_LT(FindLine(view, "40.00"), 0);
    ReopenInto(view);
    ASSERT_EQ(Purchase(shoes_)->m_Payments.size(), 1u);
    EXPECT_EQ(Purchase(shoes_)->m_Payments[0]->m_dAmount, 60.0);
    EXPECT_LT(FindLine(view, "40.00"), 0);
}

TEST_F(ListViewsTest, PurchaseLinesBySort)
{
    CPurchaseView view;
    view.SetLineViewDatabase(db_.get());
    const std::string header = "Date\tStatus\tName\tAmount\tFor";
    const std::string carl = "03/02/2026\tActive\tStudent, Carl\t  432.00\tBronze package";
    const std::string ada = "03/01/2026\tCompleted\tZeller, Ada\t    0.00\tAmber shoes";
    EXPECT_EQ(view.m_cSortOrder, 'D');
    EXPECT_EQ(Texts(view), (std::vector<std::string>{header, ada, carl}));
    view.OnCommand(CPurchaseView::kCmdSortPerson, 0);
    EXPECT_EQ(Texts(view), (std::vector<std::string>{header, carl, ada}));
    view.OnCommand(CPurchaseView::kCmdSortItem, 0);
    EXPECT_EQ(Texts(view), (std::vector<std::string>{header, ada, carl}));
}

TEST_F(ListViewsTest, CancelUncancelAndConvertAfterReopening)
{
    EditorOk editor;
    db_->SetUi(&editor);
    ListViewOperations().editItem = [](CDatabase&, uint8_t, uint32_t, int) { return 2; };
    CPurchaseView view;
    view.SetLineViewDatabase(db_.get());
    auto states = [&] {
        std::string out;
        for (int id : {int(CPurchaseView::kCmdEdit), int(CPurchaseView::kCmdCancel), int(CPurchaseView::kCmdConvert),
                       int(CPurchaseView::kCmdUncancel)})
            out += Enabled(view, id) ? '1' : '0';
        return out;
    };
    auto highlight = [&](const std::string& part) { view.m_nHiLiteLine = FindLine(view, part); };
    highlight("Bronze package");
    EXPECT_EQ(states(), "1110");

    view.OnCommand(CPurchaseView::kCmdCancel, 0);
    ReopenInto(view);
    db_->SetUi(&editor);
    EXPECT_EQ(Purchase(codes_.purchase)->m_nStatus, CPurchaseRecord::STATUS_CANCELLED);
    EXPECT_EQ(Purchase(codes_.purchase)->m_Payments[2]->m_cKind, 'C');
    highlight("Bronze package");
    EXPECT_NE(FindLine(view, "Cancelled"), -1);
    EXPECT_EQ(states(), "0001");

    view.OnCommand(CPurchaseView::kCmdUncancel, 0);
    ReopenInto(view);
    db_->SetUi(&editor);
    EXPECT_EQ(Purchase(codes_.purchase)->m_nStatus, CPurchaseRecord::STATUS_ACTIVE);
    EXPECT_EQ(Purchase(codes_.purchase)->m_Payments[2]->m_cKind, 'U');

    highlight("Bronze package");
    view.OnCommand(CPurchaseView::kCmdConvert, 0);
    EXPECT_EQ(editor.tables, std::vector<uint8_t>{TABLE_PURCHASE});
    ReopenInto(view);
    db_->SetUi(nullptr);
    const std::vector<stIndex>& purchases = *db_->GetItemList(TABLE_PURCHASE);
    ASSERT_EQ(purchases.size(), 3u);
    const uint32_t converted = purchases.back().nCode;
    EXPECT_EQ(Purchase(codes_.purchase)->m_nStatus, static_cast<int32_t>(converted));
    EXPECT_EQ(Purchase(converted)->m_nStatus, CPurchaseRecord::STATUS_ACTIVE);
    EXPECT_EQ(Purchase(converted)->m_sDescription, "Bronze package");
    view.m_nHiLiteLine = 0;
    for (int i = 0; i < view.m_nMaxLines; ++i)
        if (view.m_aLines[static_cast<size_t>(i)].nCode == codes_.purchase) view.m_nHiLiteLine = i;
    EXPECT_EQ(view.GetHighlightedPurchase()->GetStatusText(), "Converted");
    EXPECT_EQ(states(), "0001");
}

TEST_F(ListViewsTest, ContractRefundGoesThroughTheScheduledPaymentDialog)
{
    uint32_t payer = 0;
    ListViewOperations().editScheduledPayment = [&](CDatabase&, CPurchaseRecord& purchase, CSchedulePayment& payment,
                                                    uint32_t who) {
        payer = who;
        EXPECT_EQ(payment.m_cKind, 'F');
        EXPECT_EQ(payment.m_cMethod, 'A');
        EXPECT_EQ(payment.m_sDescription, purchase.m_sDescription);
        payment.m_dAmount = 20.0;
        return 1;
    };
    CPurchaseView view;
    view.SetLineViewDatabase(db_.get());
    view.m_nHiLiteLine = FindLine(view, "Bronze package");
    view.OnCommand(CPurchaseView::kCmdRefund, 0);
    EXPECT_EQ(payer, codes_.carl);
    Reopen();
    ASSERT_EQ(Purchase(codes_.purchase)->m_Payments.size(), 5u);
    EXPECT_EQ(Purchase(codes_.purchase)->m_Payments.back()->m_cKind, 'F');
    EXPECT_EQ(Purchase(codes_.purchase)->m_Payments.back()->m_dAmount, 20.0);
}

TEST_F(ListViewsTest, ScheduleLinesByFilter)
{
    CScheduleView view;
    view.SetLineViewDatabase(db_.get());
    const std::vector<std::string> all = {
        "Type\tDate\tDescription",
        "Payment $40.00\tUnscheduled\tAda Zeller Amber shoes",
        "Payment $60.00\tUnscheduled\tAda Zeller Amber shoes",
        "Private lesson\tUnscheduled\tAnn Teach/Carl Student, Ten privates, 9 left (5 items unscheduled)",
        "Payment $355.00\tUnscheduled\tCarl Student Bronze package",
        "Payment by studio $12.00\tUnscheduled\tOld Supply Chairs",
        "Private lesson\t03/02/2026\tAnn Teach/Carl Student, Ten privates, 9 left",
        "Payment $10.00\t03/02/2026\tCarl Student Bronze package",
        "Weekly\t03/02/2026\tBob Lead, Tango practice",
        "Payment by studio $80.00\t03/03/2026\tFloor Wax Co Polish",
        "Private lesson\t03/03/2026\tAnn Teach/Carl Student, Ten privates, 9 left",
        "Group class\t03/03/2026\tGroup salsa",
        "Payment $25.00\t03/04/2026\tCarl Student Bronze package",
        "Payment to studio $30.50\t03/04/2026\tCarl Student Cash at desk",
        "Phone\t03/04/2026\tAnn Teach/Carl Student, Phone based on interview",
        "Deadline\t03/05/2026\tCarl Student, Lesson based on interview",
        "Private lesson\t03/05/2026\tBob Lead/Carl Student, Ten privates, 9 left",
        "Group class\t03/05/2026\tGroup salsa",
        "Mail out\t03/06/2026\tBob Lead/Carl Student, Mailout based on interview",
        "Payment $100.00\t03/06/2026\tCarl Student Bronze package",
        "No basic type\t03/06/2026\tPractice party",
        "One time\t03/07/2026\tStudio party",
        "Birthday\t03/12/2026\tCarl Student, Birthday",
    };
    EXPECT_EQ(Texts(view), all);
    // Each filter shows the entries of its kinds, in the order of all entries.
    struct Case {
        int command;
        std::string kinds;
        size_t count;
    };
    const Case cases[] = {
        {CScheduleView::kCmdPurchased, "T", 4}, {CScheduleView::kCmdPurchasePayments, "p", 6},
        {CScheduleView::kCmdOtherPayments, "P", 3}, {CScheduleView::kCmdBirthdays, "BA", 1},
        {CScheduleView::kCmdInterviews, "DMN", 3}, {CScheduleView::kCmdGroupLessons, "$", 3},
        {CScheduleView::kCmdMiscellaneous, "Ss", 2}, {CScheduleView::kCmdAllTypes, "", all.size() - 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        view.OnCommand(c.command, 0);
        std::vector<std::string> expected = {all[0]};
        for (size_t i = 0; i < view.m_aAllEntries.size(); ++i)
            if (c.kinds.empty() || c.kinds.find(view.m_aAllEntries[i].entry.type) != std::string::npos)
                expected.push_back(all[i + 1]);
        EXPECT_EQ(Texts(view), expected);
        EXPECT_EQ(expected.size() - 1, c.count);
    }
}

TEST_F(ListViewsTest, ScheduleDeletesByKind)
{
    CScheduleView view;
    view.SetLineViewDatabase(db_.get());
    // An entry of a kind without a delete: nothing happens, nothing is rebuilt.
    view.m_nHiLiteLine = FindLine(view, "Group salsa");
    const size_t before = view.m_aShown.size();
    view.DeleteHighlighted();
    EXPECT_EQ(view.m_aShown.size(), before);
    // The birthday is cleared, and stays cleared after reopening.
    view.OnCommand(CScheduleView::kCmdBirthdays, 0);
    ASSERT_EQ(view.m_nMaxLines, 1);
    view.m_nHiLiteLine = 0;
    view.OnCommand(CScheduleView::kCmdDelete, 0);
    EXPECT_EQ(view.m_nMaxLines, 0);
    ReopenInto(view);
    EXPECT_EQ(Person(codes_.carl)->m_dBirthday, 0.0);
    EXPECT_EQ(view.m_nFilter, 'B');
    EXPECT_EQ(view.m_nMaxLines, 0);
    // A lesson is cancelled.
    view.OnCommand(CScheduleView::kCmdPurchased, 0);
    view.m_nHiLiteLine = FindLine(view, "03/03/2026");
    view.OnCommand(CScheduleView::kCmdDelete, 0);
    Reopen();
    EXPECT_EQ(Purchase(codes_.purchase)->m_Items[0]->m_Tokens[1]->m_cState, 'c');
}

// Picks the person of a code from every selection list.
class PickPerson : public IDatabaseUi {
public:
    int32_t SelectOne(const std::string&, const std::vector<std::pair<uint32_t, std::string>>&) override
    {
        return static_cast<int32_t>(code);
    }
    uint32_t code = NO_CODE;
};

class MailListTest : public ListViewsTest {
protected:
    void SetUp() override
    {
        ListViewsTest::SetUp();
        CPerson amy('C');
        amy.m_sFirstName = "Amy";
        amy.m_sLastName = "Baker";
        amy.m_sAddress1 = "1 Elm St";
        amy.m_sAddress2 = "Apt 2";
        amy.m_sCity = "Springfield";
        amy.m_sState = "IL";
        amy.m_sZip = "62704";
        amy.m_sText16 = "Rear door";
        amy.m_sPhone1 = "555-1111";
        amy.m_sPhone2 = "555-2222";
        amy.m_sEmail = "amy@example.com";
        amy.m_Numbers = {codes_.program};
        amy_ = Save(TABLE_PERSON, amy);
        CPerson kim('C');
        kim.m_sFirstName = "Kim";
        kim.m_sLastName = "Lee";
        kim.m_Numbers = {codes_.program};
        Save(TABLE_PERSON, kim);
        CPerson young('C');
        young.m_sLastName = "Young";
        young.m_sAddress1 = "9 Oak Ave";
        young.m_sCity = "Dover";
        young.m_sState = "DE";
        young.m_sZip = "19901";
        young.m_Numbers = {codes_.program};
        young_ = Save(TABLE_PERSON, young);
        AddPerson('C', "Eve", "Frost");
        AddPerson('C', "Gus", "Hill");
        AddPerson('C', "Ina", "Gone", 'I');
        AddCategory('M', "Newsletter");
        Reopen();
    }
    void Show(CMaillistView& view, char kind = 'C')
    {
        ASSERT_TRUE(view.CreateView(frame_.get(), 59652));
        view.ShowMailList(db_.get(), kind);
        ASSERT_EQ(view.m_bClosed, 0);
    }
    // The lines with the mode's format changed first.
    std::vector<std::string> Lines(CMaillistView& view, int mode, const std::function<void(CMailList&)>& change)
    {
        view.SetMode(mode);
        change(*view.GetFormatOf(mode));
        view.SetMode(mode);
        return Texts(view);
    }
    uint32_t amy_ = NO_CODE, young_ = NO_CODE;
};

TEST_F(MailListTest, LabelsFillColumnsRowsAndPages)
{
    CMaillistView view;
    Show(view);
    // Name order; the inactive student is left out. Two rows a page: the fifth label starts
    // after the page break and the top margin; a block's lines beyond the row's are dropped.
    const std::string pageBreak = CenterString("PAGE BREAK", 80, '-');
    EXPECT_EQ(Lines(view, 2, [](CMailList& f) {
                  f.m_cColumns = 2;
                  f.m_cRows = 2;
                  f.m_cLinesPerRow = 2;
                  f.m_cTopLines = 1;
              }),
              (std::vector<std::string>{"", "Amy Baker\tEve Frost\t", "1 Elm St\t\t", "Gus Hill\tKim Lee\t", "\t\t", pageBreak,
                                        "", "Carl Student\tYoung\t", "\t9 Oak Ave\t", "Ada Zeller\t", "\t"}));
    // Printed, the page break stays the engine's own line.
    char mark = 'P', status = 0;
    std::string text;
    view.GetLine(5, mark, status, text);
    EXPECT_EQ(text, "^");

    // Three persons in two columns: a full row and a row with one label; an empty first name
    // leaves the last name alone.
    view.m_aCategoryFilter = {codes_.program};
    EXPECT_EQ(Lines(view, 2, [](CMailList& f) {
                  f.m_cRows = 0;
                  f.m_cTopLines = 0;
                  f.m_cLinesPerRow = 3;
              }),
              (std::vector<std::string>{"Amy Baker\tKim Lee\t", "1 Elm St\t\t", "Apt 2\t\t", "Young\t", "9 Oak Ave\t",
                                        "Dover, DE 19901\t"}));
}

TEST_F(MailListTest, PhoneListDropsLinesBeyondTheRow)
{
    CMaillistView view;
    Show(view);
    const std::vector<std::string> lines = Lines(view, 1, [](CMailList& f) {
        f.m_cColumns = 1;
        f.m_cLinesPerRow = 6;
        f.m_cTopLines = 0;
    });
    // Amy's block has eight lines: the telephone and e-mail lines beyond six are dropped, and the
    // next row starts with the next person's name.
    ASSERT_GE(lines.size(), 7u);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 7),
              (std::vector<std::string>{"Amy Baker\t", "1 Elm St\t", "Apt 2\t", "Springfield, IL 62704\t", "Rear door\t",
                                        "555-1111\t", "Eve Frost\t"}));
}

TEST_F(MailListTest, ZipOrderCategoryAndPersonChoice)
{
    CMaillistView view;
    Show(view);
    Lines(view, 1, [](CMailList& f) { f.m_cColumns = 1; });
    auto lineOf = [&](const std::string& name) { return FindLine(view, name); };
    EXPECT_LT(lineOf("Amy Baker"), lineOf("Young"));
    view.OnCommand(CMaillistView::kCmdSortZip, 0);
    EXPECT_EQ(view.m_nSortOrder, 1);
    EXPECT_GT(lineOf("Amy Baker"), lineOf("Young"));

    // Program category: only Amy (her further categories hold it).
    ui::test::GetHooks().dialogScripts.push_back([](ui::Dialog& d) {
        ui::test::ToggleItem(d, 1239, 0);
        ui::test::Click(d, ui::IDOK);
    });
    view.OnCommand(CMaillistView::kCmdCategory, 0);
    EXPECT_GE(lineOf("Amy Baker"), 0);
    EXPECT_GE(lineOf("Young"), 0);
    EXPECT_LT(lineOf("Eve Frost"), 0);

    PickPerson pick;
    pick.code = young_;
    db_->SetUi(&pick);
    view.OnCommand(CMaillistView::kCmdStudent, 0);
    db_->SetUi(nullptr);
    EXPECT_LT(lineOf("Amy Baker"), 0);
    EXPECT_GE(lineOf("Young"), 0);
}

TEST_F(MailListTest, EnvelopesWithReturnAddressAndPageBreaks)
{
    CMaillistView view;
    Show(view);
    view.m_nChosenPerson = young_;
    const std::vector<std::string> lines = Lines(view, 3, [](CMailList& f) {
        f.m_cTopLines = 1;
        f.m_cBlankLines = 1;
        f.m_cReturnAddress = 1;
        f.m_ReturnAddressLines = {"Studio", "2 Main St"};
    });
    EXPECT_EQ(lines, (std::vector<std::string>{"", "Studio", "2 Main St", "", "\tYoung", "\t9 Oak Ave", "\tDover, DE 19901",
                                               CenterString("PAGE BREAK", 80, '-')}));
}

TEST_F(MailListTest, FormatsAndSortOrderKeptAfterReopening)
{
    {
        CMaillistView view;
        Show(view);
        view.SetMode(2);
        view.GetFormatOf(2)->m_cRows = 7;
        view.OnCommand(CMaillistView::kCmdSortZip, 0);
        view.ClearLines();
    }
    Reopen();
    CMaillistView view;
    Show(view);
    EXPECT_EQ(view.m_nSortOrder, 1);
    view.SetMode(2);
    EXPECT_EQ(view.GetFormatOf(2)->m_cRows, 7);
    // The other layouts kept their defaults.
    view.SetMode(3);
    EXPECT_EQ(view.GetFormatOf(3)->m_cRows, 0);
    view.ClearLines();
}

TEST_F(MailListTest, FormatDialogByKind)
{
    CMailList labels(2);
    labels.m_nFontSize = 95;
    ASSERT_FALSE(ui::GetFontFamilies().empty());
    labels.m_sFontName = ui::GetFontFamilies().front();
    CDialogMaillist dialog(db_.get(), frame_.get());
    dialog.m_pMailList = &labels;
    dialog.m_cKind = 2;
    ui::test::GetHooks().dialogScripts.push_back([](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Mail labels");
        EXPECT_EQ(d.GetDlgItemText(CDialogMaillist::kIdFontSize), "9");
        EXPECT_FALSE(d.GetDlgItem(CDialogMaillist::kIdReturnAddress)->IsWindowVisible());
        // Out of its spin's range: refused, the dialog stays.
        ui::test::SetText(d, CDialogMaillist::kIdColumns, "5");
        ui::test::Click(d, CDialogMaillist::kIdOk);
        EXPECT_FALSE(d.HasEnded());
        ui::test::SetText(d, CDialogMaillist::kIdColumns, "3");
        ui::test::Click(d, CDialogMaillist::kIdOk);
        EXPECT_TRUE(d.HasEnded());
    });
    dqtest::QueueAnswers({ui::IDOK});
    EXPECT_EQ(dialog.DoModal(), ui::IDOK);
    EXPECT_EQ(ui::test::GetHooks().messageBoxTexts.back(), "Please enter an integer between 1 and 4.");
    EXPECT_EQ(labels.m_nFontSize, 90);
    EXPECT_EQ(labels.m_cColumns, 3);

    // Envelopes without return lines take the studio's address; "Drop down lines" is the blank
    // lines before the recipient, and the labels' lines per row stay.
    stStudioStrings& studio = db_->GetStudioStrings();
    studio.sStudioName = "Dance Hall";
    studio.sAddress1 = "5 Step Rd";
    studio.sCity = "Reno";
    studio.sState = "NV";
    studio.sZip = "89501";
    CMailList envelopes(3);
    envelopes.m_cLinesPerRow = 6;
    envelopes.m_sFontName = "No Such Face";
    dqtest::QueueAnswers({ui::IDOK});
    CDialogMaillist second(db_.get(), frame_.get());
    second.m_pMailList = &envelopes;
    second.m_cKind = 3;
    ui::test::GetHooks().dialogScripts.push_back([](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Envelopes");
        EXPECT_FALSE(d.GetDlgItem(CDialogMaillist::kIdColumns)->IsWindowVisible());
        EXPECT_EQ(d.GetDlgItemText(CDialogMaillist::kIdLinesPerRowLabel), "Drop down lines");
        EXPECT_EQ(d.GetDlgItemText(CDialogMaillist::kIdColumnSpaceLabel), "Add. marg. (in.)");
        ui::test::SetText(d, CDialogMaillist::kIdLinesPerRow, "4");
        ui::test::Click(d, CDialogMaillist::kIdOk);
    });
    EXPECT_EQ(second.DoModal(), ui::IDOK);
    EXPECT_EQ(ui::test::GetHooks().messageBoxTexts.back(),
              "Currently selected font No Such Face is not available on this computer.\nAnother font will be substituted.");
    EXPECT_EQ(envelopes.m_ReturnAddressLines, (std::vector<std::string>{"Dance Hall", "5 Step Rd", "Reno, NV 89501"}));
    EXPECT_EQ(envelopes.m_cBlankLines, 4);
    EXPECT_EQ(envelopes.m_cLinesPerRow, 6);
}

}  // namespace

namespace {

TEST_F(MailListTest, LabelsPrintWithTheirPageBreaks)
{
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_EQ(chdir(folder_.c_str()), 0);
    ui::PageModel model;
    ui::test::SetPrintRecorder(&model);
    host::Clock::SetInstantSleep(true);
    {
        CMaillistView view;
        Show(view);
        Lines(view, 2, [](CMailList& f) {
            f.m_cColumns = 2;
            f.m_cRows = 2;
            f.m_cLinesPerRow = 2;
            f.m_cTopLines = 1;
        });
        // The print setup: one copy.
        ui::test::GetHooks().dialogScripts.push_back([](ui::Dialog& d) {
            ui::test::SetText(d, 1230, "1");
            ui::test::Click(d, ui::IDOK);
        });
        view.OnCommand(CMaillistView::kCmdPrint, 0);
        view.ClearLines();
    }
    ui::test::SetPrintRecorder(nullptr);
    EXPECT_EQ(chdir(cwd), 0);
    // Four labels on the first page, the fifth on the second.
    ASSERT_EQ(model.pages.size(), 2u) << (ui::test::GetHooks().messageBoxTexts.empty() ? "" : ui::test::GetHooks().messageBoxTexts.back());
    EXPECT_NE(model.pages[0].Find("Kim Lee"), nullptr);
    EXPECT_EQ(model.pages[0].Find("Carl Student"), nullptr);
    EXPECT_NE(model.pages[1].Find("Carl Student"), nullptr);
}

// The same labels on "PDF file", read back with pdftotext: the page break falls where the
// recorder saw it.
TEST_F(MailListTest, LabelsPrintedToAPdfFileKeepTheirPages)
{
    if (std::system("command -v pdftotext >/dev/null 2>&1") != 0) GTEST_SKIP() << "pdftotext is not installed";
    const std::string target = folder_ + "/labels.pdf";
    ui::test::SetFileDialogHook([&](const ui::FileDialog&) -> std::optional<std::string> { return target; });
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_EQ(chdir(folder_.c_str()), 0);
    host::Clock::SetInstantSleep(true);
    {
        CMaillistView view;
        Show(view);
        Lines(view, 2, [](CMailList& f) {
            f.m_cColumns = 2;
            f.m_cRows = 2;
            f.m_cLinesPerRow = 2;
            f.m_cTopLines = 1;
        });
        ui::test::GetHooks().dialogScripts.push_back([](ui::Dialog& d) {
            ui::test::SetText(d, 1230, "1");
            ui::ListBox* printers = d.List(1228);
            ASSERT_NE(printers, nullptr);
            for (int i = 0; i < printers->GetCount(); ++i)
                if (printers->GetText(i) == "PDF file") ui::test::SelectItem(d, 1228, i);
            ui::test::Click(d, ui::IDOK);
        });
        view.OnCommand(CMaillistView::kCmdPrint, 0);
        view.ClearLines();
    }
    ui::test::SetFileDialogHook(nullptr);
    EXPECT_EQ(chdir(cwd), 0);
    ASSERT_TRUE(std::filesystem::exists(target));
    const std::string text = target + ".txt";
    ASSERT_EQ(std::system(("pdftotext -layout '" + target + "' '" + text + "'").c_str()), 0);
    std::ifstream in(text, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    const std::string pages = all.str();
    const size_t pageBreak = pages.find('\f');
    ASSERT_NE(pageBreak, std::string::npos) << pages;
    const size_t kim = pages.find("Kim Lee");
    const size_t carl = pages.find("Carl Student");
    ASSERT_NE(kim, std::string::npos) << pages;
    ASSERT_NE(carl, std::string::npos) << pages;
    EXPECT_LT(kim, pageBreak);
    EXPECT_GT(carl, pageBreak);
}

}  // namespace
