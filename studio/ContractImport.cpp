// The contract text import: person records with their contracts, payment schedules and lessons
// already used. A file in the older one-student-per-line format goes to the student import.

#include <algorithm>
#include <cstdlib>

#include "common/QuestionBox.h"
#include "common/TextFormat.h"
#include "database/Database.h"
#include "platform/host/Format.h"
#include "platform/host/Text.h"
#include "studio/IifReader.h"
#include "studio/RefreshHoldScope.h"
#include "widgets/ControlHelpers.h"
#include "widgets/DialogWaitBox.h"
#include "widgets/WindowList.h"

namespace {

// The record's separator character (a tab until one was chosen).
char Separator(const std::string& separator) { return separator.empty() ? '\t' : separator[0]; }

bool StartsWith(const std::string& line, const char* keyword)
{
    return line.compare(0, std::char_traits<char>::length(keyword), keyword) == 0;
}

// A contract's date: month/day/year of a real day (year 100 or later), or, for a text that is no
// such triple at all, now. False for a triple that names no day.
bool ReadContractDate(CDatabase& db, const std::string& text, DATE& date)
{
    std::vector<std::string> parts;
    CIifReader::SplitFields(text, '/', parts);
    if (parts.size() != 3) {
        date = db.ParseImportDate(text);
        return true;
    }
    date = MakeDate(std::atoi(parts[2].c_str()), std::atoi(parts[0].c_str()), std::atoi(parts[1].c_str()), 0, 0);
    return date != 0.0;
}

struct stItemKind {
    const char* keyword;
    char categoryType;
    const char* categoryName;  // null: the line's item name
    char categoryParameter;
    char itemKind;
};

const stItemKind kItemKinds[] = {
    {"PRIVATE_LESSON", 'B', "Private Lesson", 'P', 'p'},
    {"FLOOR_USE", 'B', "Floor Use", 'P', 'p'},
    {"GROUP_LESSON", 'B', "Group Lesson", 'S', 's'},
    {"STUDIO_PARTY", 'B', "Studio Party", 'S', 's'},
    {"OTHER_ITEM", 'm', nullptr, 0, 0},
};

}  // namespace

int32_t CDatabase::FindCategory(char type, const std::string& name) const
{
    for (const stIndex& e : m_aIndex[TABLE_CATEGORY]) {
        const auto* c = static_cast<const CCategory*>(e.pItem);
        if (c->m_cType == type && host::EqualsNoCase(c->m_sName, name)) return static_cast<int32_t>(e.nCode);
    }
    return -1;
}

int32_t CDatabase::GetCategoryLink(uint32_t key) const
{
    return GetItem(TABLE_CATEGORY, key) != nullptr ? static_cast<int32_t>(key) : -1;
}

int32_t CDatabase::FindOrAddPersonByName(const std::string& name, char type)
{
    std::vector<std::string> pieces, words;
    CIifReader::SplitFields(name, ' ', pieces);
    for (const std::string& piece : pieces)
        if (!CIifReader::Trim(piece).empty()) words.push_back(CIifReader::Trim(piece));
    if (words.empty()) return -1;
    if (words.size() == 1) {
        const std::string& word = words[0];
        if (m_bImportNames) {
            std::string upper = word;
            for (char& c : upper) c = host::UpperCp1252(c);
            auto it = m_mapImportWords.find(upper);
            if (it != m_mapImportWords.end() && GetItem(TABLE_PERSON, it->second) != nullptr)
                return static_cast<int32_t>(it->second);
        } else {
            for (const stIndex& e : m_aIndex[TABLE_PERSON]) {
                const auto* p = static_cast<const CPerson*>(e.pItem);
                if (host::EqualsNoCase(p->m_sFirstName, word) || host::EqualsNoCase(p->m_sLastName, word))
                    return static_cast<int32_t>(e.nCode);
            }
        }
        return FindOrAddPerson("", word, type);
    }
    std::string first;
    for (size_t i = 0; i + 1 < words.size(); ++i) first += (i > 0 ? " " : "") + words[i];
    return FindOrAddPerson(first, words.back(), type);
}

