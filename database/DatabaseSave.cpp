// CDatabase: adding, editing, saving and deleting items in the one order every change follows
// (record lock, database lock and refresh, write, index, notices, record unlock, database
// unlock); the reference checks before a delete, the person cascade, and the field setters.

#include "database/Database.h"

#include "database/CreditLedger.h"

#include <algorithm>
#include <type_traits>

#include "common/Diagnostic.h"
#include "common/QuestionBox.h"
#include "widgets/WindowList.h"
#include "widgets/DialogWaitBox.h"
#include "platform/host/Format.h"

namespace {

void Trace(const std::string& text)
{
    if (DiagnosticLevel > 0) WriteDiagnosticString(text);
}

// Writes the deleting user and time into a record's second stamp (records that carry one).
template <class R>
void StampDeleted(R& record)
{
    if constexpr (requires { record.m_dStamp2Date; record.m_cStamp2User; }) {
        record.m_dStamp2Date = GetNow();
        record.m_cStamp2User = GetStampUserCode();
    }
}

// Holds an item's object against being freed by a refresh for as long as it lives.
class ProtectItem {
public:
    ProtectItem(uint8_t& table, void*& item, uint8_t newTable, void* newItem)
        : table_(table), item_(item), oldTable_(table), oldItem_(item)
    {
        table_ = newTable;
        item_ = newItem;
    }
    ~ProtectItem()
    {
        table_ = oldTable_;
        item_ = oldItem_;
    }

private:
    uint8_t& table_;
    void*& item_;
    uint8_t oldTable_;
    void* oldItem_;
};

}  // namespace

int CDatabase::EditItemDialog(uint8_t table, void* item, int isNew, const stDataToken* context)
{
    if (item == nullptr) return 2;
    switch (table) {
    case TABLE_CATEGORY: return EditCategory(static_cast<CCategory*>(item), isNew, context);
    case TABLE_PERSON: return EditPerson(static_cast<CPerson*>(item), isNew, context);
    case TABLE_PACKAGE: return EditPackage(static_cast<CPackageRecord*>(item), isNew, context);
    case TABLE_PURCHASE: return EditPurchaseRecord(static_cast<CPurchaseRecord*>(item), isNew, context);
    case TABLE_PAYMENT: return EditPaymentRecord(static_cast<CPaymentRecord*>(item), isNew, context);
    case TABLE_SCHEDULE:
        return EditScheduleItem(static_cast<CScheduleRecord*>(item), isNew, context);
    case TABLE_PRICELIST:
        return EditPriceListItem(static_cast<CPriceListItem*>(item), isNew, context);
    default:
        return 2;
    }
}

int CDatabase::EditPriceListItem(CPriceListItem* item, int isNew, const stDataToken* context)
{
    if (item == nullptr) return 2;
    // A new item's kind letter is the request's type (0: merchandise).
    if (isNew == 1) item->m_cKind = context ? context->type : 0;
    return Ui().EditItemDialog(*this, TABLE_PRICELIST, item, isNew, context);
}

int CDatabase::EditScheduleItem(CScheduleRecord* item, int isNew, const stDataToken* context)
{
    if (item == nullptr) return 2;
    if (isNew == 1 && context != nullptr) {
        // The hint: the kind letter, the date the item starts at and the teacher (-1: none).
        const stDataToken& hint = *context;
        item->m_dFirstDate = hint.date;
        item->m_dLastDate = hint.date;
        item->m_cKind = hint.type == 'S' ? 'S' : 'N';
        if (hint.index1 != -1) item->m_nTeacher = static_cast<uint32_t>(hint.index1);
    }
    return Ui().EditItemDialog(*this, TABLE_SCHEDULE, item, isNew, context);
}

// ---------------------------------------------------------------------------------------------
// Add

