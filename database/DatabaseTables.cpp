// CDatabase: table names, indexes, reading tables, saving items, sequences, moves, the person
// sort, default categories and the table-level helpers.

#include "database/Database.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>

#include "common/Diagnostic.h"
#include "common/ListHelpers.h"
#include "common/QuestionBox.h"
#include "common/TextFormat.h"
#include "widgets/WindowList.h"
#include "widgets/DialogWaitBox.h"
#include "platform/host/Format.h"
#include "platform/ui/ComboBox.h"

namespace {

const char* const kTableNames[DB_NUM_TABLES + 1] = {
    "Database",          "Configuration table", "Parameters table", "Font table",
    "Page layout table", "Category table",      "Person table",     "Mail list table",
    "Pricelist table",   "Package table",       "Purchase table",   "Payment table",
    "Schedule table"};

const char* const kTransactionTypes[] = {
    "<None>",      "BEGINBALCHECK", "BILL",        "BILLPMT",      "BILL REFUND", "CASH REFUND",
    "CASH SALE",   "CCARD REFUND",  "CHECK",       "CREDIT CARD",  "CREDIT MEMO", "DEPOSIT",
    "ESTIMATES",   "GENERAL JOURNAL", "INVOICE",   "PAYMENT",      "PURCHORD",    "TRANSFER"};

std::string Upper(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// Upper(a's last + first name) against Upper(b's), as std::string::compare would give, without
// building either text.
int ComparePersonKeys(const CPerson& a, const CPerson& b)
{
    auto at = [](const CPerson& p, size_t i) {
        const size_t last = p.m_sLastName.size();
        const char c = i < last ? p.m_sLastName[i] : p.m_sFirstName[i - last];
        return std::toupper(static_cast<unsigned char>(c));
    };
    const size_t na = a.m_sLastName.size() + a.m_sFirstName.size();
    const size_t nb = b.m_sLastName.size() + b.m_sFirstName.size();
    for (size_t i = 0; i < na && i < nb; ++i) {
        const int x = at(a, i), y = at(b, i);
        if (x != y) return x < y ? -1 : 1;
    }
    return na < nb ? -1 : (na > nb ? 1 : 0);
}

uint32_t ItemSequence(uint8_t table, void* item)
{
    uint32_t sequence = 0;
    VisitTableItem(table, item, [&](auto& r) { sequence = static_cast<uint32_t>(r.m_nSequence); });
    return sequence;
}

uint32_t ItemCode(uint8_t table, void* item)
{
    uint32_t code = LOC_NONE;
    VisitTableItem(table, item, [&](auto& r) { code = r.m_nCode; });
    return code;
}

}  // namespace

CDatabase::CDatabase()
{
    for (const char* name : kTableNames) m_aTableNames.push_back(name);
    for (const char* name : kTransactionTypes) m_aTransactionTypes.push_back(name);
}

CDatabase::~CDatabase()
{
    for (uint8_t t = 1; t <= DB_NUM_TABLES; ++t) ClearTable(t);
    ClearFormat();
}

std::string CDatabase::GetTableNameText(uint32_t table) const
{
    if (table < m_aTableNames.size()) return m_aTableNames[table];
    return Format("Nonexistant table code %i", static_cast<int>(table));
}

bool CDatabase::IsIndexedTable(uint8_t table)
{
    return table == TABLE_CATEGORY || table == TABLE_PERSON ||
           (table >= TABLE_PRICELIST && table <= TABLE_SCHEDULE);
}

// ---------------------------------------------------------------------------------------------
// Indexes

void CDatabase::ClearTable(uint8_t table)
{
    if (!IsIndexedTable(table)) return;
    for (stIndex& entry : m_aIndex[table]) DeleteItemPointer(table, entry.pItem);
    m_aIndex[table].clear();
    if (CRecordsByPerson* grouping = GetPersonGrouping(table)) grouping->Reset();
}

void CDatabase::AddIndex(uint8_t table, void* item, uint32_t code, uint32_t sequence,
                         uint32_t fileLoc, uint32_t insertAtCode, int insertPosition)
{
    if (!IsIndexedTable(table)) return;
    const std::string name = GetTableNameText(table);
    if (DiagnosticLevel > 1)
        WriteDiagnosticFormat("CDatabase::AddIndex %s, code %u, sequence %u, insert at code %u, file loc %u\n",
                              name.c_str(), code, sequence, insertAtCode, fileLoc);
    std::vector<stIndex>& index = m_aIndex[table];
    stIndex entry{code, sequence, fileLoc, item};
    size_t placed = index.size();
    auto append = [&]() {
        placed = index.size();
        index.push_back(entry);
        if (DiagnosticLevel > 1)
            WriteDiagnosticFormat("CDatabase::AddIndex %s, code %u, append at end\n", name.c_str(), code);
    };
    auto insertAt = [&](int at) {
        placed = static_cast<size_t>(at);
        index.insert(index.begin() + at, entry);
        if (DiagnosticLevel > 1)
            WriteDiagnosticFormat("CDatabase::AddIndex %s, code %u, insert at  loc %u\n", name.c_str(), code,
                                  static_cast<uint32_t>(at));
    };
    if (insertPosition != -1) {
        if (insertPosition >= 0 && static_cast<size_t>(insertPosition) < index.size()) insertAt(insertPosition);
        else append();
    } else if (insertAtCode == 0xFFFFFFFE) {
        append();
    } else if (insertAtCode == LOC_NONE) {
        int at = FindItemIndex(table, code);
        if (at >= 0) {
            placed = static_cast<size_t>(at);
            index[at] = entry;
            if (DiagnosticLevel > 1)
                WriteDiagnosticFormat("CDatabase::AddIndex %s, code %u, reset at loc %u\n", name.c_str(), code,
                                      static_cast<uint32_t>(at));
        } else {
            append();
        }
    } else {
        int at = FindItemIndex(table, insertAtCode);
        if (at >= 0) insertAt(at);
        else append();
    }
    if (CRecordsByPerson* grouping = GetPersonGrouping(table)) grouping->Note(index, placed);
}

void CDatabase::AddItemToIndex(uint8_t table, void* item, uint32_t fileLoc, uint32_t insertAtCode)
{
    AddIndex(table, item, ItemCode(table, item), ItemSequence(table, item), fileLoc, insertAtCode, -1);
}

// ---------------------------------------------------------------------------------------------
// Reading

int CDatabase::ReadBufferFromFileIntoMemory(const stDataHeader& header, void* item, int repack)
{
    const std::string name = GetTableNameText(header.nTable);
    if (DiagnosticLevel > 1)
        WriteDiagnosticFormat("CDatabase::ReadBufferFromFileIntoMemory %s\n", name.c_str());
    int result = 0;
    if (ReadRecord(header.nCurrLoc, true) > 0) {
        VisitTableItem(header.nTable, item, [&](auto& record) {
            if (record.ReadRecord(*this) == 0) return;
            result = 1;
            if (repack == 1 && record.WriteRecord(*this) == 0) result = 0;
        });
    }
    if (DiagnosticLevel > 1)
        WriteDiagnosticFormat("CDatabase::ReadBufferIntoMemory %s EXIT\n", name.c_str());
    return result;
}

int CDatabase::LoadTableRecordFromBuffer(const stDataHeader& header, uint32_t insertAtCode, int repack)
{
    if (header.nSubTable != 0) return 1;
    void* item = GetNewItemPointer(header.nTable, nullptr);
    if (item == nullptr) return 0;
    if (!ReadBufferFromFileIntoMemory(header, item, repack)) {
        DeleteItemPointer(header.nTable, item);
        return 0;
    }
    AddItemToIndex(header.nTable, item, header.nCurrLoc, insertAtCode);
    if (DiagnosticLevel > 1)
        WriteDiagnosticFormat("CDatabase::LoadTableRecordFromBuffer OK, file loc %u\n", header.nCurrLoc);
    return 1;
}

int CDatabase::ReadTable(uint8_t table, CDialogWaitBox* waitBox)
{
    if (table == TABLE_MAILLIST) return 1;
    if (table < 1 || table > DB_NUM_TABLES) {
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("CDatabase::ReadTable %s\n", GetTableNameText(table).c_str());
        return 1;
    }
    ClearTable(table);
    const std::string name = GetTableNameText(table);
    std::vector<stDataHeader> headers;
    for (const stDataHeader& h : GetHeaderArray())
        if (h.nTable == table && h.nSubTable == 0 && h.cStatus != DB_STATUS_DELETED &&
            h.cStatus != DB_STATUS_MARKDEL)
            headers.push_back(h);
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CDatabase::ReadTable %s, # records %u\n", name.c_str(),
                              static_cast<uint32_t>(headers.size()));
    if (waitBox) waitBox->SetTotal(static_cast<int>(headers.size()));
    CProgressPace pace;
    for (size_t i = 0; i < headers.size(); ++i) {
        if (waitBox && pace.Due(i + 1, headers.size())) waitBox->SetProgress(static_cast<int>(i + 1));
        const stDataHeader& h = headers[i];
        if (LoadTableRecordFromBuffer(h, 0xFFFFFFFE, 0)) continue;
        if (DiagnosticLevel > 1)
            WriteDiagnosticFormat("CDatabase::ReadTable error, record %u, file loc %u\n", h.nKey, h.nCurrLoc);
        std::string question = Format(
            "Error in reading %s, code %u, location %u.\nIf you DO NOT abort loading database, this "
            "record will be\nmarked as deleted and loading will continue. If you DO abort\nloading "
            "database, you may be able to restore from a backup\nfile by deleting this file and "
            "intializing a new database.\nDo you want to abort loading database?",
            name.c_str(), h.nKey, h.nCurrLoc);
        if (GetResponse(question, MB_YESNO) == IDYES) return 0;
        // The item's own record and its sub-records are kept in the file, marked deleted.
        std::vector<uint32_t> bad;
        for (const stDataHeader& other : GetHeaderArray())
            if (other.nTable == table && other.nKey == h.nKey && other.cStatus != DB_STATUS_DELETED &&
                other.cStatus != DB_STATUS_MARKDEL)
                bad.push_back(other.nCurrLoc);
        for (uint32_t loc : bad) DeleteRecord(loc, 0, true);
    }
    if (waitBox) waitBox->SetStepText(Format("Sorting %s", name.c_str()));
    if (!m_aIndex[table].empty()) SortBySecondWord(m_aIndex[table], &stIndex::nSequence, waitBox);
    return 1;
}

