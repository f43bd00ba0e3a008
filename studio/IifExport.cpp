// The IIF exports: students or employees changed since a time, and the paid payments since a day
// as accounting transactions.

#include <array>
#include <cmath>
#include <cstring>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "common/ListHelpers.h"
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

// The payment methods a transaction names, and one for any other letter.
constexpr std::array<char, 4> kPaymentMethods{'C', 'R', 'A', 0};

size_t PaymentMethodSlot(char method)
{
    switch (method) {
    case 'C': return 0;
    case 'R': return 1;
    case 'A': return 2;
    default: return 3;
    }
}

std::string_view PaymentMethodName(char method)
{
    constexpr std::array<std::string_view, 4> kNames{"Check", "Credit card", "Cash", ""};
    return kNames[PaymentMethodSlot(method)];
}

std::string_view YesNo(int flag) { return flag == 1 ? "Y" : "N"; }

// What an account gives each line of its transactions.
struct stExportAccount {
    bool bExported = false;  // a transaction type from 1 to kLastTransactionType
    bool bSplit = false;     // a distribution account: the file has the split header
    std::array<int, 5> flags{};
    std::string sTypeName, sAccount, sSplitAccount;
    // The ends of its lines: a transaction's by payment method, a split's.
    std::array<CIifWriter::CFieldRun, kPaymentMethods.size()> transactionTails;
    CIifWriter::CFieldRun splitTail;
};

// A payer's name in one name order for one of the two lists, and whether it stands there yet.
// The names' texts stand one after another in one string: the lines of a day read them in turn.
struct stExportName {
    uint32_t offset = 0;
    uint32_t size = 0;
    bool bVendor = false;
    bool bListed = false;
};

// A transaction to write, as gathered in the order the records stand in memory: what its lines
// need, but for the record's texts, which are read only when there are any.
struct stExportLine {
    const void* record = nullptr;  // a payment record, or a scheduled payment
    double amount = 0.0;
    uint32_t account = 0;          // in the export's accounts
    uint32_t name = 0;             // in the export's payer names; kOwnName: the payment's own name
    char method = 0;
    bool bPayment = false;
    bool bTexts = false;           // a document number or memo
    bool bVendor = false;          // a payment's own name: a vendor's
};

// A transaction in the date order: the sort moves what its lines need along with its key, so that
// they are then read in the order they are written.
struct stExportEntry {
    uint64_t key = 0;  // DateKey of its date
    stExportLine line;
};

constexpr uint32_t kOwnName = 0xFFFFFFFF;
constexpr uint64_t kKeySign = uint64_t{1} << 63;

// A number that orders as the dates do, so that the sort compares integers: -0 stands as 0, and a
// date that is no number (a damaged record) after all others.
uint64_t DateKey(DATE date)
{
    if (std::isnan(date)) return ~uint64_t{0};
    if (date == 0.0) date = 0.0;
    uint64_t bits = 0;
    std::memcpy(&bits, &date, sizeof bits);
    return (bits & kKeySign) != 0 ? ~bits : bits | kKeySign;
}

