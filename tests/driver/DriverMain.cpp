// dq_driver: one running copy of the program without a screen, for tests that start several.
// It opens a database in the folder it is given and does what the commands on stdin say, one
// command a line; every command is answered by one line "OK <command> <results...>" (or
// "ERR <command> <why>") on stdout. Between answers it writes, as they happen:
//   BOX <text>        a message box was shown (line feeds written as '|'); it is answered from
//                     the answers given with "answer", else with the default answer (No / OK)
//   EVENT waitbox 1|0 a lock wait's box opened or closed
//   EVENT frame <n>   the engine posted message 0x404 with first parameter n (2, 3)
// The copy's name, address and server come from the environment (DORVALQUINTEX_COMPUTERNAME,
// DORVALQUINTEX_ADDRESS, DORVALQUINTEX_SERVER); its working folder is the current folder.
//
// Commands (numbers decimal; a location or failure value 4294967295 is 0xFFFFFFFF):
//   create <path> <records>    a new database with <records> person records, keys 1..n; closed
//   open <path> <user code>    opens it and starts the LAN link: OK open <open result> <lan 0/1>
//   users | manager | waiting | granted | flags | clearflags | boxes | ping
//   lockrecord <table> <key>   OK lockrecord <location>
//   unlockrecord <location> | locktable <t> | unlocktable <t> | lockdb | unlockdb
//   abort                      aborts the lock wait in progress (answering its question Yes)
//   notify <table> <key> <location>   sends the data-modified notices of a save
//   answer <id>...             answers for the next message boxes, in order
//   close | quit
// The database road (the program's own open, save, refresh and maintenance):
//   register <name> <id> <password> <code> <level>   appends a user to <name>.rgs
//   opendb <name> <password>   OpenDatabase with the log-on answered: OK opendb <1/0> <users>
//   addperson <last> <first>   OK addperson <result> <code>
//   editperson <code> <first>  edits the first name through the edit road: OK editperson <result>
//   holdperson <last> <first>  adds a person whose dialog stays open (holding the refresh, as a
//                              dialog does) until "release": OK holdperson <result> <code>;
//                              "EVENT dialog 1" when it is open
//   release                    closes the held dialog with OK
//   addpurchase <person> [price]  OK addpurchase <result> <code>; with a price, priced as a whole
//   recordpayment <purchase>   Record payment, the purchase chosen and its first open payment
//                              marked received in the payment dialog: OK recordpayment <edits>
//                              (the payment dialogs that opened)
//   addclass <person> <name>   a studio activity of that name in the price list and a purchase
//                              of it for the person, one unit unscheduled:
//                              OK addclass <result> <price-list code>
//   report roster <code> <word> | report obligations <word>   the roster of that price-list
//                              item or the studio's obligations: OK report <lines holding word>
//   addpayment <person> <amount>  a payment due from the person ("Driver", scheduled now):
//                              OK addpayment <result>
//   addpayments <purchase> <m> adds m scheduled payments, each through the edit road; a save
//                              refused because another desk holds the record is tried again
//                              (up to 60 s): OK addpayments <added> <retries>
//   categories                 appends the default categories: OK categories <categories now>
//   delete <table> <code>      DeleteTableItem with the reference check: OK delete <result>
//   refresh                    the refresh timer's call: OK refresh <1/0>
//   compact | purge <A|P>      compaction (OK compact <result>) / person purge
//   person <code>              OK person <last> <first> ("-" when absent)
//   payments <purchase>        OK payments <count> ("-" when absent)
//   cancel <purchase> | uncancel <purchase>   the purchase list's Cancel and Uncancel:
//                              OK cancel <result>
//   convert <purchase>         the purchase list's convert, its editor answering OK:
//                              OK convert <result>
//   delpayment <purchase> <i>  deletes scheduled payment i: OK delpayment <result>
//   addtokens <purchase> <n>   appends a lesson item of n unscheduled lessons, stored under the
//                              database lock: OK addtokens <result>
//   usetoken | canceltoken <purchase> <item> <token>   the token service in person mode (stored
//                              at once): OK usetoken <result>
//   tokens <purchase>          the token states of each item, in memory: OK tokens <states>...
//   filetokens <purchase>      the same, read from the file: OK filetokens <states>...
//   status <purchase>          OK status <status field> ("-" when absent)
//   maillist <kind> <rows>     shows the mail list of <kind> and leaves it again, its label format
//                              given <rows> rows a page: OK maillist <closed 1/0> <rows it read>
//   count <table>              OK count <items>
//   digest                     OK digest <hash per item table 5,6,8-12>
//   reload                     reads the whole file again (the tables as opening reads them):
//                              OK reload <1/0>
//   listtest                   the linked list test: OK listtest <1 clean/0> <report lines>
//   killat <step>              the next save's WriteRecord kills this copy at the step
//   closedb                    CloseDatabase
// Settings and the price list:
//   configure <refresh seconds> <start hour> <welcome text>  the software parameters dialog
//                              with the three typed, closed with OK: OK configure <result>
//   setparam <offset> <value>  saves one number of the parameters: OK setparam <1/0>
//   settings                   OK settings <refresh seconds> <start hour> <welcome text>
//                              <hash of the parameters and studio strings>
//   addpriceitem <name>        a merchandise item: OK addpriceitem <result> <code>
//   pricelist                  opens the price list and holds it (refreshes fill it again) until
//                              "release": "EVENT dialog 232" when it is open;
//                              OK pricelist <lines when closed>
//   lines <id>                 the lines of list box <id> of the held dialog (blanks as '_'):
//                              OK lines <count> <line>... ("-" when no dialog is held)
// The purchase sheet (the program's own, on the edit road):
//   sheet <purchase>           opens the purchase's sheet, applies the person's first credit on
//                              its payment page and holds it ("EVENT sheet <n>", n counting the
//                              sheets shown) until "release",
//                              then presses OK: OK sheet <result of the edit>
//   trace <level>              sets the trace level (DIAGNOSE.TXT in the working folder)
// The schedule grid (one open at a time; day/time cells count from 0, as the grid's entries do):
//   addlesson <purchase> <day> <hour> [N]  adds, through the edit road, an item with one lesson
//                              scheduled on day <day> (0 the first) of the week shown at <hour>:00
//                              (with N: not scheduled yet); a refused save is tried again (up to
//                              60 s): OK addlesson <result>
//   grid <mode>                opens the weekly schedule grid: OK grid <time rows> <day columns>
//   cell <row> <column>        the cell as the grid paints it: OK cell <text> (blanks as '_',
//                              "-" for an empty cell)
//   where <text>               the first cell that holds the text: OK where <row> <column>
//                              (-1 -1 when none)
//   drag <row> <column> <to row> <to column>  drags the first entry of one cell onto another
//   cellitem <row> <column> <line>  right-clicks the cell; in its dialog gives unscheduled line
//                              <line> the cell's date and time, then OK: OK cellitem <cell lines>
//                              <unscheduled lines> before, then after
//   closegrid                  Exit of the grid
// While a command runs, or the engine is busy on its own (a refresh started by another copy's
// notice, with its lock wait), only the query commands, "abort" and "release" run; others wait
// their turn, as a person facing the wait box would. "close" and "quit" also run while the
// engine alone is busy.

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <iostream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <signal.h>