void CDatabase::RefreshItem(uint8_t table, uint32_t code)
{
    if (!IsIndexedTable(table)) return;
    const std::string name = GetTableNameText(table);
    const stDataHeader* found = nullptr;
    for (const stDataHeader& h : GetHeaderArray())
        if (h.nTable == table && h.nKey == code && h.nSubTable == 0 && h.cStatus != DB_STATUS_DELETED &&
            h.cStatus != DB_STATUS_MARKDEL) {
            found = &h;
            break;
        }
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CDatabase::RefreshItem %s, %u, header loc %u\n", name.c_str(), code,
                              found ? found->nCurrLoc : LOC_NONE);
    if (found == nullptr) {
        int at = FindItemIndex(table, code);
        if (at >= 0) {
            DeleteItemPointer(table, m_aIndex[table][at].pItem);
            m_aIndex[table].erase(m_aIndex[table].begin() + at);
            if (CRecordsByPerson* grouping = GetPersonGrouping(table)) grouping->Forget(code);
        }
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("CDatabase::RefreshItem %s, %u FAILED, not in file\n", name.c_str(), code);
        return;
    }
    // The new record is read first; the old one is replaced only when that succeeded.
    stDataHeader header = *found;
    void* item = GetNewItemPointer(table, nullptr);
    if (!ReadBufferFromFileIntoMemory(header, item, 0)) {
        DeleteItemPointer(table, item);
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("CDatabase::RefreshItem %s, %u FAILED, record not readable\n",
                                  name.c_str(), code);
        return;
    }
    int at = FindItemIndex(table, code);
    if (at >= 0) DeleteItemPointer(table, m_aIndex[table][at].pItem);
    AddItemToIndex(table, item, header.nCurrLoc, LOC_NONE);
    if (DiagnosticLevel > 0) WriteDiagnosticFormat("CDatabase::RefreshItem %s, %u EXIT\n", name.c_str(), code);
}

