// CReports: the reports of a period or of one account: taxable transactions by tax category,
// price-list item sales, and the register of one account.

#include <cmath>
#include <unordered_map>

#include "common/DateTime.h"
#include "common/ListHelpers.h"
#include "common/QuestionBox.h"
#include "common/TextFormat.h"
#include "database/Database.h"
#include "dialogs/DialogMenu.h"
#include "platform/host/Format.h"
#include "reports/Reports.h"
#include "studio/PersonLookup.h"

void CReports::TaxReport()
{
    stTaxReportSetup setup;
    std::vector<stTaxItem> items;
    std::vector<std::string> categories;
    std::vector<std::vector<const stTaxItem*>> byCategory;
    stTextReport plan;
    plan.nBodySlot = 16;
    plan.nHeadSlot = 17;
    plan.nBlankSlot = 7;
    plan.cTitleKind = '-';
    plan.cHeadingKind = '-';
    plan.bBlankAfterHeading = false;
    plan.fnSelect = [&] {
        if (!s_fnTaxReportSetup || !s_fnTaxReportSetup(*m_pDB, setup)) return false;
        plan.sTitle = Format("\tTaxable Transactions %s - %s", FormatDay(setup.dStart).c_str(),
                             FormatDay(setup.dEnd).c_str());
        plan.sHeading = setup.nMode == 1 ? "Date\tAmount\tDescription" : "Category\tAmount";
        return true;
    };
    plan.sHeading = "Category\tAmount";  // replaced by the selection
    plan.fnCollect = [&] {
        // Only the period's received payments are gathered and sorted.
        std::vector<stDataToken> entries;
        m_pDB->CollectPaymentDates(entries, 0, [&setup](const stDataToken& entry) {
            if (entry.date < setup.dStart || entry.date >= setup.dEnd) return false;
            if (entry.type == 'P') {
                const CPaymentRecord& payment = *static_cast<const CPaymentRecord*>(entry.record);
                return payment.m_cReceived == 'R' && payment.m_cType != 'c';
            }
            const CPurchaseRecord& purchase = *static_cast<const CPurchaseRecord*>(entry.record);
            return entry.type == 'p' && purchase.m_Payments[static_cast<size_t>(entry.index1)]->m_cKind == 'R';
        });
        const CPersonLookup persons(*m_pDB->GetItemList(TABLE_PERSON));
        items.reserve(entries.size());
        for (const stDataToken& entry : entries) {
            if (entry.date < setup.dStart || entry.date >= setup.dEnd) continue;
            stTaxItem item;
            if (entry.type == 'P') {
                const CPaymentRecord& payment = *static_cast<const CPaymentRecord*>(entry.record);
                if (payment.m_cReceived != 'R' || payment.m_cType == 'c') continue;
                if (payment.m_nField14 != NO_CODE)
                    item.sCategory = Capitalize(m_pDB->GetCategoryName(payment.m_nField14));
                else if (payment.m_nField12 != NO_CODE && payment.m_cType == 'P' &&
                         m_pDB->GetCategoryType(payment.m_nField12) == 'I')
                    item.sCategory = "Advertising";
                else
                    item.sCategory = payment.m_cType == 'R' ? "Payment to studio" : "Payment by studio";
                const std::string description =
                    payment.m_cType == 'q' ? Format("Refund: %s", payment.m_sText.c_str()) : payment.m_sText;
                item.sText = Format("%s, %s", description.c_str(), payment.m_sName.c_str());
                item.dDate = payment.m_dDate;
                item.dAmount = payment.m_dAmount;
            } else if (entry.type == 'p') {
                const CPurchaseRecord& purchase = *static_cast<const CPurchaseRecord*>(entry.record);
                const CSchedulePayment& payment = *purchase.m_Payments[static_cast<size_t>(entry.index1)];
                if (payment.m_cKind != 'R') continue;
                item.sCategory = "Payment to studio";
                item.sText = Format("%s, %s", payment.m_sDescription.c_str(), persons.GetName(purchase.m_nPerson).c_str());
                item.dDate = payment.m_dDate;
                item.dAmount = payment.m_dAmount;
            } else {
                continue;
            }
            AddUniqueString(item.sCategory, categories, 'A');
            items.push_back(std::move(item));
        }
        SortStrings(categories);
        // Each category's items in collection order, dealt out in one pass.
        std::unordered_map<std::string, size_t> positions;
        for (size_t i = 0; i < categories.size(); ++i) positions.emplace(categories[i], i);
        byCategory.assign(categories.size(), {});
        for (const stTaxItem& item : items) {
            const auto at = positions.find(item.sCategory);
            if (at != positions.end()) byCategory[at->second].push_back(&item);
        }
        plan.nExpectedLines = setup.nMode == 1 ? items.size() + 4 * categories.size() : categories.size();
        return true;
    };
    plan.fnBody = [&] {
        const bool detailed = setup.nMode == 1;
        for (size_t i = 0; i < categories.size(); ++i) {
            const std::string& category = categories[i];
            if (detailed) {
                AddBlankLine(7);
                SetLineFormat(17, '-');
                AddLine(category);
                SetLineFormat(16, '-');
                AddBlankLine(7);
            }
            double total = 0.0;
            for (const stTaxItem* item : byCategory[i]) {
                if (detailed)
                    AddLine(Format("%s\t%.2f\t%s", FormatDay(item->dDate).c_str(), item->dAmount, item->sText.c_str()));
                total += item->dAmount;
            }
            AddLine(detailed ? Format("Total\t%.2f", total) : Format("%s\t%.2f", category.c_str(), total));
        }
    };
    RunTextReport(plan);
}

