#include "dialogs/DatabaseDialogs.h"

#include "common/QuestionBox.h"
#include "database/Database.h"
#include "database/MoneyRequests.h"
#include "dialogs/DialogAddCategory.h"
#include "dialogs/DialogAddCategoryAccount.h"
#include "dialogs/DialogAddPerson.h"
#include "dialogs/DialogAddUser.h"
#include "dialogs/DialogAutoCheckIn.h"
#include "dialogs/DialogCategoryList.h"
#include "dialogs/DialogConfigure.h"
#include "dialogs/DialogDefaultAccounts.h"
#include "dialogs/DialogEditScheduledPayment.h"
#include "dialogs/DialogFormat.h"
#include "dialogs/DialogGetDate.h"
#include "dialogs/DialogGetPurgeDates.h"
#include "dialogs/DialogAddPerson.h"
#include "dialogs/DialogContact.h"
#include "dialogs/DialogNewCustomer.h"
#include "dialogs/DialogTeacherData.h"
#include "dialogs/PropertySheetPerson.h"
#include "dialogs/DialogPackageEdit.h"
#include "dialogs/DialogPackageList.h"
#include "dialogs/DialogPageLayout.h"
#include "dialogs/DialogPassword.h"
#include "dialogs/DialogPasswordSwitchUser.h"
#include "dialogs/DialogPaymentEdit.h"
#include "dialogs/DialogPricelist.h"
#include "dialogs/DialogPricelistItem.h"
#include "dialogs/DialogPricelistStudioItem.h"
#include "dialogs/DialogReceivedPayment.h"
#include "dialogs/DialogRefund.h"
#include "dialogs/DialogScheduleEdit.h"
#include "dialogs/DialogScheduledPurchase.h"
#include "dialogs/DialogSelfCheckinSelect.h"
#include "dialogs/DialogSetStatus.h"
#include "dialogs/DialogSignIn.h"
#include "dialogs/DialogShoppingCart.h"
#include "dialogs/DialogStudioCredit.h"
#include "dialogs/DialogUserList.h"
#include "dialogs/PropertySheetPurchase.h"

bool CDatabaseDialogs::AskPassword(const std::string& databaseTitle, std::string& password)
{
    CDialogPassword dialog(DialogParent());
    dialog.m_strUserName = databaseTitle;
    if (dialog.DoModal() != IDOK) return false;
    password = dialog.m_strPassword;
    return true;
}

bool CDatabaseDialogs::SwitchUser(CDatabase& database)
{
    CDialogPasswordSwitchUser dialog(&database, DialogParent());
    dialog.DoModal();
    return dialog.HasSwitched();
}

void CDatabaseDialogs::EditUserList(CDatabase& database)
{
    CDialogUserList dialog(&database, DialogParent());
    dialog.DoModal();
}

bool CDatabaseDialogs::EditUserEntry(CDatabase& database, stUserRegData& entry, int fixedLevel)
{
    CDialogAddUser dialog(&database, DialogParent());
    dialog.m_pEntry = &entry;
    dialog.m_nFixedLevel = fixedLevel;
    return dialog.DoModal() == IDOK;
}

bool CDatabaseDialogs::GetPurgeDates(CDatabase& database, DATE& initialOnly, DATE& others)
{
    CDialogGetPurgeDates dialog(&database, DialogParent());
    if (dialog.DoModal() != IDOK) return false;
    initialOnly = dialog.m_dNoActivities;
    others = dialog.m_dWithActivities;
    return true;
}