// ---------------------------------------------------------------------------------------------
// Saving

uint32_t CDatabase::SaveItem(uint8_t table, void* item, uint32_t* newCode)
{
    const std::string name = GetTableNameText(table);
    if (DiagnosticLevel > 0) WriteDiagnosticFormat("CDatabase::SaveItem %s\n", name.c_str());
    if (!IsIndexedTable(table) || item == nullptr) return LOC_NONE;
    if (newCode != nullptr) {
        uint32_t key = GetNextKey(table);
        if (key == LOC_NONE) return LOC_NONE;
        VisitTableItem(table, item, [&](auto& r) { r.m_nCode = key; });
        *newCode = key;
    }
    uint32_t loc = LOC_NONE;
    VisitTableItem(table, item, [&](auto& r) { loc = r.SaveRecord(*this); });
    if (DiagnosticLevel > 0) WriteDiagnosticFormat("CDatabase::SaveItem %s EXIT\n", name.c_str());
    return loc;
}

uint32_t CDatabase::SaveModifiedItemAfterLock(uint8_t table, uint32_t code, void* item, int position,
                                              int notify)
{
    if (!IsIndexedTable(table)) return 0;
    std::vector<stIndex>& index = m_aIndex[table];
    if (position == -1) position = FindItemIndex(table, code);
    if (position < 0 || static_cast<size_t>(position) >= index.size()) return 0;
    uint32_t loc = SaveItem(table, item, nullptr);
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CDatabase::SaveModifiedItemAfterLock save %s, %u at loc %u\n",
                              GetTableNameText(table).c_str(), code, loc);
    if (loc == LOC_NONE) return LOC_NONE;
    stIndex& entry = index[position];
    // The entry keeps its own record object; a saved copy is copied into it.
    if (item != entry.pItem) CopyItem(table, item, entry.pItem, 0);
    entry.nFileLoc = loc;
    if (CRecordsByPerson* grouping = GetPersonGrouping(table)) grouping->Note(index, static_cast<size_t>(position));
    if (notify == 1) NotifyDataModified(table, code, loc);
    return loc;
}

