// The raw database view over a temporary file, and the record dump dialog's byte editor.

#include "ViewsFixture.h"

#include "views/DatabaseView.h"
#include "dialogs/DialogRecordDump.h"
#include "platform/ui/ListBox.h"

class DatabaseViewTest : public ViewsTest {
protected:
    void SetUp() override
    {
        ViewsTest::SetUp();
        UserAccessLevel = 10;
        for (const char* name : {"Able", "Baker", "Carter", "Dunn"}) {
            auto p = std::make_unique<CPerson>('C');
            p->m_sLastName = name;
            AddItem(TABLE_PERSON, std::move(p));
        }
    }
    char StatusAt(uint32_t loc)
    {
        stDataHeader h;
        EXPECT_TRUE(db_->ReadDbHeader(loc, h, false));
        return h.cStatus;
    }
};

TEST_F(DatabaseViewTest, ListsEveryBlockInFileOrder)
{
    CDatabaseView view;
    view.Attach(db_.get(), 0);
    std::vector<uint32_t> expected;
    db_->FindAllHeaders(expected, nullptr);
    ASSERT_GE(expected.size(), 4u);
    EXPECT_EQ(view.GetLocations(), expected);
    EXPECT_EQ(view.m_nMaxLines, static_cast<int>(expected.size()));
    char mark = 0, status = 0;
    std::string text;
    view.GetLine(-1, mark, status, text);
    EXPECT_EQ(status, 'H');
    EXPECT_EQ(text, "");
    view.GetLine(2, mark, status, text);
    EXPECT_EQ(status, '-');
    EXPECT_EQ(text, db_->GetBlockDescription(expected[2]));
}

TEST_F(DatabaseViewTest, DeleteUndeleteAndMarkLastOnATemporaryFile)
{
    CDatabaseView view;
    view.Attach(db_.get(), 0);
    const int count = view.m_nMaxLines;
    const int middle = count / 2;
    view.m_nHiLiteLine = middle;
    const uint32_t loc = view.SelectedLocation();
    ASSERT_EQ(StatusAt(loc), '+');
    view.OnCommand(CDatabaseView::kCmdDeleteRecord, 0);
    EXPECT_EQ(StatusAt(loc), '-');
    view.OnCommand(CDatabaseView::kCmdUndeleteRecord, 0);
    EXPECT_EQ(StatusAt(loc), '+');

    view.OnCommand(CDatabaseView::kCmdMarkLast, 0);
    stDataHeader h;
    ASSERT_TRUE(db_->ReadDbHeader(loc, h, false));
    EXPECT_EQ(h.nNextLoc, LOC_NONE);
    view.Fill();
    EXPECT_EQ(view.m_nMaxLines, middle + 1);
    EXPECT_EQ(view.GetLocations().back(), loc);
}

TEST_F(DatabaseViewTest, HeaderMessageAndEnablingByLevel)
{
    CDatabaseView view;
    view.Attach(db_.get(), 0);
    view.m_nHiLiteLine = 0;
    Answer({ui::IDOK});
    view.OnCommand(CDatabaseView::kCmdShowHeader, 0);
    ASSERT_EQ(BoxTexts().size(), 1u);
    EXPECT_EQ(BoxTexts()[0].rfind(" Delims 85 85, Next ", 0), 0u);
    EXPECT_NE(BoxTexts()[0].find("status + "), std::string::npos);

    auto enabled = [&](int id) {
        ui::CmdUI cmd(id);
        view.Updaters().RunUpdateHandler(cmd);
        return cmd.IsEnabled();
    };
    EXPECT_TRUE(enabled(CDatabaseView::kCmdUnlockAll));
    UserAccessLevel = 9;
    EXPECT_FALSE(enabled(CDatabaseView::kCmdUnlockAll));
    EXPECT_TRUE(enabled(CDatabaseView::kCmdDeleteRecord));
    UserAccessLevel = 8;
    EXPECT_FALSE(enabled(CDatabaseView::kCmdMarkLast));
}

TEST_F(DatabaseViewTest, DumpWritesOneLinePerBlock)
{
    CDatabaseView view;
    view.Attach(db_.get(), 0);
    const std::string path = folder_ + "/dump.txt";
    Script([&](ui::Dialog& d) {
        ui::test::SetText(d, 1254, path);
        ui::test::Click(d, ui::IDOK);
    });
    view.OnCommand(CDatabaseView::kCmdDump, 0);
    std::FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    int lines = 0;
    for (int c; (c = std::fgetc(f)) != EOF;)
        if (c == '\n') ++lines;
    std::fclose(f);
    EXPECT_EQ(lines, view.m_nMaxLines);
}

// ---- Record dump -----------------------------------------------------------------------------

namespace {

constexpr int kPromptEdit = 1254;

// Selects a byte of the list and answers the value prompt with `value` (nullptr: Cancel).
void EditByte(ui::Dialog& d, int list, int button, int index, const char* value)
{
    ui::test::SelectItem(d, list, index);
    ui::test::GetHooks().dialogScripts.push_front([value](ui::Dialog& prompt) {
        if (value) {
            ui::test::SetText(prompt, kPromptEdit, value);
            ui::test::Click(prompt, ui::IDOK);
        } else {
            ui::test::Click(prompt, ui::IDCANCEL);
        }
    });
    ui::test::Click(d, button);
}

std::string Line(ui::Dialog& d, int list, int index) { return d.List(list)->GetText(index); }

}  // namespace