#include <chrono>
#include <fstream>

#include "common/Diagnostic.h"
#include "common/QuestionBox.h"
#include "records/RecordBuffer.h"
#include "records/SchedulePayment.h"
#include "database/CreditLedger.h"
#include "database/Database.h"
#include "dialogs/DatabaseDialogs.h"
#include "dialogs/DialogPricelist.h"
#include "dialogs/DialogScheduleCell.h"
#include "database/MoneyRequests.h"
#include "database/SettingsRecords.h"
#include "dialogs/DialogMenu.h"
#include "dialogs/PropertySheetPurchase.h"
#include "platform/ui/ListBox.h"
#include "database/UserRegData.h"
#include "widgets/DialogWaitBox.h"
#include "platform/host/Format.h"
#include "platform/ui/Application.h"
#include "platform/ui/TestHooks.h"
#include "platform/ui/Window.h"
#include "platform/ui/View.h"
#include "records/PurchaseItem.h"
#include "records/ScheduleToken.h"
#include "views/MaillistView.h"
#include "reports/ReportFrame.h"
#include "reports/Reports.h"
#include "views/ScheduleGrid.h"

namespace {

constexpr uint32_t kCommandMessage = ui::WM_USER + 100;
constexpr uint32_t kPollTimer = 1;
constexpr uint32_t kPollMs = 20;
// Default answers kept queued for boxes nobody scripted.
constexpr size_t kDefaultAnswers = 16;

void Emit(const std::string& line) {
    std::cout << line << std::endl;
}

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    std::string w;
    while (in >> w) words.push_back(w);
    return words;
}

uint32_t Num(const std::vector<std::string>& w, size_t i) {
    return i < w.size() ? static_cast<uint32_t>(std::strtoul(w[i].c_str(), nullptr, 10)) : 0;
}

// A report frame that copies the report's texts out and shows nothing.
class CKeptLines : public IReportFrame {
public:
    explicit CKeptLines(std::vector<std::string>& texts) : m_texts(texts) {}
    std::vector<stFmtString>& GetLines() override { return m_lines; }
    void SetView(CDatabase*, int, int, int, stPrinterDef*) override { Keep(); }
    void SetView(CDatabase*, int, int, int, const std::vector<std::string>&, int, stPrinterDef*) override { Keep(); }

private:
    void Keep()
    {
        for (const stFmtString& line : m_lines) m_texts.push_back(line.strText);
        delete this;
    }
    std::vector<std::string>& m_texts;
    std::vector<stFmtString> m_lines;
};

class Driver : public ui::Window {
public:
    Driver() {
        Create(nullptr, ui::DCRect{0, 0, 10, 10});
        m_db.SetMessageWindow(this);
        m_db.SetUi(&m_ui);
        m_db.m_fnScheduleCellDialog = [this](std::vector<stDataToken>& entries, int row, int column, int32_t person,
                                             DATE start, DATE end, CTextArray2D& cells, std::vector<DATE>& days,
                                             std::vector<DATE>& times) {
            CDialogScheduleCell::Show(m_db, entries, row, column, person, start, end, cells, days, times);
        };
        ResetAnswers({});
        SetTimer(kPollTimer, kPollMs);
    }

    // From the reader thread.
    void Queue(const std::string& line) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_queue.push_back(line);
        }
        PostMessage(kCommandMessage);
    }

    intptr_t OnMessage(uint32_t message, uintptr_t wParam, intptr_t) override {
        if (message == 0x404) {
            if (wParam == 1) {
                // What the engine does for another copy's message (a refresh, with its lock
                // wait) holds the commands back as a command's own wait does.
                ++m_engineBusy;
                m_db.OnMessage();
                --m_engineBusy;
                if (m_engineBusy == 0 && HasQueued()) PostMessage(kCommandMessage);
            } else
                Emit(Format("EVENT frame %u", static_cast<unsigned>(wParam)));
        } else if (message == kCommandMessage) {
            RunQueued();
        }
        return 0;
    }

    void OnTimer(uint32_t) override {
        FlushBoxes();
        if (!Busy() && HasQueued()) RunQueued();
        bool box = m_db.m_pLockWaitBox != nullptr;
        if (box != m_bBoxShown) {
            m_bBoxShown = box;
            Emit(Format("EVENT waitbox %i", box ? 1 : 0));
        }
        TopUpAnswers();
    }