// ---------------------------------------------------------------------------------------------
// Sequences

void CDatabase::SetItemSequence(uint8_t table, uint32_t position, uint32_t sequence)
{
    std::vector<stIndex>* index = GetItemList(table);
    if (index == nullptr || position >= index->size()) {
        std::string text = Format("Error in refreshing sequence in %s. Please do manual refresh.",
                                  GetTableNameText(table).c_str());
        if (DiagnosticLevel > 0) WriteDiagnosticString(text + "\n");
        GetResponse(text, MB_OK);
        return;
    }
    VisitTableItem(table, (*index)[position].pItem,
                   [&](auto& r) { r.m_nSequence = static_cast<int32_t>(sequence); });
}

bool CDatabase::WriteSequenceToBlock(uint32_t loc, uint32_t sequence)
{
    // Header and data lie together: one read takes both when the header array knows the
    // block's data length, one write puts back the header and the sequence field behind it.
    uint32_t knownLength = 0;
    int at = FindHeaderIndex(loc);
    if (at >= 0) knownLength = GetHeaderArray()[at].nDataLen;
    std::vector<uint8_t> block(DB_HEADER_LEN + std::max<uint32_t>(knownLength, 4));
    stDataHeader h;
    if (knownLength >= 4 && ReadDbBlock(loc, block.data(), static_cast<uint32_t>(block.size()), true) == block.size()) {
        h.Unpack(block.data());
    } else if (!ReadDbHeader(loc, h, true)) {
        return false;
    } else {
        knownLength = 0;
    }
    if (h.nDataLen < 4) return false;
    if (h.nDataLen != knownLength) {
        block.resize(DB_HEADER_LEN + h.nDataLen);
        if (ReadDbBlock(loc + DB_HEADER_LEN, block.data() + DB_HEADER_LEN, h.nDataLen, true) != h.nDataLen)
            return false;
    }
    uint8_t* data = block.data() + DB_HEADER_LEN;
    // A block whose data no longer matches its header (a save cut short) stays damaged: a
    // renewed check would pass off the torn data as whole.
    if (TestDataCheck(h, data, h.nDataLen) == 0) {
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("CDatabase::WriteSequenceToBlock data at %u does not match its header, left as it is\n", loc);
        return false;
    }
    settings_bytes::PutU32(data, sequence);
    SetDataCheck(h, data, h.nDataLen);
    h.Pack(block.data());
    if (WriteDbBlock(loc, block.data(), DB_HEADER_LEN + 4, true, "WriteDbHeader") != DB_HEADER_LEN + 4) return false;
    GetWrittenLocs().push_back(loc);
    stDataHeader entry = h;
    entry.nCurrLoc = loc;
    PutHeaderInArray(entry);
    return true;
}

void CDatabase::SaveTableSequence(uint8_t table, int notify, CDialogWaitBox* waitBox)
{
    std::vector<stIndex>* index = GetItemList(table);
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CDatabase::SaveTableSequence %s, set refresh flags %s\n",
                              GetTableNameText(table).c_str(), notify == 1 ? "TRUE" : "FALSE");
    if (index == nullptr) return;
    if (waitBox) waitBox->SetTotal(static_cast<int>(index->size()));
    bool changed = false;
    CProgressPace pace;
    for (uint32_t i = 0; i < index->size(); ++i) {
        stIndex& entry = (*index)[i];
        if (entry.nSequence == i) continue;
        // Progress is reported (and messages pumped) for the entries written, not the walk.
        if (waitBox && pace.Due(i + 1, index->size())) waitBox->SetProgress(static_cast<int>(i + 1));
        entry.nSequence = i;
        SetItemSequence(table, i, i);
        WriteSequenceToBlock(entry.nFileLoc, i);
        m_bDatabaseChanged = true;
        changed = true;
    }
    if (IsOpen()) LockAndFlush(GetFile());
    if (notify == 1 && changed) NotifyDataModified(table, 0xFFFFFFFE, LOC_NONE);
}

