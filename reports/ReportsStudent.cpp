// CReports: the reports on one student: the summary, the activities and the history.

#include <utility>

#include "common/DateTime.h"
#include "database/Database.h"
#include "platform/host/Format.h"
#include "records/PurchaseMoney.h"
#include "reports/Reports.h"

namespace {

// A count and an amount of one kind of scheduled payment.
struct stKindSum {
    uint32_t nCount = 0;
    double dAmount = 0.0;
    void Add(double amount)
    {
        ++nCount;
        dAmount += amount;
    }
};

const char* const kLongDate = "%A %B %d, %Y, %I:%M%p";

}  // namespace

void CReports::CollectContractActivities(uint32_t person, bool withPartner, std::vector<std::string>& lines)
{
    std::vector<stDataToken> entries;
    for (const stIndex& e : *m_pDB->GetItemList(TABLE_PURCHASE)) {
        CPurchaseRecord* purchase = static_cast<CPurchaseRecord*>(e.pItem);
        if (purchase->m_nStatus != CPurchaseRecord::STATUS_ACTIVE || purchase->m_nPerson != person) continue;
        for (size_t i = 0; i < purchase->m_Items.size(); ++i) {
            const CPurchaseItem& item = *purchase->m_Items[i];
            for (size_t j = 0; j < item.m_Tokens.size(); ++j) {
                const CScheduleToken& token = *item.m_Tokens[j];
                entries.push_back(MakeDataToken('T', token.m_cState == 'N' ? 0.0 : token.m_dDate, purchase,
                                                static_cast<int32_t>(i), static_cast<int32_t>(j)));
            }
        }
    }
    m_pDB->ArrangeScheduleEntries(entries);
    for (const stDataToken& entry : entries) {
        const CPurchaseRecord& purchase = *static_cast<const CPurchaseRecord*>(entry.record);
        const CPurchaseItem& item = *purchase.m_Items[static_cast<size_t>(entry.index1)];
        std::string line = item.m_Tokens[static_cast<size_t>(entry.index2)]->GetText(item, purchase.m_sDescription, m_pDB);
        if (withPartner && purchase.m_nSecondPerson != NO_CODE) {
            std::string partner;
            m_pDB->GetPersonName(partner, purchase.m_nSecondPerson, 0);
            line += Format(", with %s", partner.c_str());
        }
        lines.push_back(std::move(line));
    }
}

const CPerson* CReports::PlanStudentReport(uint32_t code, int bodySlot, const char* title, stTextReport& plan)
{
    const CPerson* person = m_pDB ? static_cast<const CPerson*>(m_pDB->GetItem(TABLE_PERSON, code)) : nullptr;
    if (!person) return nullptr;
    plan.nBodySlot = bodySlot;
    plan.nHeadSlot = bodySlot + 1;
    plan.sTitle = Format(title, person->m_sFirstName.c_str(), person->m_sLastName.c_str());
    return person;
}

void CReports::AddOtherActivities(uint32_t person, const char* pattern)
{
    for (const stIndex& e : *m_pDB->GetItemList(TABLE_SCHEDULE)) {
        const CScheduleRecord& item = *static_cast<const CScheduleRecord*>(e.pItem);
        if (item.m_cKind != 'S' || item.m_nStudent != person) continue;
        AddLine(Format(pattern, item.m_sText.c_str(), FormatDateTime(item.m_dFirstDate, kLongDate).c_str()));
    }
}

