// CDatabase: one period's lessons, interviews and resulting sales added into the rows of the
// program, department or contract-type statistics.

#include <unordered_map>
#include <unordered_set>

#include "common/Diagnostic.h"
#include "database/Database.h"
#include "studio/SalesByInterview.h"
#include "studio/ScheduleTrace.h"

namespace {

// The interview's category of the statistics' mode.
uint32_t InterviewCategory(const CInterview& interview, char mode)
{
    switch (mode) {
    case 'P': return interview.m_nProgram;
    case 'D': return interview.m_nField10;
    case 'C': return interview.m_nField9;
    default: return NO_CODE;
    }
}

// The purchase's category of the statistics' mode.
uint32_t PurchaseCategory(const CPurchaseRecord& purchase, char mode)
{
    switch (mode) {
    case 'P': return purchase.m_nProgram;
    case 'D': return purchase.m_nField13;
    case 'C': return purchase.m_nField12;
    default: return NO_CODE;
    }
}

}  // namespace

void CDatabase::ProgramStatisticsData(char mode, DATE start, DATE end, std::vector<stProgramStatisticsData>& rows)
{
    const bool trace = DiagnosticLevel > 0;
    if (trace)
        WriteDiagnosticFormat("CDatabase::ProgramStatisticsData %s - %s\n", FormatTraceDate(start).c_str(),
                              FormatTraceDate(end).c_str());
    // The first row of each code.
    std::unordered_map<uint32_t, size_t> rowOf;
    for (size_t r = 0; r < rows.size(); ++r) rowOf.emplace(static_cast<uint32_t>(rows[r].nCode), r);
    auto findRow = [&](uint32_t code) -> stProgramStatisticsData* {
        const auto it = rowOf.find(code);
        return it == rowOf.end() ? nullptr : &rows[it->second];
    };

    // The period's interviews with the active sales that resulted from them.
    struct Interview {
        const CPerson* person;
        const CInterview* interview;
        uint32_t category;
        uint32_t sales;
        double amount;
    };
    std::vector<Interview> interviews;
    std::unordered_set<uint32_t> interviewed;
    for (const stIndex& e : m_aIndex[TABLE_PERSON]) {
        const CPerson* person = static_cast<const CPerson*>(e.pItem);
        for (const auto& interview : person->m_Interviews) {
            if (interview->m_dDate < start || !(interview->m_dDate < end)) continue;
            interviews.push_back({person, interview.get(), InterviewCategory(*interview, mode), 0, 0.0});
            interviewed.insert(person->m_nCode);
        }
    }
    const CSalesByInterview sales(m_aIndex[TABLE_PURCHASE], interviewed);
    for (Interview& record : interviews) {
        const CPerson* person = record.person;
        const CInterview* interview = record.interview;
        for (const CPurchaseRecord* purchase : sales.Find(person->m_nCode, interview->m_dDate)) {
            if (purchase->m_nStatus != CPurchaseRecord::STATUS_ACTIVE) continue;
            ++record.sales;
            record.amount += purchase->GetTotal(0);
        }
        if (trace) {
            std::string name;
            GetPersonName(name, person->m_nCode, 0);
            WriteDiagnosticFormat("Adding interview by %s %u with %s %u on %s, program %s, # purchases %u\n",
                                  MakeTraceName(*this, interview->m_nField4).c_str(), interview->m_nField4,
                                  name.c_str(), person->m_nCode, FormatTraceDate(interview->m_dDate).c_str(),
                                  GetCategoryName(record.category).c_str(), record.sales);
        }
    }

    // Lessons of active purchases dated before the period's end, by the purchase's category.
    for (const stIndex& e : m_aIndex[TABLE_PURCHASE]) {
        const CPurchaseRecord* purchase = static_cast<const CPurchaseRecord*>(e.pItem);
        if (purchase->m_nStatus != CPurchaseRecord::STATUS_ACTIVE) continue;
        stProgramStatisticsData* row = findRow(PurchaseCategory(*purchase, mode));
        if (row == nullptr) continue;
        for (const auto& item : purchase->m_Items)
            for (const auto& token : item->m_Tokens)
                if (token->m_dDate != 0.0 && token->m_dDate < end) ++row->nActivities;
    }

    for (const Interview& record : interviews) {
        if (trace) {
            std::string name;
            GetPersonName(name, record.person->m_nCode, 0);
            WriteDiagnosticFormat(" Update interview related activities: %s %u on %s\n", name.c_str(),
                                  record.person->m_nCode, FormatTraceDate(record.interview->m_dDate).c_str());
        }
        stProgramStatisticsData* row = findRow(record.category);
        if (row == nullptr) continue;
        if (record.interview->m_nField8 == 1) {
            ++row->nFirstInterviews;
            row->nFirstSales += record.sales;
            row->dFirstSalesAmount += record.amount;
        } else {
            ++row->nRenewalInterviews;
            row->nRenewalSales += record.sales;
            row->dRenewalSalesAmount += record.amount;
        }
    }
}
