// The IIF import of students, employees and accounts, the name lookups and address parsing it
// shares with the text imports, and the way every import stores a new record.

#include <algorithm>
#include <set>

#include "common/Diagnostic.h"
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

std::string UpperText(const std::string& text)
{
    std::string upper = text;
    for (char& c : upper) c = host::UpperCp1252(c);
    return upper;
}

std::string NameKey(const std::string& first, const std::string& last)
{
    return UpperText(first) + '\t' + UpperText(last);
}

// The columns of one IIF record kind: the address columns (each adds a line) and the
// single-valued ones.
struct stIifKind {
    const char* headerKeyword;
    std::set<std::string> addressColumns;
    std::set<std::string> valueColumns;
};

const stIifKind kCustomer = {"!CUST",
                             {"BADDR1", "BADDR2", "BADDR3", "BADDR4", "BADDR5"},
                             {"NAME", "PHONE1", "PHONE2", "FAXNUM", "EMAIL", "NOTEPAD", "FIRSTNAME", "MIDINIT",
                              "LASTNAME"}};
const stIifKind kEmployee = {"!EMP",
                             {"ADDR1", "ADDR2", "ADDR3", "ADDR4", "ADDR5"},
                             {"CITY", "STATE", "ZIP", "PHONE1", "PHONE2", "FAXNUM", "EMAIL", "NOTEPAD",
                              "FIRSTNAME", "MIDINIT", "LASTNAME", "SSNO"}};
const stIifKind kAccount = {"!ACCNT", {}, {"NAME"}};

struct stIifValues {
    std::vector<std::string> addresses;
    std::map<std::string, std::string> values;
    std::string Get(const std::string& column) const
    {
        auto it = values.find(column);
        return it == values.end() ? std::string() : it->second;
    }
};

// The common part of the three handlers. A header line of the kind replaces the column list and
// gives false; a data line gives true with its values read against the current columns.
bool ReadIifLine(const stIifKind& kind, const std::string& separator, const std::string& line,
                 std::vector<std::string>& header, stIifValues& out)
{
    const char sep = separator.empty() ? '\t' : separator[0];
    if (line.compare(0, std::char_traits<char>::length(kind.headerKeyword), kind.headerKeyword) == 0) {
        CIifReader::SplitFields(line, sep, header);
        for (size_t i = 1; i < header.size(); ++i) header[i] = CIifReader::TrimRight(header[i]);
        return false;
    }
    std::string unquoted = line;
    unquoted.erase(std::remove(unquoted.begin(), unquoted.end(), '"'), unquoted.end());
    std::vector<std::string> fields;
    CIifReader::SplitFields(unquoted, sep, fields);
    for (std::string& field : fields) field = CIifReader::TrimRight(field);
    for (size_t i = 1; i < header.size() && i < fields.size(); ++i) {
        if (kind.addressColumns.count(header[i]) != 0) out.addresses.push_back(fields[i]);
        else if (kind.valueColumns.count(header[i]) != 0) out.values[header[i]] = fields[i];
    }
    return true;
}

bool HasLetter(const std::string& text)
{
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); });
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Storing new records and finding persons by name

uint32_t CDatabase::AddImportedItem(uint8_t table, void* item)
{
    if (item == nullptr) return NO_CODE;
    if (!LockAndRefreshDatabase("save data", table, 0, 0, 0)) {
        DeleteItemPointer(table, item);
        return NO_CODE;
    }
    std::vector<stIndex>& index = m_aIndex[table];
    const uint32_t sequence = static_cast<uint32_t>(index.size());
    VisitTableItem(table, item, [&](auto& r) { r.m_nSequence = static_cast<decltype(r.m_nSequence)>(sequence); });
    uint32_t code = NO_CODE;
    const uint32_t loc = SaveItem(table, item, &code);
    if (loc == LOC_NONE) {
        DeleteItemPointer(table, item);
        ReleaseDatabaseLock();
        return NO_CODE;
    }
    AddIndex(table, item, code, sequence, loc, 0xFFFFFFFE, -1);
    NotifyDataModified(table, code, loc);
    ReleaseDatabaseLock();
    return code;
}

void CDatabase::AddImportName(const CPerson& person)
{
    m_mapImportNames.emplace(NameKey(person.m_sFirstName, person.m_sLastName), person.m_nCode);
    if (!person.m_sFirstName.empty()) m_mapImportWords.emplace(UpperText(person.m_sFirstName), person.m_nCode);
    if (!person.m_sLastName.empty()) m_mapImportWords.emplace(UpperText(person.m_sLastName), person.m_nCode);
}

void CDatabase::BeginImportNames()
{
    m_mapImportNames.clear();
    m_mapImportWords.clear();
    for (const stIndex& e : m_aIndex[TABLE_PERSON]) AddImportName(*static_cast<const CPerson*>(e.pItem));
    m_bImportNames = true;
}

void CDatabase::EndImportNames()
{
    m_bImportNames = false;
    m_mapImportNames.clear();
    m_mapImportWords.clear();
}

