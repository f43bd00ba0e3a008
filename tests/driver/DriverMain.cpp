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
// While a lock command waits, only the query commands and "abort" run; others wait their turn.

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

#include "common/QuestionBox.h"
#include "common/RecordBuffer.h"
#include "database/Database.h"
#include "dialogs/DialogWaitBox.h"
#include "platform/host/Format.h"
#include "platform/ui/Application.h"
#include "platform/ui/TestHooks.h"
#include "platform/ui/Window.h"

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

class Driver : public ui::Window {
public:
    Driver() {
        Create(nullptr, ui::DCRect{0, 0, 10, 10});
        m_db.SetMessageWindow(this);
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
            if (wParam == 1)
                m_db.OnMessage();
            else
                Emit(Format("EVENT frame %u", static_cast<unsigned>(wParam)));
        } else if (message == kCommandMessage) {
            RunQueued();
        }
        return 0;
    }

    void OnTimer(uint32_t) override {
        FlushBoxes();
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
                                               "boxes", "ping",    "abort",   "answer"};
        for (const char* q : kQueries)
            if (command == q) return true;
        return false;
    }

    void RunQueued() {
        for (;;) {
            std::string line;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                auto it = m_queue.begin();
                if (m_busy) {
                    while (it != m_queue.end() && !IsQuery(Words(*it).empty() ? "" : Words(*it)[0])) ++it;
                }
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
        } else if (c == "close") {
            m_db.StopLanServer();
            m_db.CloseDB();
            Reply("close");
        } else if (c == "quit") {
            m_db.StopLanServer();
            m_db.CloseDB();
            Reply("quit");
            ui::Application::Instance()->Quit(0);
        } else {
            FlushBoxes();
            Emit("ERR " + c + " unknown command");
        }
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

    CDatabase m_db;
    std::mutex m_mutex;
    std::deque<std::string> m_queue;
    bool m_busy = false;
    bool m_bBoxShown = false;
    size_t m_boxesShown = 0;
};

}  // namespace

int main() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ui::test::EnsureApplication();
    ui::test::Hooks& hooks = ui::test::ResetHooks();
    hooks.scriptMessageBoxes = true;
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
