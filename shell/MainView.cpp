#include "shell/MainView.h"
#include "common/DataPaths.h"

#include "common/DateTime.h"
#include "common/Diagnostic.h"
#include "common/ListHelpers.h"
#include "common/QuestionBox.h"
#include "common/TextFormat.h"
#include "database/Database.h"
#include "database/SettingsRecords.h"
#include "dialogs/DialogMenu.h"
#include "dialogs/DialogPricelist.h"
#include "dialogs/DialogScheduleCell.h"
#include "dialogs/DialogStudioData.h"
#include "platform/host/Clock.h"
#include "platform/host/File.h"
#include "platform/host/Format.h"
#include "platform/host/Path.h"
#include "platform/ui/CommonDialogs.h"
#include "reports/Reports.h"
#include "reports/ReportsRTF.h"
#include "shell/HandlerScope.h"
#include "shell/MainFrame.h"
#include "shell/MainMenu.h"
#include "shell/ProgramState.h"
#include "shell/ScheduledBackup.h"
#include "shell/SettingsFile.h"
#include "views/ActivityHourGrid.h"
#include "views/AdvertisingGrid.h"
#include "views/DailyBalanceGrid.h"
#include "views/EnrollmentGrid.h"
#include "views/FinanceGrid.h"
#include "views/FrameHtml.h"
#include "views/ProgramStatisticsGrid.h"
#include "views/RoomGrid.h"
#include "views/ScheduleGrid.h"
#include "views/SpreadsheetGrid.h"
#include "views/TeacherActivityGrid.h"
#include "views/TeacherGrid.h"
#include "widgets/AppHelpers.h"
#include "widgets/CommandGuards.h"
#include "widgets/ControlHelpers.h"
#include "widgets/ExternalPrograms.h"
#include "widgets/Prompts.h"

#include <cstdlib>
#include <ctime>

namespace {

const char* const kCaptions[CMainView::kButtonCount] = {
    "Exit Dorvalquintex",
    "F2 Frequently asked questions - How do I?",
    "F3 Review/edit student list",
    "F4 Review/edit purchase list",
    "F5 Review/edit payment list",
    "F6 Review/edit schedulable items list",
    "F7 Review/edit interview list",
    "F8 Review/edit teacher list",
    "F9 Student sign-in, schedule, payment",
    "F10 New student, guest, interview, purchase",
    "F11 Record purchase",
    "F12 Record payment, credit",
    "Ctrl-F2 View daily teacher schedule",
    "Ctrl-F3 View weekly studio schedule",
    "Ctrl-F4 View daily room schedule",
    "Ctrl-F5 Mail list/labels/envelopes",
};
// Access level of each button; 0 for none.
const uint8_t kButtonLevels[CMainView::kButtonCount] = {0, 0, 5, 5, 5, 5, 5, 9,
                                                        5, 5, 5, 5, 5, 5, 5, 5};

const char* TrueFalse(bool b) { return b ? "TRUE" : "FALSE"; }

// A report grid deletes itself after its window is destroyed; one without a window goes now.
void KeepIfOpen(CReportGrid* grid)
{
    if (!grid->IsCreated()) delete grid;
}

// "Studio data": the twelve studio strings edited and saved; a refused save keeps the old ones.
void EditStudioData(CDatabase& db, ui::Window* parent)
{
    db.RefreshBeforeSettingsEdit();
    stStudioStrings& strings = db.GetStudioStrings();
    CDialogStudioData dialog(&db, parent);
    std::string* fields[12] = {&dialog.m_strName,  &dialog.m_strCode,  &dialog.m_strAddress1,
                               &dialog.m_strAddress2, &dialog.m_strCity, &dialog.m_strState,
                               &dialog.m_strZip,   &dialog.m_strPhone, &dialog.m_strFax,
                               &dialog.m_strEmail, &dialog.m_strCountry, &dialog.m_strReportEmail};
    std::string* values[12] = {&strings.sStudioName, &strings.sStudioCode, &strings.sAddress1,
                               &strings.sAddress2,   &strings.sCity,       &strings.sState,
                               &strings.sZip,        &strings.sPhone,      &strings.sFax,
                               &strings.sStudioEmail, &strings.sCountry,   &strings.sReportEmail};
    for (int i = 0; i < 12; ++i) *fields[i] = *values[i];
    if (dialog.DoModal() != ui::IDOK) return;
    const stStudioStrings before = strings;
    for (int i = 0; i < 12; ++i) *values[i] = *fields[i];
    if (db.SaveParameterRecord(0) != 1) db.GetStudioStrings() = before;
}

// "Configure": the software parameters with the desk's own values beside them.
void ConfigureSoftware(CDatabase& db, CDatabaseDialogs& dialogs)
{
    CSettingsFile& settings = AppSettings();
    stConfigureAppValues values;
    values.sBackupDrive = settings.m_sBackupDrive;
    values.nTimedBackups = settings.m_nTimedBackup;
    values.nTimedBackupInterval = settings.m_nTimedBackupInterval;
    values.bShoppingCartFormat = settings.m_bShoppingCartFormat;
    values.sWordProcessor = WordProcessorPath;
    values.ReportPrinter = settings.m_PrinterDef;
    values.LabelPrinter = settings.m_LabelPrinterDef;
    dialogs.m_pAppValues = &values;
    db.SaveParameterRecord(1);
    dialogs.m_pAppValues = nullptr;
    // The dialog changed them only on OK.
    settings.m_sBackupDrive = values.sBackupDrive;
    settings.m_nTimedBackup = values.nTimedBackups;
    settings.m_nTimedBackupInterval = values.nTimedBackupInterval;
    settings.m_bShoppingCartFormat = values.bShoppingCartFormat;
    WordProcessorPath = values.sWordProcessor;
    settings.m_PrinterDef = values.ReportPrinter;
    settings.m_LabelPrinterDef = values.LabelPrinter;
}

}  // namespace

