// The person views (students, teachers), the interview view and the add-or-select dialog over
// a small studio.

#include "ViewsFixture.h"

#include "dialogs/DatabaseDialogs.h"
#include "dialogs/DialogAddPerson.h"
#include "platform/host/Format.h"
#include "platform/ui/ListBox.h"
#include "views/EmployeeView.h"
#include "views/InterviewView.h"
#include "views/StudentView.h"

namespace {

std::vector<std::string> Texts(CScrollBase& view)
{
    std::vector<std::string> out;
    for (int i = -1; i < view.m_nMaxLines; ++i) {
        char mark = 0, status = 0;
        std::string text;
        view.GetLine(i, mark, status, text);
        out.push_back(text);
    }
    return out;
}

}  // namespace

class PersonViewsTest : public ViewsTest {
protected:
    void SetUp() override
    {
        ViewsTest::SetUp();
        program_ = AddCategory("Ballroom", 'P');
        mailing_ = AddCategory("Newsletter", 'M');
        source_ = AddCategory("Yellow pages", 'I');
        ann_ = AddPerson("Smith", "Ann");
        ann_->m_sPhone1 = "555-0101";
        ann_->m_sEmail = "ann@example.com";
        ann_->m_Numbers = {program_->m_nCode};
        bo_ = AddPerson("SMALL", "Bo", 'C', 0);
        bo_->m_nReferredBy = source_->m_nCode;
        al_ = AddPerson("Asmith", "Al");
        teacher_ = AddPerson("Smith", "Ann", 'E');
    }
    CCategory *program_, *mailing_, *source_;
    CPerson *ann_, *bo_, *al_, *teacher_;
};

TEST_F(PersonViewsTest, StudentLinesFollowKindScopeAndFilter)
{
    CStudentView view;
    view.SetLineViewDatabase(db_.get());
    const std::vector<std::string> all = {
        "Name\tPhone\tEmail",
        Format("Smith, Ann [Code %u]\t555-0101\tann@example.com", ann_->m_nCode),
        Format("SMALL, Bo [Code %u]\t\t", bo_->m_nCode),
        Format("Asmith, Al [Code %u]\t\t", al_->m_nCode),
    };
    EXPECT_EQ(Texts(view), all);

    view.SetScope(0);
    EXPECT_EQ(view.m_nMaxLines, 2);
    view.SetScope(1);

    // Program category only: Ann (in her list); source only: Bo (his main category).
    auto choose = [&](std::vector<int> rows) {
        Script([rows](ui::Dialog& d) {
            for (int r : rows) ui::test::ToggleItem(d, 1239, r);
            ui::test::Click(d, ui::IDOK);
        });
        view.OnCategory();
    };
    choose({0});
    EXPECT_EQ(view.m_aLines, std::vector<CPerson*>{ann_});
    choose({2});
    EXPECT_EQ(view.m_aLines, std::vector<CPerson*>{bo_});
    // Every category chosen clears the filter: persons without a category come back.
    choose({0, 1, 2});
    EXPECT_TRUE(view.m_aCategoryFilter.empty());
    EXPECT_EQ(view.m_nMaxLines, 3);
    Answer({ui::IDOK});
    choose({});
    EXPECT_EQ(BoxTexts().back(), "None selected");
}

TEST_F(PersonViewsTest, TeacherViewListsEmployeesOnly)
{
    CEmployeeView view;
    view.SetLineViewDatabase(db_.get());
    EXPECT_EQ(view.m_aLines, std::vector<CPerson*>{teacher_});
}