void CReports::SaleItemsReport()
{
    DATE first = 0.0, last = 0.0;
    std::vector<std::string> rows;
    stTextReport plan;
    plan.nBodySlot = 2;
    plan.nHeadSlot = 3;
    plan.sHeading = "Item name\tCount";
    plan.bBlankAfterHeading = false;
    plan.fnSelect = [&] {
        if (!AskReportDates(first, last)) return false;
        plan.sTitle = Format("\tReport on price list item sales in period %s - %s", FormatDay(first).c_str(),
                             FormatDay(last).c_str());
        return true;
    };
    plan.fnCollect = [&] {
        std::vector<std::string> names;
        std::vector<uint32_t> counts;
        for (const stIndex& e : *m_pDB->GetItemList(TABLE_PURCHASE)) {
            const CPurchaseRecord& purchase = *static_cast<const CPurchaseRecord*>(e.pItem);
            if (purchase.m_nStatus != CPurchaseRecord::STATUS_ACTIVE) continue;
            if (purchase.m_dDate < first || purchase.m_dDate >= last) continue;
            for (const auto& item : purchase.m_Items) {
                const int at = FindString(item->m_sName, names);
                if (at < 0) {
                    names.push_back(item->m_sName);
                    counts.push_back(1);
                } else {
                    ++counts[static_cast<size_t>(at)];
                }
            }
        }
        if (names.empty()) {
            GetResponse("None to report.", MB_OK);
            return false;
        }
        for (size_t i = 0; i < names.size(); ++i) rows.push_back(Format("%s\t%u", names[i].c_str(), counts[i]));
        SortStrings(rows);
        return true;
    };
    plan.fnBody = [&] {
        for (const std::string& row : rows) AddLine(row);
    };
    RunTextReport(plan);
}

void CReports::AccountActivityReport()
{
    uint32_t account = NO_CODE;
    std::vector<stDataToken> entries;
    stTextReport plan;
    plan.nBodySlot = 20;
    plan.nHeadSlot = 21;
    plan.sHeading = "Date\tTransaction\tDescription\tAmount\tBalance";
    plan.fnSelect = [&] {
        std::vector<CCategory*> accounts;
        m_pDB->CollectCategoriesByType('A', accounts);
        if (accounts.empty()) {
            GetResponse("No categories specified", MB_OK);
            return false;
        }
        CDialogMenu menu(m_pDB, "Select account", 'S', 'N', -1, 0, "");
        for (const CCategory* category : accounts) menu.AddItem(category->m_nCode, category->m_sName);
        const int chosen = menu.DoModal();
        if (chosen < 0) return false;
        account = static_cast<uint32_t>(chosen);
        plan.sTitle = Format("\t\tAccount %s", m_pDB->GetCategoryName(account).c_str());
        return true;
    };
    plan.fnCollect = [&] {
        // Only the account's received payments are gathered and sorted.
        m_pDB->CollectPaymentDates(entries, 0, [&account](const stDataToken& entry) {
            if (entry.type == 'P') {
                const CPaymentRecord& payment = *static_cast<const CPaymentRecord*>(entry.record);
                return payment.m_nField15 == account && payment.m_cReceived == 'R';
            }
            if (entry.type != 'p') return false;
            const CPurchaseRecord& purchase = *static_cast<const CPurchaseRecord*>(entry.record);
            const CSchedulePayment& payment = *purchase.m_Payments[static_cast<size_t>(entry.index1)];
            return payment.m_nCategory == account && payment.m_cKind == 'R';
        });
        plan.nExpectedLines = entries.size();
        return true;
    };
    plan.fnBody = [&] {
        const CPersonLookup persons(*m_pDB->GetItemList(TABLE_PERSON));
        double balance = 0.0;
        for (const stDataToken& entry : entries) {
            std::string transaction, name;
            const std::string* text = nullptr;
            double amount = 0.0;
            DATE date = 0.0;
            if (entry.type == 'P') {
                const CPaymentRecord& payment = *static_cast<const CPaymentRecord*>(entry.record);
                if (payment.m_nField15 != account || payment.m_cReceived != 'R') continue;
                if (payment.m_nPerson != NO_CODE)
                    name = persons.GetName(payment.m_nPerson, 1);
                else
                    name = payment.m_sName;
                amount = payment.m_dAmount;
                // Another direction is listed with an empty Transaction cell and moves nothing.
                if (payment.m_cType == 'R') {
                    transaction = "Deposit";
                    balance += amount;
                } else if (payment.m_cType == 'P') {
                    transaction = "Withdrawal";
                    balance -= amount;
                }
                text = &payment.m_sText;
                date = payment.m_dDate;
            } else if (entry.type == 'p') {
                const CPurchaseRecord& purchase = *static_cast<const CPurchaseRecord*>(entry.record);
                const CSchedulePayment& payment = *purchase.m_Payments[static_cast<size_t>(entry.index1)];
                if (payment.m_nCategory != account || payment.m_cKind != 'R') continue;
                name = persons.GetName(purchase.GetPayer(), 1);
                amount = payment.m_dAmount;
                transaction = "Deposit";
                balance += amount;
                text = &payment.m_sDescription;
                date = payment.m_dDate;
            } else {
                continue;
            }
            AddLine(Format("%s\t%s\t%s\t%.2f\t%.2f", FormatDay(date).c_str(), transaction.c_str(),
                           Format("%s, %s", text->c_str(), name.c_str()).c_str(), amount, balance));
        }
    };
    RunTextReport(plan);
}