CMainView::CMainView()
{
    if (DiagnosticLevel > 0) WriteDiagnosticString("CMainView constructor\n");
    // The database road; tests may put their own calls in these seams.
    m_fnOpenDatabase = [this](const std::string& path, int isNew) {
        if (!m_pDB) return 0;
        std::string root = path;
        if (root.size() > 4) {
            std::string ext = root.substr(root.size() - 4);
            for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
            if (ext == ".dbs") root.erase(root.size() - 4);
        }
        return m_pDB->OpenDatabase(root, isNew) ? 1 : 0;
    };
    m_fnCloseDatabase = [this] {
        if (m_pDB) m_pDB->CloseDatabase();
    };
    m_fnIsLockManager = [this] {
        return m_pDB && m_pDB->HasLanLink() && !m_pDB->GetLockMngrName().empty() &&
               m_pDB->GetLockMngrName() == m_pDB->GetComputerName();
    };
    m_fnChooseUsersFile = [this] { return ChooseUsersFile(); };
    m_fnLockAndRefresh = [this] {
        if (m_pDB && (m_pDB->m_bRefreshPending || !m_pDB->m_aRefreshFlags.empty()))
            m_pDB->LockAndRefreshDatabase("refresh database", 0, 0, 0, 1);
    };
}

CMainView::~CMainView()
{
    if (DiagnosticLevel > 0) WriteDiagnosticString("CMainView destructor\n");
    CloseRawDatabaseFile();
}

CMainFrame* CMainView::Frame() const { return dynamic_cast<CMainFrame*>(GetFrame()); }

CLauncherButton& CMainView::Button(int k)
{
    const int column = k / 8, row = k % 8;
    return m_Buttons[row * 2 + column];
}

bool CMainView::CreateLauncher(CMainFrame* frame)
{
    if (!CreateView(frame, CMainFrame::kLauncherId)) return false;
    for (int k = 0; k < kButtonCount; ++k) {
        CLauncherButton& b = Button(k);
        if (!b.Create(this, {0, 0, 0, 0}, kFirstButtonId + k)) return false;
        b.SetWindowText(kCaptions[k]);
        b.SetGreyed(!IsLauncherButtonBuilt(k));
        b.ShowWindow(false);
    }
    Button(0).SetSelected(true);
    return true;
}

std::string CMainView::VersionLine()
{
    std::string stamp;
    time_t modified = 0;
    if (host::GetFileModifiedTime(host::JoinPath(ProgramFolder, "Dorvalquintex"), modified)) {
        host::LocalTime t;
        if (host::Clock::ToLocal(modified, t))
            stamp = Format("%02d/%02d/%04d %02d:%02d", t.month, t.day, t.year, t.hour, t.minute);
    }
    return Format("Dorvalquintex version 3.33 [%s]  Copyright (c) 2008 the Dorvalquintex authors. All rights reserved.",
                  stamp.c_str());
}

std::string CMainView::ShownPath(std::string path)
{
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

std::string CMainView::TitleText() const
{
    if (DatabaseOpen == 1) {
        std::string user = UserName;
        if (m_pDB) user = m_pDB->GetUserName(CDbEngine::GetCurrentUserCode());
        return Format("Dorvalquintex for studio in database: %s, user %s", ShownPath(CurrentDatabasePath).c_str(),
                      user.c_str());
    }
    return "Dorvalquintex (no database open)";
}

void CMainView::TakeCurrentUser()
{
    if (!m_pDB) return;
    UserName = m_pDB->GetUserName(CDbEngine::GetCurrentUserCode());
    UserAccessLevel = m_pDB->GetUserAccessLevel();
}

// ---- Layout and painting ------------------------------------------------------------------

void CMainView::OnSize(int cx, int cy)
{
    ui::View::OnSize(cx, cy);
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CMainView::OnSize Timer=%s, type %u, (%u, %u)\n", GetTimerText().c_str(), 0u,
                              static_cast<unsigned>(cx), static_cast<unsigned>(cy));
    CMainFrame* frame = Frame();
    if (frame && frame->GetCurrentView() != 0) {
        if (ui::View* view = frame->GetViewObject(frame->GetCurrentView())) view->MoveWindow(frame->GetViewRect());
        return;
    }
    LayoutButtons(cx, cy);
}