int CDatabase::AddTableItem(uint8_t table, uint32_t insertLoc, void* templ, int editFlag, uint32_t tokenInsert,
                            const stDataToken* context)
{
    const std::string name = GetTableNameText(table);
    std::vector<stIndex>* index = GetItemList(table);
    if (index == nullptr) return 2;
    uint32_t insertCode = LOC_NONE;
    if (insertLoc != LOC_NONE && insertLoc < index->size()) insertCode = (*index)[insertLoc].nCode;
    Trace(Format("CDatabase::AddTableItem %s, insert loc %u, insert code %u, token insert %u\n", name.c_str(),
                 insertLoc, insertCode, tokenInsert));
    void* item = GetNewItemPointer(table, context);
    if (item == nullptr) return 2;
    bool showDialog = true;
    int isNew = 1;
    if (templ != nullptr) {
        CopyItem(table, templ, item, 1);
        showDialog = editFlag == 1;
        isNew = 0;
    }
    int result = 1;
    if (showDialog) {
        result = EditItemDialog(table, item, isNew, context);
        if (result != 1) {
            DeleteItemPointer(table, item);
            SettleSheetLedger(false);
            return result;
        }
    }
    if (!LockAndRefreshDatabase("save data", table, 0, 0, 0)) {
        DeleteItemPointer(table, item);
        SettleSheetLedger(false);
        Trace(Format("CDatabase::AddTableItem %s, %u ABORT\n", name.c_str(), insertCode));
        return 2;
    }
    std::string text;
    CDialogWaitBox* box = ShowWaitBox(DescribeRecord(text, table, item, "Save"), false, 0);
    m_nLastSavedCode = LOC_NONE;
    uint32_t newCode = LOC_NONE;
    uint32_t loc = SaveItem(table, item, &newCode);
    if (loc != LOC_NONE) {
        AddItemToIndex(table, item, loc, insertCode);
        if (table == TABLE_PERSON) SortRecordsPerson();
        NotifyDataModified(table, newCode, loc);
        SaveTableSequence(table, 1, box);
        m_nLastSavedCode = newCode;
        if (templ != nullptr) CopyItem(table, item, templ, 0);
    } else {
        DeleteItemPointer(table, item);
        result = 2;
    }
    SettleSheetLedger(loc != LOC_NONE);
    ReleaseDatabaseLock();
    CloseWaitBox(box);
    Trace(Format("CDatabase::AddTableItem EXIT %s\n", name.c_str()));
    return result;
}

// ---------------------------------------------------------------------------------------------
// Edit

int CDatabase::EditTableItem(uint8_t table, uint32_t code, const stDataToken* context)
{
    const std::string name = GetTableNameText(table);
    if (!IsOpen()) return 2;
    // The record lock must go to the file now at the path, with this copy's view of it current.
    if (IsFileReplaced() || !m_aRefreshFlags.empty()) LockAndRefreshDatabase("refresh database", 0, 0, 0, 1);
    const host::FileId lockedFile = GetFile().Identity();
    uint32_t loc = LockRecord(table, code);
    if (loc == LOC_NONE) return 2;
    auto unlockRecord = [&]() {
        if (GetFile().Identity() == lockedFile) UnlockRecord(loc);
        else SendUnlockNotice(table, code);
    };
    Trace(Format("CDatabase::EditTableItem %s, %u, from loc %u\n", name.c_str(), code, loc));
    // Edited on what the file holds now that nobody else can change it: an earlier save by
    // another desk is never overwritten by a stale copy.
    RefreshItemInPlace(table, code);
    void* stored = GetItem(table, code);
    if (stored == nullptr) {
        unlockRecord();
        GetResponse("Error in retrieving item to edit.", MB_OK);
        return 2;
    }
    void* copy = GetNewItemPointer(table, nullptr);
    CopyItem(table, stored, copy, 0);
    int result = EditItemDialog(table, copy, 0, context);
    if (result != 1) {
        unlockRecord();
        DeleteItemPointer(table, copy);
        SettleSheetLedger(false);
        Trace(Format("CDatabase::EditTableItem %s, %u EXIT\n", name.c_str(), code));
        return result;
    }
    if (!LockAndRefreshDatabase("save edited data", table, 0, 0, 0)) {
        DeleteItemPointer(table, copy);
        SettleSheetLedger(false);
        unlockRecord();
        Trace(Format("CDatabase::EditTableItem %s, %u ABORT\n", name.c_str(), code));
        return 2;
    }
    std::string text;
    CDialogWaitBox* box = ShowWaitBox(DescribeRecord(text, table, copy, "Save"), false, 0);
    int at = FindItemIndex(table, code);
    bool saved = false;
    if (at >= 0) {
        stIndex& entry = (*GetItemList(table))[at];
        CopyItem(table, copy, entry.pItem, 0);
        uint32_t newLoc = SaveItem(table, entry.pItem, nullptr);
        saved = newLoc != LOC_NONE;
        Trace(Format("CDatabase::EditTableItem save %s, %u at loc %u (old loc %u)\n", name.c_str(), code, newLoc, loc));
        if (newLoc != LOC_NONE) {
            entry.nFileLoc = newLoc;
            NotifyDataModified(table, code, newLoc);
            if (table == TABLE_PERSON) SortRecordsPerson();
        }
    }
    SettleSheetLedger(saved);
    unlockRecord();
    ReleaseDatabaseLock();
    CloseWaitBox(box);
    DeleteItemPointer(table, copy);
    Trace(Format("CDatabase::EditTableItem %s, %u EXIT\n", name.c_str(), code));
    return result;
}