int CDatabaseDialogs::EditItemDialog(CDatabase& database, uint8_t table, void* item, int isNew,
                                     const stDataToken* context)
{
    switch (table) {
    case TABLE_CATEGORY: {
        CCategory* category = static_cast<CCategory*>(item);
        if (category->m_cType == 'A') {
            CDialogAddCategoryAccount dialog(&database, DialogParent());
            dialog.m_pCategory = category;
            return dialog.DoModal();
        }
        CDialogAddCategory dialog(&database, DialogParent());
        dialog.m_pCategory = category;
        return dialog.DoModal();
    }
    case TABLE_PACKAGE: {
        CDialogPackageEdit dialog(&database, DialogParent());
        dialog.m_pPackage = static_cast<CPackageRecord*>(item);
        return dialog.DoModal();
    }
    case TABLE_PAYMENT: {
        CPaymentRecord* payment = static_cast<CPaymentRecord*>(item);
        switch (payment->m_cType) {
        case 'P': {
            CDialogPaymentEdit dialog(&database, DialogParent());
            dialog.m_pPayment = payment;
            return dialog.DoModal();
        }
        case 'R': {
            CDialogReceivedPayment dialog(&database, DialogParent());
            dialog.m_pPayment = payment;
            return dialog.DoModal();
        }
        case 'q': {
            CDialogRefund dialog(&database, DialogParent());
            dialog.m_pPayment = payment;
            return dialog.DoModal();
        }
        case 'c': {
            CDialogStudioCredit dialog(&database, payment, DialogParent());
            return dialog.DoModal();
        }
        default:
            return 2;
        }
    }
    case TABLE_PURCHASE: {
        // A lesson's status ('T') has its own dialog.
        if (context && context->type == 'T') return 2;
        CPurchaseRecord* purchase = static_cast<CPurchaseRecord*>(item);
        CPerson* person = static_cast<CPerson*>(database.GetItem(TABLE_PERSON, purchase->m_nPerson));
        CPropertySheetPurchase sheet("Purchase", DialogParent(), 0, &database, purchase, person);
        return sheet.DoModal() == IDOK ? 1 : 2;
    }
    case TABLE_PERSON: {
        // The editor the database chose: the short form ('c'), the employee dialog ('E'), one
        // contact record ('I', the record to edit) or the person sheet.
        CPerson* person = static_cast<CPerson*>(item);
        const char kind = context ? context->type : 'P';
        if (kind == 'c') {
            CDialogNewCustomer dialog(&database, DialogParent());
            dialog.m_pPerson = person;
            return dialog.DoModal();
        }
        if (kind == 'E') {
            CDialogTeacherData dialog(&database, person, DialogParent());
            return dialog.DoModal() == IDOK ? 1 : 2;
        }
        if (kind == 'I') {
            CDialogContact dialog(&database, DialogParent());
            dialog.m_pInterview = static_cast<CInterview*>(context->record);
            return dialog.DoModal() == IDOK ? 1 : 2;
        }
        CPropertySheetPerson sheet("Person data", DialogParent(), 0, &database, person, isNew == 1 ? 1 : 0);
        sheet.m_bNewPerson = isNew == 1;
        return sheet.DoModal() == IDOK ? 1 : 2;
    }
    case TABLE_PRICELIST: {
        auto* entry = static_cast<CPriceListItem*>(item);
        if (entry->m_cKind == 's') {
            CDialogPricelistStudioItem dialog(&database, DialogParent());
            dialog.m_pItem = entry;
            return dialog.DoModal() == IDOK ? 1 : 2;
        }
        CDialogPricelistItem dialog(&database, DialogParent());
        dialog.m_pItem = entry;
        return dialog.DoModal() == IDOK ? 1 : 2;
    }
    case TABLE_SCHEDULE: {
        auto* record = static_cast<CScheduleRecord*>(item);
        if (record->m_cKind == 'S') {
            CDialogScheduledPurchase dialog(&database, DialogParent());
            dialog.m_pRecord = record;
            return dialog.DoModal() == IDOK ? 1 : 2;
        }
        CDialogScheduleEdit dialog(&database, DialogParent());
        dialog.m_pRecord = record;
        return dialog.DoModal() == IDOK ? 1 : 2;
    }
    default:
        return 2;
    }
}

int CDatabaseDialogs::EditTokenStatus(CDatabase& database, CScheduleToken& token, const std::string& caption,
                                      const stDataToken* where)
{
    CDialogSetStatus dialog(&database, &token, DialogParent());
    dialog.m_strCaption = caption;
    if (where && where->type == 'T')
        dialog.SetPurchase(static_cast<const CPurchaseRecord*>(where->record), where->index1, where->index2);
    return dialog.DoModal();
}

void CDatabaseDialogs::RunSignIn(CDatabase& database, CPerson& student)
{
    CDialogSignIn dialog(&database, DialogParent());
    dialog.m_pStudent = &student;
    dialog.DoModal();
}

int CDatabaseDialogs::RunSelfCheckIn(CDatabase& database, CPerson& student, std::string& notice)
{
    CDialogSelfCheckinSelect dialog(&database, DialogParent());
    dialog.m_pStudent = &student;
    const int offered = dialog.GetActivityTokens();
    if (offered == 0) return 0;
    dialog.DoModal();
    notice = dialog.m_strPaymentNotice;
    return offered;
}

