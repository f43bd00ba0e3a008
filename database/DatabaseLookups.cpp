// CDatabase: item lookups, new and copied items, categories, persons, small tallies, and the
// seams into the lock manager and the change notices.

#include "database/Database.h"

#include "common/Diagnostic.h"
#include "common/QuestionBox.h"
#include "platform/host/Format.h"
#include "platform/ui/ComboBox.h"

// ---------------------------------------------------------------------------------------------
// Lookups

std::vector<stIndex>* CDatabase::GetItemList(uint8_t table)
{
    return IsIndexedTable(table) ? &m_aIndex[table] : nullptr;
}

const std::vector<stIndex>* CDatabase::GetItemList(uint8_t table) const
{
    return IsIndexedTable(table) ? &m_aIndex[table] : nullptr;
}

int CDatabase::FindItemIndex(uint8_t table, uint32_t code) const
{
    const std::vector<stIndex>* list = GetItemList(table);
    if (list == nullptr || list->empty() || code == LOC_NONE) return -1;
    const size_t n = list->size();
    // The code is a hint for where the entry stands: from there down, then on up.
    if (code < n) {
        for (size_t i = code + 1; i-- > 0;)
            if ((*list)[i].nCode == code) return static_cast<int>(i);
        for (size_t i = code + 1; i < n; ++i)
            if ((*list)[i].nCode == code) return static_cast<int>(i);
        return -1;
    }
    for (size_t i = 0; i < n; ++i)
        if ((*list)[i].nCode == code) return static_cast<int>(i);
    return -1;
}

void* CDatabase::GetItem(uint8_t table, uint32_t code) const
{
    int at = FindItemIndex(table, code);
    return at < 0 ? nullptr : (*GetItemList(table))[at].pItem;
}

uint32_t CDatabase::GetItemCode(uint8_t table, int position) const
{
    const std::vector<stIndex>* list = GetItemList(table);
    if (list == nullptr || position < 0 || static_cast<size_t>(position) >= list->size()) return LOC_NONE;
    return (*list)[position].nCode;
}

void* CDatabase::GetNewItemPointer(uint8_t table, const stDataToken* context)
{
    switch (table) {
    case TABLE_CATEGORY: {
        auto* c = new CCategory(context ? context->type : 0);
        // A new account names no accounts yet.
        if (c->m_cType == 'A') SetCategoryAccountParams(*c, 0, NO_CODE, NO_CODE, {});
        // The list's block filter is the new category's first parameter byte.
        if (context && context->index1 > 0 && context->index1 < 256) c->m_Params[0] = static_cast<uint8_t>(context->index1);
        WriteMemoryTraceAlloc(c, "pCategory in CDatabase::GetNewItemPointer");
        return c;
    }
    case TABLE_PERSON: {
        char type = 0;
        if (context) {
            if (context->type == 'e' && context->record) type = *static_cast<const char*>(context->record);
            else if (context->type == 'R' && context->record) type = static_cast<const CPerson*>(context->record)->m_cType;
            else if (context->type == 'c') type = 'c';
            else if (context->type == 'C' || context->type == 'E') type = context->type;
        }
        auto* p = new CPerson(type);
        WriteMemoryTraceAlloc(p, "pPerson in CDatabase::GetNewItemPointer");
        return p;
    }
    case TABLE_PRICELIST: return new CPriceListItem();
    case TABLE_PACKAGE: return new CPackageRecord();
    case TABLE_PURCHASE: return new CPurchaseRecord();
    case TABLE_PAYMENT: return new CPaymentRecord();
    case TABLE_SCHEDULE: return new CScheduleRecord();
    default: return nullptr;
    }
}

void CDatabase::DeleteItemPointer(uint8_t table, void* item)
{
    if (item == nullptr) return;
    switch (table) {
    case TABLE_CATEGORY:
        WriteMemoryTraceFree(item);
        delete static_cast<CCategory*>(item);
        break;
    case TABLE_PERSON:
        WriteMemoryTraceFree(item);
        delete static_cast<CPerson*>(item);
        break;
    case TABLE_PRICELIST: delete static_cast<CPriceListItem*>(item); break;
    case TABLE_PACKAGE: delete static_cast<CPackageRecord*>(item); break;
    case TABLE_PURCHASE: delete static_cast<CPurchaseRecord*>(item); break;
    case TABLE_PAYMENT: delete static_cast<CPaymentRecord*>(item); break;
    case TABLE_SCHEDULE: delete static_cast<CScheduleRecord*>(item); break;
    default: break;
    }
}