// ---------------------------------------------------------------------------------------------
// Save an item changed in memory

int CDatabase::SaveModifiedItem(uint8_t table, uint32_t code, void* item)
{
    const std::string name = GetTableNameText(table);
    Trace(Format("CDatabase::SaveModifiedItem %s, %u\n", name.c_str(), code));
    if (!IsOpen() || item == nullptr || GetItemList(table) == nullptr) return 0;
    if (TestRecordLockByKey(table, code, 2) != 0) {
        GetResponse("This data item is locked by another user.", MB_OK);
        if (DiagnosticLevel > 1) WriteDiagnosticFormat("CDatabase::SaveModifiedItem %s, %u CANCEL\n", name.c_str(), code);
        return 0;
    }
    // The caller's changes, kept apart from what the refresh may read into its object.
    void* changes = GetNewItemPointer(table, nullptr);
    CopyItem(table, item, changes, 0);
    ProtectItem protect(m_nProtectedTable, m_pProtectedItem, table, item);
    if (!LockAndRefreshDatabase("save modified data", 0, 0, 0, 0)) {
        if (DiagnosticLevel > 1) WriteDiagnosticFormat("CDatabase::SaveModifiedItem %s, %u ABORT\n", name.c_str(), code);
        CopyItem(table, changes, item, 0);
        DeleteItemPointer(table, changes);
        return 0;
    }
    std::string text;
    CDialogWaitBox* box = ShowWaitBox(DescribeRecord(text, table, changes, "Save"), false, 0);
    CopyItem(table, changes, item, 0);
    uint32_t loc = 0;
    int at = FindItemIndex(table, code);
    if (at >= 0) loc = SaveModifiedItemAfterLock(table, code, changes, at, 1);
    ReleaseDatabaseLock();
    CloseWaitBox(box);
    DeleteItemPointer(table, changes);
    return loc != 0 && loc != LOC_NONE ? 1 : 0;
}

// ---------------------------------------------------------------------------------------------
// Delete