void CMainView::LayoutButtons(int cx, int cy)
{
    const int columnWidth = cx / 2;
    const int rowHeight = (cy - 30) / 8;
    const int buttonWidth = static_cast<int>(columnWidth * 0.94);
    const int buttonHeight = static_cast<int>(rowHeight * 0.80);
    for (int column = 0; column < 2; ++column) {
        for (int row = 0; row < 8; ++row) {
            const int x = column * columnWidth + (columnWidth - buttonWidth) / 2;
            const int y = row * rowHeight + (rowHeight - buttonHeight) / 2;
            CLauncherButton& b = m_Buttons[row * 2 + column];
            b.MoveWindow({x, y, x + buttonWidth, y + buttonHeight});
            b.ShowWindow(true);
        }
    }
}

void CMainView::OnPaint(ui::DC& dc)
{
    CMainFrame* frame = Frame();
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CChildView::OnPaint, bMainDatabaseOpen = %s, window pointer %u enabled = %s\n",
                              TrueFalse(DatabaseOpen == 1),
                              static_cast<unsigned>(reinterpret_cast<uintptr_t>(frame)),
                              TrueFalse(frame && frame->IsWindowEnabled()));
    const ui::DCRect client = GetClientRect();
    dc.FillSolidRect(client, 0x00F0F0F0);
    ui::Font font;
    font.face = "Times New Roman";
    font.sizeTenths = 100;
    dc.SelectFont(font);
    dc.SetBkMode(ui::TRANSPARENT);
    dc.SetTextColor(0);
    dc.TextOut(10, client.bottom - 35, VersionLine());

    m_sTitle = TitleText();
    if (frame && frame->GetWindowText() != m_sTitle) frame->SetWindowText(m_sTitle);

    // The code box: the typed code is shown only when a key changes it.
    const ui::DCRect box{client.right - 110, client.bottom - 30, client.right - 10, client.bottom - 5};
    dc.FillSolidRect(box, 0);
    dc.FillSolidRect({box.left + 1, box.top + 1, box.right - 1, box.bottom - 1}, 0x00FFFFFF);
}

void CMainView::SelectButton(int row, int column)
{
    m_nSelectedRow = row;
    m_nSelectedColumn = column;
    for (int k = 0; k < kButtonCount; ++k) Button(k).SetSelected(k == column * 8 + row);
    Invalidate();
}

// ---- Buttons and keys ---------------------------------------------------------------------

void CMainView::RunButton(int k)
{
    if (k < 0 || k >= kButtonCount) return;
    // A greyed button's key does nothing, as its click does.
    if (!IsLauncherButtonBuilt(k)) return;
    if (k == 0) {
        if (GetResponse("Exit Dorvalquintex?", MB_OKCANCEL) != IDOK) return;
        if (ConfirmCloseAsLockManager() == 0) return;
        if (CMainFrame* frame = Frame()) frame->ExitWithoutQuestion();
        return;
    }
    if (k == 1) {
        ShowHelpTopic(30113);
        m_sTypedCode.clear();
        SelectButton(1, 0);
        return;
    }
    if (CheckDatabaseAccess(kButtonLevels[k]) == 0) return;
    if (CMainFrame* frame = Frame()) {
        switch (k) {
        case 2: frame->StudentView(m_pDB.get()); break;
        case 3: frame->PurchaseView(m_pDB.get()); break;
        case 4: frame->PaymentView(m_pDB.get()); break;
        case 5: frame->ScheduleView(m_pDB.get()); break;
        case 15: frame->MaillistView(m_pDB.get(), 'C'); break;
        case 6: frame->InterviewView(m_pDB.get()); break;
        case 7: frame->TeacherView(m_pDB.get()); break;
        case 12:
            if (m_pDB) new CTeacherGrid(Frame(), m_pDB.get());  // deletes itself
            break;
        case 13: OpenScheduleGrid(-1); break;
        case 14: OpenRoomGrid('D'); break;
        case 9:
            if (m_pDB) m_pDB->AddOrSelectStudent();
            break;
        case 11:
            if (m_pDB) m_pDB->RecordPayment();
            break;
        case 10:
            if (m_pDB && AppSettings().m_bShoppingCartFormat == 1) m_pDB->CheckoutShoppingCart();
            else if (m_pDB) m_pDB->AddPurchaseForStudent();
            break;
        case 8:
            SignInStudent();
            break;
        default: break;
        }
    }
    SelectButton(k % 8, k / 8);
}

void CMainView::OpenScheduleGrid(int32_t mode)
{
    if (!m_pDB) return;
    new CScheduleGrid(Frame(), m_pDB.get(), mode);  // deletes itself when closed
}

void CMainView::OpenRoomGrid(char mode)
{
    if (!m_pDB) return;
    new CRoomGrid(Frame(), m_pDB.get(), mode);  // deletes itself when closed
}