TEST_F(PersonViewsTest, EditAndDeleteGoThroughTheDatabaseOperations)
{
    std::vector<uint32_t> edited;
    ListViewOperations().editItem = [&](CDatabase&, uint8_t table, uint32_t code, int) {
        EXPECT_EQ(table, TABLE_PERSON);
        edited.push_back(code);
        return 2;
    };
    ListViewOperations().deleteItem = [&](CDatabase& db, uint8_t, uint32_t code) {
        auto* list = db.GetItemList(TABLE_PERSON);
        for (size_t i = 0; i < list->size(); ++i)
            if ((*list)[i].nCode == code) static_cast<CPerson*>((*list)[i].pItem)->m_cType = 'X';
        return 1;
    };
    CStudentView view;
    view.SetLineViewDatabase(db_.get());
    Show(view);
    view.m_nHiLiteLine = 1;
    view.OnCommand(CContactView::kCmdEdit, 0);
    EXPECT_EQ(edited, std::vector<uint32_t>{bo_->m_nCode});
    EXPECT_EQ(view.m_bKeepLines, 0);
    view.HandleKey(ui::VK_DELETE, false);
    EXPECT_EQ(view.m_nMaxLines, 2);
    // With nothing shown, the commands on the highlighted line do nothing.
    view.ClearLines();
    view.EditHighlighted();
    EXPECT_EQ(edited.size(), 1u);
}

TEST_F(PersonViewsTest, SexKeysSetAnUnsetLetterOnly)
{
    int saves = 0;
    ListViewOperations().saveModifiedItem = [&](CDatabase&, uint8_t, uint32_t) { return ++saves, 1; };
    CStudentView view;
    view.SetLineViewDatabase(db_.get());
    Show(view);
    ann_->m_cSex = 0;
    view.HandleKey('M', false);
    EXPECT_EQ(ann_->m_cSex, 'M');
    view.HandleKey('F', false);
    EXPECT_EQ(ann_->m_cSex, 'M');
    EXPECT_EQ(saves, 1);
}

TEST_F(PersonViewsTest, CommandsWithoutTheirOperationOrLevelAreGreyed)
{
    CStudentView view;
    view.SetLineViewDatabase(db_.get());
    auto enabled = [&](int id) {
        ui::CmdUI cmd(id);
        view.Updaters().RunUpdateHandler(cmd);
        return cmd.IsEnabled();
    };
    EXPECT_TRUE(enabled(CContactView::kCmdCategory));
    EXPECT_FALSE(enabled(CContactView::kCmdEdit));
    EXPECT_TRUE(enabled(CStudentView::kCmdSignIn));
    EXPECT_TRUE(enabled(CContactView::kCmdPrint));
    ListViewOperations().deleteItem = [](CDatabase&, uint8_t, uint32_t) { return 2; };
    EXPECT_TRUE(enabled(CContactView::kCmdDelete));
    UserAccessLevel = 6;
    EXPECT_FALSE(enabled(CContactView::kCmdDelete));
    EXPECT_FALSE(enabled(CContactView::kCmdPrint));
    EXPECT_TRUE(enabled(CStudentView::kCmdSignIn));
    UserAccessLevel = 4;
    EXPECT_FALSE(enabled(CStudentView::kCmdSignIn));
}

TEST_F(PersonViewsTest, SignInOpensTheDialogForTheHighlightedStudentKeepingTheLines)
{
    db_->SetUi(&CDatabaseDialogs::Instance());
    CStudentView view;
    view.SetLineViewDatabase(db_.get());
    Show(view);
    view.m_nHiLiteLine = 1;
    ui::test::Hooks& h = ui::test::GetHooks();
    h.driveDialogs = true;
    h.dialogScripts.push_back([&](ui::Dialog& d) {
        EXPECT_EQ(d.GetTemplateId(), 146);
        EXPECT_EQ(d.GetWindowText(), "Sign-in for Bo SMALL");
        EXPECT_EQ(view.m_bKeepLines, 1);
        ui::test::Click(d, 1000);
    });
    view.OnCommand(CStudentView::kCmdSignIn, 0);
    EXPECT_EQ(h.dialogsRun, std::vector<int>{146});
    EXPECT_EQ(view.m_bKeepLines, 0);
}

// ---- Interviews ----------------------------------------------------------------------------

class InterviewViewTest : public PersonViewsTest {
protected:
    CInterview* AddInterview(CPerson* person, DATE date, char kind, uint32_t teacher)
    {
        auto interview = std::make_unique<CInterview>();
        interview->m_dDate = date;
        interview->m_cKind = kind;
        interview->m_nField4 = teacher;
        CInterview* raw = interview.get();
        person->m_Interviews.push_back(std::move(interview));
        return raw;
    }
};

