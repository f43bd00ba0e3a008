// bench_database: the database road at studio size, each figure beside a physical reference
// taken in the same run on the same disk.
//   load     opening and loading by a copy alone       / reading the file's bytes in order
//   save     one person saved by a copy that is not the lock manager while a second copy is
//            on line                                    / one 4 KiB write + fdatasync
//   refresh  a change saved in one copy until the other sees it after its refresh
//                                                       / one loopback round trip + two
//                                                         4 KiB writes with fdatasync
// Each is measured for a studio of N persons and of 4N; the last lines are
// "RATIO <name> <value>" (nan when a part could not be measured).
// Options: --n N (default 5000), --keep DIR (keeps the databases and users file made there),
// --reps R (repetitions per figure, default 15).

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "records/Interview.h"
#include "records/PurchaseItem.h"
#include "records/RecordBuffer.h"
#include "records/SchedulePayment.h"
#include "records/ScheduleToken.h"
#include "database/Database.h"
#include "dialogs/DatabaseDialogs.h"
#include "database/UserRegData.h"
#include "platform/ui/Application.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/TestHooks.h"

// The driver program lies in the build folder beside the tests: two levels above this program.
static std::string BenchBinaryDir()
{
    std::error_code ec;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return ".";
    return self.parent_path().parent_path().string();
}
#define DQ_BINARY_DIR BenchBinaryDir()
#include "../tests/support/DriverProcess.cpp"