void CDatabase::ImportStudentsAndContracts()
{
    if (!IsOpen()) return;
    std::string path, title;
    if (!BrowseForFile("Text files", "*.txt", path, title, 1) || path.empty()) return;
    CRefreshHoldScope hold(this);
    CIifReader reader;
    if (!reader.Open(path)) {
        GetResponse(Format("Can't open file %s", path.c_str()), MB_OK);
        return;
    }
    CDialogWaitBox* box = ShowWaitBox("Importing database", true, 3);
    m_aImportLines.clear();
    std::string line;
    while (reader.ReadRawLine(line)) {
        line = CIifReader::Trim(line);
        if (line.empty() || StartsWith(line, "//")) continue;
        m_aImportLines.push_back(line);
    }
    reader.Close();
    m_mapReferrals.clear();
    m_aImportNoPerson.clear();
    m_sImportError.clear();
    m_nImportErrorLine = -1;
    BeginImportNames();
    if (!m_aImportLines.empty() && StartsWith(m_aImportLines[0], "PERSON_RECORD_START")) {
        ImportPersonRecords(box);
        // The persons are alphabetized and their referrals linked as after a student file.
        std::vector<std::string> lines;
        lines.swap(m_aImportLines);
        LinkImportedReferrals(box);
        lines.swap(m_aImportLines);
    } else {
        LinkImportedReferrals(box);
    }
    CloseWaitBox(box);
    EndImportNames();
    m_mapReferrals.clear();
    std::string report;
    for (int at : m_aImportNoPerson)
        report += Format("No person could be added for the record at line %i; its contracts were not imported.\n", at);
    if (m_nImportErrorLine >= 0)
        report += Format("The import stopped at line %i: %s", m_nImportErrorLine, m_sImportError.c_str());
    if (!report.empty()) GetResponse(CIifReader::TrimRight(report), MB_OK);
}

void CDatabase::ImportPersonRecords(CDialogWaitBox* waitBox)
{
    const int count = static_cast<int>(m_aImportLines.size());
    for (int i = 0; i < count;) {
        if (waitBox && waitBox->SetStepPercent(static_cast<float>(i + 1) * 100.0f / static_cast<float>(count)) != 0)
            break;
        if (!StartsWith(m_aImportLines[static_cast<size_t>(i)], "PERSON_RECORD_START")) {
            ++i;
            continue;
        }
        const int end = ImportPersonRecord(i);
        if (end == 0) break;
        i = end + 1;
    }
}

int CDatabase::FailImport(int at, const std::string& reason)
{
    // The first failure is the one reported.
    if (m_nImportErrorLine < 0) {
        m_nImportErrorLine = at + 1;
        m_sImportError = reason;
    }
    return 0;
}

int CDatabase::ImportPersonRecord(int start)
{
    const int count = static_cast<int>(m_aImportLines.size());
    if (start + 1 >= count) return FailImport(start, "the file ends inside the person record");
    m_sFieldSeparator = DetectFieldDelimiter(m_aImportLines[static_cast<size_t>(start) + 1], 12);
    if (m_sFieldSeparator.empty()) return 0;
    const int32_t person = ImportStudentTextFile(m_aImportLines[static_cast<size_t>(start) + 1]);
    if (person < 0) m_aImportNoPerson.push_back(start + 1);
    for (int i = start + 2; i < count;) {
        const std::string& line = m_aImportLines[static_cast<size_t>(i)];
        if (StartsWith(line, "PERSON_RECORD_END")) return i;
        if (!StartsWith(line, "CONTRACT_RECORD_START")) {
            ++i;
            continue;
        }
        const int end = ImportContractRecord(i, person);
        if (end == 0) return 0;
        i = end + 1;
    }
    return FailImport(start, "PERSON_RECORD_END is missing");
}