void CDatabase::CopyItem(uint8_t table, const void* source, void* target, int isNew)
{
    if (source == nullptr || target == nullptr || !IsIndexedTable(table)) return;
    VisitTableItem(table, target, [&](auto& t) {
        using T = std::remove_reference_t<decltype(t)>;
        t.CopyFrom(*static_cast<const T*>(source));
        if (isNew == 1) {
            t.m_nCode = GetNextKey(table);
            t.m_nSequence = static_cast<int32_t>(m_aIndex[table].size());
        }
    });
}

// ---------------------------------------------------------------------------------------------
// Categories

char CDatabase::GetCategoryType(uint32_t code) const
{
    const CCategory* c = static_cast<const CCategory*>(GetItem(TABLE_CATEGORY, code));
    return c ? c->m_cType : 0;
}

uint32_t CDatabase::CheckCategoryCode(uint32_t code) const
{
    return GetItem(TABLE_CATEGORY, code) ? code : LOC_NONE;
}

std::string CDatabase::GetCategoryName(uint32_t code) const
{
    if (code == 0xFFFFFFFE) return "Other";
    const CCategory* c = static_cast<const CCategory*>(GetItem(TABLE_CATEGORY, code));
    return c ? c->m_sName : std::string();
}

bool CDatabase::LookupCategoryName(uint32_t code, std::string& name) const
{
    const CCategory* c = static_cast<const CCategory*>(GetItem(TABLE_CATEGORY, code));
    if (c == nullptr) return false;
    name = c->m_sName;
    return true;
}

std::string CDatabase::GetCategoryTypeName(const CCategory* category) const
{
    if (category == nullptr) return "No category type";
    switch (category->m_cType) {
    case 'B': return "Basic dance item";
    case 'P': return "Program";
    case 'I': return "Interview source";
    case 'T': return "Tax category";
    case 'A': return "Account category";
    case 'M': return "Mail list category";
    case 'R': return "Ballroom";
    case 'C': return "Contract type";
    case 'D': return "Department";
    case 'm': return "Merchandise";
    case '$': return "Discount";
    case 'q': return "Credit";
    default: return "Unrecognized category";
    }
}

void CDatabase::CollectCategoriesByType(char letter, std::vector<CCategory*>& list) const
{
    for (const stIndex& e : m_aIndex[TABLE_CATEGORY]) {
        CCategory* c = static_cast<CCategory*>(e.pItem);
        if (letter == 0 || c->m_cType == letter) list.push_back(c);
    }
}

void CDatabase::FillCategoryComboBox(ui::ComboBox* combo, char letter, uint32_t selected, int withNone,
                                     int param0, uint32_t excluded)
{
    if (combo == nullptr) return;
    if (letter == '$') {
        combo->ResetContent();
        int at = combo->AddString("Discount percent");
        combo->SetItemData(at, 0);
        combo->SetCurSel(at);
        at = combo->AddString("Discount amount");
        combo->SetItemData(at, 1);
        if (selected == 1) combo->SetCurSel(at);
        return;
    }
    std::vector<CCategory*> categories;
    CollectCategoriesByType(letter, categories);
    int select = -1;
    if (withNone == 1) {
        combo->ResetContent();
        int at = combo->AddString("<None>");
        combo->SetItemData(at, -1);
        if (selected == LOC_NONE) select = at;
    }
    for (const CCategory* c : categories) {
        if (excluded != LOC_NONE && c->m_nCode == excluded) continue;
        if (param0 >= 1 && param0 <= 127 && c->m_Params[0] != param0) continue;
        int at = combo->AddString(c->m_sName);
        combo->SetItemData(at, static_cast<intptr_t>(c->m_nCode));
    }
    // By item data once all are in: a sorted combo moves lines as later ones arrive.
    for (int i = 0; i < combo->GetCount(); ++i)
        if (static_cast<uint32_t>(combo->GetItemData(i)) == selected) select = i;
    if (select >= 0) combo->SetCurSel(select);
}

// ---------------------------------------------------------------------------------------------
// Persons