int CDatabase::DeleteTableItem(uint8_t table, uint32_t code, int checkReferences)
{
    const std::string name = GetTableNameText(table);
    Trace(Format("CDatabase::DeleteTableItem %s, %u\n", name.c_str(), code));
    if (!IsOpen()) return 2;
    if (TestRecordLockByKey(table, code, 2) != 0) {
        Trace(Format("CDatabase::DeleteTableItem %s, %u ABORT\n", name.c_str(), code));
        GetResponse(Format("%s locked by another user", name.c_str()), MB_OK);
        return 2;
    }
    if (checkReferences == 1 && !CanDeleteItem(table, code)) {
        Trace(Format("CDatabase::DeleteTableItem %s, %u ABORT\n", name.c_str(), code));
        return 2;
    }
    std::vector<uint32_t> dependents;
    if (table == TABLE_PERSON) dependents = {TABLE_PERSON, TABLE_PURCHASE, TABLE_PAYMENT, TABLE_SCHEDULE};
    if (!LockAndRefreshDatabaseList(Format("Deleting item code %u in %s", code, name.c_str()), table, 1,
                                    dependents.empty() ? nullptr : &dependents, 0)) {
        Trace(Format("CDatabase::DeleteTableItem %s, %u ABORT\n", name.c_str(), code));
        return 2;
    }
    int at = FindItemIndex(table, code);
    if (at < 0) {
        ReleaseDatabaseLock();
        GetResponse("Error in deleting item.", MB_OK);
        return 2;
    }
    void* item = (*GetItemList(table))[at].pItem;
    std::string text;
    CDialogWaitBox* box = ShowWaitBox(DescribeRecord(text, table, item, "Delete"), false, 0);
    DeleteItemRecord(table, item, (*GetItemList(table))[at].nFileLoc);
    // The cascade may have moved entries of this table; the entry is looked up again.
    at = FreeItem(table, code);
    if (at >= 0) GetItemList(table)->erase(GetItemList(table)->begin() + at);
    NotifyDataModified(table, code, LOC_NONE);
    SaveTableSequence(table, 1, box);
    ReleaseDatabaseLock();
    CloseWaitBox(box);
    Trace(Format("CDatabase::DeleteTableItem %s, %u EXIT\n", name.c_str(), code));
    return 1;
}

void CDatabase::DeleteItemRecord(uint8_t table, void* item, uint32_t loc)
{
    if (item == nullptr) return;
    if (table == TABLE_PERSON) {
        const uint32_t person = static_cast<CPerson*>(item)->m_nCode;
        RemovePersonFromPurchases(person);
        // What goes with the person, listed before anything is deleted.
        std::vector<uint32_t> payments, schedules;
        for (const stIndex& e : *GetItemList(TABLE_PAYMENT))
            if (static_cast<const CPaymentRecord*>(e.pItem)->m_nPerson == person) payments.push_back(e.nCode);
        for (const stIndex& e : *GetItemList(TABLE_SCHEDULE)) {
            const CScheduleRecord* s = static_cast<const CScheduleRecord*>(e.pItem);
            if (s->m_nTeacher == person || s->m_nStudent == person) schedules.push_back(e.nCode);
        }
        for (uint32_t c : payments) DeleteTableItem(TABLE_PAYMENT, c, 1);
        for (uint32_t c : schedules) DeleteTableItem(TABLE_SCHEDULE, c, 1);
        int at = FindItemIndex(TABLE_PERSON, person);
        if (at >= 0) loc = (*GetItemList(TABLE_PERSON))[at].nFileLoc;
    }
    // The block is kept marked deleted, with who deleted it and when in its second stamp.
    uint32_t keptAt = loc;
    bool stamped = false;
    VisitTableItem(table, item, [&](auto& r) {
        if constexpr (requires { r.m_dStamp2Date; }) {
            StampDeleted(r);
            stamped = true;
        }
    });
    if (stamped) {
        uint32_t rewritten = SaveItem(table, item, nullptr);
        if (rewritten != LOC_NONE) keptAt = rewritten;
    }
    if (keptAt != LOC_NONE) DeleteRecord(keptAt, 0, true);
}

int CDatabase::FreeItem(uint8_t table, uint32_t code)
{
    int at = FindItemIndex(table, code);
    if (at < 0) return -1;
    stIndex& e = (*GetItemList(table))[at];
    if (e.pItem == m_pProtectedItem) m_aOrphans.push_back({table, e.pItem});
    else DeleteItemPointer(table, e.pItem);
    e.pItem = nullptr;
    return at;
}