int CDatabase::ImportContractRecord(int start, int32_t person)
{
    const int count = static_cast<int>(m_aImportLines.size());
    if (start + 1 >= count) return FailImport(start, "the file ends inside the contract record");
    const stContractHeader header = ImportContractHeader(m_aImportLines[static_cast<size_t>(start) + 1]);
    if (!m_sImportError.empty()) {
        if (m_nImportErrorLine < 0) m_nImportErrorLine = start + 2;
        return 0;
    }
    std::vector<stImportPurchase> purchases;
    std::vector<stImportPayment> payments;
    std::vector<stImportUse> uses;
    int i = start + 2;
    for (;;) {
        if (i >= count) return FailImport(start, "CONTRACT_RECORD_END is missing");
        const std::string& line = m_aImportLines[static_cast<size_t>(i)];
        if (StartsWith(line, "CONTRACT_RECORD_END")) break;
        int end = 0;
        if (StartsWith(line, "CONTRACT_PURCHASELIST_START")) end = ImportContractPurchaseList(i, purchases);
        else if (StartsWith(line, "CONTRACT_PAYMENTLIST_START")) end = ImportContractPaymentList(i, payments);
        else if (StartsWith(line, "CONTRACT_USEDITEMLIST_START")) end = ImportContractUsedItemList(i, uses);
        else return FailImport(i, Format("unexpected line \"%s\"", line.c_str()));
        if (end == 0) return 0;
        i = end + 1;
    }
    const int endLine = i;
    if (person < 0) return endLine;

    auto* purchase = new CPurchaseRecord();
    purchase->m_nPerson = static_cast<uint32_t>(person);
    purchase->m_cPricing = 'P';
    purchase->m_dPrice = header.dPrice;
    purchase->m_sDescription = header.sText;
    purchase->m_dDate = header.dDate;
    purchase->m_dStartDate = header.dDate;
    purchase->m_nField14 = static_cast<uint32_t>(header.nTeacher);
    purchase->m_nField16 = static_cast<uint32_t>(header.nSupervisor);
    const uint32_t account = static_cast<uint32_t>(GetCategoryLink(m_Parameters.GetUInt(param::kAccountPayments)));
    auto scheduled = [&](char kind, DATE date, double amount) {
        auto payment = std::make_unique<CSchedulePayment>();
        payment->m_cKind = kind;
        payment->m_cMethod = kind == 'R' ? 'A' : 0;
        payment->m_nPayer = static_cast<uint32_t>(person);
        payment->m_sDescription = header.sText;
        payment->m_dAmount = amount;
        payment->m_dDate = date;
        payment->m_nCategory = account;
        purchase->m_Payments.push_back(std::move(payment));
    };
    for (const stImportPayment& p : payments) scheduled('R', p.dDate, p.dAmount);
    const double balance = purchase->GetBalance();
    if (balance >= 0.005) scheduled('U', 0.0, balance);
    for (const stImportPurchase& entry : purchases) {
        auto item = std::make_unique<CPurchaseItem>();
        item->m_sName = entry.sName;
        item->m_nType = static_cast<uint32_t>(entry.nCategory);
        item->m_cKind = entry.cKind;
        item->m_nTeacher = static_cast<uint32_t>(entry.nEmployee);
        item->m_nCount = entry.nCount > 0 ? static_cast<int32_t>(entry.nCount)
                         : entry.dEndDate != 0.0 ? GetDaysBetween(header.dDate, entry.dEndDate)
                                                 : 0;
        auto token = [&](char state, DATE date, int32_t employee) {
            auto t = std::make_unique<CScheduleToken>();
            t->m_cKind = entry.cKind;
            t->m_cState = state;
            t->m_dDate = date;
            t->m_nField8 = static_cast<uint32_t>(employee);
            item->m_Tokens.push_back(std::move(t));
        };
        for (const stImportUse& use : uses)
            if (use.sLabel == entry.sLabel) token('U', use.dDate, use.nEmployee);
        if (entry.nCount > 0)
            while (item->m_Tokens.size() < entry.nCount) token('N', 0.0, -1);
        purchase->m_Items.push_back(std::move(item));
    }
    if (AddImportedItem(TABLE_PURCHASE, purchase) == NO_CODE) return FailImport(start, "the contract could not be saved");
    return endLine;
}

stContractHeader CDatabase::ImportContractHeader(const std::string& line)
{
    stContractHeader header;
    // The caller knows the line's number; the reason waits for it.
    auto fail = [&](const std::string& reason) {
        if (m_nImportErrorLine < 0 && m_sImportError.empty()) m_sImportError = reason;
        return header;
    };
    std::vector<std::string> f;
    if (!m_sFieldSeparator.empty()) CIifReader::SplitFields(line, Separator(m_sFieldSeparator), f);
    if (f.size() < 3) return fail("a contract header needs 3 fields");
    header.sText = f[0];
    if (!ReadContractDate(*this, f[1], header.dDate)) return fail(Format("\"%s\" is no date", f[1].c_str()));
    header.dPrice = std::atof(f[2].c_str());
    if (f.size() > 3) header.nTeacher = FindOrAddPersonByName(f[3], 'E');
    if (f.size() > 4) header.nSupervisor = FindOrAddPersonByName(f[4], 'E');
    return header;
}