int32_t CDatabase::FindOrAddPerson(const std::string& firstName, const std::string& lastName, char type)
{
    const std::string key = NameKey(firstName, lastName);
    if (m_bImportNames) {
        auto it = m_mapImportNames.find(key);
        if (it != m_mapImportNames.end() && GetItem(TABLE_PERSON, it->second) != nullptr)
            return static_cast<int32_t>(it->second);
    } else {
        for (const stIndex& e : m_aIndex[TABLE_PERSON]) {
            const CPerson* p = static_cast<const CPerson*>(e.pItem);
            if (NameKey(p->m_sFirstName, p->m_sLastName) == key) return static_cast<int32_t>(e.nCode);
        }
    }
    if (type == 0) return -1;
    auto* person = new CPerson(type);
    person->m_sFirstName = firstName;
    person->m_sLastName = lastName;
    person->m_cSex = 0;
    person->m_cStatus = 0;
    const uint32_t code = AddImportedItem(TABLE_PERSON, person);
    if (code == NO_CODE) return -1;
    if (m_bImportNames) AddImportName(*person);
    return static_cast<int32_t>(code);
}

std::string CDatabase::NormalizePhoneNumber(const std::string& phone)
{
    std::string text = phone;
    ReplaceInString(text, "(", "", 1);
    ReplaceInString(text, ")", "-", 1);
    ReplaceInString(text, " ", "", 1);
    return text;
}

void CDatabase::ParseAddressLines(std::vector<std::string>* lines, const std::string& firstName, CPerson* person,
                                  const std::string& city, const std::string& state, const std::string& zip)
{
    if (lines == nullptr || person == nullptr) return;
    std::vector<std::string>& list = *lines;
    for (std::string& line : list) line = CIifReader::TrimRight(line);
    list.erase(std::remove(list.begin(), list.end(), std::string()), list.end());
    if (list.empty()) return;
    // The person's own name line goes; quotes go from the others.
    for (size_t i = list.size(); i-- > 0;) {
        std::vector<std::string> words;
        CIifReader::SplitFields(list[i], ' ', words);
        if (!words.empty() && host::EqualsNoCase(words.front(), firstName) &&
            host::EqualsNoCase(words.back(), person->m_sLastName)) {
            list.erase(list.begin() + static_cast<long>(i));
        } else {
            list[i].erase(std::remove(list[i].begin(), list[i].end(), '"'), list[i].end());
        }
    }
    if (list.empty()) return;
    // A last line of at least three words ending in one without letters is "city state zip".
    std::string foundCity, foundState, foundZip;
    {
        std::string last = list.back();
        last.erase(std::remove(last.begin(), last.end(), ','), last.end());
        std::vector<std::string> pieces, words;
        CIifReader::SplitFields(last, ' ', pieces);
        for (const std::string& piece : pieces) {
            const std::string word = CIifReader::TrimRight(piece);
            if (!word.empty()) words.push_back(word);
        }
        if (words.size() >= 3 && !HasLetter(words.back())) {
            foundZip = words.back();
            foundState = words[words.size() - 2];
            for (size_t i = 0; i + 2 < words.size(); ++i) foundCity += (i > 0 ? " " : "") + words[i];
            list.pop_back();
        }
    }
    if (!city.empty()) foundCity = city;
    if (!state.empty()) foundState = state;
    if (!zip.empty()) foundZip = zip;
    person->m_sCity = foundCity;
    person->m_sState = foundState;
    person->m_sZip = foundZip;
    if (!list.empty()) person->m_sAddress1 = list[0];
    if (list.size() > 1) person->m_sAddress2 = list[1];
    for (size_t i = 2; i < list.size(); ++i) person->m_Notes.push_back(list[i]);
    list.clear();
}

// ---------------------------------------------------------------------------------------------
// The IIF import

void CDatabase::ImportIIF()
{
    if (!IsOpen()) return;
    std::string path, title;
    if (!BrowseForFile("IIF files", "*.iif", path, title, 1) || path.empty()) return;
    CRefreshHoldScope hold(this);
    CIifReader reader;
    if (!reader.Open(path)) {
        GetResponse(Format("Can't open file %s", path.c_str()), MB_OK);
        return;
    }
    const int lineCount = CIifReader::CountLines(path);
    CDialogWaitBox* box = ShowWaitBox("Importing database", true, 2);
    std::string separator;
    std::vector<std::string> header;
    uint32_t students = 0, employees = 0, accounts = 0;
    int rounds = 0;
    bool first = true;
    std::string line;
    std::vector<std::string> fields;
    BeginImportNames();
    for (;;) {
        ++rounds;
        const float percent = lineCount > 0 ? static_cast<float>(rounds) * 100.0f / static_cast<float>(lineCount) : 100.0f;
        if (box && box->SetStepPercent(std::min(percent, 100.0f)) != 0) break;
        if (!reader.ReadLine(line)) break;
        if (first) {
            first = false;
            separator = CIifReader::ChooseSeparator(line, "\t;|", 2);
            if (separator.empty()) {
                reader.Close();
                CloseWaitBox(box);
                EndImportNames();
                GetResponse("Improperly formatted records.", MB_OK);
                return;
            }
        }
        CIifReader::SplitFields(line, separator[0], fields);
        const std::string kind = fields.empty() ? std::string() : fields[0];
        if (kind == "!CUST" || kind == "CUST") students += static_cast<uint32_t>(ImportCustomer(separator, line, &header));
        else if (kind == "!EMP" || kind == "EMP") employees += static_cast<uint32_t>(Employee(separator, line, &header));
        else if (kind == "!ACCNT" || kind == "ACCNT") accounts += static_cast<uint32_t>(ImportAccount(separator, line, &header));
    }
    reader.Close();
    if (box) box->SetStepText("Alphabetizing");
    if (LockAndRefreshDatabase("save sequence data", TABLE_PERSON, 0, 0, 0)) {
        SortRecordsPerson();
        ReleaseDatabaseLock();
    }
    CloseWaitBox(box);
    EndImportNames();
    GetResponse(Format("Imported data:\n%u students\n%u employees\n%u accounts", students, employees, accounts), MB_OK);
}