void CReports::StudentSummaryReport(uint32_t code)
{
    stTextReport plan;
    const CPerson* person = PlanStudentReport(code, 22, "Student summary report for :%s %s", plan);
    if (!person) return;
    plan.fnBody = [&] {
        if (person->m_dBirthday != 0.0)
            AddLine(Format("Birthday: %s ", FormatDateTime(person->m_dBirthday, "%m/%d").c_str()));
        if (person->m_dAnniversary != 0.0)
            AddLine(Format("Anniversary: %s ", FormatDateTime(person->m_dAnniversary, "%m/%d").c_str()));
        std::string name;
        if (person->m_nCode30 != NO_CODE) {
            m_pDB->GetPersonName(name, person->m_nCode30, 0);
            AddLine(Format("Referred by: %s ", name.c_str()));
        }
        if (person->m_nTeacher != NO_CODE) {
            m_pDB->GetPersonName(name, person->m_nTeacher, 0);
            AddLine(Format("Teacher: %s ", name.c_str()));
        }
        if (person->m_nReferredBy != NO_CODE)
            AddLine(Format("Brought in by: %s ", m_pDB->GetCategoryName(person->m_nReferredBy).c_str()));

        if (!person->m_Interviews.empty()) AddLine("Interviews:");
        for (const auto& interview : person->m_Interviews) {
            const std::string program = interview->m_nProgram != NO_CODE
                                            ? Format(", program:%s", m_pDB->GetCategoryName(interview->m_nProgram).c_str())
                                            : std::string();
            const std::string dueTo = interview->m_nDueTo != NO_CODE
                                          ? Format(", due to: %s", m_pDB->GetCategoryName(interview->m_nDueTo).c_str())
                                          : std::string();
            AddLine(Format("%s %s%s%s", interview->GetKindText(), FormatDateTime(interview->m_dDate, kLongDate).c_str(),
                           program.c_str(), dueTo.c_str()));
        }

        AddBlankLine(22);
        AddLine("Contract purchases:");
        for (const stIndex& e : *m_pDB->GetItemList(TABLE_PURCHASE)) {
            const CPurchaseRecord& purchase = *static_cast<const CPurchaseRecord*>(e.pItem);
            if (purchase.m_nStatus != CPurchaseRecord::STATUS_ACTIVE || purchase.m_nPerson != code) continue;
            const double whole = purchase.GetTotal(1);
            const std::string program =
                purchase.m_nProgram != NO_CODE
                    ? Format(", program:%s, ", m_pDB->GetCategoryName(purchase.m_nProgram).c_str())
                    : std::string();
            AddLine(Format("%s %s%s @ %.2f ", purchase.m_sDescription.c_str(),
                           FormatDateTime(purchase.m_dDate, kLongDate).c_str(), program.c_str(), whole));
            stKindSum credits, discounts, unscheduled, scheduled, made, refunds;
            for (const auto& payment : purchase.m_Payments) {
                switch (payment->m_cKind) {
                case 'c': credits.Add(payment->m_dAmount); break;
                case 'd': discounts.Add(CPurchaseMoney::DiscountAmount(*payment, whole)); break;
                case 'S': scheduled.Add(payment->m_dAmount); break;
                case 'R': made.Add(payment->m_dAmount); break;
                case 'F': refunds.Add(payment->m_dAmount); break;
                default: unscheduled.Add(payment->m_dAmount); break;
                }
            }
            const std::pair<const char*, const stKindSum*> sums[] = {
                {"\tCredits applied\t(%u) %.2f", &credits},        {"\tDiscounts applied\t(%u) %.2f", &discounts},
                {"\tPayments not scheduled\t(%u) %.2f", &unscheduled}, {"\tPayments scheduled\t(%u) %.2f", &scheduled},
                {"\tPayments made\t(%u) %.2f", &made},              {"\tRefunds\t(%u) %.2f", &refunds},
            };
            for (const auto& [pattern, sum] : sums)
                if (sum->nCount > 0) AddLine(Format(pattern, sum->nCount, sum->dAmount));
            AddLine(Format("\tBalance due\t%.2f", purchase.GetBalance()));

            uint32_t beforeEnd = 0, pastEnd = 0, notScheduled = 0, isScheduled = 0, used = 0;
            for (const auto& item : purchase.m_Items)
                for (const auto& token : item->m_Tokens) {
                    if (token->IsKindTN()) {
                        ++(purchase.IsItemBlocked(*item, nullptr) ? pastEnd : beforeEnd);
                    } else if (token->m_cKind == 0) {
                        ++notScheduled;
                    } else if (token->IsKindPS()) {
                        ++(token->m_cState == 'U' ? used : token->m_cState == 'S' ? isScheduled : notScheduled);
                    }
                }
            AddLine(Format("\tFixed time items before end date\t%u", beforeEnd));
            AddLine(Format("\tFixed time items past end date\t%u", pastEnd));
            AddLine(Format("\tSchedulable items not scheduled\t%u", notScheduled));
            AddLine(Format("\tSchedulable items scheduled\t%u", isScheduled));
            AddLine(Format("\tSchedulable items used\t%u", used));
        }

        AddBlankLine(22);
        AddLine("Other activities:");
        AddOtherActivities(code, "\t%s, %s");

        AddBlankLine(22);
        AddLine("Other payments:");
        double due = 0.0;
        for (const stIndex& e : *m_pDB->GetItemList(TABLE_PAYMENT)) {
            const CPaymentRecord& payment = *static_cast<const CPaymentRecord*>(e.pItem);
            if (payment.m_nPerson != code || payment.m_cType != 'R') continue;
            if (payment.m_cReceived == 'R') {
                AddLine(Format("\tFor %s\t%.2f", payment.m_sText.c_str(), payment.m_dAmount));
            } else {
                AddLine(Format("\tDue for %s\t%.2f", payment.m_sText.c_str(), payment.m_dAmount));
                due += payment.m_dAmount;
            }
        }
        AddLine(Format("\tBalance due\t%.2f", due));

        AddBlankLine(22);
        std::vector<stActivityLine> latest;
        m_pDB->MakeStudentActivitySummary(latest);
        for (const stActivityLine& line : latest)
            if (line.nPerson == code)
                AddLine(Format("Last activity: %s %s", FormatDateTime(line.dDate, "%A %B %d, %Y").c_str(),
                               line.sText.c_str()));
    };
    RunTextReport(plan);
}