void CMainView::OpenReportGrid(int id)
{
    if (!m_pDB) return;
    CDatabase* db = m_pDB.get();
    switch (id) {
    case 32879: KeepIfOpen(new CActivityHourGrid(this, db)); break;
    case 30101: KeepIfOpen(new CAdvertisingGrid(this, db)); break;
    case 32916: KeepIfOpen(new CDailyBalanceGrid(this, db)); break;
    case 32877: KeepIfOpen(new CEnrollmentGrid(this, db)); break;
    case 30072: KeepIfOpen(new CFinanceGrid(this, db, 1)); break;
    case 32878: KeepIfOpen(new CFinanceGrid(this, db, 5)); break;
    case 30073: KeepIfOpen(new CFinanceGrid(this, db, 2)); break;
    case 32875: KeepIfOpen(new CFinanceGrid(this, db, 3)); break;
    case 30074: KeepIfOpen(new CFinanceGrid(this, db, 4)); break;
    case 32860: KeepIfOpen(new CProgramStatisticsGrid(this, db, 'P')); break;
    case 32880: KeepIfOpen(new CProgramStatisticsGrid(this, db, 'D')); break;
    case 32881: KeepIfOpen(new CProgramStatisticsGrid(this, db, 'C')); break;
    default: break;
    }
}

void CMainView::LookUpTypedCode()
{
    const std::string code = m_sTypedCode;
    m_sTypedCode.clear();
    CPerson* person = m_pDB ? m_pDB->FindPersonByCheckInCode(code) : nullptr;
    if (!person && m_pDB) person = static_cast<CPerson*>(m_pDB->GetItem(TABLE_PERSON, std::strtoul(code.c_str(), nullptr, 10)));
    if (!person) {
        GetResponse(Format("Person code %s not found.", code.c_str()), MB_OK);
        return;
    }
    m_pDB->RunSignIn(person);
}

void CMainView::SignInStudent()
{
    m_sTypedCode.clear();
    Invalidate();
    if (!m_pDB) return;
    const int32_t code = m_pDB->SelectPerson('C', 0, 0, 0);
    if (code < 0) return;
    if (CPerson* person = static_cast<CPerson*>(m_pDB->GetItem(TABLE_PERSON, static_cast<uint32_t>(code))))
        m_pDB->RunSignIn(person);
}

void CMainView::TypeKey(int vk)
{
    if (vk == ui::VK_BACK) {
        if (!m_sTypedCode.empty()) m_sTypedCode.back() = ' ';
        while (!m_sTypedCode.empty() && m_sTypedCode.back() == ' ') m_sTypedCode.pop_back();
    } else {
        m_sTypedCode += static_cast<char>(vk);
    }
    Invalidate();
}

bool CMainView::OnKeyDown(int vk) { return HandleKey(vk, false); }

bool CMainView::HandleKey(int vk, bool ctrl)
{
    CHandlerScope scope;
    switch (vk) {
    case ui::VK_LEFT:
        if (m_nSelectedColumn > 0) --m_nSelectedColumn;
        SelectButton(m_nSelectedRow, m_nSelectedColumn);
        return true;
    case ui::VK_RIGHT:
        SelectButton(m_nSelectedRow, m_nSelectedColumn == 0 ? 1 : 0);
        return true;
    case ui::VK_UP:
        SelectButton(m_nSelectedRow == 0 ? 7 : m_nSelectedRow - 1, m_nSelectedColumn);
        return true;
    case ui::VK_DOWN:
        SelectButton(m_nSelectedRow == 7 ? 0 : m_nSelectedRow + 1, m_nSelectedColumn);
        return true;
    case ui::VK_RETURN:
        if (!m_sTypedCode.empty()) LookUpTypedCode();
        else RunButton(m_nSelectedColumn * 8 + m_nSelectedRow);
        return true;
    case ui::VK_SPACE:
        LookUpTypedCode();
        Invalidate();
        return true;
    case ui::VK_BACK:
        TypeKey(vk);
        return true;
    default:
        break;
    }
    if (vk >= ui::VK_F2 && vk <= ui::VK_F5) {
        RunButton(ctrl ? 12 + (vk - ui::VK_F2) : 1 + (vk - ui::VK_F2));
        return true;
    }
    if (vk >= ui::VK_F6 && vk <= ui::VK_F12) {
        static const int kButtonOfKey[] = {5, 6, 7, 8, 9, 10, 11};  // F6..F12 (F10 is button 9)
        RunButton(kButtonOfKey[vk - ui::VK_F6]);
        return true;
    }
    if (ctrl && vk == 'B') return RunCommand(30000);
    if (ctrl && vk == 'R') return RunCommand(30003);
    if (vk == 'B' && !ctrl) return true;
    if (vk >= 48 && vk <= 122) {
        TypeKey(vk);
        return true;
    }
    return false;
}

// ---- Commands -----------------------------------------------------------------------------

bool CMainView::RunCommand(int id)
{
    if (CMainFrame* frame = Frame()) return frame->SendCommand(id);
    return OnCommand(id, 0);
}

void CMainView::UpdateCommand(ui::CmdUI& cmd)
{
    const stMenuCommand* c = FindMainMenuCommand(cmd.GetId());
    if (!c) return;
    if (!c->built) {
        cmd.Enable(false);
        return;
    }
    switch (c->rule) {
    case MenuRule::Always:
        break;
    case MenuRule::Level:
        EnableForAccessLevel(c->level, cmd);
        break;
    case MenuRule::LevelSingle:
        if (m_pDB && m_pDB->m_nUsersOnLine > 1) cmd.Enable(false);
        else EnableForAccessLevel(c->level, cmd);
        break;
    case MenuRule::NoDatabase:
        cmd.Enable(DatabaseOpen != 1);
        break;
    case MenuRule::NoOpenFile:
        cmd.Enable(!(m_pDB && m_pDB->IsOpen()));
        break;
    case MenuRule::Checked:
        break;
    }
    // Opening waits for the database road.
    if (cmd.GetId() == 57601 && !m_fnOpenDatabase) cmd.Enable(false);
}

