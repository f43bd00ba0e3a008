// CReports: balance due, a person's balance sheet, the daily balance table, and the lists of
// payments due from and received from a person.

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <utility>

#include "common/DateTime.h"
#include "common/TextFormat.h"
#include "database/Database.h"
#include "platform/host/Format.h"
#include "platform/host/WaitCursor.h"
#include "reports/Reports.h"
#include "studio/PersonLookup.h"

namespace {


// The name a due payment is summed under: its person's, last name first, else its payer text.
std::string DuePaymentName(const CPersonLookup& persons, const CPaymentRecord& payment)
{
    if (payment.m_nPerson == NO_CODE) return payment.m_sName;
    return persons.GetName(payment.m_nPerson, 1);
}

}  // namespace

void CReports::BalanceDueReport()
{
    // The detail lines of each (name, code) element, gathered in the same pass as the sums.
    struct stDetail {
        std::vector<std::string> aPayments;
        std::vector<std::string> aPurchases;
    };
    struct stKeyHash {
        size_t operator()(const std::pair<std::string, uint32_t>& key) const
        {
            return std::hash<std::string>()(key.first) ^ (static_cast<size_t>(key.second) * 0x9E3779B97F4A7C15ull);
        }
    };
    std::vector<stPersonBalance> balances;
    std::unordered_map<std::pair<std::string, uint32_t>, stDetail, stKeyHash> details;

    stTextReport plan;
    plan.nBodySlot = 12;
    plan.nHeadSlot = 13;
    plan.sHeading = "Name\tDescription\tAmount\tDate";
    plan.cHeadingKind = '-';
    plan.fnCollect = [&] {
        // Equal names keep their elements in arrival order, as UpdateBalanceArray keeps them.
        std::unordered_map<std::string, std::vector<stPersonBalance>> byName;
        const CPersonLookup persons(*m_pDB->GetItemList(TABLE_PERSON));
        for (const stIndex& e : *m_pDB->GetItemList(TABLE_PAYMENT)) {
            const CPaymentRecord& payment = *static_cast<const CPaymentRecord*>(e.pItem);
            if (payment.m_cType != 'R' || payment.m_cReceived == 'R') continue;
            stPersonBalance item;
            item.nCode = payment.m_nPerson;
            item.sName = DuePaymentName(persons, payment);
            item.dAmount = payment.m_dAmount;
            item.cKind = 'R';
            details[{item.sName, item.nCode}].aPayments.push_back(
                Format("\t%s\t%s\t%s", Format("Payment: %s", payment.m_sText.c_str()).c_str(),
                       Format("%8.2f", payment.m_dAmount).c_str(),
                       payment.m_cReceived == 'U' ? "Unscheduled" : ("Due: " + FormatDay(payment.m_dDate)).c_str()));
            UpdateBalanceArray(item, byName[item.sName]);
        }
        for (const stIndex& e : *m_pDB->GetItemList(TABLE_PURCHASE)) {
            const CPurchaseRecord& purchase = *static_cast<const CPurchaseRecord*>(e.pItem);
            // A cancelled contract is owed nothing more; a converted one's balance went into the
            // contract that replaced it.
            if (purchase.m_nStatus != CPurchaseRecord::STATUS_ACTIVE) continue;
            const double balance = purchase.GetBalance();
            if (std::fabs(balance) <= 0.001) continue;
            stPersonBalance item;
            item.nCode = purchase.GetPayer();
            item.sName = persons.GetName(item.nCode, 1);
            item.dAmount = balance;
            item.cKind = 'U';
            details[{item.sName, item.nCode}].aPurchases.push_back(
                Format("\t%s\t%s\t%s", Format("Contract: %s", purchase.m_sDescription.c_str()).c_str(),
                       Format("%8.2f", balance).c_str(), ("Contract: " + FormatDay(purchase.m_dDate)).c_str()));
            UpdateBalanceArray(item, byName[item.sName]);
        }
        // In name order, each name's elements as UpdateBalanceArray left them.
        std::vector<std::pair<const std::string*, std::vector<stPersonBalance>*>> names;
        names.reserve(byName.size());
        for (auto& [name, list] : byName) names.emplace_back(&name, &list);
        std::sort(names.begin(), names.end(), [](const auto& a, const auto& b) { return *a.first < *b.first; });
        for (auto& [name, list] : names)
            for (stPersonBalance& b : *list) balances.push_back(std::move(b));
        plan.sTitle = Format("\tBalance due, %s", FormatCurrentTime(0).c_str());
        for (const auto& [key, d] : details) plan.nExpectedLines += d.aPayments.size() + d.aPurchases.size() + 3;
        return true;
    };
    plan.fnBody = [&] {
        for (const stPersonBalance& b : balances) {
            if (std::fabs(b.dAmount) <= 0.001) continue;
            AddLine(b.sName);
            stDetail& d = details[{b.sName, b.nCode}];
            for (std::string& line : d.aPayments) AddLine(std::move(line));
            for (std::string& line : d.aPurchases) AddLine(std::move(line));
            AddLine(Format("Total\t\t%8.2f", b.dAmount));
            AddBlankLine(12);
        }
    };
    RunTextReport(plan);
}

