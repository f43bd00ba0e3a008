// Gathering the schedule entries, their display order, and their texts.

#include "tests/studio/StudioFixture.h"

#include <algorithm>
#include <tuple>

namespace {

using Lines = std::vector<std::string>;

class ScheduleItemsTest : public StudioTest {
protected:
    void SetUp() override
    {
        StudioTest::SetUp();
        BuildStudio();
        Reopen();
    }
    Lines Gather(int32_t person, DATE start, DATE end, int32_t expand = 1, int32_t leaveOut = 0)
    {
        std::vector<stDataToken> list;
        db_->GetAllScheduleItems(person, list, expand, start, end, leaveOut);
        return Describe(list);
    }
};

// The whole studio, every date, in display order: undated first by long text.
const Lines kEverything = {
    "T undated 0/3 x5",  // "Ann Teach/Carl Student, Ten privates, ..." before "Carl Student ..."
    "p undated 2/-1 x1",
    "T 03/02 10:00 0/0 x1",
    "p 03/02 11:00 3/-1 x1",
    "s 03/02 19:00 0/-1 x1",
    "P 03/03 09:00 -1/-1 x1",
    "T 03/03 10:30 0/1 x1",
    "$ 03/03 19:00 0/-1 x1",
    "p 03/04 12:00 0/-1 x1",
    "P 03/04 14:00 -1/-1 x1",
    "N 03/04 15:00 0/-1 x1",
    "D 03/05 09:00 0/-1 x1",
    "T 03/05 10:30 0/2 x1",
    "$ 03/05 19:00 1/-1 x1",
    "M 03/06 09:00 0/-1 x1",
    "p 03/06 12:00 1/-1 x1",
    "$ 03/06 20:00 0/-1 x1",
    "S 03/07 20:00 -1/-1 x1",
    "B 03/12 08:00 -1/-1 x1",
    "s 03/17 20:00 2/-1 x1",  // moved: keeps the index of its change
    "s 03/23 19:00 3/-1 x1",  // after the removed 03/09 (index 1)
    "s 03/30 19:00 4/-1 x1",
};

TEST_F(ScheduleItemsTest, PersonAndRangeSelectEntries)
{
    const DATE weekStart = D(2026, 3, 1);
    const DATE weekEnd = D(2026, 3, 8);
    // A range from one lesson exactly to another: the first is kept, the second left out.
    const DATE atLesson = D(2026, 3, 3, 10, 30);
    const DATE atLaterLesson = D(2026, 3, 5, 10, 30);
    const int32_t carl = static_cast<int32_t>(codes_.carl);
    const int32_t ann = static_cast<int32_t>(codes_.ann);
    struct Case {
        const char* what;
        int32_t person;
        DATE start, end;
        Lines expected;
    };
    const Case cases[] = {
        {"everyone, every date", -1, 0.0, 0.0, kEverything},
        {"everyone, the week", -1, weekStart, weekEnd,
         {"T 03/02 10:00 0/0 x1", "p 03/02 11:00 3/-1 x1", "s 03/02 19:00 0/-1 x1", "P 03/03 09:00 -1/-1 x1",
          "T 03/03 10:30 0/1 x1", "$ 03/03 19:00 0/-1 x1", "p 03/04 12:00 0/-1 x1", "P 03/04 14:00 -1/-1 x1",
          "N 03/04 15:00 0/-1 x1", "D 03/05 09:00 0/-1 x1", "T 03/05 10:30 0/2 x1", "$ 03/05 19:00 1/-1 x1",
          "M 03/06 09:00 0/-1 x1", "p 03/06 12:00 1/-1 x1", "$ 03/06 20:00 0/-1 x1", "S 03/07 20:00 -1/-1 x1"}},
        {"everyone, from one lesson to another", -1, atLesson, atLaterLesson,
         {"T 03/03 10:30 0/1 x1", "$ 03/03 19:00 0/-1 x1", "p 03/04 12:00 0/-1 x1", "P 03/04 14:00 -1/-1 x1",
          "N 03/04 15:00 0/-1 x1", "D 03/05 09:00 0/-1 x1"}},
        {"class dates only", -2, 0.0, 0.0, {"$ 03/03 19:00 0/-1 x1", "$ 03/05 19:00 1/-1 x1", "$ 03/06 20:00 0/-1 x1"}},
        {"class dates only, the week", -2, weekStart, weekEnd,
         {"$ 03/03 19:00 0/-1 x1", "$ 03/05 19:00 1/-1 x1", "$ 03/06 20:00 0/-1 x1"}},
        {"class dates only, from one lesson to another", -2, atLesson, atLaterLesson, {"$ 03/03 19:00 0/-1 x1"}},
        {"a student, every date", carl, 0.0, 0.0,
         {"T undated 0/3 x5", "p undated 2/-1 x1", "T 03/02 10:00 0/0 x1", "p 03/02 11:00 3/-1 x1",
          "T 03/03 10:30 0/1 x1", "p 03/04 12:00 0/-1 x1", "P 03/04 14:00 -1/-1 x1", "D 03/05 09:00 0/-1 x1",
          "T 03/05 10:30 0/2 x1", "p 03/06 12:00 1/-1 x1", "B 03/12 08:00 -1/-1 x1"}},
        {"a student, the week", carl, weekStart, weekEnd,
         {"T 03/02 10:00 0/0 x1", "p 03/02 11:00 3/-1 x1", "T 03/03 10:30 0/1 x1", "p 03/04 12:00 0/-1 x1",
          "P 03/04 14:00 -1/-1 x1", "D 03/05 09:00 0/-1 x1", "T 03/05 10:30 0/2 x1", "p 03/06 12:00 1/-1 x1"}},
        {"a student, from one lesson to another", carl, atLesson, atLaterLesson,
         {"T 03/03 10:30 0/1 x1", "p 03/04 12:00 0/-1 x1", "P 03/04 14:00 -1/-1 x1", "D 03/05 09:00 0/-1 x1"}},
        {"a teacher, every date", ann, 0.0, 0.0,
         {"T undated 0/3 x5", "T 03/02 10:00 0/0 x1", "T 03/03 10:30 0/1 x1", "N 03/04 15:00 0/-1 x1",
          "$ 03/06 20:00 0/-1 x1"}},
        {"a teacher, the week", ann, weekStart, weekEnd,
         {"T 03/02 10:00 0/0 x1", "T 03/03 10:30 0/1 x1", "N 03/04 15:00 0/-1 x1", "$ 03/06 20:00 0/-1 x1"}},
        {"a teacher, from one lesson to another", ann, atLesson, atLaterLesson,
         {"T 03/03 10:30 0/1 x1", "N 03/04 15:00 0/-1 x1"}},
    };
    for (const Case& c : cases) EXPECT_EQ(Gather(c.person, c.start, c.end), c.expected) << c.what;
}

TEST_F(ScheduleItemsTest, UnexpandedItemsAndLeftOutPurchasePayments)
{
    const Lines all = Gather(-1, D(2026, 3, 1), D(2026, 4, 1), 0);
    EXPECT_EQ(std::count(all.begin(), all.end(), "S 03/02 19:00 -1/-1 x1"), 1);
    EXPECT_EQ(std::count_if(all.begin(), all.end(), [](const std::string& s) { return s[0] == 's'; }), 0);
    // The purchase's payments go for a person, never for everyone.
    const Lines carl = Gather(static_cast<int32_t>(codes_.carl), 0.0, 0.0, 1, 1);
    EXPECT_EQ(std::count_if(carl.begin(), carl.end(), [](const std::string& s) { return s[0] == 'p'; }), 0);
    const Lines everyone = Gather(-1, 0.0, 0.0, 1, 1);
    EXPECT_EQ(std::count_if(everyone.begin(), everyone.end(), [](const std::string& s) { return s[0] == 'p'; }), 4);
}

TEST_F(ScheduleItemsTest, UnscheduledDatesAreClearedInMemory)
{
    CPurchaseRecord* p = Purchase(codes_.purchase);
    ASSERT_NE(p, nullptr);
    EXPECT_NE(p->m_Payments[2]->m_dDate, 0.0);  // as stored
    Gather(-1, 0.0, 0.0);
    EXPECT_EQ(p->m_Payments[2]->m_dDate, 0.0);
}

// Token runs of one purchase item: unscheduled lessons fold into the first one's count; a
// scheduled or taken lesson always has its own entry; a cancelled one is never listed.
TEST_F(ScheduleItemsTest, TokenRuns)
{
    struct Case {
        const char* what;
        std::string states;
        Lines expected;
    };
    const Case cases[] = {
        {"five unscheduled last", "UNNNNN", {"T undated 0/1 x5", "T 03/02 10:00 0/0 x1"}},
        {"a scheduled one after two unscheduled", "NNS", {"T undated 0/0 x2", "T 03/02 10:00 0/2 x1"}},
        {"a cancelled one between", "NcN", {"T undated 0/0 x2"}},
        {"cancelled only", "cc", {}},
    };
    for (const Case& c : cases) {
        CPurchaseRecord purchase;
        purchase.m_nPerson = codes_.carl;
        auto item = Item("Run", 'N', 10, 100.0, NO_CODE);
        for (char state : c.states)
            item->m_Tokens.push_back(Token(state, state == 'N' ? 0.0 : D(2026, 3, 2, 10, 0), codes_.ann));
        purchase.m_Items.push_back(std::move(item));
        // Only this purchase: the studio's lessons are in table 10 too, so look at this one's.
        auto* raw = new CPurchaseRecord;
        raw->CopyFrom(purchase);
        raw->m_nCode = 9000;
        db_->AddIndex(TABLE_PURCHASE, raw, 9000, static_cast<uint32_t>(db_->GetItemList(TABLE_PURCHASE)->size()), 0,
                      0xFFFFFFFE, -1);
        std::vector<stDataToken> list;
        db_->GetAllScheduleItems(-1, list, 1, 0.0, 0.0, 1);
        Lines mine;
        for (const stDataToken& e : list)
            if (e.record == raw) mine.push_back(Describe(e));
        EXPECT_EQ(mine, c.expected) << c.what;
        db_->ClearTable(TABLE_PURCHASE);
    }
}

TEST_F(ScheduleItemsTest, CancelledOrConvertedPurchasesGiveNoLessons)
{
    CPurchaseRecord* p = Purchase(codes_.purchase);
    for (int32_t status : {CPurchaseRecord::STATUS_CANCELLED, 4242}) {
        p->m_nStatus = status;
        const Lines all = Gather(-1, 0.0, 0.0);
        EXPECT_EQ(std::count_if(all.begin(), all.end(), [](const std::string& s) { return s[0] == 'T'; }), 0);
        // Its scheduled payments stay listed.
        EXPECT_EQ(std::count_if(all.begin(), all.end(), [](const std::string& s) { return s[0] == 'p'; }), 4);
    }
}

// Birthdays, anniversaries and interview dates.
class PersonDatesTest : public StudioTest {};

TEST_F(PersonDatesTest, BirthdaysAnniversariesAndInterviewDates)
{
    const uint32_t teacher = AddPerson('E', "Tia", "Coach");
    CPerson leap('C');
    leap.m_sFirstName = "Lea";
    leap.m_sLastName = "Leap";
    leap.m_dBirthday = D(2000, 2, 29);
    leap.m_dAnniversary = D(1990, 6, 1, 15, 0);
    const DATE earliest = D(1996, 1, 1, 0, 0);
    const DATE minuteLater = D(1996, 1, 1, 0, 1);
    auto interview = [&](DATE deadline, int32_t doMailOut, DATE mailOut, char contactKind, DATE contact) {
        auto i = std::make_unique<CInterview>();
        i->m_dDate = D(2026, 2, 1);
        i->m_nField4 = teacher;
        i->m_dField14 = deadline;
        i->m_nField15 = doMailOut;
        i->m_dField16 = mailOut;
        i->m_nField17 = teacher;
        i->m_cField19 = static_cast<uint8_t>(contactKind);
        i->m_dField20 = contact;
        i->m_nField21 = teacher;
        return i;
    };
    leap.m_Interviews.push_back(interview(earliest, 1, earliest, 'P', earliest));
    leap.m_Interviews.push_back(interview(minuteLater, 1, minuteLater, 'V', minuteLater));
    // Not to be mailed out, and a next contact of no kind: neither is on the schedule.
    leap.m_Interviews.push_back(interview(0.0, 0, D(2026, 3, 3, 9, 0), 0, D(2026, 3, 3, 9, 0)));
    const uint32_t code = Save(TABLE_PERSON, leap);
    Reopen();

    std::vector<stDataToken> list;
    db_->GetAllScheduleItems(-1, list, 1, 0.0, 0.0, 0);
    EXPECT_EQ(Describe(list), (Lines{"D 01/01 08:00 1/-1 x1", "M 01/01 08:00 1/-1 x1", "N 01/01 08:00 1/-1 x1",
                                     "B 02/28 08:00 -1/-1 x1", "A 06/01 08:00 -1/-1 x1"}));
    // Before 08:00 moves to 08:00 of its day; the interview dates keep their year, the
    // birthday and anniversary stand in this year whatever range is asked for.
    EXPECT_EQ(FormatDateTime(list[0].date, "%Y"), "1996");
    EXPECT_EQ(FormatDateTime(list[3].date, "%Y"), "2026");
    db_->GetAllScheduleItems(static_cast<int32_t>(code), list, 1, D(2026, 1, 1), D(2027, 1, 1), 0);
    EXPECT_EQ(Describe(list), (Lines{"B 02/28 08:00 -1/-1 x1", "A 06/01 08:00 -1/-1 x1"}));
    // The mail-out and next contact go to the person doing them.
    db_->GetAllScheduleItems(static_cast<int32_t>(teacher), list, 1, 0.0, 0.0, 0);
    EXPECT_EQ(Describe(list), (Lines{"M 01/01 08:00 1/-1 x1", "N 01/01 08:00 1/-1 x1"}));
}

TEST_F(PersonDatesTest, LeapDayBirthdayInALeapYear)
{
    FixClock(2028, 1, 10, 9, 0);
    CPerson leap('C');
    leap.m_dBirthday = D(2000, 2, 29);
    Save(TABLE_PERSON, leap);
    Reopen();
    std::vector<stDataToken> list;
    db_->GetAllScheduleItems(-1, list, 1, 0.0, 0.0, 0);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(FormatDateTime(list[0].date, "%m/%d/%Y %H:%M"), "02/29/2028 08:00");
}

// Undated entries by long text, then in gathering order; dated ones stable by date and kind.
TEST_F(ScheduleItemsTest, ArrangeIsStable)
{
    CPurchaseRecord* p = Purchase(codes_.purchase);
    CPriceListItem* salsa = Get<CPriceListItem>(TABLE_PRICELIST, codes_.salsa);
    auto entry = [](char type, DATE date, void* record, int32_t index1, int32_t index2 = -1) {
        stDataToken e;
        e.type = type;
        e.date = date;
        e.record = record;
        e.index1 = index1;
        e.index2 = index2;
        return e;
    };
    const DATE nine = D(2026, 3, 3, 9, 0);
    std::vector<stDataToken> list = {
        entry('p', nine, p, 1),
        entry('$', nine, salsa, 1),
        entry('p', nine, p, 0),
        entry('T', 0.0, p, 0, 4),
        entry('$', D(2026, 3, 3, 7, 0), salsa, 0),
        entry('T', 0.0, p, 0, 3),
        entry('p', 0.0, p, 2),
    };
    db_->ArrangeScheduleEntries(list);
    EXPECT_EQ(Describe(list), (Lines{"T undated 0/4 x1", "T undated 0/3 x1", "p undated 2/-1 x1", "$ 03/03 08:00 0/-1 x1",
                                     "$ 03/03 09:00 1/-1 x1", "p 03/03 09:00 1/-1 x1", "p 03/03 09:00 0/-1 x1"}));
}

// The three texts of each kind, with and without the teacher.
TEST_F(ScheduleItemsTest, TextsByKindAndTeacher)
{
    std::vector<stDataToken> list;
    db_->GetAllScheduleItems(-1, list, 1, 0.0, 0.0, 0);
    auto find = [&](const std::string& described) -> const stDataToken* {
        for (const stDataToken& e : list)
            if (Describe(e) == described) return &e;
        return nullptr;
    };
    struct Case {
        const char* entry;
        int32_t withTeacher;
        std::string kind, shortText, longText;
    };
    const Case cases[] = {
        {"S 03/07 20:00 -1/-1 x1", 1, "One time", "Studio party", "Studio party"},
        {"s 03/02 19:00 0/-1 x1", 1, "Weekly", "B.Lead, Tango practice", "Bob Lead, Tango practice"},
        {"s 03/02 19:00 0/-1 x1", 0, "Weekly", "Tango practice", "Tango practice"},
        {"T 03/02 10:00 0/0 x1", 1, "Private lesson", "*A.Teach/C.Student, Private lesson",
         "Ann Teach/Carl Student, Ten privates, 9 left"},
        {"T 03/02 10:00 0/0 x1", 0, "Private lesson", "*C.Student, Private lesson", "Carl Student, Ten privates, 9 left"},
        {"T undated 0/3 x5", 1, "Private lesson", "A.Teach/C.Student, Private lesson",
         "Ann Teach/Carl Student, Ten privates, 9 left (5 items unscheduled)"},
        {"T 03/05 10:30 0/2 x1", 1, "Private lesson", "B.Lead/C.Student, Private lesson",
         "Bob Lead/Carl Student, Ten privates, 9 left"},
        {"$ 03/03 19:00 0/-1 x1", 1, "Group class", "Group salsa", "Group salsa"},
        {"$ 03/06 20:00 0/-1 x1", 1, "No basic type", "Practice party", "Practice party"},
        {"p 03/04 12:00 0/-1 x1", 1, "Payment $25.00", "*C.Student, Payment $25.00", "Carl Student Bronze package"},
        {"p 03/06 12:00 1/-1 x1", 0, "Payment $100.00", "C.Student, Payment $100.00", "Carl Student Bronze package"},
        {"P 03/04 14:00 -1/-1 x1", 1, "Payment to studio $30.50", "*Payment, C.Student", "Carl Student Cash at desk"},
        {"P 03/03 09:00 -1/-1 x1", 1, "Payment by studio $80.00", "*Payment, F.Co", "Floor Wax Co Polish"},
        {"B 03/12 08:00 -1/-1 x1", 1, "Birthday", "C.Student, Birthday", "Carl Student, Birthday"},
        {"D 03/05 09:00 0/-1 x1", 1, "Deadline", "C.Student, Deadline", "Carl Student, Lesson based on interview"},
        {"M 03/06 09:00 0/-1 x1", 1, "Mail out", "B.Lead/C.Student, Mailout",
         "Bob Lead/Carl Student, Mailout based on interview"},
        {"N 03/04 15:00 0/-1 x1", 1, "Phone", "A.Teach/C.Student, Phone", "Ann Teach/Carl Student, Phone based on interview"},
    };
    for (const Case& c : cases) {
        const stDataToken* e = find(c.entry);
        ASSERT_NE(e, nullptr) << c.entry;
        std::string kind = "x", shortText = "x", longText = "x";
        db_->MakeScheduleText(e, kind, shortText, longText, c.withTeacher);
        EXPECT_EQ(std::tie(kind, shortText, longText), std::tie(c.kind, c.shortText, c.longText))
            << c.entry << " withTeacher " << c.withTeacher;
    }
    stDataToken unknown;
    unknown.type = 'Z';
    unknown.record = list[0].record;
    std::string kind = "x", shortText = "x", longText = "x";
    db_->MakeScheduleText(&unknown, kind, shortText, longText, 1);
    EXPECT_EQ(kind + shortText + longText, "");
}

// Lessons of other kinds: unlimited, time-limited, cancelled, and an unknown person.
TEST_F(ScheduleItemsTest, LessonTextsOfOtherItems)
{
    CPurchaseRecord* p = Purchase(codes_.purchase);
    p->m_dStartDate = D(2026, 3, 1);
    auto month = Item("Month pass", 'T', 30, 99.0, codes_.privateType);
    month->m_Tokens.push_back(Token('S', D(2026, 3, 3, 10, 0), codes_.ann, NO_CODE, 'T'));
    month->m_Tokens.push_back(Token('c', D(2026, 3, 4, 10, 0), 4242));
    p->m_Items.push_back(std::move(month));
    auto other = Item("Gift", 'G', 1, 5.0, NO_CODE);
    other->m_Tokens.push_back(Token('S', D(2026, 3, 3, 10, 0), NO_CODE));
    p->m_Items.push_back(std::move(other));
    auto text = [&](int32_t item, int32_t token) {
        stDataToken e;
        e.type = 'T';
        e.record = p;
        e.index1 = item;
        e.index2 = token;
        std::string kind, shortText, longText;
        db_->MakeScheduleText(&e, kind, shortText, longText, 1);
        return kind + " | " + shortText + " | " + longText;
    };
    EXPECT_EQ(text(1, 0), "Unlim. PRIVATE lesson | A.Teach/C.Student, Unlim. PRIVATE lesson | "
                          "Ann Teach/Carl Student, Month pass, ending 03/31/2026");
    EXPECT_EQ(text(1, 1), "Private lesson | P.4242/C.Student, Private lesson | "
                          "[Person code 4242/Carl Student, Month pass] cancelled");
    EXPECT_EQ(text(2, 0), "Untyped | C.Student, Untyped | Carl Student, Gift");
    EXPECT_EQ(text(2, 5), " |  | ");  // no such token
}

TEST_F(ScheduleItemsTest, TraceLines)
{
    const std::string trace = folder_ + "/trace";
    std::filesystem::create_directories(trace);
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(trace);
    DiagnosticLevel = 1;
    OpenDiagnosticFile();
    std::vector<stDataToken> list;
    db_->GetAllScheduleItems(static_cast<int32_t>(codes_.carl), list, 1, D(2026, 3, 1), D(2026, 3, 8), 0);
    CloseDiagnosticFile();
    std::filesystem::current_path(before);
    const std::string text = dqtest::ReadBytes(trace + "/DIAGNOSE.TXT");
    for (const char* line : {"CDatabase::GetAllScheduleItems: Carl Student ", "03/01/2026 00:00 - 03/08/2026 00:00\n",
                             "  Adding schedule token to list  Token type T, Index1 0, Index2 1\n",
                             "  Adding purchase payment item to list  Token type p, Index1 0, Index2 -1\n",
                             "  Adding payment to/from to list  Token type P, Index1 -1, Index2 -1\n",
                             "  Found person interviewed\n", " Test payment to/from for 4294967295, Floor Wax Co\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
}

}  // namespace