// The date of a key.
DATE KeyDate(uint64_t key)
{
    const uint64_t bits = (key & kKeySign) != 0 ? key & ~kKeySign : ~key;
    DATE date = 0.0;
    std::memcpy(&date, &bits, sizeof date);
    return date;
}

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

    // Accounts and payers repeat from line to line: each is looked up and named once, and the
    // last one asked for is kept at hand (a person's payments, a purchase's scheduled ones).
    std::vector<stExportAccount> accounts;
    std::unordered_map<uint32_t, uint32_t> accountByCode;
    uint32_t lastCategory = NO_CODE, lastAccount = 0;
    auto accountOf = [&](uint32_t code) -> uint32_t {
        if (code == lastCategory && !accounts.empty()) return lastAccount;
        auto known = accountByCode.find(code);
        if (known == accountByCode.end()) {
            stExportAccount account;
            if (const auto* category = static_cast<const CCategory*>(GetItem(TABLE_CATEGORY, code))) {
                uint8_t typeByte = 0;
                uint32_t transactionAccount = NO_CODE, distributionAccount = NO_CODE;
                GetCategoryAccountParams(*category, typeByte, transactionAccount, distributionAccount,
                                         account.flags);
                const int typeIndex = static_cast<int8_t>(typeByte);
                if (typeIndex > 0 && typeIndex <= kLastTransactionType) {
                    account.bExported = true;
                    GetTransactionTypeName(account.sTypeName, typeIndex);
                    account.sAccount = GetCategoryName(transactionAccount);
                    account.bSplit = distributionAccount != NO_CODE;
                    if (account.bSplit) account.sSplitAccount = GetCategoryName(distributionAccount);
                    for (size_t m = 0; m < kPaymentMethods.size(); ++m)
                        account.transactionTails[m] = CIifWriter::CFieldRun(
                            {YesNo(account.flags[2]), "Y", PaymentMethodName(kPaymentMethods[m])});
                    // Nine fields of eleven.
                    account.splitTail = CIifWriter::CFieldRun({YesNo(account.flags[3])}, 3);
                }
            }
            accounts.push_back(std::move(account));
            known = accountByCode.emplace(code, static_cast<uint32_t>(accounts.size() - 1)).first;
        }
        lastCategory = code;
        lastAccount = known->second;
        return lastAccount;
    };
    std::optional<CPersonLookup> persons;
    std::vector<stExportName> names;
    std::string nameText;
    std::unordered_map<uint64_t, uint32_t> nameByKey;
    uint64_t lastKey = ~uint64_t{0};
    uint32_t lastName = 0;
    auto payerOf = [&](uint32_t person, int order, bool vendor) -> uint32_t {
        const uint64_t key = static_cast<uint64_t>(person) << 2 | static_cast<uint64_t>(order) << 1 |
                             static_cast<uint64_t>(vendor);
        if (key == lastKey) return lastName;
        auto known = nameByKey.find(key);
        if (known == nameByKey.end()) {
            if (!persons) persons.emplace(m_aIndex[TABLE_PERSON]);
            const size_t offset = nameText.size();
            persons->AppendName(nameText, person, order);
            names.push_back(stExportName{static_cast<uint32_t>(offset),
                                         static_cast<uint32_t>(nameText.size() - offset), vendor});
            known = nameByKey.emplace(key, static_cast<uint32_t>(names.size() - 1)).first;
        }
        lastKey = key;
        lastName = known->second;
        return lastName;
    };

    // The paid payments from the start on whose account names a transaction type. What each line
    // needs is taken while the records are read in the order they stand in memory; only the
    // entries are then put in date order.
    size_t candidates = m_aIndex[TABLE_PAYMENT].size();
    for (const stIndex& e : m_aIndex[TABLE_PURCHASE])
        candidates += static_cast<const CPurchaseRecord*>(e.pItem)->m_Payments.size();
    std::vector<stExportEntry> entries;
    entries.reserve(candidates);
    ForEachPaymentDate(0, [&](const stDataToken& token) {
        stExportLine line;
        uint32_t person = NO_CODE;
        if (token.type == 'P') {
            const auto* pay = static_cast<const CPaymentRecord*>(token.record);
            if (pay->m_dDate < start || pay->m_cType == 'c' || pay->m_cReceived != 'R') return;
            line.record = pay;
            line.bPayment = true;
            line.account = accountOf(pay->m_nField15);
            line.amount = pay->m_dAmount;
            line.method = pay->m_cMethod;
            line.bTexts = !pay->m_sMethodText.empty() || !pay->m_sText.empty();
            line.bVendor = pay->m_cType == 'P';
            person = pay->m_nPerson;
            if (person == NO_CODE) line.name = kOwnName;
        } else {
            const auto* purchase = static_cast<const CPurchaseRecord*>(token.record);
            const CSchedulePayment& sp = *purchase->m_Payments[static_cast<size_t>(token.index1)];
            if (sp.m_dDate <= start || sp.m_cKind != 'R') return;
            line.record = &sp;
            line.account = accountOf(sp.m_nCategory);
            line.amount = sp.m_dAmount;
            line.method = sp.m_cMethod;
            line.bTexts = !sp.m_sMethodText.empty() || !sp.m_sDescription.empty();
            // Named as the payer's code names it, also when there is none.
            person = purchase->GetPayer();
        }
        const stExportAccount& account = accounts[line.account];
        if (!account.bExported) return;
        if (line.name != kOwnName) line.name = payerOf(person, account.flags[4] == 1 ? 1 : 0, line.bVendor);
        entries.push_back(stExportEntry{DateKey(token.date), line});
    });
    auto nameOf = [&nameText](const stExportName& payer) {
        return std::string_view(nameText).substr(payer.offset, payer.size);
    };
    list_sort::StableRadixSort(entries, [](const stExportEntry& entry) { return entry.key; });

    // The header names every customer and vendor in order of first use and says whether any line
    // splits: all are known before the first transaction is written.
    std::vector<std::string_view> customers, vendors;
    std::unordered_set<std::string_view> customerSet, vendorSet;
    customerSet.reserve(names.size());
    for (const stExportEntry& entry : entries) {
        const stExportLine& line = entry.line;
        std::string_view name;
        bool vendor = false;
        if (line.name == kOwnName) {
            name = static_cast<const CPaymentRecord*>(line.record)->m_sName;
            vendor = line.bVendor;
        } else {
            // A payer's name goes to its list once; the set keeps it from another payer's equal name.
            stExportName& payer = names[line.name];
            if (payer.bListed) continue;
            payer.bListed = true;
            name = nameOf(payer);
            vendor = payer.bVendor;
        }
        if ((vendor ? vendorSet : customerSet).insert(name).second) (vendor ? vendors : customers).push_back(name);
    }
    bool split = false;
    for (const stExportAccount& account : accounts) split = split || (account.bExported && account.bSplit);
    const int count = static_cast<int>(entries.size());
    if (count == 0) {
        CloseWaitBox(box);
        SaveParameterDate(param::kLastExportTime3, exportTime);
        GetResponse("No transactions exported.", MB_OK);
        return;
    }

    // The lines go to the file as they are formatted.
    CIifWriter writer;
    if (!writer.Begin(path)) {
        CloseWaitBox(box);
        return;
    }
    writer.AddLine({"!TRNS", "TRNSTYPE", "DATE", "ACCNT", "NAME", "AMOUNT", "DOCNUM", "MEMO", "CLEAR", "PAID",
                    "PAYMETH"});
    if (split)
        writer.AddLine({"!SPL", "TRNSTYPE", "DATE", "ACCNT", "NAME", "AMOUNT", "DOCNUM", "MEMO", "CLEAR"},
                       kTransactionFields);
    writer.AddLine({"!ENDTRNS"}, kTransactionFields);
    if (!customers.empty()) {
        writer.AddLine({"!CUST", "NAME"}, kTransactionFields);
        for (std::string_view customer : customers) writer.AddLine({"CUST", customer}, kTransactionFields);
    }
    if (!vendors.empty()) {
        writer.AddLine({"!VEND", "NAME"}, kTransactionFields);
        for (std::string_view v : vendors) writer.AddLine({"VEND", v}, kTransactionFields);
    }
    // The lines come in date order: the start of a transaction's and of a split's line (kind,
    // type, date and account) serves a run of lines of one day and account.
    std::string dateText;
    uint64_t headKey = 0;
    uint32_t headAccount = NO_CODE;
    CIifWriter::CFieldRun transactionHead, splitHead;
    const CIifWriter::CFieldRun endLine({"ENDTRNS"}, kTransactionFields), nothing;
    // Runs of lines of one amount and account (a lesson's price) share the amounts' texts; the
    // amount is compared bit for bit, as -0 writes otherwise than 0.
    char amountText[kMoneyTextSize], splitAmountText[kMoneyTextSize];
    std::string_view amount, splitAmount;
    uint64_t amountBits = 0;
    uint32_t amountAccount = NO_CODE;
    for (const stExportEntry& entry : entries) {
        const stExportLine& line = entry.line;
        const stExportAccount& account = accounts[line.account];
        std::string_view docNumber, memo, name;
        if (line.bPayment && (line.bTexts || line.name == kOwnName)) {
            const auto& pay = *static_cast<const CPaymentRecord*>(line.record);
            docNumber = pay.m_sMethodText;
            memo = pay.m_sText;
            name = pay.m_sName;
        } else if (line.bTexts) {
            const auto& sp = *static_cast<const CSchedulePayment*>(line.record);
            docNumber = sp.m_sMethodText;
            memo = sp.m_sDescription;
        }
        if (line.name != kOwnName) name = nameOf(names[line.name]);
        if (dateText.empty() || entry.key != headKey || line.account != headAccount) {
            if (dateText.empty() || entry.key != headKey) dateText = FormatDateTime(KeyDate(entry.key), "%m/%d/%y");
            transactionHead = CIifWriter::CFieldRun({"TRNS", account.sTypeName, dateText, account.sAccount});
            splitHead = CIifWriter::CFieldRun({"SPL", account.sTypeName, dateText, account.sSplitAccount});
            headKey = entry.key;
            headAccount = line.account;
        }
        uint64_t bits = 0;
        std::memcpy(&bits, &line.amount, sizeof bits);
        if (amount.empty() || bits != amountBits || line.account != amountAccount) {
            amount = FormatMoney(amountText, line.amount, account.flags[0]);
            splitAmount = FormatMoney(splitAmountText, line.amount, account.flags[1]);
            amountBits = bits;
            amountAccount = line.account;
        }
        writer.AddLine(transactionHead, {name, amount, docNumber, memo},
                       account.transactionTails[PaymentMethodSlot(line.method)]);
        if (!account.sSplitAccount.empty())
            writer.AddLine(splitHead, {name, splitAmount, docNumber, memo}, account.splitTail);
        writer.AddLine(endLine, {}, nothing);
    }
    const int written = writer.Finish();
    CloseWaitBox(box);
    if (written == 0) return;
    SaveParameterDate(param::kLastExportTime3, exportTime);
    if (GetResponse(Format("%i transactions exported.\nWould you like to view IIF file?", count), MB_YESNO) == IDYES &&
        m_fnShowSpreadsheet)
        m_fnShowSpreadsheet(path);
}