double CReports::BalanceSheetReport(uint32_t person, int show)
{
    if (!m_pDB) return 0.0;
    std::vector<stDataToken> entries;
    std::vector<std::string> lines;
    double balance = 0.0;
    auto collect = [&] {
        m_pDB->CollectBalanceEntries(person, entries);
        for (const stDataToken& entry : entries) {
            std::string receipt, date, description, amount, paid;
            if (entry.type == 'U') {
                const CPurchaseRecord& purchase = *static_cast<const CPurchaseRecord*>(entry.record);
                const double total = purchase.GetTotal(0);
                receipt = "----";
                date = FormatDay(purchase.m_dDate);
                description = Format("Purchase: %s", purchase.m_sDescription.c_str());
                amount = FormatMoney(total, 0);
                paid = "----";
            } else if (entry.type == 'p') {
                const CPurchaseRecord& purchase = *static_cast<const CPurchaseRecord*>(entry.record);
                const CSchedulePayment& payment = *purchase.m_Payments[static_cast<size_t>(entry.index2)];
                receipt = FormatPaymentRef(payment.m_nReference, payment.m_cMethod, payment.m_sMethodText);
                date = FormatDay(payment.m_dDate);
                description = Format(payment.m_cKind == 'F' ? "Refund: %s" : "Payment: %s",
                                     payment.m_sDescription.c_str());
                paid = FormatMoney(payment.m_dAmount, 0);
                amount = "----";
            } else {
                const CPaymentRecord& payment = *static_cast<const CPaymentRecord*>(entry.record);
                amount = FormatMoney(payment.m_dAmount, 0);
                switch (payment.m_cReceived) {
                case 'R':
                    receipt = FormatPaymentRef(payment.m_nReference, payment.m_cMethod, payment.m_sMethodText);
                    date = FormatDay(payment.m_dDate);
                    description = Format("Purchase: %s", payment.m_sText.c_str());
                    paid = amount;
                    break;
                case 'S':
                case 'U':
                    date = payment.m_cReceived == 'U' ? std::string("Unscheduled") : FormatDay(payment.m_dDate);
                    description = payment.m_sText;
                    paid = "----";
                    break;
                default: continue;
                }
            }
            balance += CDatabase::GetBalanceChange(entry);
            lines.push_back(Format("%s\t%s\t%s\t%s\t%s\t%s", receipt.c_str(), date.c_str(), description.c_str(),
                                   amount.c_str(), paid.c_str(), FormatMoney(balance, 0).c_str()));
        }
        return true;
    };
    if (show != 1) {
        host::WaitCursor wait;
        return m_pDB->GetPersonBalance(person);
    }
    stTextReport plan;
    plan.nBodySlot = 32;
    plan.nHeadSlot = 33;
    plan.sHeading = "Receipt\tDate\tDescription\tAmount\tPayment\tBalance";
    plan.cHeadingKind = '-';
    plan.bBlankAfterHeading = false;
    plan.fnCollect = [&] {
        std::string name;
        m_pDB->GetPersonName(name, person, 0);
        plan.sTitle = Format("Statment for %s", name.c_str());
        return collect();
    };
    plan.fnBody = [&] {
        for (const std::string& line : lines) AddLine(line);
    };
    return RunTextReport(plan) ? balance : 0.0;
}