void CReports::StudentActivityReport(uint32_t code)
{
    stTextReport plan;
    if (!PlanStudentReport(code, 24, "Student activity report for :%s %s", plan)) return;
    std::vector<std::string> activities;
    plan.fnCollect = [&] {
        CollectContractActivities(code, false, activities);
        return true;
    };
    plan.fnBody = [&] {
        AddLine("Contract activities:");
        for (const std::string& line : activities) AddLine(line);
        AddBlankLine(24);
        AddLine("Other activities:");
        AddOtherActivities(code, "%s, %s");
    };
    RunTextReport(plan);
}

void CReports::StudentHistoryReport(uint32_t code)
{
    stTextReport plan;
    if (!PlanStudentReport(code, 26, "Student history report for :%s %s", plan)) return;
    std::vector<std::string> activities;
    std::vector<stPaymentData> transactions;
    plan.fnCollect = [&] {
        CollectContractActivities(code, true, activities);
        std::vector<stDataToken> payments;
        m_pDB->CollectPaymentDates(payments, 0);
        for (const stDataToken& entry : payments) {
            stPaymentData row = m_pDB->MakeAccountHistory(entry);
            if (row.nPerson == static_cast<int32_t>(code) && row.dSignedAmount != 0.0)
                transactions.push_back(std::move(row));
        }
        return true;
    };
    plan.fnBody = [&] {
        AddLine("Contract activities:");
        for (const std::string& line : activities) AddLine(line);
        AddBlankLine(26);
        AddLine("Transactions:");
        AddLine("Date\tTransaction type\tAmount\tStatus\tFor");
        for (const stPaymentData& row : transactions)
            AddLine(Format("%s\t%s\t%s\t%s\t%s", row.sDate.c_str(), row.sType.c_str(), row.sAmount.c_str(),
                           row.sStatus.c_str(), row.sFor.c_str()));
    };
    RunTextReport(plan);
}