namespace {

// The category type each category command lists (0: every type).
char CategoryListType(int command)
{
    switch (command) {
    case 32891:
    case 32892: return 'B';
    case 32870: return 'm';
    case 32868: return 'D';
    case 32869: return 'C';
    case 30085: return 'P';
    case 30086: return 'I';
    case 30082: return 'M';
    case 30105: return 'A';
    case 30104: return 'T';
    case 30070: return 'R';
    default: return 0;
    }
}

}  // namespace

bool CMainView::OnCommand(int id, int code)
{
    CHandlerScope scope;
    if (id >= kFirstButtonId && id < kFirstButtonId + kButtonCount &&
        (code == ui::BN_CLICKED || code == ui::BN_DOUBLECLICKED)) {
        RunButton(id - kFirstButtonId);
        return true;
    }
    switch (id) {
    case 57601:
        if (ConfirmCloseAsLockManager() != 0) OnDatabaseOpen("", 0);
        return true;
    case 57602:
        OnCloseDatabase();
        return true;
    case 32911:
        if (m_pDB && m_pDB->SwitchUsers()) {
            TakeCurrentUser();
            Invalidate();
        }
        return true;
    case 30032:
    case 32925:
        if (m_pDB) m_pDB->EditUserList();
        return true;
    case 30003:
        if (m_pDB) m_pDB->RefreshDatabase();
        return true;
    case 32940:
        DefaultCategories();
        return true;
    case 32891:
    case 32892:
    case 32870:
    case 32868:
    case 32869:
    case 30085:
    case 30086:
    case 30082:
    case 30105:
    case 30104:
    case 32941:
    case 30070:
        if (m_pDB) m_pDB->ShowCategoryListDialog(CategoryListType(id), id == 32891 ? 'P' : id == 32892 ? 'S' : 0);
        return true;
    case 32929:
        if (m_pDB) m_pDB->ShowDefaultAccountsDialog();
        return true;
    case 30050:
        if (m_pDB) m_pDB->ShowPackageListDialog();
        return true;
    case 30096:
        if (m_pDB) m_pDB->PurgePersons('A');
        return true;
    case 30099:
        if (m_pDB) m_pDB->PurgePersons('P');
        return true;
    case 30069:
        TemplateFiles();
        return true;
    case 30013:
        if (m_pDB) m_pDB->DeletedDataReport();
        return true;
    case 30008:
        ClearDeletedData();
        return true;
    case 30017:
        TestLinkedList(false);
        return true;
    case 30016:
        if (GetResponse("This is the last resort operation to recover a trashed database.\nYou should do a "
                        "backup to floppy before you attempt this.\nAre you sure you want to do this?",
                        MB_YESNO) == IDYES)
            TestLinkedList(true);
        return true;
    case 30007:
        TestTableReferences(false);
        return true;
    case 30015:
        TestTableReferences(true);
        return true;
    case 32924:
        WebPageView();
        return true;
    case 30002:
        LogDiagnosticData();
        return true;
    case 32894:
        if (m_pDB) m_pDB->SortRecordsPerson();
        return true;
    case 30035:
        if (CMainFrame* frame = Frame()) frame->StudentView(m_pDB.get());
        return true;
    case 30058:
        OpenScheduleGrid(-1);
        return true;
    case 32922:
        OpenScheduleGrid(-2);
        return true;
    case 30071:
        OpenRoomGrid('M');
        return true;
    case 30080:
        if (m_pDB) new CTeacherGrid(Frame(), m_pDB.get());  // deletes itself when closed
        return true;
    case 32897:
        OpenRoomGrid('D');
        return true;
    case 30097:
    case 32845:
        if (m_pDB) new CTeacherActivityGrid(Frame(), m_pDB.get(), id == 30097 ? 'T' : 'S');  // deletes itself when closed
        return true;
    case 32879:
    case 30101:
    case 32916:
    case 32877:
    case 30072:
    case 32878:
    case 30073:
    case 32875:
    case 30074:
    case 32860:
    case 32880:
    case 32881:
        OpenReportGrid(id);
        return true;
    case 30068:
        if (CMainFrame* frame = Frame()) frame->InterviewView(m_pDB.get());
        return true;
    case 30053:
        if (CMainFrame* frame = Frame()) frame->PurchaseView(m_pDB.get());
        return true;
    case 30052:
        if (CMainFrame* frame = Frame()) frame->PaymentView(m_pDB.get());
        return true;
    case 30054:
        if (CMainFrame* frame = Frame()) frame->ScheduleView(m_pDB.get());
        return true;
    case 30076:
        SignInStudent();
        return true;
    case 32890:
        if (m_pDB) m_pDB->ShowAutoCheckInDialog();
        return true;
    case 30063:
        if (CMainFrame* frame = Frame()) frame->MaillistView(m_pDB.get(), 'C');
        return true;
    case 32846:
        if (CMainFrame* frame = Frame()) frame->MaillistView(m_pDB.get(), 'E');
        return true;
    case 30041:
        if (CMainFrame* frame = Frame()) frame->TeacherView(m_pDB.get());
        return true;
    case 30029:
        if (CMainFrame* frame = Frame()) frame->DatabaseView(m_pDB.get(), 0);
        return true;
    case 30037:
        if (m_pDB) CDialogPricelist::Show(*m_pDB);
        return true;
    case 32862:
        if (m_pDB) EditStudioData(*m_pDB, Frame());
        return true;
    case 30088:
        if (m_pDB) ConfigureSoftware(*m_pDB, m_databaseUi);
        return true;
    case 32935:
        if (m_pDB) m_pDB->ImportStudentsAndContracts();
        return true;
    case 32893:
        if (m_pDB) m_pDB->ImportIIF();
        return true;
    case 32927:
        if (m_pDB) m_pDB->ExportPersonsIIF('C');
        return true;
    case 32930:
        if (m_pDB) m_pDB->ExportPersonsIIF('E');
        return true;
    case 32928:
        if (m_pDB) m_pDB->ExportTransactionsIIF();
        return true;
    case 32931:
        ViewIifFile();
        return true;
    case 32944:
        if (m_pDB) m_pDB->DumpDatabase();
        return true;
    case 32888:
        if (m_pDB) CReports(m_pDB.get()).DailyBalanceTableReport();
        return true;
    case 30081:
        if (m_pDB) CReports(m_pDB.get()).BalanceDueReport();
        return true;
    case 30087:
        if (m_pDB) CReports(m_pDB.get()).TaxReport();
        return true;
    case 30100:
        if (m_pDB) CReports(m_pDB.get()).AccountActivityReport();
        return true;
    case 32910:
        if (m_pDB) CReports(m_pDB.get()).SaleItemsReport();
        return true;
    case 32884:
    case 32885:
        if (m_pDB) CReports(m_pDB.get()).WriteWeeklyReportFile(id == 32884 ? 1 : 0);
        return true;
    case 32886:
        CReports(m_pDB.get()).CompositeReport();
        return true;
    case 32909:
        if (m_pDB) CReports(m_pDB.get()).LessonsTaughtReport();
        return true;
    case 30089:
    case 30102:
        if (m_pDB) CReports(m_pDB.get()).MostRecentActivityReport(id == 30102 ? 'E' : 'C');
        return true;
    case 32899:
        if (m_pDB) CReports(m_pDB.get()).ActivityCountReport();
        return true;
    case 32943:
        if (m_pDB) CReports(m_pDB.get()).PurchaserRosterReport();
        return true;
    case 30084:
    case 32908:
        if (m_pDB) CReports(m_pDB.get()).ObligationsReport(id == 30084 ? 'O' : 'M');
        return true;
    case 30009: ShowHelpTopic(30011); return true;
    case 30012: ShowHelpTopic(30012); return true;
    case 30026: ShowHelpTopic(104); return true;
    case 30113: ShowHelpTopic(30113); return true;
    case 57667: ShowHelpTopic(0); return true;
    default:
        return OnMaintenanceCommand(id);
    }
}