void CDatabase::CollectPersonsByType(char letter, std::vector<CPerson*>& list, int withInactive) const
{
    for (const stIndex& e : m_aIndex[TABLE_PERSON]) {
        CPerson* p = static_cast<CPerson*>(e.pItem);
        if (p->m_cType == letter && (withInactive == 1 || p->m_cStatus == 'A')) list.push_back(p);
    }
}

bool CDatabase::IsEmployeeLinked(uint32_t value) const
{
    for (const stIndex& e : m_aIndex[TABLE_PERSON]) {
        const CPerson* p = static_cast<const CPerson*>(e.pItem);
        if (p->m_cType == 'E' && p->m_cStatus == 'A' && p->m_nCode28 == value) return true;
    }
    return false;
}

uint32_t CDatabase::GetPersonTeacher(uint32_t code) const
{
    const CPerson* p = static_cast<const CPerson*>(GetItem(TABLE_PERSON, code));
    return p ? p->m_nTeacher : LOC_NONE;
}

uint32_t CDatabase::GetPersonField28(uint32_t code) const
{
    const CPerson* p = static_cast<const CPerson*>(GetItem(TABLE_PERSON, code));
    return p ? p->m_nCode28 : LOC_NONE;
}

uint32_t CDatabase::GetPersonField29(uint32_t code) const
{
    const CPerson* p = static_cast<const CPerson*>(GetItem(TABLE_PERSON, code));
    return p ? p->m_nCode29 : LOC_NONE;
}

char CDatabase::GetPersonField5(uint32_t code) const
{
    const CPerson* p = static_cast<const CPerson*>(GetItem(TABLE_PERSON, code));
    return p ? p->m_cSex : 0;
}

int32_t CDatabase::SelectPerson(char letter, char second, int withNone, int withNew)
{
    if (m_aIndex[TABLE_PERSON].empty()) {
        GetResponse("No persons specified", MB_OK);
        return -1;
    }
    const char* title = letter == 'C' ? "Select student" : letter == 'E' ? "Select teacher" : "Select person";
    std::vector<std::pair<uint32_t, std::string>> items;
    if (withNone == 1) items.emplace_back(0xFFFFFFFF, "<none>");
    if (withNew == 1) items.emplace_back(0xFFFFFFFE, "<New>");
    for (const stIndex& e : m_aIndex[TABLE_PERSON]) {
        const CPerson* p = static_cast<const CPerson*>(e.pItem);
        if (letter > 0 && p->m_cType != letter) continue;
        if (second > 0 && p->m_cSex != second) continue;
        items.emplace_back(p->m_nCode, Format("%s, %s", p->m_sLastName.c_str(), p->m_sFirstName.c_str()));
    }
    return Ui().SelectOne(title, items);
}

// ---------------------------------------------------------------------------------------------
// Other items

int CDatabase::ReadMailList(CMailList& mailList, uint32_t code)
{
    if (ReadRecord(TABLE_MAILLIST, code) == 0) return -1;
    return mailList.ReadRecord(*this) > 0 ? 1 : -1;
}

bool CDatabase::IsSamePurchase(const CPurchaseRecord& a, const CPurchaseRecord& b) const
{
    if (a.m_nStatus != b.m_nStatus || a.m_nPerson != b.m_nPerson || a.m_dDate != b.m_dDate ||
        a.m_nSecondPerson != b.m_nSecondPerson || a.m_sDescription != b.m_sDescription)
        return false;
    if (a.m_Items.size() != 1 || b.m_Items.size() != 1) return false;
    const CPurchaseItem& ia = *a.m_Items[0];
    const CPurchaseItem& ib = *b.m_Items[0];
    if (ia.m_nPriceListCode != ib.m_nPriceListCode) return false;
    if (ia.m_Tokens.size() != 1 || ib.m_Tokens.size() != 1) return false;
    const CScheduleToken& ta = *ia.m_Tokens[0];
    const CScheduleToken& tb = *ib.m_Tokens[0];
    return ta.m_cKind == tb.m_cKind && ta.m_dDate == tb.m_dDate && ta.m_nLessonValue == tb.m_nLessonValue &&
           ta.m_nSplitCount == tb.m_nSplitCount;
}

// ---------------------------------------------------------------------------------------------
// Tallies

void AddToCodeTotal(uint32_t code, uint32_t count, double amount, std::vector<stCodeTotal>& list)
{
    for (stCodeTotal& t : list)
        if (t.nCode == code) {
            t.nCount += count;
            t.dAmount += amount;
            return;
        }
}