int CDatabase::ImportContractPurchaseList(int start, std::vector<stImportPurchase>& list)
{
    const int count = static_cast<int>(m_aImportLines.size());
    std::vector<std::string> f;
    for (int i = start + 1; i < count; ++i) {
        const std::string& line = m_aImportLines[static_cast<size_t>(i)];
        if (StartsWith(line, "CONTRACT_PURCHASELIST_END")) return i;
        CIifReader::SplitFields(line, Separator(m_sFieldSeparator), f);
        if (f.size() < 4) return FailImport(i, "a purchase line needs 4 fields");
        const stItemKind* kind = nullptr;
        for (const stItemKind& k : kItemKinds)
            if (f[0] == k.keyword) kind = &k;
        if (kind == nullptr) continue;
        stImportPurchase entry;
        entry.sLabel = f[1];
        entry.sName = f[2];
        const std::string categoryName = kind->categoryName ? Capitalize(kind->categoryName) : f[2];
        entry.nCategory = FindCategory(kind->categoryType, categoryName);
        if (entry.nCategory < 0) {
            const uint32_t made = MakeDefaultCategory(kind->categoryType, categoryName, kind->categoryParameter);
            entry.nCategory = made == LOC_NONE ? -1 : static_cast<int32_t>(made);
        }
        entry.cKind = kind->itemKind;
        if (f[3].find('/', 1) != std::string::npos) {
            if (!ReadContractDate(*this, f[3], entry.dEndDate))
                return FailImport(i, Format("\"%s\" is no date", f[3].c_str()));
            entry.cKind = 'T';
        } else {
            entry.nCount = static_cast<uint32_t>(std::max(0, std::atoi(f[3].c_str())));
        }
        entry.nEmployee = f.size() > 4 ? FindOrAddPersonByName(f[4], 'E') : -1;
        list.push_back(entry);
    }
    return FailImport(start, "CONTRACT_PURCHASELIST_END is missing");
}

int CDatabase::ImportContractPaymentList(int start, std::vector<stImportPayment>& list)
{
    const int count = static_cast<int>(m_aImportLines.size());
    std::vector<std::string> f;
    for (int i = start + 1; i < count; ++i) {
        const std::string& line = m_aImportLines[static_cast<size_t>(i)];
        if (StartsWith(line, "CONTRACT_PAYMENTLIST_END")) return i;
        CIifReader::SplitFields(line, Separator(m_sFieldSeparator), f);
        if (f.size() < 2) return FailImport(i, "a payment line needs 2 fields");
        stImportPayment entry;
        if (!ReadContractDate(*this, f[0], entry.dDate)) return FailImport(i, Format("\"%s\" is no date", f[0].c_str()));
        entry.dAmount = std::atof(f[1].c_str());
        list.push_back(entry);
    }
    return FailImport(start, "CONTRACT_PAYMENTLIST_END is missing");
}

int CDatabase::ImportContractUsedItemList(int start, std::vector<stImportUse>& list)
{
    const int count = static_cast<int>(m_aImportLines.size());
    std::vector<std::string> f;
    for (int i = start + 1; i < count; ++i) {
        const std::string& line = m_aImportLines[static_cast<size_t>(i)];
        if (StartsWith(line, "CONTRACT_USEDITEMLIST_END")) return i;
        CIifReader::SplitFields(line, Separator(m_sFieldSeparator), f);
        if (f.size() < 2) return FailImport(i, "a used-item line needs 2 fields");
        stImportUse entry;
        entry.sLabel = f[0];
        if (!ReadContractDate(*this, f[1], entry.dDate)) return FailImport(i, Format("\"%s\" is no date", f[1].c_str()));
        entry.nEmployee = f.size() > 2 ? FindOrAddPersonByName(f[2], 'E') : -1;
        list.push_back(entry);
    }
    return FailImport(start, "CONTRACT_USEDITEMLIST_END is missing");
}