void CDatabaseDialogs::ShowAutoCheckIn(CDatabase& database)
{
    CDialogAutoCheckIn dialog(&database, DialogParent());
    dialog.DoModal();
}

int32_t CDatabaseDialogs::AddOrSelectPerson(CDatabase& database, std::string& first, std::string& last)
{
    CDialogAddPerson dialog(&database, DialogParent());
    const int result = dialog.DoModal();
    first = dialog.m_strFirstName;
    last = dialog.m_strLastName;
    return result;
}

int CDatabaseDialogs::EditScheduledPayment(CDatabase& database, stPaymentEditRequest& request)
{
    CDialogEditScheduledPayment dialog(&database, DialogParent());
    dialog.m_pPayment = request.payment;
    dialog.m_pPurchase = request.purchase;
    dialog.m_pExtraPerson = request.extraPerson;
    dialog.m_nCreditAllowed = request.creditAllowed;
    dialog.m_pLedger = request.ledger;
    const int result = dialog.DoModal();
    if (result == IDOK) {
        request.newCredits = std::move(dialog.m_aNewCredits);
        request.creditApplied = dialog.m_bCreditApplied;
    }
    return result;
}

bool CDatabaseDialogs::RunShoppingCart(CDatabase& database, stShoppingCart& cart)
{
    CDialogShoppingCart dialog(&database, DialogParent());
    if (dialog.DoModal() != IDOK) return false;
    cart.nPerson = dialog.m_nPerson;
    cart.aItems = dialog.m_aCodes;
    cart.dTotal = dialog.m_dTotal;
    cart.cType = 'R';
    cart.cMethod = dialog.m_cType;
    cart.sMethodText = dialog.m_strID;
    cart.nAccount = dialog.m_nAccount;
    cart.cStatus = dialog.m_cStatus;
    cart.dDate = dialog.m_dDate;
    cart.nReceipt = dialog.m_nReceipt;
    return true;
}

bool CDatabaseDialogs::AskDate(CDatabase& database, DATE& date)
{
    CDialogGetDate dialog(&database, DialogParent());
    dialog.m_dDate = date;
    if (dialog.DoModal() != IDOK) return false;
    date = dialog.m_dDate;
    return true;
}

void CDatabaseDialogs::ShowCategoryList(CDatabase& database, char type, char block)
{
    CDialogCategoryList dialog(&database, DialogParent());
    dialog.m_cType = type;
    dialog.m_cBlock = block;
    dialog.DoModal();
}

void CDatabaseDialogs::ShowPackageList(CDatabase& database)
{
    CDialogPackageList dialog(&database, DialogParent());
    dialog.DoModal();
}

void CDatabaseDialogs::ShowDefaultAccounts(CDatabase& database)
{
    CDialogDefaultAccounts dialog(&database, DialogParent());
    dialog.DoModal();
}

int CDatabaseDialogs::EditConfiguration(CDatabase& database)
{
    CDialogConfigure dialog(&database, DialogParent());
    dialog.m_pAppValues = m_pAppValues;
    return dialog.DoModal() == IDOK ? 1 : 2;
}

int CDatabaseDialogs::EditFormat(CDatabase& database, stFormatRecord& format, const std::string& title,
                                 int value1, int value2)
{
    CDialogFormat dialog(&database, DialogParent());
    dialog.m_strTitle = title;
    dialog.m_pFormat = &format;
    dialog.m_bTabsEditable = value1;
    dialog.m_bTabCountChangeable = value2;
    return dialog.DoModal() == IDOK ? 1 : 2;
}

int CDatabaseDialogs::EditPageLayout(CDatabase& database, stPageLayout& layout, const std::string&)
{
    CDialogPageLayout dialog(&database, DialogParent());
    dialog.m_pLayout = &layout;
    return dialog.DoModal() == IDOK ? 1 : 2;
}

void CDatabaseDialogs::TableRefreshed(uint8_t table)
{
    if (table == TABLE_PRICELIST || table == 0xFF)
        if (CDialogPricelist* open = CDialogPricelist::Open()) open->FillList();
}

CDatabaseDialogs& CDatabaseDialogs::Instance()
{
    static CDatabaseDialogs instance;
    return instance;
}