class RecordDumpTest : public DatabaseViewTest {
protected:
    uint32_t FirstPersonBlock()
    {
        for (const stDataHeader& h : db_->GetHeaderArray())
            if (h.nTable == TABLE_PERSON && h.cStatus == '+') return h.nCurrLoc;
        return LOC_NONE;
    }
};

TEST_F(RecordDumpTest, ShowsHeaderAndBodyBytes)
{
    const uint32_t loc = FirstPersonBlock();
    stDataHeader h;
    ASSERT_TRUE(db_->ReadDbHeader(loc, h, false));
    Script([&](ui::Dialog& d) {
        EXPECT_EQ(d.List(CDialogRecordDump::kIdHeaderList)->GetCount(), 36);
        EXPECT_EQ(Line(d, CDialogRecordDump::kIdHeaderList, 0), "     0[ 85]U");
        EXPECT_EQ(d.List(CDialogRecordDump::kIdDataList)->GetCount(), h.nBlockLen);
        EXPECT_NE(Line(d, CDialogRecordDump::kIdDataList, 0).find(" Data"), std::string::npos);
        if (h.nBlockLen > h.nDataLen) {
            EXPECT_NE(Line(d, CDialogRecordDump::kIdDataList, h.nDataLen).find("Not data"), std::string::npos);
        }
        ui::test::Click(d, ui::IDCANCEL);
    });
    CDialogRecordDump dialog(db_.get());
    dialog.m_nBlockLocation = loc;
    EXPECT_EQ(dialog.DoModal(), ui::IDCANCEL);
}

TEST_F(RecordDumpTest, ByteEditsOnlyReachTheFileOnOk)
{
    const uint32_t loc = FirstPersonBlock();
    stDataHeader before;
    ASSERT_TRUE(db_->ReadDbHeader(loc, before, false));
    // Cancel after an edit leaves the file alone.
    Script([&](ui::Dialog& d) {
        EditByte(d, CDialogRecordDump::kIdHeaderList, CDialogRecordDump::kIdEditHeader, 1, "300");
        EXPECT_EQ(Line(d, CDialogRecordDump::kIdHeaderList, 1), "     1[ 44],");
        ui::test::Click(d, ui::IDCANCEL);
    });
    {
        CDialogRecordDump dialog(db_.get());
        dialog.m_nBlockLocation = loc;
        dialog.DoModal();
    }
    stDataHeader after;
    ASSERT_TRUE(db_->ReadDbHeader(loc, after, false));
    EXPECT_EQ(after.cDelimiter[1], 'U');

    // A cancelled prompt keeps the byte; -1 stores 255; OK writes.
    Script([&](ui::Dialog& d) {
        EditByte(d, CDialogRecordDump::kIdHeaderList, CDialogRecordDump::kIdEditHeader, 1, nullptr);
        EXPECT_EQ(Line(d, CDialogRecordDump::kIdHeaderList, 1), "     1[ 85]U");
        EditByte(d, CDialogRecordDump::kIdHeaderList, CDialogRecordDump::kIdEditHeader, 1, "-1");
        EXPECT_EQ(Line(d, CDialogRecordDump::kIdHeaderList, 1), "     1[255]\xff");
        ui::test::Click(d, ui::IDOK);
    });
    {
        CDialogRecordDump dialog(db_.get());
        dialog.m_nBlockLocation = loc;
        EXPECT_EQ(dialog.DoModal(), ui::IDOK);
    }
    ASSERT_TRUE(db_->ReadDbHeader(loc, after, false));
    EXPECT_EQ(static_cast<uint8_t>(after.cDelimiter[1]), 255);
}

TEST_F(RecordDumpTest, LongerBlockLengthIsRefused)
{
    const uint32_t loc = FirstPersonBlock();
    stDataHeader before;
    ASSERT_TRUE(db_->ReadDbHeader(loc, before, false));
    Answer({ui::IDOK});
    Script([&](ui::Dialog& d) {
        EditByte(d, CDialogRecordDump::kIdHeaderList, CDialogRecordDump::kIdEditHeader, 17, "200");
        ui::test::Click(d, ui::IDOK);
    });
    CDialogRecordDump dialog(db_.get());
    dialog.m_nBlockLocation = loc;
    dialog.DoModal();
    EXPECT_EQ(BoxTexts().size(), 1u);
    stDataHeader after;
    ASSERT_TRUE(db_->ReadDbHeader(loc, after, false));
    EXPECT_EQ(after.nBlockLen, before.nBlockLen);
}

TEST_F(RecordDumpTest, UnreadableBlockIsReportedAndOkWritesNothing)
{
    const uint32_t size = db_->GetFileSize(db_->GetFile());
    Answer({ui::IDOK, ui::IDOK});
    Script([](ui::Dialog& d) {
        EXPECT_EQ(d.List(CDialogRecordDump::kIdHeaderList)->GetCount(), 0);
        ui::test::Click(d, ui::IDOK);
    });
    CDialogRecordDump dialog(db_.get());
    dialog.m_nBlockLocation = size + 1000;
    dialog.DoModal();
    EXPECT_EQ(BoxTexts().size(), 2u);
    EXPECT_EQ(db_->GetFileSize(db_->GetFile()), size);
}