namespace {

using Clock = std::chrono::steady_clock;
using Reply = std::vector<std::string>;
const double kNan = std::nan("");

const char* const kServer = "127.0.0.1";
const char* const kSecond = "127.0.0.2";
// Users: 1 the generating/loading copy, 2 the copy on the server, 3 the other copy.
const char* const kPasswords[] = {"BENCHA", "BENCHB", "BENCHC"};

double Seconds(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double>(b - a).count();
}

double Median(std::vector<double> v)
{
    if (v.empty()) return kNan;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::string UserEntry(const std::string& id, const std::string& password, uint8_t code)
{
    stUserRegData e;
    e.SetUserID(id);
    e.SetPassword(password);
    e.nUserCode = code;
    e.nAccessLevel = 9;
    uint8_t raw[USER_REG_SIZE];
    e.Pack(raw);
    return std::string(reinterpret_cast<char*>(raw), USER_REG_SIZE);
}

// The program's log-on dialog; reports are dropped.
CDatabaseDialogs& QuietUi()
{
    static class : public CDatabaseDialogs {
        void ShowReport(const std::string&, const std::vector<std::string>&) override {}
    } quiet;
    return quiet;
}

// Opens `name` in this process, alone (no network), logging on as user 1.
std::unique_ptr<CDatabase> OpenAlone(const std::string& name)
{
    auto db = std::make_unique<CDatabase>();
    db->m_bNetworkDisabled = true;
    db->SetUi(&QuietUi());
    ui::test::Hooks& h = ui::test::GetHooks();
    h.dialogScripts.clear();
    h.dialogScripts.push_back([](ui::Dialog& d) {
        ui::test::SetText(d, 1005, kPasswords[0]);
        ui::test::Click(d, ui::IDOK);
    });
    bool ok = db->OpenDatabase(name, 0);
    h.dialogScripts.clear();
    if (!ok) return nullptr;
    return db;
}

bool Add(CDatabase& db, uint8_t table, void* item)
{
    return db.AddTableItem(table, LOC_NONE, item, 0, 0, nullptr) == 1;
}

// A studio of n persons through the normal save road. Gives the first person's code.
bool Generate(const std::string& name, int n, uint32_t& firstPerson)
{
    auto db = OpenAlone(name);
    if (!db) {
        std::fprintf(stderr, "could not create %s\n", name.c_str());
        return false;
    }
    std::mt19937 rng(12345);
    uint32_t teacher = NO_CODE;
    const DATE day = 45000.0;
    for (int i = 0; i < n; ++i) {
        // What the program's message loop does between two saves: deliver what was posted and
        // delete the windows of the wait boxes; here no loop runs.
        ui::Application::PumpMessages();
        ui::test::DeleteDestroyedWindows();
        CPerson p('C');
        // Names in the order they are added: a name sorting before the others would renumber
        // every later person's stored sequence, as the file keeps it in each record.
        char last[16];
        std::snprintf(last, sizeof last, "Last%07d", i);
        p.m_sLastName = last;
        p.m_sFirstName = "First" + std::to_string(rng() % 1000);
        auto iv = std::make_unique<CInterview>();
        iv->m_cKind = (i % 2) ? 'P' : 'V';
        iv->m_dDate = day + i % 365;
        iv->m_Comments = {"Called about lessons", "Wants a trial"};
        p.m_Interviews.push_back(std::move(iv));
        if (!Add(*db, TABLE_PERSON, &p)) return false;
        if (i == 0) teacher = firstPerson = p.m_nCode;

        CPurchaseRecord purchase;
        purchase.m_nPerson = p.m_nCode;
        purchase.m_sDescription = "Lessons";
        purchase.m_dPrice = 300.0;
        purchase.m_dDate = day + i % 365;
        for (int k = 0; k < 2; ++k) {
            auto item = std::make_unique<CPurchaseItem>();
            item->m_sName = k ? "Group class" : "Private lesson";
            item->m_dAmount = 150.0;
            item->m_nCount = 3;
            item->m_nTeacher = teacher;
            for (int t = 0; t < 3; ++t) {
                auto token = std::make_unique<CScheduleToken>();
                token->m_cKind = 'T';
                token->m_cState = t == 0 ? 'U' : 'N';
                token->m_dDate = t == 0 ? day + i % 365 : 0.0;
                item->m_Tokens.push_back(std::move(token));
            }
            purchase.m_Items.push_back(std::move(item));
        }
        for (int k = 0; k < 3; ++k) {
            auto pay = std::make_unique<CSchedulePayment>();
            pay->m_cKind = 'U';
            pay->m_dAmount = 100.0;
            pay->m_sDescription = "Instalment " + std::to_string(k + 1);
            pay->m_dDate = day + i % 365 + 30 * k;
            purchase.m_Payments.push_back(std::move(pay));
        }
        if (!Add(*db, TABLE_PURCHASE, &purchase)) return false;

        for (int k = 0; k < 2; ++k) {
            CPaymentRecord pay;
            pay.m_nPerson = p.m_nCode;
            pay.m_dAmount = 100.0;
            pay.m_sText = "Lesson fee";
            pay.m_dDate = day + i % 365 + k;
            if (!Add(*db, TABLE_PAYMENT, &pay)) return false;
        }
        CScheduleRecord lesson;
        lesson.m_nStudent = p.m_nCode;
        lesson.m_nTeacher = teacher;
        lesson.m_sText = "Waltz";
        lesson.m_dFirstDate = lesson.m_dLastDate = day + i % 365;
        if (!Add(*db, TABLE_SCHEDULE, &lesson)) return false;
    }
    db->CloseDatabase();
    return true;
}

// ---- Physical references ----

double ReadFileSeconds(const std::string& path)
{
    std::vector<char> buf(1 << 20);
    auto t0 = Clock::now();
    int fd = open(path.c_str(), O_RDONLY);
    if (fd < 0) return kNan;
    while (read(fd, buf.data(), buf.size()) > 0) {
    }
    close(fd);
    return Seconds(t0, Clock::now());
}

// `writes` 4 KiB writes each followed by fdatasync, in a scratch file in `folder`.
double SyncedWritesSeconds(const std::string& folder, int writes)
{
    const std::string path = folder + "/sync_probe.bin";
    int fd = open(path.c_str(), O_RDWR | O_CREAT, 0644);
    if (fd < 0) return kNan;
    std::vector<char> page(4096, 'x');
    // The file exists at its size first, as the database does.
    if (pwrite(fd, page.data(), page.size(), 0) != 4096 || fdatasync(fd) != 0) {
        close(fd);
        return kNan;
    }
    auto t0 = Clock::now();
    for (int i = 0; i < writes; ++i) {
        page[0] = static_cast<char>(i);
        if (pwrite(fd, page.data(), page.size(), 0) != 4096 || fdatasync(fd) != 0) {
            close(fd);
            return kNan;
        }
    }
    double s = Seconds(t0, Clock::now());
    close(fd);
    unlink(path.c_str());
    return s;
}

// One loopback TCP round trip (a few bytes there and back on an open connection).
double LoopbackRoundTripSeconds()
{
    int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    socklen_t len = sizeof addr;
    if (listener < 0 || bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(listener, 1) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        if (listener >= 0) close(listener);
        return kNan;
    }
    int client = socket(AF_INET, SOCK_STREAM, 0);
    if (connect(client, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        close(client);
        close(listener);
        return kNan;
    }
    int server = accept(listener, nullptr, nullptr);
    int one = 1;
    setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    setsockopt(server, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    std::thread echo([server] {
        char b[64];
        ssize_t r;
        while ((r = read(server, b, sizeof b)) > 0)
            if (write(server, b, r) != r) break;
    });
    char msg[16] = "ping", back[16];
    std::vector<double> times;
    for (int i = 0; i < 21; ++i) {
        auto t0 = Clock::now();
        if (write(client, msg, sizeof msg) != sizeof msg) break;
        size_t got = 0;
        while (got < sizeof back) {
            ssize_t r = read(client, back + got, sizeof back - got);
            if (r <= 0) break;
            got += static_cast<size_t>(r);
        }
        times.push_back(Seconds(t0, Clock::now()));
    }
    shutdown(client, SHUT_RDWR);
    close(client);
    echo.join();
    close(server);
    close(listener);
    return Median(times);
}

// ---- The measurements for one studio ----

struct Figures {
    double load = kNan, loadRef = kNan;
    double save = kNan, saveRef = kNan;
    double refresh = kNan, refreshRef = kNan;
};

double Ratio(double a, double b)
{
    return (std::isnan(a) || std::isnan(b) || b <= 0) ? kNan : a / b;
}

bool Eventually(const std::function<bool()>& done, int timeoutMs)
{
    auto until = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Clock::now() < until) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

// An edit is refused at once while another desk holds the database lock (its refresh, say):
// the user tries again, and so does this, within the measured time.
bool Edit(DriverProcess& copy, const std::string& code, const std::string& first)
{
    auto until = Clock::now() + std::chrono::seconds(30);
    while (Clock::now() < until) {
        Reply r = copy.Command("editperson " + code + " " + first, 60000);
        if (r == Reply{"1"}) return true;
        if (r != Reply{"2"}) {
            std::fprintf(stderr, "edit failed (%s)\n", r.empty() ? "" : r[0].c_str());
            return false;
        }
    }
    return false;
}

// A refresh that finds another running is skipped, as the timer's is: try again.
bool Refresh(DriverProcess& copy)
{
    auto until = Clock::now() + std::chrono::seconds(30);
    while (Clock::now() < until) {
        if (copy.Command("refresh", 30000) == Reply{"1"}) return true;
    }
    return false;
}

void MeasureMultiCopy(const std::string& folder, const std::string& name, uint32_t person, int reps, Figures& f)
{
    if (!std::filesystem::exists(DriverPath())) {
        std::fprintf(stderr, "no driver program at %s (build target dq_driver)\n", DriverPath().c_str());
        return;
    }
    DriverProcess first(kServer, kServer, folder + "/" + kServer);
    DriverProcess second(kSecond, kServer, folder + "/" + kSecond);
    if (!first.Started() || !second.Started()) {
        std::fprintf(stderr, "could not start the driver copies\n");
        return;
    }
    Reply a = first.Command("opendb " + name + " " + kPasswords[1], 120000);
    Reply b = second.Command("opendb " + name + " " + kPasswords[2], 120000);
    if (a.empty() || a[0] != "1" || b.empty() || b[0] != "1") {
        std::fprintf(stderr, "the driver copies could not open the database\n");
        return;
    }
    if (!Eventually([&] { return first.Command("users") == Reply{"2"} && second.Command("users") == Reply{"2"}; }, 15000)) {
        std::fprintf(stderr, "the two copies do not see each other on line\n");
        return;
    }
    const std::string code = std::to_string(person);

    // Save: the second copy (not the lock manager) saves the person.
    std::vector<double> saves;
    for (int i = 0; i < reps; ++i) {
        auto t0 = Clock::now();
        bool saved = Edit(second, code, "S" + std::to_string(i));
        auto t1 = Clock::now();
        if (!saved) {
            std::fprintf(stderr, "save by the second copy failed\n");
            break;
        }
        saves.push_back(Seconds(t0, t1));
    }
    if (static_cast<int>(saves.size()) == reps) f.save = Median(saves);

    // Refresh: saved in the first copy, until the second sees it after its refresh.
    if (!Refresh(first) || !Refresh(second)) {
        std::fprintf(stderr, "refresh failed before the refresh figure\n");
        return;
    }
    std::vector<double> refreshes;
    for (int i = 0; i < reps; ++i) {
        const std::string first_name = "R" + std::to_string(i);
        auto t0 = Clock::now();
        if (!Edit(first, code, first_name)) break;
        bool seen = false;
        auto until = Clock::now() + std::chrono::seconds(30);
        while (!seen && Clock::now() < until) {
            if (!Refresh(second)) break;
            Reply p = second.Command("person " + code);
            seen = p.size() == 2 && p[1] == first_name;
        }
        auto t1 = Clock::now();
        if (!seen) {
            std::fprintf(stderr, "the second copy did not see the change\n");
            break;
        }
        refreshes.push_back(Seconds(t0, t1));
    }
    if (static_cast<int>(refreshes.size()) == reps) f.refresh = Median(refreshes);
    first.Command("closedb", 30000);
    second.Command("closedb", 30000);
    first.Stop();
    second.Stop();
}

bool MeasureStudio(const std::string& folder, const std::string& name, int n, int reps, Figures& f)
{
    std::printf("studio of %d persons: generating...\n", n);
    std::fflush(stdout);
    uint32_t person = NO_CODE;
    auto g0 = Clock::now();
    if (!Generate(name, n, person)) {
        std::fprintf(stderr, "generating the studio failed\n");
        return false;
    }
    const std::string file = name + ".dbs";
    std::printf("  generated in %.1f s, file %.1f MiB\n", Seconds(g0, Clock::now()),
                std::filesystem::file_size(file) / 1048576.0);

    // Load: a copy alone opens and loads, against reading the bytes (both from the page cache).
    std::vector<double> loads, reads;
    ReadFileSeconds(file);
    for (int i = 0; i < std::max(3, reps / 3); ++i) {
        ui::test::DeleteDestroyedWindows();
        auto t0 = Clock::now();
        auto db = OpenAlone(name);
        auto t1 = Clock::now();
        if (!db) {
            std::fprintf(stderr, "loading failed\n");
            loads.clear();
            break;
        }
        db->CloseDatabase();
        loads.push_back(Seconds(t0, t1));
        reads.push_back(ReadFileSeconds(file));
    }
    f.load = Median(loads);
    f.loadRef = Median(reads);

    std::vector<double> syncs, refs;
    for (int i = 0; i < reps; ++i) {
        syncs.push_back(SyncedWritesSeconds(folder, 1));
        refs.push_back(SyncedWritesSeconds(folder, 2) + LoopbackRoundTripSeconds());
    }
    f.saveRef = Median(syncs);
    f.refreshRef = Median(refs);

    MeasureMultiCopy(folder, name, person, reps, f);

    std::printf("  load    %10.6f s  reference %10.6f s  (read %.1f MiB)\n", f.load, f.loadRef,
                std::filesystem::file_size(file) / 1048576.0);
    std::printf("  save    %10.6f s  reference %10.6f s  (4 KiB write + fdatasync)\n", f.save, f.saveRef);
    std::printf("  refresh %10.6f s  reference %10.6f s  (loopback round trip + 2 synced writes)\n", f.refresh,
                f.refreshRef);
    std::fflush(stdout);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    int n = 5000;
    int reps = 15;
    std::string keep;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--n" && i + 1 < argc) {
            n = std::atoi(argv[++i]);
        } else if (a == "--keep" && i + 1 < argc) {
            keep = argv[++i];
        } else if (a == "--reps" && i + 1 < argc) {
            reps = std::atoi(argv[++i]);
        } else {
            std::fprintf(stderr, "usage: %s [--n N] [--reps R] [--keep DIR]\n", argv[0]);
            return 2;
        }
    }
    if (n < 1 || reps < 1) {
        std::fprintf(stderr, "N and R must be at least 1\n");
        return 2;
    }

    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ui::test::EnsureApplication();
    ui::test::Hooks& h = ui::test::ResetHooks();
    h.scriptMessageBoxes = true;
    h.driveDialogs = true;

    std::string folder;
    if (!keep.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(keep, ec);
        folder = std::filesystem::absolute(keep).string();
    } else {
        char pattern[] = "/tmp/dq_bench_db_XXXXXX";
        if (!mkdtemp(pattern)) {
            std::perror("mkdtemp");
            return 1;
        }
        folder = pattern;
    }
    for (const char* a : {kServer, kSecond}) {
        std::filesystem::create_directories(folder + "/" + a);
        std::ofstream usr(folder + "/" + a + "/Dorvalquintex.usr");
        usr << kServer << "\r\n" << kSecond << "\r\n";
    }
    // One name per run and size: the name gives the port, so parallel runs do not meet.
    std::random_device rd;
    const std::string tag = std::to_string(getpid()) + "_" + std::to_string(rd() % 100000);

    Figures at[2];
    const int sizes[2] = {n, 4 * n};
    for (int k = 0; k < 2; ++k) {
        const std::string name = folder + "/B" + std::to_string(k) + "_" + tag;
        {
            std::ofstream rgs(name + ".rgs", std::ios::binary);
            rgs << UserEntry("bench", kPasswords[0], 1) << UserEntry("desk1", kPasswords[1], 2)
                << UserEntry("desk2", kPasswords[2], 3);
        }
        MeasureStudio(folder, name, sizes[k], reps, at[k]);
    }

    if (keep.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    } else {
        std::printf("kept in %s\n", folder.c_str());
    }
    std::printf("RATIO load_N %.3f\n", Ratio(at[0].load, at[0].loadRef));
    std::printf("RATIO load_4N %.3f\n", Ratio(at[1].load, at[1].loadRef));
    std::printf("RATIO save_N %.3f\n", Ratio(at[0].save, at[0].saveRef));
    std::printf("RATIO save_4N %.3f\n", Ratio(at[1].save, at[1].saveRef));
    std::printf("RATIO refresh_N %.3f\n", Ratio(at[0].refresh, at[0].refreshRef));
    std::printf("RATIO refresh_4N %.3f\n", Ratio(at[1].refresh, at[1].refreshRef));
    return 0;
}