// ---------------------------------------------------------------------------------------------
// Reference checks

bool CDatabase::CanDeleteItem(uint8_t table, uint32_t code)
{
    switch (table) {
    case TABLE_CATEGORY: return CanDeleteCategory(code);
    case TABLE_PERSON: return CanDeletePerson(code);
    case TABLE_PRICELIST: return CanDeletePriceListItem(code);
    case TABLE_PACKAGE: return GetResponse("Are you sure you want to delete package list item?", MB_YESNO) == IDYES;
    case TABLE_PURCHASE: return GetResponse("Are you sure you want to delete purchase item?", MB_YESNO) == IDYES;
    case TABLE_PAYMENT: return CanDeletePayment(code);
    case TABLE_SCHEDULE: return GetResponse("Are you sure you want to delete schedule item?", MB_YESNO) == IDYES;
    default: return true;
    }
}

bool CDatabase::CanDeleteCategory(uint32_t code)
{
    bool used = false;
    for (const stIndex& e : *GetItemList(TABLE_PRICELIST))
        used = used || static_cast<const CPriceListItem*>(e.pItem)->m_nBasicType == code;
    for (const stIndex& e : *GetItemList(TABLE_PACKAGE))
        used = used || static_cast<const CPackageRecord*>(e.pItem)->m_nProgram == code;
    for (const stIndex& e : *GetItemList(TABLE_PERSON)) {
        const CPerson* p = static_cast<const CPerson*>(e.pItem);
        used = used || p->m_nReferredBy == code || p->m_nCode29 == code || p->HasNumber(code);
        for (const auto& i : p->m_Interviews) used = used || i->m_nProgram == code;
    }
    for (const stIndex& e : *GetItemList(TABLE_PAYMENT)) {
        const CPaymentRecord* p = static_cast<const CPaymentRecord*>(e.pItem);
        used = used || p->m_nField14 == code || p->m_nField15 == code;
    }
    for (const stIndex& e : *GetItemList(TABLE_PURCHASE))
        for (const auto& item : static_cast<const CPurchaseRecord*>(e.pItem)->m_Items) {
            used = used || item->m_nType == code;
            for (const auto& t : item->m_Tokens) used = used || t->m_nActivity == code;
        }
    if (!used) return true;
    GetResponse("Category is referenced in database. Can not delete", MB_OK);
    return false;
}

bool CDatabase::CanDeletePerson(uint32_t code)
{
    if (!FindPurchasesOf(code).empty() &&
        GetResponse("Person referenced in purchase data. Are you sure you want to delete?", MB_YESNO) != IDYES)
        return false;
    if (!FindPaymentsOf(code).empty() &&
        GetResponse("Person referenced in payment data. Are you sure you want to delete?", MB_YESNO) != IDYES)
        return false;
    for (const stIndex& e : *GetItemList(TABLE_SCHEDULE)) {
        const CScheduleRecord* s = static_cast<const CScheduleRecord*>(e.pItem);
        if (s->m_nTeacher == code || s->m_nStudent == code) {
            if (GetResponse("Person referenced in schedule data. Are you sure you want to delete?", MB_YESNO) != IDYES)
                return false;
            break;
        }
    }
    return GetResponse("Are you sure you want to delete person and associated data?", MB_YESNO) == IDYES;
}