private:
    static bool IsQuery(const std::string& command) {
        static const char* const kQueries[] = {"users", "manager", "waiting", "granted", "flags",
                                               "boxes", "ping",    "abort",   "answer",  "release", "lines"};
        for (const char* q : kQueries)
            if (command == q) return true;
        return false;
    }

    // A command of its own, or anything the engine does on its own (a refresh started by a
    // message, a lock or block wait), is under way: as for a person facing a wait box, only
    // the queries run meanwhile.
    bool Busy() const {
        return m_busy || m_engineBusy > 0 || m_db.m_bWaitingForLock || m_db.m_pLockWaitBox != nullptr ||
               m_db.m_bIsRefreshInProcess || m_db.m_bLockAndRefresh || m_db.m_nAccessWaitDepth > 0;
    }
    // Queries run at once; closing and quitting, which end the session, also while the engine
    // is busy on its own (as the end of the session does), but not inside a command.
    bool Runnable(const std::string& command) const {
        if (!Busy() || IsQuery(command)) return true;
        return !m_busy && (command == "close" || command == "quit");
    }
    bool HasQueued() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return !m_queue.empty();
    }

    void RunQueued() {
        for (;;) {
            std::string line;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                auto it = m_queue.begin();
                while (it != m_queue.end() && !Runnable(Words(*it).empty() ? "" : Words(*it)[0])) ++it;
                if (it == m_queue.end()) return;
                line = *it;
                m_queue.erase(it);
            }
            std::vector<std::string> w = Words(line);
            if (w.empty()) continue;
            if (IsQuery(w[0])) {
                Run(w);
            } else {
                m_busy = true;
                Run(w);
                m_busy = false;
            }
        }
    }

    void Reply(const std::string& text) {
        FlushBoxes();
        Emit("OK " + text);
    }

    void Run(const std::vector<std::string>& w) {
        const std::string& c = w[0];
        if (c == "ping") {
            Reply("ping");
        } else if (c == "create") {
            CreateDatabase(w);
        } else if (c == "open") {
            SetStampUserCode(static_cast<uint8_t>(Num(w, 2)));
            int opened = m_db.OpenDB(w.size() > 1 ? w[1] : "", 0);
            bool lan = false;
            if (opened != 0) {
                m_db.MakeFileHeaderArray(nullptr, nullptr);
                lan = m_db.InitializeLan(w[1]);
            }
            Reply(Format("open %i %i %u", opened, lan ? 1 : 0, m_db.m_nUsersOnLine));
        } else if (c == "users") {
            Reply(Format("users %u", m_db.m_nUsersOnLine));
        } else if (c == "manager") {
            Reply(Format("manager %s %i", m_db.GetLockMngrName().c_str(), m_db.IsLockMngrOnLine() ? 1 : 0));
        } else if (c == "waiting") {
            Reply(Format("waiting %i", m_db.m_bWaitingForLock ? 1 : 0));
        } else if (c == "granted") {
            std::string text = Format("granted %u", static_cast<unsigned>(m_db.m_aGrantedLocks.size()));
            for (const stLockSpec& g : m_db.m_aGrantedLocks)
                text += Format(" %s:%u:%u", g.sOwner.c_str(), static_cast<unsigned>(g.nKind), g.nValue);
            text += Format(" queued %u", static_cast<unsigned>(m_db.m_aLockRequestQueue.size()));
            for (const stLockSpec& q : m_db.m_aLockRequestQueue)
                text += Format(" %s:%u:%u", q.sOwner.c_str(), static_cast<unsigned>(q.nKind), q.nValue);
            Reply(text);
        } else if (c == "flags") {
            std::string text = Format("flags %u", static_cast<unsigned>(m_db.m_aRefreshFlags.size()));
            for (const stRefreshFlag& f : m_db.m_aRefreshFlags)
                text += Format(" %u:%u:%u", static_cast<unsigned>(f.nUser), static_cast<unsigned>(f.nTable), f.nKey);
            Reply(text);
        } else if (c == "clearflags") {
            m_db.m_aRefreshFlags.clear();
            Reply("clearflags");
        } else if (c == "boxes") {
            Reply(Format("boxes %u", static_cast<unsigned>(ui::test::GetHooks().messageBoxTexts.size())));
        } else if (c == "answer") {
            ResetAnswers(std::vector<std::string>(w.begin() + 1, w.end()));
            Reply("answer");
        } else if (c == "lockrecord") {
            Reply(Format("lockrecord %u", m_db.LockRecord(Num(w, 1), Num(w, 2))));
        } else if (c == "unlockrecord") {
            Reply(Format("unlockrecord %i", m_db.UnlockRecord(Num(w, 1)) ? 1 : 0));
        } else if (c == "locktable") {
            Reply(Format("locktable %i", m_db.LockTable(Num(w, 1)) ? 1 : 0));
        } else if (c == "unlocktable") {
            Reply(Format("unlocktable %i", m_db.UnlockTable(Num(w, 1)) ? 1 : 0));
        } else if (c == "lockdb") {
            Reply(Format("lockdb %i", m_db.LockDatabase("test lock") ? 1 : 0));
        } else if (c == "unlockdb") {
            Reply(Format("unlockdb %i", m_db.UnlockDatabase() ? 1 : 0));
        } else if (c == "abort") {
            CDialogWaitBox* box = m_db.m_pLockWaitBox;
            if (box != nullptr) {
                ui::test::GetHooks().messageBoxAnswers.push_front(IDYES);
                ui::test::Click(*box, CDialogWaitBox::kAbortId);
            }
            Reply(Format("abort %i", box != nullptr ? 1 : 0));
        } else if (c == "notify") {
            m_db.SendDataModifiedNotices(Num(w, 1), Num(w, 2), Num(w, 3));
            Reply("notify");
        } else if (RunRoad(w) || RunSettings(w)) {
        } else if (c == "close") {
            CloseGrid();
            m_ledger.Release();
            m_db.StopLanServer();
            m_db.CloseDB();
            Reply("close");
        } else if (c == "quit") {
            CloseGrid();
            m_ledger.Release();
            m_db.StopLanServer();
            m_db.CloseDB();
            Reply("quit");
            ui::Application::Instance()->Quit(0);
        } else {
            FlushBoxes();
            Emit("ERR " + c + " unknown command");
        }
    }

    // The road commands; false when the command is not one of them.
    bool RunRoad(const std::vector<std::string>& w) {
        const std::string& c = w[0];
        auto arg = [&](size_t i) { return i < w.size() ? w[i] : std::string(); };
        if (c == "register") {
            stUserRegData e;
            e.SetUserID(arg(2));
            e.SetPassword(arg(3));
            e.nUserCode = static_cast<uint8_t>(Num(w, 4));
            e.nAccessLevel = static_cast<uint8_t>(Num(w, 5));
            uint8_t raw[USER_REG_SIZE];
            e.Pack(raw);
            std::ofstream(arg(1) + ".rgs", std::ios::binary | std::ios::app)
                .write(reinterpret_cast<const char*>(raw), USER_REG_SIZE);
            Reply("register");
        } else if (c == "opendb") {
            const std::string password = arg(2);
            ScriptDialog([password](ui::Dialog& d) {
                ui::test::SetText(d, 1005, password);
                ui::test::Click(d, ui::IDOK);
            });
            bool ok = m_db.OpenDatabase(arg(1), 0);
            EndScripts();
            Reply(Format("opendb %i %u", ok ? 1 : 0, m_db.m_nUsersOnLine));
        } else if (c == "addperson" || c == "holdperson") {
            CPerson p('C');
            p.m_sLastName = arg(1);
            p.m_sFirstName = arg(2);
            m_holdDialog = c == "holdperson";
            m_releaseDialog = false;
            m_pendingFirst = arg(2);
            m_pendingLast = arg(1);
            int result = m_holdDialog ? m_db.AddTableItem(TABLE_PERSON, LOC_NONE, nullptr, 1, 0, nullptr)
                                      : m_db.AddTableItem(TABLE_PERSON, LOC_NONE, &p, 0, 0, nullptr);
            uint32_t code = m_holdDialog ? m_db.m_nLastSavedCode : p.m_nCode;
            m_holdDialog = false;
            Reply(Format("%s %i %u", c.c_str(), result, result == 1 ? code : LOC_NONE));
        } else if (c == "release") {
            m_releaseDialog = true;
            Reply("release");
        } else if (c == "editperson") {
            m_pendingFirst = arg(2);
            m_editKind = 'n';
            int result = m_db.EditTableItem(TABLE_PERSON, Num(w, 1), nullptr);
            Reply(Format("editperson %i", result));
        } else if (c == "addpurchase") {
            CPurchaseRecord purchase;
            purchase.m_nPerson = Num(w, 1);
            purchase.m_sDescription = "Lessons";
            purchase.m_dPrice = 100.0;
            if (w.size() > 2) {
                purchase.m_cPricing = 'P';
                purchase.m_dPrice = std::atof(arg(2).c_str());
            }
            int result = m_db.AddTableItem(TABLE_PURCHASE, LOC_NONE, &purchase, 0, 0, nullptr);
            Reply(Format("addpurchase %i %u", result, result == 1 ? purchase.m_nCode : LOC_NONE));
        } else if (c == "addclass") {
            CPriceListItem activity;
            activity.m_cKind = 's';
            activity.m_sName = arg(2);
            int result = m_db.AddTableItem(TABLE_PRICELIST, LOC_NONE, &activity, 0, 0, nullptr);
            if (result == 1) {
                CPurchaseRecord purchase;
                purchase.m_nPerson = Num(w, 1);
                purchase.m_sDescription = arg(2);
                auto item = std::make_unique<CPurchaseItem>();
                item->m_sName = arg(2);
                item->m_cKind = 's';
                item->m_nPriceListCode = activity.m_nCode;
                auto token = std::make_unique<CScheduleToken>();
                token->m_cKind = 's';
                token->m_cState = 'N';
                item->m_Tokens.push_back(std::move(token));
                purchase.m_Items.push_back(std::move(item));
                result = m_db.AddTableItem(TABLE_PURCHASE, LOC_NONE, &purchase, 0, 0, nullptr);
            }
            Reply(Format("addclass %i %u", result, result == 1 ? activity.m_nCode : LOC_NONE));
        } else if (c == "report") {
            std::vector<std::string> lines;
            SetReportFrameFactory([&lines]() -> IReportFrame* { return new CKeptLines(lines); });
            ui::test::Hooks& hooks = ui::test::GetHooks();
            hooks.driveDialogs = true;
            std::string word = arg(2);
            if (arg(1) == "roster") {
                const uint32_t code = Num(w, 2);
                word = arg(3);
                hooks.dialogScripts.push_back([code](ui::Dialog& d) { d.EndDialog(static_cast<int>(code)); });
                CReports(&m_db).PurchaserRosterReport();
            } else {
                CReports(&m_db).ObligationsReport('O');
            }
            hooks.dialogScripts.clear();
            size_t count = 0;
            for (const std::string& line : lines) count += line.find(word) != std::string::npos ? 1 : 0;
            Reply(Format("report %u", static_cast<unsigned>(count)));
        } else if (c == "addpayment") {
            CPaymentRecord payment;
            payment.m_cType = 'R';
            payment.m_cReceived = 'S';
            payment.m_nPerson = Num(w, 1);
            payment.m_dAmount = Num(w, 2);
            payment.m_sText = "Driver";
            payment.m_dDate = GetNow();
            Reply(Format("addpayment %i", m_db.AddTableItem(TABLE_PAYMENT, LOC_NONE, &payment, 0, 0, nullptr)));
        } else if (c == "addpayments") {
            AddPayments(Num(w, 1), Num(w, 2));
        } else if (c == "categories") {
            m_db.MakeBasicCategories();
            const std::vector<stIndex>* list = m_db.GetItemList(TABLE_CATEGORY);
            Reply(Format("categories %u", list ? static_cast<unsigned>(list->size()) : 0u));
        } else if (c == "delete") {
            int result = m_db.DeleteTableItem(static_cast<uint8_t>(Num(w, 1)), Num(w, 2), 1);
            Reply(Format("delete %i", result));
        } else if (c == "refresh") {
            bool ok = m_db.LockAndRefreshDatabase("refresh database", 0, 0, 0, 1);
            Reply(Format("refresh %i", ok ? 1 : 0));
        } else if (c == "compact") {
            Reply(Format("compact %i", m_db.CompactDatabase(m_db.GetDatabaseName())));
        } else if (c == "purge") {
            m_db.PurgePersons(arg(1).empty() ? 'A' : arg(1)[0]);
            Reply("purge");
        } else if (c == "person") {
            const CPerson* p = static_cast<const CPerson*>(m_db.GetItem(TABLE_PERSON, Num(w, 1)));
            Reply(p ? "person " + p->m_sLastName + " " + p->m_sFirstName : std::string("person -"));
        } else if (c == "cancel" || c == "uncancel") {
            auto* p = static_cast<CPurchaseRecord*>(m_db.GetItem(TABLE_PURCHASE, Num(w, 1)));
            const int result = c == "cancel" ? m_db.CancelPurchase(p) : m_db.ReinstatePurchase(p);
            Reply(Format("%s %i", c.c_str(), result));
        } else if (c == "convert") {
            m_editKind = 'c';
            const int result = m_db.ConvertPurchase(Num(w, 1));
            m_editKind = 0;
            Reply(Format("convert %i", result));
        } else if (c == "addtokens") {
            const uint32_t count = Num(w, 2);
            const int result = m_db.ChangeItem(TABLE_PURCHASE, Num(w, 1), [count](void* copy) {
                auto item = std::make_unique<CPurchaseItem>();
                item->m_sName = "Lessons";
                item->m_cKind = 'p';
                item->m_nCount = static_cast<int32_t>(count);
                item->MakeTokens({}, NO_CODE, NO_CODE, NO_CODE);
                static_cast<CPurchaseRecord*>(copy)->m_Items.push_back(std::move(item));
                return true;
            });
            Reply(Format("addtokens %i", result));
        } else if (c == "usetoken" || c == "canceltoken") {
            auto* p = static_cast<CPurchaseRecord*>(m_db.GetItem(TABLE_PURCHASE, Num(w, 1)));
            const int result = c == "usetoken" ? m_db.UseToken(p, Num(w, 2), Num(w, 3), NO_CODE, NO_CODE, GetNow(), 1)
                                               : m_db.CancelToken(p, Num(w, 2), Num(w, 3), 1);
            Reply(Format("%s %i", c.c_str(), result));
        } else if (c == "tokens" || c == "filetokens") {
            const auto* p = static_cast<const CPurchaseRecord*>(m_db.GetItem(TABLE_PURCHASE, Num(w, 1)));
            CPurchaseRecord stored;
            if (c == "filetokens") p = m_db.ReadRecord(TABLE_PURCHASE, Num(w, 1)) != 0 && stored.ReadRecord(m_db) != 0 ? &stored : nullptr;
            std::string states;
            for (size_t i = 0; p && i < p->m_Items.size(); ++i) {
                states += " ";
                for (const auto& t : p->m_Items[i]->m_Tokens) states += t->m_cState;
            }
            Reply(p ? c + states : c + " -");
        } else if (c == "delpayment") {
            Reply(Format("delpayment %i", m_db.DeleteScheduledPaymentOf(Num(w, 1), Num(w, 2))));
        } else if (c == "maillist") {
            CMaillistView view;
            view.ShowMailList(&m_db, w.size() > 1 && !w[1].empty() ? w[1][0] : 'C');
            const int closed = view.m_bClosed;
            int rows = -1;
            if (!closed) {
                view.SetMode(2);
                rows = view.GetFormatOf(2)->m_cRows;
                view.GetFormatOf(2)->m_cRows = static_cast<uint8_t>(Num(w, 2));
            }
            view.ClearLines();
            Reply(Format("maillist %i %i", closed, rows));
        } else if (c == "status") {
            const auto* p = static_cast<const CPurchaseRecord*>(m_db.GetItem(TABLE_PURCHASE, Num(w, 1)));
            Reply(p ? Format("status %i", p->m_nStatus) : std::string("status -"));
        } else if (c == "payments") {
            const auto* p = static_cast<const CPurchaseRecord*>(m_db.GetItem(TABLE_PURCHASE, Num(w, 1)));
            Reply(p ? Format("payments %u", static_cast<unsigned>(p->m_Payments.size())) : std::string("payments -"));
        } else if (c == "count") {
            const std::vector<stIndex>* list = m_db.GetItemList(static_cast<uint8_t>(Num(w, 1)));
            Reply(Format("count %u", list ? static_cast<unsigned>(list->size()) : 0u));
        } else if (c == "digest") {
            Reply("digest" + Digest());
        } else if (c == "listtest") {
            std::vector<std::string> report;
            int clean = m_db.TestAndRepairHeaders('F', 0, report);
            std::string text = Format("listtest %i", clean);
            for (std::string line : report) {
                for (char& ch : line)
                    if (ch == ' ' || ch == '\t') ch = '_';
                if (!line.empty()) text += " " + line;
            }
            Reply(text);
        } else if (c == "killat") {
            std::string step;
            for (size_t i = 1; i < w.size(); ++i) step += (i > 1 ? " " : "") + w[i];
            CDbEngine::s_SaveStepHook = [step](const char* at) {
                if (step == at) raise(SIGKILL);
            };
            Reply("killat");
        } else if (c == "trace") {
            DiagnosticLevel = static_cast<int32_t>(Num(w, 1));
            OpenDiagnosticFile();
            Reply("trace");
        } else if (c == "receipts") {
            // Confirms the numbers offered to n new payments, one after the other.
            // A confirmation refused while another desk holds a lock is tried again, as the
            // person at the desk presses OK again.
            std::string numbers;
            auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
            for (uint32_t i = 0; i < Num(w, 1) && std::chrono::steady_clock::now() < until;) {
                const uint32_t offered = m_db.GetLastReceiptNumber() + 1;
                bool confirmed = false;
                const uint32_t number = m_db.ConfirmReceiptNumber(offered, offered, &confirmed);
                if (confirmed) {
                    numbers += Format(" %u", number);
                    ++i;
                    continue;
                }
                for (int k = 0; k < 4; ++k) {
                    ui::Application::PumpMessages();
                    usleep(2000 + (getpid() % 7) * 1000);
                }
            }
            Reply("receipts" + numbers);
        } else if (c == "receipt") {
            Reply(Format("receipt %u", m_db.ConfirmReceiptNumber(Num(w, 1), Num(w, 2))));
        } else if (c == "lastreceipt") {
            Reply(Format("lastreceipt %u", m_db.GetLastReceiptNumber()));
        } else if (c == "addcredit") {
            CPaymentRecord credit;
            credit.m_cType = 'c';
            credit.m_nPerson = Num(w, 1);
            credit.m_dAmount = std::atof(arg(2).c_str());
            credit.m_sText = "Credit";
            int result = m_db.AddTableItem(TABLE_PAYMENT, LOC_NONE, &credit, 0, 0, nullptr);
            Reply(Format("addcredit %i %u", result, result == 1 ? credit.m_nCode : LOC_NONE));
        } else if (c == "takecredit") {
            double taken = 0.0;
            std::string text;
            const bool ok = m_ledger.Take(Num(w, 1), std::atof(arg(2).c_str()), taken, text);
            Reply(Format("takecredit %i %.2f", ok ? 1 : 0, taken));
        } else if (c == "commitcredit") {
            Reply(Format("commitcredit %i", m_ledger.Commit()));
        } else if (c == "credit") {
            const auto* p = static_cast<const CPaymentRecord*>(m_db.GetItem(TABLE_PAYMENT, Num(w, 1)));
            Reply(p ? Format("credit %.2f", p->m_dAmount) : std::string("credit -"));
        } else if (c == "sheet") {
            m_holdDialog = true;
            m_releaseDialog = false;
            m_editKind = 's';
            ui::test::Hooks& hooks = ui::test::GetHooks();
            hooks.driveDialogs = true;
            hooks.dialogScripts.push_back([this](ui::Dialog& d) {
                auto& sheet = static_cast<CPropertySheetPurchase&>(d);
                if (sheet.SetActivePage(1)) ui::test::Click(sheet.m_PagePayments, 1081);
                Emit(Format("EVENT sheet %u", ++m_sheetsShown));
                auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
                while (!m_releaseDialog && std::chrono::steady_clock::now() < until) {
                    ui::Application::PumpMessages();
                    usleep(5000);
                }
                ui::test::Click(d, ui::IDOK);
                // A sheet that refused its OK is not left open.
                if (!d.HasEnded()) d.EndDialog(ui::IDCANCEL);
            });
            // "Select credit": the first line.
            hooks.dialogScripts.push_back([](ui::Dialog& d) {
                ui::ListBox* list = static_cast<CDialogMenu&>(d).GetShownList();
                if (list && list->GetCount() > 0) ui::test::SelectItem(d, list->GetDlgCtrlID(), 0);
                ui::test::Click(d, ui::IDOK);
            });
            const int result = m_db.EditTableItem(TABLE_PURCHASE, Num(w, 1), nullptr);
            hooks.dialogScripts.clear();
            m_editKind = 0;
            m_holdDialog = false;
            Reply(Format("sheet %i", result));
        } else if (c == "addlesson") {
            m_editKind = 'l';
            m_lessonDay = static_cast<int>(Num(w, 2));
            m_lessonHour = static_cast<int>(Num(w, 3));
            m_lessonState = arg(4) == "N" ? 'N' : 'S';
            // A save refused while another desk holds the database is tried again, as addpayments does.
            int result = 0;
            auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
            while ((result = m_db.EditTableItem(TABLE_PURCHASE, Num(w, 1), nullptr)) != 1 &&
                   std::chrono::steady_clock::now() < until) {
                for (int i = 0; i < 4; ++i) {
                    ui::Application::PumpMessages();
                    usleep(2000 + (getpid() % 7) * 1000);
                }
            }
            m_editKind = 0;
            Reply(Format("addlesson %i", result));
        } else if (c == "grid" || c == "cell" || c == "where" || c == "drag" || c == "cellitem" || c == "closegrid") {
            RunGrid(w);
        } else if (c == "closedb") {
            CloseGrid();
            m_ledger.Release();
            m_db.CloseDatabase();
            Reply("closedb");
        } else {
            return false;
        }
        return true;
    }

    // The edit dialogs of the road: a held one pumps messages until "release"; others apply
    // the pending change at once.
    int EditDialog(uint8_t table, void* item, int isNew) {
        if (table == TABLE_PERSON) {
            CPerson* p = static_cast<CPerson*>(item);
            if (m_holdDialog) {
                m_db.DisableRefreshOn("CDialogPerson");
                HoldUntilReleased(1);
                m_db.DisableRefreshOff("CDialogPerson");
                p->m_sLastName = m_pendingLast.empty() ? "Held" : m_pendingLast;
                p->m_sFirstName = m_pendingFirst;
                return m_releaseDialog ? ui::IDOK : ui::IDCANCEL;
            }
            if (!isNew) p->m_sFirstName = m_pendingFirst;
            return ui::IDOK;
        }
        if (table == TABLE_PURCHASE && m_editKind == 'l') {
            auto* purchase = static_cast<CPurchaseRecord*>(item);
            DATE start = 0.0, end = 0.0;
            GetWeekStart(start, end, m_db.m_Parameters.GetInt(param::kStartDayOfWeek), 7);
            auto lesson = std::make_unique<CPurchaseItem>();
            lesson->m_sName = "Private lesson";
            lesson->m_cKind = 'N';
            lesson->m_nCount = 1;
            auto token = std::make_unique<CScheduleToken>();
            token->m_cKind = 'p';
            token->m_cState = m_lessonState;
            // A lesson not used yet has no date (as the file reads it).
            token->m_dDate = m_lessonState == 'N' ? 0.0 : AddToDate(start, m_lessonDay, m_lessonHour, 0, 0);
            token->m_nLessonValue = 45;
            lesson->m_Tokens.push_back(std::move(token));
            purchase->m_Items.push_back(std::move(lesson));
            return ui::IDOK;
        }
        if (table == TABLE_PURCHASE && m_editKind == 'p') {
            auto* purchase = static_cast<CPurchaseRecord*>(item);
            auto payment = std::make_unique<CSchedulePayment>();
            payment->m_cKind = 'U';
            payment->m_dAmount = 10.0;
            payment->m_sDescription = Format("payment %u of %s", ++m_paymentsMade, m_sComputer.c_str());
            purchase->m_Payments.push_back(std::move(payment));
            return ui::IDOK;
        }
        if (table == TABLE_PURCHASE && m_editKind == 'c') return ui::IDOK;  // the converted copy
        return ui::IDCANCEL;
    }

    // A dialog held open: messages are handled (the queries, the other copies' notices) until
    // "release" or a minute. "EVENT dialog <shown>" once it is open.
    void HoldUntilReleased(int shown) {
        Emit(Format("EVENT dialog %i", shown));
        auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!m_releaseDialog && std::chrono::steady_clock::now() < until) {
            ui::Application::PumpMessages();
            usleep(5000);
        }
    }

    // The next dialog runs the script instead of waiting for a person (from then on a dialog
    // that no script expects is cancelled); EndScripts drops what no dialog took.
    static void ScriptDialog(std::function<void(ui::Dialog&)> script) {
        ui::test::Hooks& hooks = ui::test::GetHooks();
        hooks.driveDialogs = true;
        hooks.dialogScripts.push_back(std::move(script));
    }
    static void EndScripts() { ui::test::GetHooks().dialogScripts.clear(); }

    static std::vector<std::string> ListLines(ui::Dialog& d, int id) {
        std::vector<std::string> lines;
        ui::ListBox* list = d.List(id);
        for (int i = 0; list && i < list->GetCount(); ++i) lines.push_back(list->GetText(i));
        return lines;
    }

    // The settings, the price list and the money commands; false when the command is not one of them.
    bool RunSettings(const std::vector<std::string>& w) {
        const std::string& c = w[0];
        auto arg = [&](size_t i) { return i < w.size() ? w[i] : std::string(); };
        if (c == "configure") {
            const std::string refresh = arg(1), hour = arg(2), welcome = arg(3);
            ScriptDialog([=](ui::Dialog& d) {
                ui::test::SetText(d, 1223, refresh);
                ui::test::SetText(d, 1267, hour);
                ui::test::SetText(d, 1430, welcome);
                ui::test::Click(d, 1000);
            });
            const int result = m_db.SaveParameterRecord(1);
            EndScripts();
            Reply(Format("configure %i", result));
        } else if (c == "setparam") {
            Reply(Format("setparam %i", m_db.SaveParameterInt(Num(w, 1), static_cast<int32_t>(Num(w, 2)))));
        } else if (c == "settings") {
            const stParameters& p = m_db.m_Parameters;
            uint64_t hash = 1469598103934665603ull;
            for (uint8_t b : p.bytes) hash = (hash ^ b) * 1099511628211ull;
            std::string welcome = m_db.GetStudioStrings().sWelcomeLogoText;
            for (char& ch : welcome)
                if (ch == ' ') ch = '_';
            Reply(Format("settings %i %i %s %016llx", p.GetInt(param::kRefreshSeconds), p.GetInt(param::kStartHour),
                         welcome.empty() ? "-" : welcome.c_str(), static_cast<unsigned long long>(hash)));
        } else if (c == "addpriceitem") {
            CPriceListItem item;
            item.m_sName = arg(1);
            item.m_dPrice = 25.0;
            const int result = m_db.AddTableItem(TABLE_PRICELIST, LOC_NONE, &item, 0, 0, nullptr);
            Reply(Format("addpriceitem %i %u", result, result == 1 ? item.m_nCode : LOC_NONE));
        } else if (c == "pricelist") {
            m_releaseDialog = false;
            size_t closedLines = 0;
            ScriptDialog([&](ui::Dialog& d) {
                m_pHeld = &d;
                HoldUntilReleased(232);
                closedLines = ListLines(d, 1067).size();
                m_pHeld = nullptr;
                ui::test::Click(d, ui::IDOK);
            });
            CDialogPricelist::Show(m_db);
            EndScripts();
            Reply(Format("pricelist %u", static_cast<unsigned>(closedLines)));
        } else if (c == "lines") {
            if (!m_pHeld) {
                Reply("lines -");
                return true;
            }
            const std::vector<std::string> lines = ListLines(*m_pHeld, static_cast<int>(Num(w, 1)));
            std::string text = Format("lines %u", static_cast<unsigned>(lines.size()));
            for (std::string line : lines) {
                for (char& ch : line)
                    if (ch == ' ') ch = '_';
                text += " " + line;
            }
            Reply(text);
        } else if (c == "recordpayment") {
            m_nSelectCode = Num(w, 1);
            m_paymentEdits = 0;
            m_db.RecordPayment();
            m_nSelectCode = NO_CODE;
            Reply(Format("recordpayment %i", m_paymentEdits));
        } else if (c == "received") {
            const auto* p = static_cast<const CPurchaseRecord*>(m_db.GetItem(TABLE_PURCHASE, Num(w, 1)));
            unsigned received = 0;
            for (size_t i = 0; p && i < p->m_Payments.size(); ++i) received += p->m_Payments[i]->m_cKind == 'R';
            Reply(p ? Format("received %u", received) : std::string("received -"));
        } else if (c == "reload") {
            Reply(Format("reload %i", m_db.RefreshDatabase() ? 1 : 0));
        } else {
            return false;
        }
        return true;
    }

    void CloseGrid() {
        if (m_grid && m_grid->IsCreated()) m_grid->SendCommand(30055);
        m_grid = nullptr;
        ui::test::DeleteDestroyedWindows();
    }

    // A client point inside line 0 of day/time cell (row, column) of the grid's last layout.
    std::pair<int, int> CellPoint(int row, int column) const {
        const auto& x = m_grid->m_aColumnEdges;
        const auto& y = m_grid->m_aRowEdges;
        return {static_cast<int>(x[column + 1] + x[column + 2]) / 2 - m_grid->m_nHScroll,
                static_cast<int>(y[row + 1]) + 2 - m_grid->m_nVScroll};
    }

    void RunGrid(const std::vector<std::string>& w) {
        const std::string& c = w[0];
        if (c == "grid") {
            CloseGrid();
            m_grid = new CScheduleGrid(nullptr, &m_db, static_cast<int32_t>(std::strtol(w.size() > 1 ? w[1].c_str() : "-1", nullptr, 10)));
            m_grid->MoveWindow({0, 0, 1600, 1200});
            Reply(Format("grid %u %u", static_cast<unsigned>(m_grid->m_aTimes.size()),
                         static_cast<unsigned>(m_grid->m_aDays.size())));
            return;
        }
        if (c == "closegrid") {
            CloseGrid();
            Reply("closegrid");
            return;
        }
        if (!m_grid || !m_grid->IsCreated()) {
            Emit("ERR " + c + " no grid");
            return;
        }
        // What the user sees: the grid paints (and rebuilds when a refresh came since).
        ui::test::RecordPaint(m_grid->GridView());
        const int rows = m_grid->m_Cells.GetRows() - 1;
        const int columns = m_grid->m_Cells.GetColumns() - 1;
        auto inside = [&](int r, int col) { return r >= 0 && col >= 0 && r < rows && col < columns; };
        if (c == "cell") {
            const int r = static_cast<int>(Num(w, 1)), col = static_cast<int>(Num(w, 2));
            std::string text = inside(r, col) ? m_grid->m_Cells.GetText(r + 1, col + 1) : std::string();
            for (char& ch : text)
                if (ch == ' ') ch = '_';
            Reply("cell " + (text.empty() ? std::string("-") : text));
        } else if (c == "where") {
            const std::string wanted = w.size() > 1 ? w[1] : "";
            for (int r = 0; r < rows; ++r)
                for (int col = 0; col < columns; ++col)
                    if (m_grid->m_Cells.GetText(r + 1, col + 1).find(wanted) != std::string::npos) {
                        Reply(Format("where %i %i", r, col));
                        return;
                    }
            Reply("where -1 -1");
        } else if (c == "cellitem") {
            const int r = static_cast<int>(Num(w, 1)), col = static_cast<int>(Num(w, 2));
            const int line = static_cast<int>(Num(w, 3));
            if (!inside(r, col)) {
                Emit("ERR cellitem outside of the grid");
                return;
            }
            std::string counts = "-";
            ScriptDialog([&](ui::Dialog& d) {
                counts = Format("%u %u", static_cast<unsigned>(ListLines(d, 1210).size()),
                                static_cast<unsigned>(ListLines(d, 1338).size()));
                ui::test::SelectItem(d, 1338, line);
                ui::test::Click(d, 1117);
                counts += Format(" %u %u", static_cast<unsigned>(ListLines(d, 1210).size()),
                                 static_cast<unsigned>(ListLines(d, 1338).size()));
                ui::test::Click(d, ui::IDOK);
            });
            const auto at = CellPoint(r, col);
            ui::test::RightClickAt(m_grid->GridView(), at.first, at.second);
            EndScripts();
            Reply("cellitem " + counts);
        } else {
            const int r = static_cast<int>(Num(w, 1)), col = static_cast<int>(Num(w, 2));
            const int toR = static_cast<int>(Num(w, 3)), toCol = static_cast<int>(Num(w, 4));
            if (!inside(r, col) || !inside(toR, toCol)) {
                Emit("ERR drag outside of the grid");
                return;
            }
            const auto from = CellPoint(r, col);
            const auto to = CellPoint(toR, toCol);
            ui::test::DragAt(m_grid->GridView(), from.first, from.second, to.first, to.second);
            Reply("drag");
        }
    }

    void AddPayments(uint32_t purchase, uint32_t count) {
        m_editKind = 'p';
        uint32_t added = 0, retries = 0;
        auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (added < count && std::chrono::steady_clock::now() < until) {
            if (m_db.EditTableItem(TABLE_PURCHASE, purchase, nullptr) == 1) {
                ++added;
                continue;
            }
            // Refused (another desk holds the record): a moment for the others, then again.
            ++retries;
            for (int i = 0; i < 4; ++i) {
                ui::Application::PumpMessages();
                usleep(2000 + (getpid() % 7) * 1000);
            }
        }
        m_editKind = 0;
        Reply(Format("addpayments %u %u", added, retries));
    }

    // One hash per item table over every item's code and record bytes, in index order.
    std::string Digest() {
        static const uint8_t kTables[] = {TABLE_CATEGORY, TABLE_PERSON,   TABLE_PRICELIST, TABLE_PACKAGE,
                                          TABLE_PURCHASE, TABLE_PAYMENT, TABLE_SCHEDULE};
        std::string text;
        std::vector<uint8_t> buffer(MAX_RECORD_DATA_LENGTH + 16);
        for (uint8_t t : kTables) {
            uint64_t hash = 1469598103934665603ull;
            auto mix = [&](const uint8_t* data, size_t n) {
                for (size_t i = 0; i < n; ++i) hash = (hash ^ data[i]) * 1099511628211ull;
            };
            const std::vector<stIndex>* list = m_db.GetItemList(t);
            for (const stIndex& e : *list) {
                uint8_t code[4] = {static_cast<uint8_t>(e.nCode), static_cast<uint8_t>(e.nCode >> 8),
                                   static_cast<uint8_t>(e.nCode >> 16), static_cast<uint8_t>(e.nCode >> 24)};
                mix(code, 4);
                VisitTableItem(t, e.pItem, [&](const auto& record) {
                    CRecordWriter writer(buffer.data(), static_cast<uint32_t>(buffer.size()));
                    record.WriteRecord(writer);
                    mix(buffer.data(), writer.GetPosition());
                });
            }
            text += Format(" %u:%016llx", static_cast<unsigned>(list->size()), static_cast<unsigned long long>(hash));
        }
        return text;
    }

    void CreateDatabase(const std::vector<std::string>& w) {
        std::string path = w.size() > 1 ? w[1] : "";
        uint32_t records = Num(w, 2);
        SetStampUserCode(1);
        CDatabase db;
        if (db.OpenDB(path, 1) == 0) {
            Emit("ERR create cannot create " + path);
            return;
        }
        db.MakeFileHeaderArray(nullptr, nullptr);
        uint32_t written = 0;
        for (uint32_t key = 1; key <= records; ++key) {
            std::string data = Format("person record %u", key);
            std::memcpy(db.GetRecordBuffer(), data.data(), data.size());
            if (db.WriteRecord(static_cast<uint32_t>(data.size()), TABLE_PERSON, key, 0, 0) != LOC_NONE) ++written;
        }
        db.CloseDB();
        Reply(Format("create %u", written));
    }

    void FlushBoxes() {
        const auto& beeps = ui::test::GetHooks().beeps;
        for (; m_beepsSounded < beeps.size(); ++m_beepsSounded)
            Emit(Format("BEEP %u %u", beeps[m_beepsSounded].first, beeps[m_beepsSounded].second));
        const std::vector<std::string>& texts = ui::test::GetHooks().messageBoxTexts;
        for (; m_boxesShown < texts.size(); ++m_boxesShown) {
            std::string t = texts[m_boxesShown];
            for (char& ch : t)
                if (ch == '\n') ch = '|';
            Emit("BOX " + t);
        }
    }

    // Scripted answers first, then the default for boxes nobody scripted (No; OK boxes take
    // their only button whatever is given).
    void ResetAnswers(const std::vector<std::string>& answers) {
        std::deque<int>& q = ui::test::GetHooks().messageBoxAnswers;
        q.clear();
        for (const std::string& a : answers) q.push_back(std::atoi(a.c_str()));
        TopUpAnswers();
    }
    void TopUpAnswers() {
        std::deque<int>& q = ui::test::GetHooks().messageBoxAnswers;
        while (q.size() < kDefaultAnswers) q.push_back(IDNO);
    }

    // The log-on dialog of the program, and the driver's own editing "dialog".
    class DriverUi : public CDatabaseDialogs {
    public:
        explicit DriverUi(Driver& driver) : m_driver(driver) {}
        int EditItemDialog(CDatabase& db, uint8_t table, void* item, int isNew, const stDataToken* context) override
        {
            if (table == TABLE_PURCHASE && m_driver.m_editKind == 's')
                return CDatabaseDialogs::EditItemDialog(db, table, item, isNew, context);
            return m_driver.EditDialog(table, item, isNew);
        }
        // The item "recordpayment" named, when offered.
        int32_t SelectOne(const std::string&, const std::vector<std::pair<uint32_t, std::string>>& items) override
        {
            for (const auto& item : items)
                if (item.first == m_driver.m_nSelectCode) return static_cast<int32_t>(item.first);
            return -1;
        }
        // The payment is marked received.
        int EditScheduledPayment(CDatabase&, stPaymentEditRequest& request) override
        {
            ++m_driver.m_paymentEdits;
            request.payment->m_cKind = 'R';
            return ui::IDOK;
        }

    private:
        Driver& m_driver;
    };

    CDatabase m_db;
    CCreditLedger m_ledger{m_db};
    DriverUi m_ui{*this};
    bool m_holdDialog = false;
    bool m_releaseDialog = false;
    std::string m_pendingFirst;
    std::string m_pendingLast;
    char m_editKind = 0;
    unsigned m_sheetsShown = 0;
    int m_lessonDay = 0;
    int m_lessonHour = 0;
    char m_lessonState = 'S';
    ui::Dialog* m_pHeld = nullptr;  // the dialog held open until "release"
    uint32_t m_nSelectCode = NO_CODE;  // what a list of items to choose from answers
    int m_paymentEdits = 0;
    CScheduleGrid* m_grid = nullptr;  // deletes itself when closed
    uint32_t m_paymentsMade = 0;
    std::string m_sComputer = getenv("DORVALQUINTEX_COMPUTERNAME") ? getenv("DORVALQUINTEX_COMPUTERNAME") : "";
    std::mutex m_mutex;
    std::deque<std::string> m_queue;
    bool m_busy = false;
    int m_engineBusy = 0;
    bool m_bBoxShown = false;
    size_t m_boxesShown = 0;
    size_t m_beepsSounded = 0;
};

}  // namespace

int main() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ui::test::EnsureApplication();
    ui::test::Hooks& hooks = ui::test::ResetHooks();
    hooks.scriptMessageBoxes = true;
    SetDefaultDatabaseUi(&CDatabaseDialogs::Instance());
    auto* driver = new Driver();
    std::atomic<bool> ended{false};
    std::thread reader([driver, &ended] {
        std::string line;
        while (std::getline(std::cin, line)) driver->Queue(line);
        ended = true;
        driver->Queue("quit");
    });
    reader.detach();
    int code = ui::Application::Instance()->Run();
    std::cout.flush();
    // The reader may still block on stdin: leave without running static destructors under it.
    std::_Exit(code);
}