void CMainView::ViewIifFile()
{
    std::string path, title;
    if (!BrowseForFile("IIF files", "*.iif", path, title, 1) || path.empty()) return;
    new CSpreadsheetGrid(Frame(), m_pDB.get(), path);  // deletes itself when closed
}

void CMainView::LogDiagnosticData()
{
    const std::string answer = PromptForString("Diagnostic level", 10, Format("%i", DiagnosticLevel), 0);
    DiagnosticLevel = std::atoi(answer.c_str());
    if (DiagnosticLevel > 0) {
        OpenDiagnosticFile();
        RestartDiagnosticClock();
        WriteDiagnosticFormat("Diagnostic file open, level %i, Timer=%s\n", DiagnosticLevel,
                              FormatCurrentTime('S').c_str());
    } else {
        CloseDiagnosticFile();
    }
}

void CMainView::TemplateFiles()
{
    std::vector<std::string> names, dates;
    ListFilesWithDates("*.RTF", names, dates, 0);
    names.insert(names.begin(), "<new>");
    CDialogMenu menu(m_pDB.get(), "Select invoice/contract template file", 'S', 'N', 0, 0, "");
    for (size_t i = 0; i < names.size(); ++i) menu.AddItem(static_cast<uint32_t>(i), names[i]);
    // "<new>" needs the word processor; a file also opens in the own viewer when that is there.
    menu.m_fnCanChoose = [&names](uint32_t id) {
        return id < names.size() && CanOpenInWordProcessor(id == 0 ? std::string() : names[id]);
    };
    const int selected = menu.DoModal();  // the entry's number, -1 for Cancel
    if (selected < 0 || selected >= static_cast<int>(names.size())) return;
    OpenInWordProcessor(selected == 0 ? std::string() : names[selected]);
}

