#include "dialogs/DatabaseDialogs.h"

#include "common/QuestionBox.h"
#include "dialogs/DialogAddUser.h"
#include "dialogs/DialogConfigure.h"
#include "dialogs/DialogFormat.h"
#include "dialogs/DialogPageLayout.h"
#include "dialogs/DialogPricelist.h"
#include "dialogs/DialogPricelistItem.h"
#include "dialogs/DialogPricelistStudioItem.h"
#include "dialogs/DialogScheduleEdit.h"
#include "dialogs/DialogScheduledPurchase.h"
#include "database/Database.h"
#include "dialogs/DialogGetPurgeDates.h"
#include "dialogs/DialogPassword.h"
#include "dialogs/DialogPasswordSwitchUser.h"
#include "dialogs/DialogUserList.h"

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
                                     const uint8_t* context)
{
    if (table == TABLE_PRICELIST && item != nullptr) {
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
    if (table != TABLE_SCHEDULE || item == nullptr)
        return IDatabaseUi::EditItemDialog(database, table, item, isNew, context);
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