void CDatabase::LockAndSaveSequence(uint8_t table)
{
    const std::string name = GetTableNameText(table);
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CDatabase::LockAndSaveSequence %s not in order after ReadTableSequence and sort\n",
                              name.c_str());
    if (!LockDatabaseFor("save sequence data", table)) return;
    CDialogWaitBox* box = ShowWaitBox(Format("Reset %s sequence.", name.c_str()), false, 0);
    SaveTableSequence(table, 1, box);
    UnlockDatabaseAfter();
    CloseWaitBox(box);
}

int CDatabase::TestTableSequence(uint8_t table, std::vector<stIndex>* index, int repair)
{
    if (table == TABLE_MAILLIST) return 1;
    if (index == nullptr) index = GetItemList(table);
    if (index == nullptr) return 0;
    const std::string name = GetTableNameText(table);
    bool duplicates = false;
    // Only an entry whose code occurs more than once can pair with another.
    std::unordered_map<uint32_t, uint32_t> occurrences;
    occurrences.reserve(index->size());
    for (const stIndex& e : *index) ++occurrences[e.nCode];
    for (size_t i = index->size(); i-- > 0;) {
        if (occurrences[(*index)[i].nCode] < 2) continue;
        for (size_t j = index->size(); j-- > i + 1;) {
            stIndex& a = (*index)[i];
            stIndex& b = (*index)[j];
            if (a.nCode != b.nCode) continue;
            duplicates = true;
            const uint32_t ii = static_cast<uint32_t>(i), jj = static_cast<uint32_t>(j);
            if (repair == 1) {
                m_aTestReport.push_back(Format("Duplicate key in table %s, key %u, indices %u and %u, file locations %u "
                                               "and %u.\nItem at location %u will be marked as deleted.",
                                               name.c_str(), a.nCode, ii, jj, a.nFileLoc, b.nFileLoc, b.nFileLoc));
                DeleteRecord(b.nFileLoc, 0, true);
                if (index == GetItemList(table)) DeleteItemPointer(table, b.pItem);
                index->erase(index->begin() + j);
            } else {
                m_aTestReport.push_back(Format("Duplicate key in table %s, key %u, indices %u and %u, file locations %u "
                                               "and %u.\n",
                                               name.c_str(), a.nCode, ii, jj, a.nFileLoc, b.nFileLoc));
            }
        }
    }
    bool sequenceErrors = false;
    for (uint32_t i = 0; i < index->size(); ++i) {
        const stIndex& e = (*index)[i];
        if (e.nSequence == i) continue;
        sequenceErrors = true;
        if (repair == 1)
            m_aTestReport.push_back(Format("Invalid sequence index in table %s, key %u, file location %u, sequence %u should be %u. Has been repaired\n",
                                           name.c_str(), e.nCode, e.nFileLoc, e.nSequence, i));
        else
            m_aTestReport.push_back(Format("Invalid sequence index in table %s, key %u, file location %u, sequence %u should be %u\n",
                                           name.c_str(), e.nCode, e.nFileLoc, e.nSequence, i));
    }
    if (repair == 1 && sequenceErrors) {
        CDialogWaitBox* box = ShowWaitBox(Format("Repair sequence for %s", name.c_str()), false, 0);
        SaveTableSequence(table, 0, box);
        if (IsOpen()) LockAndFlush(GetFile());
        CloseWaitBox(box);
    }
    if (duplicates && sequenceErrors) return 3;
    if (duplicates) return 2;
    return sequenceErrors ? 1 : 0;
}

void CDatabase::MoveItemsInTable(uint8_t table, uint32_t first, uint32_t last, uint32_t destination)
{
    const std::string name = GetTableNameText(table);
    if (DiagnosticLevel > 1)
        WriteDiagnosticFormat("CDatabase::MoveItemsInTable %s, %u-%u to %u\n", name.c_str(), first, last,
                              destination);
    std::vector<stIndex>* index = GetItemList(table);
    if (index == nullptr) return;
    if (IsAnyRecordLockedInTableByOther(table)) {
        GetResponse("Data to move locked by another user.", MB_OK);
        return;
    }
    const uint32_t size = static_cast<uint32_t>(index->size());
    auto abort = [&](const char* message) {
        GetResponse(message, MB_OK);
        if (DiagnosticLevel > 0) WriteDiagnosticFormat("CDatabase::MoveItemsInTable %s ABORT)\n", name.c_str());
    };
    if (destination > size) return abort("Destination location outside limits of table");
    if (size == 0 || first > size - 1) return abort("Start of move block outside limits of table");
    if (last > size - 1) return abort("End of move block outside limits of table");
    // A block whose start lies after its end is no block: refused rather than moving nothing
    // or walking past the table.
    if (first > last) return abort("Start of move block outside limits of table");
    if (destination >= first && destination <= last)
        return abort("Marked block contains destination. Can not move.");
    if (!LockDatabaseFor("move items", table)) {
        if (DiagnosticLevel > 0) WriteDiagnosticFormat("CDatabase::MoveItemsInTable %s ABORT)\n", name.c_str());
        return;
    }
    const uint32_t count = last - first + 1;
    if (destination < first) {
        for (uint32_t n = 0; n < count; ++n) {
            stIndex entry = (*index)[first];
            index->erase(index->begin() + first);
            index->insert(index->begin() + destination, entry);
            ++first;
            ++destination;
        }
    } else {
        for (uint32_t n = 0; n < count; ++n) {
            stIndex entry = (*index)[first];
            index->erase(index->begin() + first);
            index->insert(index->begin() + (destination - 1), entry);
        }
    }
    SaveTableSequence(table, 1, nullptr);
    UnlockDatabaseAfter();
    if (DiagnosticLevel > 0) WriteDiagnosticFormat("CDatabase::MoveItemsInTable %s EXIT)\n", name.c_str());
}

