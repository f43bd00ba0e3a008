// The IIF exports: students or employees changed since a time, and the paid payments since a day
// as accounting transactions.

#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "common/QuestionBox.h"
#include "common/TextFormat.h"
#include "database/Database.h"
#include "platform/host/Format.h"
#include "studio/IifWriter.h"
#include "studio/PersonLookup.h"
#include "studio/RefreshHoldScope.h"
#include "widgets/ControlHelpers.h"
#include "widgets/WindowList.h"

namespace {

constexpr int kLastTransactionType = 17;

constexpr size_t kTransactionFields = 11;
constexpr size_t kTransactionBytes = 256;

const char* PaymentMethodName(char method)
{
    switch (method) {
    case 'C': return "Check";
    case 'R': return "Credit card";
    case 'A': return "Cash";
    default: return "";
    }
}

// What an account gives each line of its transactions.
struct stExportAccount {
    bool bExported = false;  // a transaction type from 1 to kLastTransactionType
    bool bSplit = false;     // a distribution account: the file has the split header
    std::array<int, 5> flags{};
    std::string sTypeName, sAccount, sSplitAccount;
};

// A payer's name in one name order, and whether it stands in the customer and the vendor list.
struct stExportName {
    std::string sName;
    bool bListed[2] = {false, false};
};

std::string FirstLetter(const std::string& text) { return text.substr(0, 1); }

std::string NotesText(const CPerson& person)
{
    std::string text;
    for (const std::string& note : person.m_Notes) text += note + ";";
    return text;
}

}  // namespace

std::string CDatabase::GetTransactionTypeName(std::string& out, int index) const
{
    out = index >= 0 && static_cast<size_t>(index) < m_aTransactionTypes.size() ? m_aTransactionTypes[index]
                                                                                 : std::string();
    return out;
}

void CDatabase::ExportPersonsIIF(char type)
{
    if (!IsOpen()) return;
    std::string path, title;
    if (!BrowseForFile("IIF files", "*.iif", path, title, 0) || path.empty()) return;
    const uint32_t timeField = type == 'E' ? param::kLastExportTime1 : param::kLastExportTime2;
    const DATE start = PromptForDateTime(m_Parameters.GetDouble(timeField), "Specify starting date/time");
    if (start == 0.0) return;
    // The moment of the export becomes the next one's start once the file is there.
    const DATE exportTime = GetNow();
    CRefreshHoldScope hold(this);
    CDialogWaitBox* box = ShowWaitBox("Exporting database", false, 0);
    CIifWriter writer;
    if (type == 'E')
        writer.AddLine({"!EMP", "NAME", "INIT", "ADDR1", "ADDR2", "ADDR3", "ADDR4", "ADDR5", "CITY", "STATE", "ZIP",
                        "SSNO", "PHONE1", "PHONE2", "FAXNUM", "EMAIL", "NOTEPAD", "FIRSTNAME", "MIDINIT",
                        "LASTNAME"});
    else
        writer.AddLine({"!CUST", "NAME", "BADDR1", "BADDR2", "BADDR3", "BADDR4", "BADDR5", "PHONE1", "PHONE2",
                        "FAXNUM", "EMAIL", "NOTEPAD", "FIRSTNAME", "MIDINIT", "LASTNAME"});
    int count = 0;
    for (const stIndex& e : m_aIndex[TABLE_PERSON]) {
        const CPerson& p = *static_cast<const CPerson*>(e.pItem);
        if (p.m_cType != type || p.m_dStamp2Date < start) continue;
        const std::string name = Format("%s %s", p.m_sFirstName.c_str(), p.m_sLastName.c_str());
        if (type == 'E') {
            writer.AddLine({"EMP", name, FirstLetter(p.m_sFirstName) + FirstLetter(p.m_sLastName), name,
                            p.m_sAddress1, p.m_sAddress2, "", "", p.m_sCity, p.m_sState, p.m_sZip, p.m_sText9,
                            p.m_sPhone1, p.m_sPhone2, p.m_sFax, p.m_sEmail, NotesText(p), p.m_sFirstName, "",
                            p.m_sLastName});
        } else {
            const std::string cityLine = p.m_sCity.empty() ? std::string()
                                                           : Format("%s, %s %s", p.m_sCity.c_str(),
                                                                    p.m_sState.c_str(), p.m_sZip.c_str());
            writer.AddLine({"CUST", name, p.m_sAddress1, p.m_sAddress2, cityLine, "", "", p.m_sPhone1, p.m_sPhone2,
                            p.m_sFax, p.m_sEmail, NotesText(p), p.m_sFirstName, "", p.m_sLastName});
        }
        ++count;
    }
    const int written = writer.WriteFile(path);
    CloseWaitBox(box);
    if (written == 0) return;
    SaveParameterDate(timeField, exportTime);
    if (count == 0) {
        GetResponse("No persons exported.", MB_OK);
        return;
    }
    if (GetResponse(Format("%i persons exported.\nWould you like to view IIF file?", count), MB_YESNO) == IDYES &&
        m_fnShowSpreadsheet)
        m_fnShowSpreadsheet(path);
}

