// CDatabase: the editors of categories, packages, payments, purchases' scheduled payments and new
// persons that EditItemDialog dispatches to; each prepares the item from the request token and
// runs the table's dialog through the database's user interface. The category, package and
// default-account lists, and the shared created/updated line.

#include "database/Database.h"

#include "common/Diagnostic.h"
#include "database/MoneyRequests.h"
#include "platform/host/Format.h"

namespace {

bool IsNewCustomerRequest(const stDataToken* context)
{
    if (context == nullptr) return false;
    if (context->type == 'c') return true;
    return context->type == 'e' && context->record && *static_cast<const char*>(context->record) == 'c';
}

}  // namespace

std::string CDatabase::FormatStampLine(uint8_t createdBy, DATE createdAt, uint8_t updatedBy, DATE updatedAt) const
{
    return Format("Created by %s %s, updated by %s, %s", GetUserName(createdBy).c_str(),
                  FormatDateTime(createdAt, "%m/%d/%Y %H:%M").c_str(), GetUserName(updatedBy).c_str(),
                  FormatDateTime(updatedAt, "%m/%d/%Y %H:%M").c_str());
}

uint32_t CDatabase::GetDefaultAccount(uint32_t setting) const
{
    const uint32_t code = m_Parameters.GetUInt(setting);
    const CCategory* c = static_cast<const CCategory*>(GetItem(TABLE_CATEGORY, code));
    return c != nullptr ? code : NO_CODE;
}

int CDatabase::EditCategory(CCategory* category, int isNew, const stDataToken* context)
{
    if (category == nullptr) return 2;
    if (isNew == 1) category->m_nCode = GetNextKey(TABLE_CATEGORY);
    return Ui().EditItemDialog(*this, TABLE_CATEGORY, category, isNew, context);
}

int CDatabase::EditPackage(CPackageRecord* package, int isNew, const stDataToken* context)
{
    if (package == nullptr) return 2;
    return Ui().EditItemDialog(*this, TABLE_PACKAGE, package, isNew, context);
}

int CDatabase::EditPaymentRecord(CPaymentRecord* payment, int isNew, const stDataToken* context)
{
    if (payment == nullptr) return 2;
    if (isNew == 1) {
        payment->m_nCode = GetNextKey(TABLE_PAYMENT);
        const char kind = context ? context->type : 0;
        const uint32_t person = context ? static_cast<uint32_t>(context->index1) : NO_CODE;
        switch (kind) {
        case 'P':
            payment->m_cType = 'P';
            payment->m_nField15 = GetDefaultAccount(param::kAccountPaymentsByStudio);
            break;
        case 'R':
            payment->m_cType = 'R';
            payment->m_nField15 = GetDefaultAccount(param::kAccountPayments);
            break;
        case 'c':
            payment->m_cType = 'c';
            if (person != NO_CODE) {
                payment->m_nPerson = person;
                std::string name;
                if (context->record) name = *static_cast<const std::string*>(context->record);
                else if (context->index2 != -1) GetPersonName(name, static_cast<uint32_t>(context->index2), 0);
                payment->m_sText = Format("Credit for referral of %s", name.c_str());
            }
            payment->m_cReceived = 'U';
            payment->m_dAmount = 0.0;
            payment->m_nField15 = GetDefaultAccount(param::kAccountCredits);
            break;
        case 'C':
            payment->m_cType = 'R';
            payment->m_nPerson = person;
            payment->m_nField15 = GetDefaultAccount(param::kAccountPayments);
            break;
        case 'q':
            payment->m_cType = 'q';
            if (const CPaymentRecord* refunded = static_cast<const CPaymentRecord*>(context->record)) {
                payment->m_nPerson = refunded->m_nPerson;
                payment->m_nField12 = refunded->m_nCode;
            }
            if (context->index2 != -1) payment->m_nReference = static_cast<uint32_t>(context->index2);
            payment->m_cReceived = 'R';
            payment->m_nField15 = GetDefaultAccount(param::kAccountRefunds);
            break;
        default:
            break;
        }
    }
    switch (payment->m_cType) {
    case 'P':
    case 'R':
    case 'c':
    case 'q':
        return Ui().EditItemDialog(*this, TABLE_PAYMENT, payment, isNew, context);
    default:
        return 2;
    }
}