TEST_F(InterviewViewTest, LinesInDateOrderWithUndatedFirst)
{
    const DATE day = 39000.5;  // 10/10/2006 12:00PM
    AddInterview(ann_, day + 1, 'P', teacher_->m_nCode);
    AddInterview(al_, 0.0, 'V', NO_CODE);
    AddInterview(bo_, day, 'V', NO_CODE);
    CInterviewView view;
    view.SetLineViewDatabase(db_.get());
    EXPECT_EQ(Texts(view), (std::vector<std::string>{
                               "Date\tTeacher\tStudent\tType",
                               "Undated\t\tAsmith, Al\tVisit",
                               "10/10/2006 12:00PM\t\tSMALL, Bo\tVisit",
                               "10/11/2006 12:00PM\tSmith, Ann\tSmith, Ann\tPhone",
                           }));
}

TEST_F(InterviewViewTest, EmptyDatabaseShowsOnlyTheHeader)
{
    CInterviewView view;
    view.SetLineViewDatabase(db_.get());
    EXPECT_EQ(Texts(view), std::vector<std::string>{"Date\tTeacher\tStudent\tType"});
}

TEST_F(InterviewViewTest, DeleteRemovesExactlyTheHighlightedInterview)
{
    const DATE day = 39000.5;
    CInterview* first = AddInterview(ann_, day, 'P', NO_CODE);
    CInterview* second = AddInterview(ann_, day, 'V', NO_CODE);
    (void)first;
    int saves = 0;
    ListViewOperations().saveModifiedItem = [&](CDatabase&, uint8_t, uint32_t code) {
        EXPECT_EQ(code, ann_->m_nCode);
        return ++saves, 1;
    };
    CInterviewView view;
    view.SetLineViewDatabase(db_.get());
    ASSERT_EQ(view.m_nMaxLines, 2);
    const CInterview* highlighted = view.m_aLines[1].pPerson->m_Interviews[static_cast<size_t>(view.m_aLines[1].nIndex)].get();
    view.m_nHiLiteLine = 1;
    view.DeleteHighlighted();
    EXPECT_EQ(saves, 1);
    ASSERT_EQ(ann_->m_Interviews.size(), 1u);
    EXPECT_NE(ann_->m_Interviews[0].get(), highlighted);
    EXPECT_EQ(view.m_nMaxLines, 1);
    (void)second;
}

// ---- Add or select a person ------------------------------------------------------------------

namespace {

std::vector<std::string> ListTexts(ui::Dialog& d)
{
    std::vector<std::string> out;
    ui::ListBox* list = d.List(CDialogAddPerson::kIdList);
    for (int i = 0; i < list->GetCount(); ++i) out.push_back(list->GetText(i));
    return out;
}

}  // namespace

TEST_F(PersonViewsTest, TypedPrefixListsStudentsOnly)
{
    Script([](ui::Dialog& d) {
        ui::test::SetText(d, CDialogAddPerson::kIdLastName, "sm");
        EXPECT_EQ(ListTexts(d), (std::vector<std::string>{"Smith, Ann", "SMALL, Bo"}));
        ui::test::SetText(d, CDialogAddPerson::kIdLastName, "smallest person");
        EXPECT_TRUE(ListTexts(d).empty());
        ui::test::SetText(d, CDialogAddPerson::kIdLastName, "");
        EXPECT_TRUE(ListTexts(d).empty());
        ui::test::SetText(d, CDialogAddPerson::kIdLastName, "SMA");
        ui::test::SelectItem(d, CDialogAddPerson::kIdList, 0);
        ui::test::Click(d, CDialogAddPerson::kIdSelect);
    });
    CDialogAddPerson dialog(db_.get());
    EXPECT_EQ(dialog.DoModal(), static_cast<int>(bo_->m_nCode));
}