int CDatabase::ImportCustomer(const std::string& separator, const std::string& line, std::vector<std::string>* header)
{
    if (header == nullptr) return 0;
    stIifValues v;
    if (!ReadIifLine(kCustomer, separator, line, *header, v)) return 0;
    std::string first = v.Get("FIRSTNAME");
    std::string last = v.Get("LASTNAME");
    const std::string name = v.Get("NAME");
    if (last.empty() && !name.empty()) {
        std::vector<std::string> parts;
        if (name.find(',') != std::string::npos) {
            CIifReader::SplitFields(name, ',', parts);
            if (parts.size() >= 2) {
                last = parts[0];
                first = parts[1];
            }
        } else {
            CIifReader::SplitFields(name, ' ', parts);
            if (parts.size() >= 2) {
                last = parts.back();
                for (size_t i = 0; i + 1 < parts.size(); ++i) first += parts[i] + " ";
            }
        }
        first = CIifReader::Trim(first);
        last = CIifReader::Trim(last);
    }
    const std::string middle = v.Get("MIDINIT");
    const std::string fullFirst = middle.empty() ? first : first + " " + middle;
    if (last.empty()) return 0;
    if (FindOrAddPerson(fullFirst, last, 0) != -1) return 0;
    auto* person = new CPerson('C');
    person->m_sFirstName = fullFirst;
    person->m_sLastName = last;
    person->m_cSex = 0;
    person->m_cStatus = 0;
    person->m_sPhone1 = NormalizePhoneNumber(v.Get("PHONE1"));
    person->m_sPhone2 = NormalizePhoneNumber(v.Get("PHONE2"));
    ParseAddressLines(&v.addresses, first, person, "", "", "");
    person->m_sEmail = v.Get("EMAIL");
    person->m_sFax = v.Get("FAXNUM");
    const std::string notes = v.Get("NOTEPAD");
    if (!notes.empty()) person->m_Notes.push_back(notes);
    if (AddImportedItem(TABLE_PERSON, person) == NO_CODE) return 0;
    if (m_bImportNames) AddImportName(*person);
    return 1;
}

int CDatabase::Employee(const std::string& separator, const std::string& line, std::vector<std::string>* header)
{
    if (header == nullptr) return 0;
    stIifValues v;
    if (!ReadIifLine(kEmployee, separator, line, *header, v)) return 0;
    const std::string first = v.Get("FIRSTNAME");
    const std::string last = v.Get("LASTNAME");
    const std::string middle = v.Get("MIDINIT");
    const std::string fullFirst = middle.empty() ? first : first + " " + middle;
    if (last.empty()) return 0;
    if (FindOrAddPerson(fullFirst, last, 0) != -1) return 0;
    auto* person = new CPerson('E');
    person->m_sFirstName = fullFirst;
    person->m_sLastName = last;
    person->m_cSex = 0;
    person->m_cStatus = 0;
    person->m_sPhone1 = NormalizePhoneNumber(v.Get("PHONE1"));
    person->m_sPhone2 = NormalizePhoneNumber(v.Get("PHONE2"));
    ParseAddressLines(&v.addresses, first, person, v.Get("CITY"), v.Get("STATE"), v.Get("ZIP"));
    person->m_sEmail = v.Get("EMAIL");
    person->m_sFax = v.Get("FAXNUM");
    person->m_sText9 = v.Get("SSNO");
    const std::string notes = v.Get("NOTEPAD");
    if (!notes.empty()) person->m_Notes.push_back(notes);
    if (AddImportedItem(TABLE_PERSON, person) == NO_CODE) return 0;
    if (m_bImportNames) AddImportName(*person);
    return 1;
}

int CDatabase::ImportAccount(const std::string& separator, const std::string& line, std::vector<std::string>* header)
{
    if (header == nullptr) return 0;
    stIifValues v;
    if (!ReadIifLine(kAccount, separator, line, *header, v)) return 0;
    const std::string name = v.Get("NAME");
    if (name.empty() || FindAccountCategoryByName(name) != 0) return 0;
    auto* category = new CCategory('A');
    category->m_sName = name;
    return AddImportedItem(TABLE_CATEGORY, category) == NO_CODE ? 0 : 1;
}