void CDatabase::SortRecordsPerson()
{
    std::vector<stIndex>& index = m_aIndex[TABLE_PERSON];
    if (DiagnosticLevel > 1)
        WriteDiagnosticFormat("CDatabase::SortRecordsPerson, array size %u\n", static_cast<uint32_t>(index.size()));
    auto person = [&](size_t i) -> const CPerson& { return *static_cast<const CPerson*>(index[i].pItem); };
    bool inOrder = true;
    for (size_t i = 1; i < index.size() && inOrder; ++i) inOrder = ComparePersonKeys(person(i), person(i - 1)) >= 0;
    if (inOrder) return;
    std::vector<std::string> keys;
    keys.reserve(index.size());
    for (size_t i = 0; i < index.size(); ++i) keys.push_back(Upper(person(i).m_sLastName + person(i).m_sFirstName));
    // After an add or an edit one entry is out of place: it moves, and only the entries between
    // its old and new places change their sequence. Anything else is sorted whole.
    size_t descent = 1;
    while (keys[descent].compare(keys[descent - 1]) >= 0) ++descent;
    auto sortedWithout = [&](size_t skipped) {
        const std::string* previous = nullptr;
        for (size_t i = 0; i < keys.size(); ++i) {
            if (i == skipped) continue;
            if (previous != nullptr && keys[i].compare(*previous) < 0) return false;
            previous = &keys[i];
        }
        return true;
    };
    const auto less = [](const std::string& a, const std::string& b) { return a.compare(b) < 0; };
    size_t from = keys.size(), to = keys.size();
    if (sortedWithout(descent)) {
        // Too small for its place: it goes before the first greater key in front of it.
        from = descent;
        to = static_cast<size_t>(std::upper_bound(keys.begin(), keys.begin() + static_cast<long>(descent),
                                                  keys[descent], less) - keys.begin());
    } else if (sortedWithout(descent - 1)) {
        // Too great for its place: it goes behind the last smaller key after it.
        from = descent - 1;
        to = static_cast<size_t>(std::lower_bound(keys.begin() + static_cast<long>(descent), keys.end(),
                                                  keys[descent - 1], less) - keys.begin()) - 1;
    }
    if (from == keys.size()) {
        SortStringsWithData(keys, index);
    } else if (to < from) {
        std::rotate(index.begin() + static_cast<long>(to), index.begin() + static_cast<long>(from),
                    index.begin() + static_cast<long>(from) + 1);
    } else {
        std::rotate(index.begin() + static_cast<long>(from), index.begin() + static_cast<long>(from) + 1,
                    index.begin() + static_cast<long>(to) + 1);
    }
    SaveTableSequence(TABLE_PERSON, 1, nullptr);
}

// ---------------------------------------------------------------------------------------------
// Persons and categories

void CDatabase::GetPersonName(std::string& out, uint32_t code, int order, std::string* lastName,
                              std::string* firstName)
{
    const CPerson* p = static_cast<const CPerson*>(GetItem(TABLE_PERSON, code));
    if (p == nullptr) {
        out = Format("Person code %u", code);
        return;
    }
    out = order == 1 ? Format("%s, %s", p->m_sLastName.c_str(), p->m_sFirstName.c_str())
                     : Format("%s %s", p->m_sFirstName.c_str(), p->m_sLastName.c_str());
    if (lastName) *lastName = p->m_sLastName;
    if (firstName) *firstName = p->m_sFirstName;
}

CPerson* CDatabase::FindPersonByCheckInCode(const std::string& text)
{
    const std::string wanted = Upper(text);
    for (stIndex& e : m_aIndex[TABLE_PERSON]) {
        CPerson* p = static_cast<CPerson*>(e.pItem);
        if (Upper(p->m_sText10) == wanted) return p;
    }
    return nullptr;
}