void CDatabase::ExportTransactionsIIF()
{
    if (!IsOpen()) return;
    std::string path, title;
    if (!BrowseForFile("IIF files", "*.iif", path, title, 0) || path.empty()) return;
    DATE start = PromptForDateTime(m_Parameters.GetDouble(param::kLastExportTime3), "Specify starting date");
    if (start == 0.0) return;
    SetDateOnly(start);
    const DATE exportTime = GetNow();
    CRefreshHoldScope hold(this);
    CDialogWaitBox* box = ShowWaitBox("Exporting transaction database", false, 0);
    // Only what the file takes is gathered and sorted.
    std::vector<stDataToken> tokens;
    CollectPaymentDates(tokens, 0, [start](const stDataToken& token) {
        if (token.type == 'P') {
            const auto* pay = static_cast<const CPaymentRecord*>(token.record);
            return !(pay->m_dDate < start) && pay->m_cType != 'c' && pay->m_cReceived == 'R';
        }
        const auto* purchase = static_cast<const CPurchaseRecord*>(token.record);
        const CSchedulePayment& sp = *purchase->m_Payments[static_cast<size_t>(token.index1)];
        return !(sp.m_dDate <= start) && sp.m_cKind == 'R';
    });
    // Accounts, payers and days repeat from line to line: each is looked up and formatted once.
    std::unordered_map<uint32_t, stExportAccount> accounts;
    auto accountOf = [&](uint32_t code) -> const stExportAccount& {
        auto known = accounts.find(code);
        if (known != accounts.end()) return known->second;
        stExportAccount account;
        if (const auto* category = static_cast<const CCategory*>(GetItem(TABLE_CATEGORY, code))) {
            uint8_t typeByte = 0;
            uint32_t transactionAccount = NO_CODE, distributionAccount = NO_CODE;
            GetCategoryAccountParams(*category, typeByte, transactionAccount, distributionAccount, account.flags);
            const int typeIndex = static_cast<int8_t>(typeByte);
            if (typeIndex > 0 && typeIndex <= kLastTransactionType) {
                account.bExported = true;
                GetTransactionTypeName(account.sTypeName, typeIndex);
                account.sAccount = GetCategoryName(transactionAccount);
                account.bSplit = distributionAccount != NO_CODE;
                if (account.bSplit) account.sSplitAccount = GetCategoryName(distributionAccount);
            }
        }
        return accounts.emplace(code, std::move(account)).first->second;
    };
    std::optional<CPersonLookup> persons;
    std::unordered_map<uint64_t, stExportName> payers;
    CIifWriter lines;
    // A transaction takes a TRNS line, maybe an SPL line and an ENDTRNS line.
    lines.Reserve(tokens.size() * kTransactionBytes);
    std::vector<std::string> customers, vendors;
    std::unordered_set<std::string> customerSet, vendorSet;
    auto listName = [&](const std::string& name, bool vendor) {
        // Each name once, in order of first use (as AddUniqueString keeps them, without its walk).
        if ((vendor ? vendorSet : customerSet).insert(name).second) (vendor ? vendors : customers).push_back(name);
    };
    DATE shownDate = 0.0;
    std::string dateText;
    int count = 0;
    bool split = false;
    for (const stDataToken& token : tokens) {
        uint32_t categoryCode = NO_CODE;
        const std::string* ownName = nullptr;
        const std::string* docNumber = nullptr;
        const std::string* memo = nullptr;
        char method = 0;
        double amount = 0.0;
        DATE date = 0.0;
        bool vendor = false;
        uint32_t person = NO_CODE;
        if (token.type == 'P') {
            const auto* pay = static_cast<const CPaymentRecord*>(token.record);
            if (pay == nullptr || pay->m_dDate < start || pay->m_cType == 'c' || pay->m_cReceived != 'R') continue;
            categoryCode = pay->m_nField15;
            person = pay->m_nPerson;
            ownName = &pay->m_sName;
            vendor = pay->m_cType == 'P';
            date = pay->m_dDate;
            docNumber = &pay->m_sMethodText;
            memo = &pay->m_sText;
            method = pay->m_cMethod;
            amount = pay->m_dAmount;
        } else if (token.type == 'p') {
            const auto* purchase = static_cast<const CPurchaseRecord*>(token.record);
            if (purchase == nullptr || token.index1 < 0 ||
                static_cast<size_t>(token.index1) >= purchase->m_Payments.size())
                continue;
            const CSchedulePayment& sp = *purchase->m_Payments[static_cast<size_t>(token.index1)];
            if (sp.m_dDate <= start || sp.m_cKind != 'R') continue;
            categoryCode = sp.m_nCategory;
            person = purchase->GetPayer();
            date = sp.m_dDate;
            docNumber = &sp.m_sMethodText;
            memo = &sp.m_sDescription;
            method = sp.m_cMethod;
            amount = sp.m_dAmount;
        } else {
            continue;
        }
        const stExportAccount& account = accountOf(categoryCode);
        if (!account.bExported) continue;
        const int order = account.flags[4] == 1 ? 1 : 0;
        const std::string* name = ownName;
        if (person != NO_CODE) {
            const uint64_t key = (static_cast<uint64_t>(person) << 1) | static_cast<uint64_t>(order);
            auto payer = payers.find(key);
            if (payer == payers.end()) {
                if (!persons) persons.emplace(m_aIndex[TABLE_PERSON]);
                payer = payers.emplace(key, stExportName{persons->GetName(person, order)}).first;
            }
            // A payer's name goes to a list at most once per list.
            bool& listed = payer->second.bListed[vendor ? 1 : 0];
            if (!listed) listName(payer->second.sName, vendor);
            listed = true;
            name = &payer->second.sName;
        } else {
            listName(*name, vendor);
        }
        // The lines come in date order: a day's text serves its run of lines.
        if (dateText.empty() || date != shownDate) {
            dateText = FormatDateTime(date, "%m/%d/%y");
            shownDate = date;
        }
        split = split || account.bSplit;
        lines.AddLine({"TRNS", account.sTypeName, dateText, account.sAccount, *name,
                       FormatMoney(amount, account.flags[0]), *docNumber, *memo, account.flags[2] == 1 ? "Y" : "N",
                       "Y", PaymentMethodName(method)});
        if (!account.sSplitAccount.empty())
            lines.AddLine({"SPL", account.sTypeName, dateText, account.sSplitAccount, *name,
                           FormatMoney(amount, account.flags[1]), *docNumber, *memo,
                           account.flags[3] == 1 ? "Y" : "N"},
                          kTransactionFields);
        lines.AddLine({"ENDTRNS"}, kTransactionFields);
        ++count;
    }
    if (count == 0) {
        CloseWaitBox(box);
        SaveParameterDate(param::kLastExportTime3, exportTime);
        GetResponse("No transactions exported.", MB_OK);
        return;
    }
    CIifWriter writer;
    writer.AddLine({"!TRNS", "TRNSTYPE", "DATE", "ACCNT", "NAME", "AMOUNT", "DOCNUM", "MEMO", "CLEAR", "PAID",
                    "PAYMETH"});
    if (split)
        writer.AddLine({"!SPL", "TRNSTYPE", "DATE", "ACCNT", "NAME", "AMOUNT", "DOCNUM", "MEMO", "CLEAR"},
                       kTransactionFields);
    writer.AddLine({"!ENDTRNS"}, kTransactionFields);
    if (!customers.empty()) {
        writer.AddLine({"!CUST", "NAME"}, kTransactionFields);
        for (const std::string& customer : customers) writer.AddLine({"CUST", customer}, kTransactionFields);
    }
    if (!vendors.empty()) {
        writer.AddLine({"!VEND", "NAME"}, kTransactionFields);
        for (const std::string& v : vendors) writer.AddLine({"VEND", v}, kTransactionFields);
    }
    const int written = writer.WriteFile(path, &lines);
    CloseWaitBox(box);
    if (written == 0) return;
    SaveParameterDate(param::kLastExportTime3, exportTime);
    if (GetResponse(Format("%i transactions exported.\nWould you like to view IIF file?", count), MB_YESNO) == IDYES &&
        m_fnShowSpreadsheet)
        m_fnShowSpreadsheet(path);
}