void CReports::DailyBalanceTableReport()
{
    DATE start = 0.0, end = 0.0;
    std::vector<stDataToken> entries;
    stTextReport plan;
    plan.nBodySlot = 34;
    plan.nHeadSlot = 35;
    plan.sHeading = "Receipt\tDate\tTransaction type\tName\tAmount\tStatus\tFor\tBalance";
    plan.cHeadingKind = '-';
    plan.bBlankAfterHeading = false;
    plan.fnSelect = [&] {
        if (!AskReportDates(start, end)) return false;
        // The whole days: [start day 00:00, the day after the end day 00:00).
        start = std::floor(start);
        end = std::floor(end) + 1.0;
        plan.sTitle = Format("Balance for %s - %s", FormatDay(start).c_str(), FormatDay(end).c_str());
        return true;
    };
    plan.fnCollect = [&] {
        m_pDB->CollectPaymentDates(entries, 0);
        plan.nExpectedLines = entries.size();
        return true;
    };
    plan.fnBody = [&] {
        double balance = 0.0;
        for (const stDataToken& entry : entries) {
            const stPaymentData row = m_pDB->MakeAccountHistory(entry);
            if (row.dDate < start || row.dDate >= end) continue;
            balance += row.dSignedAmount;
            AddLine(Format("%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s", row.sReceipt.c_str(), row.sDate.c_str(),
                           row.sType.c_str(), row.sName.c_str(), row.sAmount.c_str(), row.sStatus.c_str(),
                           row.sFor.c_str(), FormatMoney(balance, 0).c_str()));
        }
    };
    RunTextReport(plan);
}

void CReports::DueReceivedReport(char mode, uint32_t person)
{
    std::vector<stDataToken> entries;
    stTextReport plan;
    plan.nBodySlot = 18;
    plan.nHeadSlot = 19;
    plan.sHeading = "Date\tAmount\tDescription";
    plan.fnCollect = [&] {
        std::string name;
        m_pDB->GetPersonName(name, person, 0);
        plan.sTitle = mode == 'D'   ? Format("\tDue from: %s", name.c_str())
                      : mode == 'R' ? Format("\tReceived from: %s", name.c_str())
                                    : std::string();
        // Only the person's entries are gathered and sorted.
        m_pDB->CollectPersonPaymentDates(entries, person, [person](const stDataToken& entry) {
            if (entry.type == 'P') {
                const CPaymentRecord& payment = *static_cast<const CPaymentRecord*>(entry.record);
                return payment.m_nPerson == person && payment.m_cType == 'R';
            }
            return entry.type == 'p' && static_cast<const CPurchaseRecord*>(entry.record)->GetPayer() == person;
        });
        return true;
    };
    auto wanted = [mode](char state) {
        return mode == 'D' ? (state == 'U' || state == 'S') : mode == 'R' && state == 'R';
    };
    plan.fnBody = [&] {
        for (const stDataToken& entry : entries) {
            char state = 0;
            DATE date = 0.0;
            double amount = 0.0;
            const std::string* description = nullptr;
            if (entry.type == 'P') {
                const CPaymentRecord& payment = *static_cast<const CPaymentRecord*>(entry.record);
                if (payment.m_cType != 'R' || payment.m_nPerson != person) continue;
                state = payment.m_cReceived;
                date = payment.m_dDate;
                amount = payment.m_dAmount;
                description = &payment.m_sText;
            } else if (entry.type == 'p') {
                const CPurchaseRecord& purchase = *static_cast<const CPurchaseRecord*>(entry.record);
                if (purchase.GetPayer() != person) continue;
                const CSchedulePayment& payment = *purchase.m_Payments[static_cast<size_t>(entry.index1)];
                state = payment.m_cKind;
                date = payment.m_dDate;
                amount = payment.m_dAmount;
                description = &payment.m_sDescription;
            } else {
                continue;
            }
            if (!wanted(state)) continue;
            AddLine(Format("%s\t%s\t%s", state == 'U' ? "Unscheduled" : FormatDay(date).c_str(),
                           Format("%8.2f", amount).c_str(), description->c_str()));
        }
    };
    RunTextReport(plan);
}