void CountByLetter(uint32_t letter, std::vector<stLetterCount>& list)
{
    for (stLetterCount& c : list)
        if ((c.nLetter & 0xFF) == (letter & 0xFF)) {
            ++c.nCount;
            return;
        }
    list.push_back({letter & 0xFF, 1});
}

void CDatabase::PrepareCategoryTotals(int mode, std::vector<stCodeTotal>& list) const
{
    list.clear();
    for (const stIndex& e : m_aIndex[TABLE_CATEGORY]) {
        const CCategory* c = static_cast<const CCategory*>(e.pItem);
        bool take = ((mode == 1 || mode == 2) && (c->m_cType == 'B' || c->m_cType == 'm')) ||
                    (mode == 4 && c->m_cType == 'T') || (mode == 5 && c->m_cType == 'm');
        if (take) list.push_back({c->m_nCode, 0, 0.0});
    }
    if (mode == 1 || mode == 2) {
        list.push_back({0xFFFFFFFD, 0, 0.0});
        list.push_back({0xFFFFFFFE, 0, 0.0});
    } else if (mode == 4) {
        list.push_back({0xFFFFFFFE, 0, 0.0});
    }
}

void CDatabase::PrepareBasicItemTotals(std::vector<stCodeTotal>& list) const
{
    for (const stIndex& e : m_aIndex[TABLE_CATEGORY]) {
        const CCategory* c = static_cast<const CCategory*>(e.pItem);
        if (c->m_cType == 'B') list.push_back({c->m_nCode, 0, 0.0});
    }
}

// ---------------------------------------------------------------------------------------------
// The lock manager and the notices, as the tables use them.

// LockDatabaseFor, UnlockDatabaseAfter: DatabaseRoad.cpp (the nesting database lock).

bool CDatabase::IsAnyRecordLockedInTableByOther(uint8_t table)
{
    if (!IsOpen()) return false;
    uint32_t loc = LOC_NONE;
    return IsAnyRecordLockedInTable(2, table, loc) == 1;
}

void CDatabase::NotifyDataModified(uint8_t table, uint32_t key, uint32_t loc)
{
    // Every save and delete of this copy passes here with the index as it now is.
    NoteGroupedChange(table, key);
    SendDataModifiedNotices(table, key, loc);
}

CRecordsByPerson* CDatabase::GetPersonGrouping(uint8_t table) const
{
    if (table == TABLE_PURCHASE) return &m_PurchasesByPerson;
    if (table == TABLE_PAYMENT) return &m_PaymentsByPerson;
    return nullptr;
}

void CDatabase::NoteGroupedChange(uint8_t table, uint32_t code)
{
    CRecordsByPerson* grouping = GetPersonGrouping(table);
    if (grouping == nullptr) return;
    const int at = FindItemIndex(table, code);
    if (at < 0) grouping->Forget(code);
    else grouping->Note(m_aIndex[table], static_cast<size_t>(at));
}

size_t CDatabase::PurchasePersons(const void* item, CRecordsByPerson::stPersons& persons)
{
    const auto* purchase = static_cast<const CPurchaseRecord*>(item);
    persons = {purchase->m_nPerson, purchase->m_nSecondPerson, purchase->m_nPayer};
    return persons.size();
}

size_t CDatabase::PaymentPersons(const void* item, CRecordsByPerson::stPersons& persons)
{
    persons[0] = static_cast<const CPaymentRecord*>(item)->m_nPerson;
    return 1;
}

std::vector<size_t> CDatabase::FindPurchasesOf(uint32_t person) const
{
    return m_PurchasesByPerson.Find(m_aIndex[TABLE_PURCHASE], person);
}

std::vector<size_t> CDatabase::FindPaymentsOf(uint32_t person) const
{
    return m_PaymentsByPerson.Find(m_aIndex[TABLE_PAYMENT], person);
}

std::vector<CPurchaseRecord*> CDatabase::GetActivePurchasesOf(uint32_t person) const
{
    std::vector<CPurchaseRecord*> purchases;
    for (size_t at : FindPurchasesOf(person)) {
        auto* purchase = static_cast<CPurchaseRecord*>(m_aIndex[TABLE_PURCHASE][at].pItem);
        if (purchase->m_nStatus == CPurchaseRecord::STATUS_ACTIVE) purchases.push_back(purchase);
    }
    return purchases;
}