int CDatabase::EditPurchaseRecord(CPurchaseRecord* purchase, int isNew, const stDataToken* context)
{
    if (purchase == nullptr) return 2;
    if (isNew == 1) {
        purchase->m_nCode = GetNextKey(TABLE_PURCHASE);
        if (context && context->type == 'R') purchase->m_nPerson = static_cast<uint32_t>(context->index1);
    }
    if (context && context->type == 'p') {
        // One scheduled payment of the purchase (the caller's copy, stored by the caller on OK).
        if (context->index1 < 0 || static_cast<size_t>(context->index1) >= purchase->m_Payments.size()) return 2;
        stPaymentEditRequest request;
        request.payment = purchase->m_Payments[static_cast<size_t>(context->index1)].get();
        request.purchase = purchase;
        return Ui().EditScheduledPayment(*this, request);
    }
    if (context && context->type == 'T') return EditTokenStatusOf(purchase, context->index1, context->index2, 0);
    // The purchase sheet.
    return Ui().EditItemDialog(*this, TABLE_PURCHASE, purchase, isNew, context);
}

int CDatabase::EditTokenStatusOf(CPurchaseRecord* purchase, int32_t itemIndex, int32_t tokenIndex, int save)
{
    if (itemIndex < 0 || static_cast<size_t>(itemIndex) >= purchase->m_Items.size()) return 2;
    const CPurchaseItem& item = *purchase->m_Items[static_cast<size_t>(itemIndex)];
    if (tokenIndex < 0 || static_cast<size_t>(tokenIndex) >= item.m_Tokens.size()) return 2;
    const CScheduleToken& token = *item.m_Tokens[static_cast<size_t>(tokenIndex)];
    std::string reason;
    if (token.IsKindTN() && purchase->IsItemBlocked(item, &reason) == 1 &&
        GetResponse(Format("%s\nEdit anyway?", reason.c_str()), MB_YESNO) != IDYES)
        return 2;
    CScheduleToken edited;
    edited.CopyFrom(token);
    const stDataToken where = MakeDataToken('T', 0.0, purchase, itemIndex, tokenIndex);
    const int result = Ui().EditTokenStatus(*this, edited, "Set schedule item status", &where);
    if (result == IDOK)
        SetTokenStatus(purchase, static_cast<uint32_t>(itemIndex), static_cast<uint32_t>(tokenIndex), edited, save);
    return result;
}

int CDatabase::EditPerson(CPerson* person, int isNew, const stDataToken* context)
{
    if (person == nullptr) return 2;
    if (isNew == 1) {
        person->m_nCode = GetNextKey(TABLE_PERSON);
        person->m_nSequence = static_cast<int32_t>(GetItemList(TABLE_PERSON)->size());
        if (context && context->type == 'e' && context->record)
            person->m_cType = *static_cast<const char*>(context->record);
        if (context && context->type == 'R' && context->record) {
            const CPerson* from = static_cast<const CPerson*>(context->record);
            person->m_cType = from->m_cType;
            person->m_sLastName = from->m_sLastName;
            person->m_sFirstName = from->m_sFirstName;
        }
    }
    // Employees have their own dialog.
    if (person->m_cType == 'E') {
        const stDataToken employee = MakeDataToken('E', 0.0, nullptr);
        return Ui().EditItemDialog(*this, TABLE_PERSON, person, isNew, &employee);
    }
    // One contact record of the person, edited on a copy that is written back on OK.
    if (context && (context->type == 'I' || context->type == 'D' || context->type == 'M' || context->type == 'N')) {
        if (context->index1 < 0 || static_cast<size_t>(context->index1) >= person->m_Interviews.size()) return 2;
        CInterview& interview = *person->m_Interviews[static_cast<size_t>(context->index1)];
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("CDatabase::EditPerson interview pointer %u, code %u\n",
                                  static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&interview)), person->m_nCode);
        CInterview copy;
        copy.CopyFrom(interview);
        const stDataToken contact = MakeDataToken('I', 0.0, &copy, context->index1);
        const int result = Ui().EditItemDialog(*this, TABLE_PERSON, person, isNew, &contact);
        if (result == 1) interview.CopyFrom(copy);
        return result;
    }
    if (IsNewCustomerRequest(context)) {
        person->m_cType = 'C';
        const stDataToken quick = MakeDataToken('c', 0.0, nullptr);
        return Ui().EditItemDialog(*this, TABLE_PERSON, person, isNew, &quick);
    }
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CDatabase::EditPerson pointer %u, code %u\n",
                              static_cast<uint32_t>(reinterpret_cast<uintptr_t>(person)), person->m_nCode);
    const stDataToken sheet = MakeDataToken('P', 0.0, nullptr);
    const int result = Ui().EditItemDialog(*this, TABLE_PERSON, person, isNew, &sheet);
    // Purchases may have been entered for a new person while the sheet was open.
    if (isNew == 1 && result == 2) RemovePersonFromPurchases(person->m_nCode);
    return result;
}

void CDatabase::ShowCategoryListDialog(char type, char block)
{
    Ui().ShowCategoryList(*this, type, block);
}

void CDatabase::ShowPackageListDialog()
{
    Ui().ShowPackageList(*this);
}

void CDatabase::ShowDefaultAccountsDialog()
{
    Ui().ShowDefaultAccounts(*this);
}