TEST_F(PersonViewsTest, DuplicateNameAsksAndAnswersGiveCodeOrNew)
{
    struct Case {
        int answer;
        int expected;
    };
    const Case cases[] = {{ui::IDNO, static_cast<int>(ann_->m_nCode)}, {ui::IDYES, CDialogAddPerson::kResultNew}};
    for (const Case& c : cases) {
        Answer({c.answer});
        Script([](ui::Dialog& d) {
            ui::test::SetText(d, CDialogAddPerson::kIdLastName, "smith");
            ui::test::SetText(d, CDialogAddPerson::kIdFirstName, "ANN");
            ui::test::Click(d, CDialogAddPerson::kIdAddNew);
        });
        CDialogAddPerson dialog(db_.get());
        EXPECT_EQ(dialog.DoModal(), c.expected);
    }
    EXPECT_EQ(BoxTexts().back(),
              "Person ANN smith is already in database. Do you want to add a new person with the same name?");
}

TEST_F(PersonViewsTest, EnterNeverEndsThePickerAndSelectNeedsALine)
{
    Answer({ui::IDOK});
    Script([](ui::Dialog& d) {
        ui::test::SetText(d, CDialogAddPerson::kIdLastName, "Newman");
        d.HandleDialogKey(ui::VK_RETURN);
        EXPECT_FALSE(d.HasEnded());
        ui::test::Click(d, CDialogAddPerson::kIdSelect);
        EXPECT_FALSE(d.HasEnded());
        // An empty last name: the add button does nothing.
        ui::test::SetText(d, CDialogAddPerson::kIdLastName, "");
        ui::test::Click(d, CDialogAddPerson::kIdAddNew);
        EXPECT_FALSE(d.HasEnded());
        ui::test::Click(d, ui::IDCANCEL);
    });
    CDialogAddPerson dialog(db_.get());
    EXPECT_EQ(dialog.DoModal(), CDialogAddPerson::kResultCancel);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"No item selected"});
}

TEST_F(PersonViewsTest, NewNameEndsWithNew)
{
    Script([](ui::Dialog& d) {
        ui::test::SetText(d, CDialogAddPerson::kIdLastName, "Newman");
        ui::test::SetText(d, CDialogAddPerson::kIdFirstName, "Ned");
        ui::test::Click(d, CDialogAddPerson::kIdAddNew);
    });
    CDialogAddPerson dialog(db_.get());
    EXPECT_EQ(dialog.DoModal(), CDialogAddPerson::kResultNew);
    EXPECT_EQ(dialog.m_strLastName, "Newman");
    EXPECT_EQ(dialog.m_strFirstName, "Ned");
}


TEST_F(PersonViewsTest, DefaultOperationsDeleteAndSaveThroughTheDatabase)
{
    ListViewOperations() = DefaultListViewOperations();
    CStudentView view;
    view.SetLineViewDatabase(db_.get());
    Show(view);
    // Bo has no sex letter yet: M is saved to the file.
    view.m_nHiLiteLine = 1;
    bo_->m_cSex = 0;
    const uint32_t bo = bo_->m_nCode;
    view.HandleKey('M', false);
    EXPECT_EQ(bo_->m_cSex, 'M');
    // Ann is deleted from the table (and kept as deleted data in the file).
    view.m_nHiLiteLine = 0;
    const uint32_t ann = ann_->m_nCode;
    Answer({ui::IDYES});
    view.HandleKey(ui::VK_DELETE, false);
    EXPECT_EQ(ui::test::GetHooks().messageBoxTexts.back(),
              "Are you sure you want to delete person and associated data?");
    EXPECT_EQ(db_->GetItem(TABLE_PERSON, ann), nullptr);

    // What reaches the file: a fresh read of the person table.
    CDatabase again;
    again.SetUserAccessLevel(10);
    db_.reset();
    ASSERT_NE(again.OpenDB(DbPath(), 0), 0);
    again.MakeFileHeaderArray(nullptr, nullptr);
    again.SetDefaults();
    ASSERT_EQ(again.ReadTable(TABLE_PERSON, nullptr), 1);
    EXPECT_EQ(again.GetItem(TABLE_PERSON, ann), nullptr);
    const auto* read = static_cast<const CPerson*>(again.GetItem(TABLE_PERSON, bo));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->m_cSex, 'M');
}