uint32_t CDatabase::MakeDefaultCategory(char type, const std::string& name, char parameter)
{
    // Added as every item is: under the database lock with this copy's tables current, so the
    // sequence follows the categories the other desks made; they are told of it afterwards.
    if (!LockAndRefreshDatabase("save data", TABLE_CATEGORY, 0, 0, 0)) return LOC_NONE;
    auto* category = new CCategory(type);
    category->m_sName = Capitalize(name);
    category->m_nSequence = static_cast<int32_t>(m_aIndex[TABLE_CATEGORY].size());
    category->m_Params[0] = static_cast<uint8_t>(parameter);
    uint32_t code = GetNextKey(TABLE_CATEGORY);
    uint32_t loc = RECORD_WRITE_FAILED;
    if (code != LOC_NONE) {
        category->m_nCode = code;
        loc = category->SaveRecord(*this);
    }
    if (loc == RECORD_WRITE_FAILED) {
        delete category;
        ReleaseDatabaseLock();
        return LOC_NONE;
    }
    AddIndex(TABLE_CATEGORY, category, code, static_cast<uint32_t>(category->m_nSequence), loc, 0xFFFFFFFE, -1);
    NotifyDataModified(TABLE_CATEGORY, code, loc);
    ReleaseDatabaseLock();
    return code;
}

void CDatabase::MakeBasicCategories()
{
    struct Row {
        char type;
        const char* name;
        char parameter;
    };
    static const Row kRows[] = {
        {'B', "Private lesson", 'P'},   {'B', "Group lesson", 'S'},       {'B', "Studio party", 'S'},
        {'B', "Floor use", 'P'},        {'I', "Newspaper ad", 0},         {'I', "Yellow pages", 0},
        {'I', "Telemarketing", 0},      {'I', "Student referral", 0},     {'T', "ADVERTISING", 'P'},
        {'T', "AUTO", 'P'},             {'T', "COMMISSIONS", 'P'},        {'T', "CONTRIBUTIONS", 'P'},
        {'T', "DISBURSEMENT", 'P'},     {'T', "DEPRECIATION", 'P'},       {'T', "ENTERTAINMENT", 'P'},
        {'T', "INSURANCE PREM.", 'P'},  {'T', "INTEREST REC.", 'P'},      {'T', "LEGAL", 'P'},
        {'T', "LOAN INTEREST", 'P'},    {'T', "LOAN PRINCIPLE", 'P'},     {'T', "MAINTENANCE", 'P'},
        {'T', "MEDICAL", 'P'},          {'T', "OTHER, MISC.", 'P'},       {'T', "LOAN PAYMENT", 'P'},
        {'T', "PROPERTY DEP", 'P'},     {'T', "PUBS., DUES", 'P'},        {'T', "RENT INCOME", 'R'},
        {'T', "RENT OUTGO", 'P'},       {'T', "REPAIRS", 'P'},            {'T', "SUPPLIES", 'P'},
        {'T', "TAXES", 'P'},            {'T', "TRAVEL", 'P'},             {'T', "UTILITIES", 'P'},
        {'T', "WAGE, FEES INCOME", 'P'}, {'T', "WAGES PAID", 'P'},
    };
    // One hold of the database lock for the whole set: another desk's categories do not come
    // between them.
    if (!LockAndRefreshDatabase("save data", TABLE_CATEGORY, 0, 0, 0)) return;
    // A write that failed has told the user why; the rest would only fail after it.
    for (const Row& row : kRows)
        if (MakeDefaultCategory(row.type, row.name, row.parameter) == LOC_NONE) break;
    ReleaseDatabaseLock();
}