bool CDatabase::CanDeletePriceListItem(uint32_t code)
{
    const CPriceListItem* item = static_cast<const CPriceListItem*>(GetItem(TABLE_PRICELIST, code));
    if (item == nullptr) return false;
    for (const stIndex& e : *GetItemList(TABLE_PACKAGE)) {
        const auto& items = static_cast<const CPackageRecord*>(e.pItem)->m_Items;
        if (std::find(items.begin(), items.end(), code) != items.end()) {
            GetResponse("Item is referenced in package. Can not delete.", MB_OK);
            return false;
        }
    }
    for (const stIndex& e : *GetItemList(TABLE_SCHEDULE))
        if (static_cast<const CScheduleRecord*>(e.pItem)->m_nPriceListCode == code) {
            GetResponse("Item is referenced in scheduled purchase. Can not delete.", MB_OK);
            return false;
        }
    std::string description = item->m_sName;
    if (!item->m_Dates.empty())
        description = Format("%s, %s - %s", item->m_sName.c_str(),
                             FormatDateTime(item->m_Dates.front(), "%m/%d/%Y").c_str(),
                             FormatDateTime(item->m_Dates.back(), "%m/%d/%Y").c_str());
    return GetResponse(Format("Are you sure you want to delete price list item %s?", description.c_str()), MB_YESNO) ==
           IDYES;
}

bool CDatabase::CanDeletePayment(uint32_t code)
{
    const CPaymentRecord* payment = static_cast<const CPaymentRecord*>(GetItem(TABLE_PAYMENT, code));
    if (payment != nullptr && payment->m_cType != 'q') {
        for (const stIndex& e : *GetItemList(TABLE_PAYMENT)) {
            const CPaymentRecord* refund = static_cast<const CPaymentRecord*>(e.pItem);
            if (refund->m_cType == 'q' && refund->m_nField12 == code) {
                GetResponse(Format("This payment is attached to a refund (%s). Can not delete.",
                                   FormatDateTime(refund->m_dDate, "%m/%d/%y").c_str()),
                            MB_OK);
                return false;
            }
        }
    }
    return GetResponse("Are you sure you want to delete payment?", MB_YESNO) == IDYES;
}

// ---------------------------------------------------------------------------------------------
// Field setters

int CDatabase::SetPersonInterviewDate(CPerson* person, char kind, uint32_t index, DATE date)
{
    if (person == nullptr || index >= person->m_Interviews.size()) return 0;
    CInterview& i = *person->m_Interviews[index];
    switch (kind) {
    case 'D': i.m_dField14 = date; break;
    case 'M':
        if (date != 0.0) i.m_dField16 = date;
        else i.m_nField15 = 0;
        break;
    case 'N':
        if (date != 0.0) i.m_dField20 = date;
        else i.m_cField19 = 0;
        break;
    default: return 0;
    }
    SaveModifiedItem(TABLE_PERSON, person->m_nCode, person);
    return 0;
}

void CDatabase::SetPriceListValue(CPriceListItem* item, uint32_t index, DATE value)
{
    if (item == nullptr || index >= item->m_Dates.size()) return;
    if (value == 0.0) item->m_Dates.erase(item->m_Dates.begin() + index);
    else item->m_Dates[index] = value;
    SaveModifiedItem(TABLE_PRICELIST, item->m_nCode, item);
}

void CDatabase::SetPurchaseEntryDate(CPurchaseRecord* purchase, char kind, uint32_t index, uint32_t subIndex,
                                     DATE value)
{
    if (purchase == nullptr) return;
    if (kind == 'p') {
        if (index >= purchase->m_Payments.size()) return;
        CSchedulePayment& p = *purchase->m_Payments[index];
        if (value == 0.0) p.m_cKind = 'U';
        else p.m_dDate = value;
    } else if (kind == 'T') {
        if (index >= purchase->m_Items.size() || subIndex >= purchase->m_Items[index]->m_Tokens.size()) return;
        CScheduleToken& t = *purchase->m_Items[index]->m_Tokens[subIndex];
        if (value == 0.0) {
            t.m_cState = 'N';
        } else {
            const DATE old = t.m_dDate;
            t.m_dDate = value;
            if (CheckPurchaseScheduleConflicts(*purchase) == 1) {
                t.m_dDate = old;
                return;
            }
        }
    } else {
        return;
    }
    SaveModifiedItem(TABLE_PURCHASE, purchase->m_nCode, purchase);
}