void CMainView::DefaultCategories()
{
    if (GetResponse("This will create some basic sales items (private lessons, group lessons, studio parties, "
                    "floor use),\nsome sources of new business (newspaper ad, yellow pages, telemarketing, "
                    "student referral), and a\nnumber of tax categories. They will be appended to any "
                    "categories you have already created. You\ncan edit or delete these after they are "
                    "appended. Do you want to continue?",
                    MB_YESNO) != IDYES)
        return;
    if (m_pDB) m_pDB->MakeBasicCategories();
}

void CMainView::ClearDeletedData()
{
    if (!m_pDB) return;
    if (m_pDB->HasLanLink() && !(m_fnIsLockManager && m_fnIsLockManager())) {
        GetResponse(Format("Only the user on computer %s should perform this operation.",
                           m_pDB->GetLockMngrName().c_str()),
                    MB_OK);
        return;
    }
    if (GetResponse("Are you sure you want to permanently delete items marked for deletion?", MB_YESNO) !=
        IDYES)
        return;
    if (m_pDB->CompactDatabase(CurrentDatabasePath) != 0) return;
    if (m_nTimerId == kRefreshTimer && IsCreated()) KillTimer(kRefreshTimer);
    m_nTimerId = 0;
    if (IsCreated()) Invalidate();
}

void CMainView::TestLinkedList(bool repair)
{
    if (!m_pDB || !m_pDB->IsOpen()) return;
    std::vector<std::string> report;
    m_pDB->TestAndRepairHeaders('F', repair ? 1 : 0, report);
    CReportsRTF rtf(m_pDB.get(), 1, report);
}

void CMainView::WebPageView()
{
    ui::FileDialog dialog(true, "HTM", "", "Web pages (*.HTM)|*.HTM||");
    if (dialog.DoModal() != ui::IDOK || dialog.GetPathName().empty()) return;
    auto* frame = new CFrameHtml();
    if (!frame->ShowHtml(dialog.GetPathName()) && !frame->IsCreated()) delete frame;
}

void CMainView::TestTableReferences(bool repair)
{
    if (!m_pDB || !m_pDB->IsOpen()) return;
    std::vector<std::string> report;
    m_pDB->TestTableReferences(report, repair ? 1 : 0, 0);
    CReportsRTF rtf(m_pDB.get(), 1, report);
}

// ---- Database -----------------------------------------------------------------------------

void CMainView::OnOpenView(const std::string& path)
{
    m_pDB = std::make_unique<CDatabase>();
    WriteMemoryTraceAlloc(m_pDB.get(), "m_pDB in CMainView::OnOpenView()");
    m_pDB->SetStudioStrings(&StudioStrings);
    if (CMainFrame* frame = Frame()) m_pDB->SetMessageWindow(frame);
    m_pDB->SetUi(&m_databaseUi);
    m_pDB->m_fnScheduleCellDialog = [db = m_pDB.get(), this](std::vector<stDataToken>& entries, int row, int column,
                                                             int32_t mode, DATE start, DATE end, CTextArray2D& cells,
                                                             std::vector<DATE>& days, std::vector<DATE>& times) {
        CDialogScheduleCell::Show(*db, entries, row, column, mode, start, end, cells, days, times, Frame());
    };
    m_pDB->m_fnShowSpreadsheet = [this](const std::string& file) {
        if (m_pDB) new CSpreadsheetGrid(Frame(), m_pDB.get(), file);  // deletes itself when closed
    };
    // F11 is live in the shopping cart format, which the settings read by now may have set.
    Button(10).SetGreyed(!IsLauncherButtonBuilt(10));
    if (!path.empty()) OnDatabaseOpen(path, 0);
}

void CMainView::OnDatabaseOpen(const std::string& suppliedPath, int isNew)
{
    std::string path = suppliedPath;
    if (DiagnosticLevel > 0) {
        if (path.empty()) WriteDiagnosticString("CMainView::OnDatabaseOpen entry, no supplied name\n");
        else WriteDiagnosticFormat("CMainView::OnDatabaseOpen entry, supplied name %s\n", path.c_str());
    }
    if (path.empty()) {
        if (m_fnChooseUsersFile) path = m_fnChooseUsersFile();
        if (path.empty()) return;
    }
    if (DatabaseOpen == 1) {
        if (DiagnosticLevel > 0) WriteDiagnosticString("CMainView::OnDatabaseOpen close previous database\n");
        OnDatabaseClose();
    }
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CMainView::OnDatabaseOpen try to open %s, Timer=%s\n", path.c_str(),
                              GetTimerText().c_str());
    const int opened = m_fnOpenDatabase ? m_fnOpenDatabase(path, isNew) : 0;
    if (opened == 1) {
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("CMainView::OnDatabaseOpen %s opened OK, Timer=%s\n", path.c_str(),
                                  GetTimerText().c_str());
        DatabaseOpen = 1;
        if (m_pDB) UserName = m_pDB->GetUserName(CDbEngine::GetCurrentUserCode());
        CurrentDatabasePath = path;
        DatabaseFolder = GetFolderPart(path);
        AddUniqueString(path, RecentDatabases, 'I');
        if (RecentDatabases.size() > 10) RecentDatabases.pop_back();
        m_nLastTimedBackup = host::Clock::TickCount();
        const int32_t interval = m_pDB ? m_pDB->m_Parameters.GetInt(param::kRefreshSeconds) : 0;
        if (interval > 0) {
            m_nTimerId = kRefreshTimer;
            SetTimer(kRefreshTimer, static_cast<uint32_t>(interval) * 1000u);
            if (!HasTimer(kRefreshTimer)) {
                GetResponse("Error in setting timer for refresh.", MB_OK);
                m_nTimerId = 0;
            }
        }
    }
    Invalidate();
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CMainView::OnDatabaseOpen return %s\n", TrueFalse(opened == 1));
}