int CDatabase::FindAccountCategoryByName(const std::string& name)
{
    const std::string wanted = Upper(name);
    for (const stIndex& e : m_aIndex[TABLE_CATEGORY]) {
        const CCategory* c = static_cast<const CCategory*>(e.pItem);
        if (c->m_cType == 'A' && Upper(c->m_sName) == wanted) return 1;
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Whole database

void CDatabase::InitializeDatabaseFile()
{
    if (DiagnosticLevel > 0) WriteDiagnosticString("CDatabase::InitializeDatabaseFile()\n");
    SaveConfigurationTable();
    SaveVarRecord();
    SaveFormatRecordTable();
    for (const stPageLayout& layout : m_aPageLayouts) SavePageLayoutTable(layout);
}

void CDatabase::ResetPageLayouts()
{
    ClearPageLayouts();
    SetDefaultPageLayouts();
    for (const stPageLayout& layout : m_aPageLayouts) SavePageLayoutTable(layout);
}

void CDatabase::ClearDatabase()
{
    if (DiagnosticLevel > 0) WriteDiagnosticString("CDatabase::ClearDatabase()\n");
    CDialogWaitBox* box = ShowWaitBox("Closing database.", false, 10);
    if (box) box->SetStepText("Clearing format data");
    ClearFormat();
    if (box) box->SetStepText("Clearing page layout data");
    ClearPageLayouts();
    for (uint8_t t = TABLE_CATEGORY; t <= TABLE_SCHEDULE; ++t) {
        if (box) box->SetStepText(Format("Clearing %s", GetTableNameText(t).c_str()));
        ClearTable(t);
    }
    CloseWaitBox(box);
}

void CDatabase::CloseDatabaseFile()
{
    if (DiagnosticLevel > 0) WriteDiagnosticString("CDatabase::CloseDatabaseFile()\n");
    if (!IsOpen()) return;
    ClearDatabase();
    CloseDB();
}

std::string CDatabase::DescribeRecord(std::string& out, uint8_t table, const void* record,
                                      const std::string& prefix)
{
    out.clear();
    const char* p = prefix.c_str();
    switch (table) {
    case TABLE_CATEGORY:
        out = Format("%s Category record %s.", p, static_cast<const CCategory*>(record)->m_sName.c_str());
        break;
    case TABLE_PERSON: {
        const CPerson* person = static_cast<const CPerson*>(record);
        out = Format("%s Person record %s, %s.", p, person->m_sLastName.c_str(), person->m_sFirstName.c_str());
        break;
    }
    case TABLE_PRICELIST:
        out = Format("%s PriceListItem record %s.", p, static_cast<const CPriceListItem*>(record)->m_sName.c_str());
        break;
    case TABLE_PACKAGE:
        out = Format("%s PackageRecord record %s.", p, static_cast<const CPackageRecord*>(record)->m_sName.c_str());
        break;
    case TABLE_PURCHASE:
        out = Format("%s Purchase record %s.", p,
                     static_cast<const CPurchaseRecord*>(record)->m_sDescription.c_str());
        break;
    case TABLE_PAYMENT:
        out = Format("%s Payment record %s.", p, static_cast<const CPaymentRecord*>(record)->m_sText.c_str());
        break;
    case TABLE_SCHEDULE:
        out = Format("%s Schedule record %s.", p, static_cast<const CScheduleRecord*>(record)->m_sText.c_str());
        break;
    default:
        break;
    }
    return out;
}

// ---------------------------------------------------------------------------------------------
// Combo-box fillers

void CDatabase::FillPersonTypeCombo(ui::ComboBox* combo, char personType, uint32_t selectedCode)
{
    if (combo == nullptr) return;
    combo->ResetContent();
    int at = combo->AddString("<None>");
    combo->SetItemData(at, -1);
    int select = selectedCode == LOC_NONE ? at : -1;
    for (const stIndex& e : m_aIndex[TABLE_PERSON]) {
        const CPerson* p = static_cast<const CPerson*>(e.pItem);
        if (personType != 0 && p->m_cType != personType) continue;
        at = combo->AddString(Format("%s, %s", p->m_sLastName.c_str(), p->m_sFirstName.c_str()));
        combo->SetItemData(at, static_cast<intptr_t>(p->m_nCode));
    }
    // By item data once all are in: a sorted combo moves lines as later ones arrive.
    for (int i = 0; i < combo->GetCount(); ++i)
        if (static_cast<uint32_t>(combo->GetItemData(i)) == selectedCode) select = i;
    combo->SetCurSel(select);
}

void CDatabase::FillTransactionTypeCombo(ui::ComboBox* combo, int selectedIndex)
{
    if (combo == nullptr) return;
    combo->ResetContent();
    for (size_t i = 0; i < m_aTransactionTypes.size(); ++i) {
        int at = combo->AddString(m_aTransactionTypes[i]);
        combo->SetItemData(at, static_cast<intptr_t>(i));
    }
    combo->SetCurSel(selectedIndex);
}

void CDatabase::FillEmployeeAndDepartmentCombos(uint32_t personCode, ui::ComboBox* employeeCombo,
                                                ui::ComboBox* categoryCombo)
{
    const CPerson* p = static_cast<const CPerson*>(GetItem(TABLE_PERSON, personCode));
    if (p == nullptr) return;
    if (p->m_nCode28 != NO_CODE) FillPersonTypeCombo(employeeCombo, 'E', p->m_nCode28);
    if (p->m_nCode29 != NO_CODE) FillCategoryComboBox(categoryCombo, 'D', p->m_nCode29, 1, 0, NO_CODE);
}