void CDatabase::RemovePersonFromPurchases(uint32_t personCode)
{
    // The codes first: deletes and saves move the index.
    std::vector<uint32_t> codes;
    for (size_t at : FindPurchasesOf(personCode)) codes.push_back(m_aIndex[TABLE_PURCHASE][at].nCode);
    for (uint32_t c : codes) {
        CPurchaseRecord* p = static_cast<CPurchaseRecord*>(GetItem(TABLE_PURCHASE, c));
        if (p == nullptr) continue;
        if (p->m_nPerson == personCode) {
            DeleteTableItem(TABLE_PURCHASE, c, 1);
        } else if (p->m_nSecondPerson == personCode) {
            p->m_nSecondPerson = NO_CODE;
            SaveModifiedItem(TABLE_PURCHASE, c, p);
        } else if (p->m_nPayer == personCode) {
            p->m_nPayer = NO_CODE;
            SaveModifiedItem(TABLE_PURCHASE, c, p);
        }
    }
}

namespace {

void MarkPurchaseCancelled(CPurchaseRecord& purchase, DATE now, uint8_t user)
{
    purchase.m_nStatus = CPurchaseRecord::STATUS_CANCELLED;
    purchase.m_dStamp2Date = now;
    purchase.m_cStamp2User = user;
    for (auto& p : purchase.m_Payments)
        if (p->m_cKind == 'U' || p->m_cKind == 'S') {
            p->m_cKind = 'C';
            p->m_dStamp2Date = now;
            p->m_cStamp2User = user;
        }
    for (auto& item : purchase.m_Items)
        for (auto& t : item->m_Tokens)
            if (t->m_cState == 'S' || t->m_cState == 'N') {
                t->m_cState = 'c';
                t->m_dStampDate = now;
                t->m_cStampUser = user;
            }
}

void MarkPurchaseReinstated(CPurchaseRecord& purchase, DATE now, uint8_t user)
{
    purchase.m_nStatus = CPurchaseRecord::STATUS_ACTIVE;
    purchase.m_dStamp2Date = now;
    purchase.m_cStamp2User = user;
    for (auto& p : purchase.m_Payments)
        if (p->m_cKind == 'C') p->m_cKind = 'U';
    for (auto& item : purchase.m_Items)
        for (auto& t : item->m_Tokens)
            if (t->m_cState == 'c') t->m_cState = 'N';
}

}  // namespace

int CDatabase::CancelPurchase(CPurchaseRecord* purchase)
{
    if (purchase == nullptr) return 0;
    const uint32_t code = purchase->m_nCode;
    const DATE now = GetNow();
    const uint8_t user = GetStampUserCode();
    const int result = ChangeItem(TABLE_PURCHASE, code, [now, user](void* copy) {
        MarkPurchaseCancelled(*static_cast<CPurchaseRecord*>(copy), now, user);
        return true;
    });
    void* stored = GetItem(TABLE_PURCHASE, code);
    if (result == 1 && stored != nullptr && stored != purchase) CopyItem(TABLE_PURCHASE, stored, purchase, 0);
    return result;
}

int CDatabase::ReinstatePurchase(CPurchaseRecord* purchase)
{
    if (purchase == nullptr) return 0;
    const uint32_t code = purchase->m_nCode;
    const DATE now = GetNow();
    const uint8_t user = GetStampUserCode();
    const int result = ChangeItem(TABLE_PURCHASE, code, [now, user](void* copy) {
        MarkPurchaseReinstated(*static_cast<CPurchaseRecord*>(copy), now, user);
        return true;
    });
    void* stored = GetItem(TABLE_PURCHASE, code);
    if (result == 1 && stored != nullptr && stored != purchase) CopyItem(TABLE_PURCHASE, stored, purchase, 0);
    return result;
}

void CDatabase::SettleSheetLedger(bool stored)
{
    std::shared_ptr<CCreditLedger> ledger = std::move(m_pSheetLedger);
    m_pSheetLedger.reset();
    if (!ledger) return;
    if (stored) ledger->Commit();
    else ledger->Release();
}