void CMainView::OnDatabaseClose()
{
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CMainView::OnDatabaseClose, database open=%s\n", TrueFalse(m_pDB && m_pDB->IsOpen()));
    // Windows that read the database's records go first.
    if (CMainFrame* frame = Frame()) frame->CloseRecordWindows();
    if (m_pDB && m_pDB->IsOpen()) {
        if (m_fnCloseDatabase) m_fnCloseDatabase();
        else m_pDB->CloseDB();
    }
    DatabaseOpen = 0;
    if (m_pDB) m_pDB->SetCurrentUser(0, 0);
    UserAccessLevel = 0;
    UserName = "None";
    if (m_nTimerId == kRefreshTimer && IsCreated()) {
        KillTimer(kRefreshTimer);
        m_nTimerId = 0;
    }
    if (IsCreated()) Invalidate();
}

void CMainView::OnCloseDatabase()
{
    if (ConfirmCloseAsLockManager() == 0) return;
    if (DiagnosticLevel > 0) WriteDiagnosticString("CMainView::OnCloseDatabase()\n");
    if (m_pDB && m_pDB->m_bDatabaseChanged) RunScheduledBackup(m_pDB.get(), BackupReason::Closing);
    OnDatabaseClose();
}

void CMainView::OnCloseView(bool ask)
{
    if (DiagnosticLevel > 0) WriteDiagnosticString("CMainView::OnCloseView()\n");
    if (CMainFrame* frame = Frame())
        AppSettings().m_nWindowMode = frame->IsMaximized() ? CSettingsFile::kShowMaximized : CSettingsFile::kShowNormal;
    if (DatabaseOpen == 1) {
        if (m_pDB && m_pDB->m_bDatabaseChanged)
            RunScheduledBackup(m_pDB.get(), ask ? BackupReason::Closing : BackupReason::SessionEnd);
        OnDatabaseClose();
    }
    if (CMainFrame* frame = Frame()) frame->CloseRecordWindows();
    if (m_pDB) {
        WriteMemoryTraceFree(m_pDB.get());
        m_pDB.reset();
    }
}

int CMainView::ConfirmCloseAsLockManager()
{
    if (!m_pDB || !m_pDB->IsOpen() || !m_pDB->HasLanLink()) return 1;
    if (!(m_fnIsLockManager && m_fnIsLockManager())) return 1;
    const uint32_t others = m_pDB->m_nUsersOnLine > 0 ? m_pDB->m_nUsersOnLine - 1 : 0;
    if (others == 0) return 1;
    const int answer = GetResponse(
        Format("This computer is acting as lock manager to coordinate operations of the %i other\nusers "
               "apparently using the database. The operation you have selected will close the\ndatabase so "
               "that the other users may not be able to operate correctly. You should\nnot close the "
               "database unless you are sure that the other users are not still\nusing the database. Would "
               "you like to abort closing the database?",
               static_cast<int>(others)),
        MB_YESNO);
    return answer == IDYES ? 0 : 1;
}

void CMainView::CloseRawDatabaseFile()
{
    if (!m_pRawDatabaseFile) return;
    m_pRawDatabaseFile->Close();
    delete m_pRawDatabaseFile;
    m_pRawDatabaseFile = nullptr;
}

// ---- Refresh timer ------------------------------------------------------------------------

void CMainView::RunTimedBackup()
{
    const CSettingsFile& s = AppSettings();
    const uint64_t seconds = (host::Clock::TickCount() - m_nLastTimedBackup) / 1000;
    if (s.m_nTimedBackup <= 0 || s.m_nTimedBackupInterval <= 0 || !m_pDB->m_bDataChangedForTimer) return;
    if (seconds <= static_cast<uint64_t>(s.m_nTimedBackupInterval) * 60) return;
    const bool lockManager = m_fnIsLockManager && m_fnIsLockManager();
    if (!lockManager && m_pDB->m_nUsersOnLine != 1) return;
    if (RunScheduledBackup(m_pDB.get(), BackupReason::Timed) == 1) m_pDB->m_bDataChangedForTimer = false;
    m_nLastTimedBackup = host::Clock::TickCount();
}

void CMainView::OnTimer(uint32_t)
{
    CHandlerScope scope;
    if (DatabaseOpen != 1 || !m_pDB) return;
    RunTimedBackup();
    if (!m_pDB->m_bDisableDataRefresh && m_pDB->m_nDisableRefreshCount == 0 && m_fnLockAndRefresh) {
        if (DiagnosticLevel > 0) WriteDiagnosticString("CMainView::OnTimer call m_pDB->LockAndRefreshDatabase\n");
        m_fnLockAndRefresh();
    }
}
