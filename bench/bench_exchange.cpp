// bench_exchange: the accounting and text exchange at studio size, each figure beside a reference
// taken in the same run on the same database:
//   import   a student file of N lines into a studio of N persons, per line, against one
//            SaveModifiedItem of a person
//   export   a year's transaction export of N students, against one pass over the payments and
//            the scheduled payments that reads each one's date, amount and category
//   sheet    the spreadsheet grid's load and layout of that export file, against reading it
// Each is measured for N and 4N. The last lines are "RATIO <name>_N <value>" and
// "RATIO <name>_4N <value>".
// Options: --n N (default 2000), --reps R (repetitions of the exports and of the short
// references, default 5).

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "database/Database.h"
#include "platform/host/Format.h"
#include "platform/ui/TestHooks.h"
#include "studio/IifReader.h"
#include "views/SpreadsheetGrid.h"
#include "widgets/DialogSetDateTime.h"
#include "platform/ui/Dialog.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(const std::function<void()>& work)
{
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? std::nan("") : v[v.size() / 2];
}

// A student file of `n` lines whose names start with `prefix`.
std::string WriteStudents(const std::string& folder, const std::string& name, const std::string& prefix, int n)
{
    const std::string path = folder + "/" + name;
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < n; ++i)
        out << prefix << i << "\tStudent" << (i * 7919) % n << "\t3/4/2026\t555-1000\t\t" << i
            << " Main St\tTown\tTX\t75001\ts@x.org\t\tA\r\n";
    return path;
}

void Answer(const std::string& path, std::initializer_list<int> boxes)
{
    ui::test::Hooks& h = ui::test::GetHooks();
    h.fileDialogAnswers.push_back(path);
    for (int b : boxes) h.messageBoxAnswers.push_back(b);
}

struct stFigures {
    double import = 0, importRef = 0, exportTime = 0, exportRef = 0, sheet = 0, sheetRef = 0;
};

stFigures Measure(const std::string& folder, int n, int reps)
{
    stFigures f;
    const std::string root = folder + "/studio" + std::to_string(n);
    auto db = std::make_unique<CDatabase>();
    db->m_bNetworkDisabled = true;
    if (!db->OpenDatabaseFile(root)) return f;
    ui::test::Hooks& h = ui::test::GetHooks();

    // The studio: N students, then N more lines imported.
    Answer(WriteStudents(folder, "first.txt", "First", n), {});
    db->ImportStudentsAndContracts();
    ui::test::DeleteDestroyedWindows();
    Answer(WriteStudents(folder, "second.txt", "Second", n), {});
    f.import = Seconds([&] { db->ImportStudentsAndContracts(); }) / n;
    ui::test::DeleteDestroyedWindows();
    std::vector<double> saves;
    const std::vector<stIndex>& persons = *db->GetItemList(TABLE_PERSON);
    for (int i = 0; i < reps; ++i) {
        const stIndex entry = persons[static_cast<size_t>(i) * persons.size() / static_cast<size_t>(reps)];
        saves.push_back(Seconds([&] { db->SaveModifiedItem(TABLE_PERSON, entry.nCode, entry.pItem); }));
        ui::test::DeleteDestroyedWindows();
    }
    f.importRef = Median(saves);

    // A year of payments: per student twelve payments and a purchase of twelve scheduled ones.
    CCategory account('A');
    account.m_sName = "Sales";
    std::array<int, 5> flags{0, 1, 0, 0, 0};
    SetCategoryAccountParams(account, 11, 0, 0, flags);
    uint32_t code = NO_CODE;
    account.m_nSequence = 0;
    const uint32_t loc = db->SaveItem(TABLE_CATEGORY, &account, &code);
    auto* stored = new CCategory('A');
    stored->CopyFrom(account);
    db->AddIndex(TABLE_CATEGORY, stored, code, 0, loc, 0xFFFFFFFE, -1);
    SetCategoryAccountParams(*stored, 11, code, code, flags);
    int sequence = 0;
    for (size_t s = 0; s < persons.size() / 2; ++s) {
        auto* purchase = new CPurchaseRecord();
        purchase->m_nPerson = persons[s].nCode;
        for (int m = 0; m < 12; ++m) {
            auto p = new CPaymentRecord();
            p->m_cType = 'R';
            p->m_dDate = MakeDate(2025, m + 1, 10, 12, 0);
            p->m_dAmount = 40.0 + m;
            p->m_nField15 = code;
            p->m_nPerson = persons[s].nCode;
            p->m_nSequence = sequence++;
            p->m_nCode = static_cast<uint32_t>(sequence);
            db->AddIndex(TABLE_PAYMENT, p, p->m_nCode, static_cast<uint32_t>(p->m_nSequence), 0, 0xFFFFFFFE, -1);
            auto sp = std::make_unique<CSchedulePayment>();
            sp->m_cKind = 'R';
            sp->m_dDate = MakeDate(2025, m + 1, 20, 12, 0);
            sp->m_dAmount = 50.0;
            sp->m_nCategory = code;
            purchase->m_Payments.push_back(std::move(sp));
        }
        purchase->m_nSequence = static_cast<int32_t>(s);
        purchase->m_nCode = static_cast<uint32_t>(s + 1);
        db->AddIndex(TABLE_PURCHASE, purchase, purchase->m_nCode, static_cast<uint32_t>(s), 0, 0xFFFFFFFE, -1);
    }
    // Each export writes a file of its own; the median of them is taken, like the passes it is
    // set against.
    const std::string exportPath = folder + "/export" + std::to_string(n) + ".iif";
    std::vector<double> exports;
    for (int i = 0; i < reps; ++i) {
        h.fileDialogAnswers.push_back(i == 0 ? exportPath : exportPath + std::to_string(i));
        h.dialogScripts.push_back([](ui::Dialog& d) {
            static_cast<CDialogSetDateTime&>(d).m_DateEdit.SetValue(MakeDate(2025, 1, 1, 0, 0));
            ui::test::Click(d, 1000);
        });
        h.messageBoxAnswers.push_back(IDNO);
        exports.push_back(Seconds([&] { db->ExportTransactionsIIF(); }));
        ui::test::DeleteDestroyedWindows();
    }
    f.exportTime = Median(exports);
    std::vector<double> passes;
    for (int i = 0; i < reps; ++i) {
        double sum = 0.0;
        passes.push_back(Seconds([&] {
            for (const stIndex& e : *db->GetItemList(TABLE_PAYMENT)) {
                const auto* p = static_cast<const CPaymentRecord*>(e.pItem);
                if (p->m_dDate >= 0.0 && db->GetItem(TABLE_CATEGORY, p->m_nField15)) sum += p->m_dAmount;
            }
            for (const stIndex& e : *db->GetItemList(TABLE_PURCHASE))
                for (const auto& sp : static_cast<const CPurchaseRecord*>(e.pItem)->m_Payments)
                    if (sp->m_dDate >= 0.0 && db->GetItem(TABLE_CATEGORY, sp->m_nCategory)) sum += sp->m_dAmount;
        }));
        if (sum < 0) std::printf("%f\n", sum);
    }
    f.exportRef = Median(passes);

    // The export file in the spreadsheet grid.
    std::vector<double> sheets, reads;
    for (int i = 0; i < reps; ++i) {
        sheets.push_back(Seconds([&] {
            auto* grid = new CSpreadsheetGrid(nullptr, nullptr, exportPath);
            grid->DestroyWindow();
        }));
        ui::test::DeleteDestroyedWindows();
        reads.push_back(Seconds([&] {
            CIifReader reader;
            reader.Open(exportPath);
            std::string line;
            std::vector<std::string> fields;
            while (reader.ReadRawLine(line)) CIifReader::SplitFields(line, '\t', fields);
        }));
    }
    f.sheet = Median(sheets);
    f.sheetRef = Median(reads);
    db->CloseDatabase();
    return f;
}

