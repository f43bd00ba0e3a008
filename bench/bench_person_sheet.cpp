// bench_person_sheet: the person sheet at studio size, built in memory: the sheet made for one
// student, every page shown once (person data with its person lists, contact records, purchases,
// purchased activities, payments) and ended with OK. For a studio of N students with 4N purchases
// and of 4N students with 16N purchases. The last line is "RATIO sheet <4N time / N time>"; the
// goals are under 0.2 s at N and a ratio of at most 4.5.
// Options: --n N (default 5000), --reps R (repetitions per figure, default 5).

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "StudioBuilder.h"
#include "database/Database.h"
#include "dialogs/PropertySheetPerson.h"
#include "platform/ui/TestHooks.h"
#include "records/PurchaseItem.h"
#include "records/SchedulePayment.h"

namespace {

using bench_timing::TimeOf;

double Measure(uint32_t students, int reps)
{
    CDatabase db;
    bench_studio::CMemoryTables tables(db);
    for (const auto& [type, name] : std::vector<std::pair<char, const char*>>{
             {'P', "Bronze"}, {'P', "Silver"}, {'M', "Newsletter"}, {'D', "Ballroom"}, {'I', "Walk-in"}})
        tables.Category(type, name);
    std::vector<uint32_t> people;
    for (uint32_t s = 0; s < students; ++s) {
        auto p = std::make_unique<CPerson>(s % 50 == 0 ? 'E' : 'C');
        p->m_sFirstName = "Student";
        p->m_sLastName = "S" + std::to_string(s);
        p->m_Notes = {"comment"};
        p->m_cField33 = '0';  // no contact mode: the data page is left without an address
        people.push_back(tables.Add(TABLE_PERSON, std::move(p)));
    }
    const DATE day = MakeDate(2026, 3, 2, 10, 0);
    for (uint32_t k = 0; k < 4 * students; ++k) {
        auto purchase = std::make_unique<CPurchaseRecord>();
        purchase->m_nPerson = people[k % students];
        purchase->m_sDescription = "Lessons";
        auto item = std::make_unique<CPurchaseItem>();
        item->m_cKind = 'p';
        item->m_nCount = 4;
        item->MakeTokens({day + k % 30, day + 7 + k % 30}, NO_CODE, NO_CODE, NO_CODE);
        purchase->m_Items.push_back(std::move(item));
        auto pay = std::make_unique<CSchedulePayment>();
        pay->m_cKind = 'S';
        pay->m_dAmount = 100.0;
        pay->m_dDate = day + k % 60;
        purchase->m_Payments.push_back(std::move(pay));
        tables.Add(TABLE_PURCHASE, std::move(purchase));
    }
    auto* person = static_cast<CPerson*>(db.GetItem(TABLE_PERSON, people[1]));
    ui::test::Hooks& hooks = ui::test::GetHooks();
    hooks.driveDialogs = true;
    hooks.scriptMessageBoxes = true;
    int result = 0;
    const double seconds = TimeOf(reps, [&] {
        CPropertySheetPerson sheet("Person data", nullptr, 0, &db, person, 0);
        hooks.dialogScripts.push_back([](ui::Dialog& d) {
            auto& s = static_cast<ui::PropertySheet&>(d);
            for (int page = 1; page < s.GetPageCount(); ++page) s.SetActivePage(page);
            ui::test::Click(d, ui::IDOK);
        });
        result = sheet.DoModal();
    });
    std::printf("students %u purchases %u: sheet %.4f s (result %d)\n", students, 4 * students, seconds, result);
    return seconds;
}

}  // namespace

int main(int argc, char** argv)
{
    uint32_t n = 5000;
    int reps = 5;
    bench_timing::ReadOptions(argc, argv, n, reps);
    ui::test::EnsureApplication();
    SetStampUserCode(1);
    const double small = Measure(n, reps);
    const double large = Measure(4 * n, reps);
    std::printf("RATIO sheet %.3f\n", large / small);
    return 0;
}