double Ratio(double a, double b) { return b > 0.0 ? a / b : std::nan(""); }

}  // namespace

int main(int argc, char** argv)
{
    int n = 2000;
    int reps = 5;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--n" && i + 1 < argc) n = std::atoi(argv[++i]);
        else if (a == "--reps" && i + 1 < argc) reps = std::atoi(argv[++i]);
        else {
            std::fprintf(stderr, "usage: %s [--n N] [--reps R]\n", argv[0]);
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
    h.scriptFileDialogs = true;
    char pattern[] = "/tmp/dq_bench_exchange_XXXXXX";
    if (!mkdtemp(pattern)) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string folder = pattern;
    const stFigures small = Measure(folder, n, reps);
    const stFigures large = Measure(folder, 4 * n, reps);
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    std::printf("import per line %.6f s / save %.6f s (N), %.6f s / %.6f s (4N)\n", small.import, small.importRef,
                large.import, large.importRef);
    std::printf("export %.4f s / pass %.6f s (N), %.4f s / %.6f s (4N)\n", small.exportTime, small.exportRef,
                large.exportTime, large.exportRef);
    std::printf("sheet %.4f s / read %.6f s (N), %.4f s / %.6f s (4N)\n", small.sheet, small.sheetRef, large.sheet,
                large.sheetRef);
    std::printf("RATIO import_N %.3f\n", Ratio(small.import, small.importRef));
    std::printf("RATIO import_4N %.3f\n", Ratio(large.import, large.importRef));
    std::printf("RATIO export_N %.3f\n", Ratio(small.exportTime, small.exportRef));
    std::printf("RATIO export_4N %.3f\n", Ratio(large.exportTime, large.exportRef));
    std::printf("RATIO sheet_N %.3f\n", Ratio(small.sheet, small.sheetRef));
    std::printf("RATIO sheet_4N %.3f\n", Ratio(large.sheet, large.sheetRef));
    return 0;
}
