#include "database/DatabaseUi.h"

#include "common/QuestionBox.h"
#include "database/UserRegData.h"
#include "widgets/ControlHelpers.h"
#include "widgets/DialogSelectOne.h"

namespace {

IDatabaseUi g_defaults;
IDatabaseUi* g_default = nullptr;

}  // namespace

bool IDatabaseUi::AskPassword(const std::string&, std::string&) { return false; }
bool IDatabaseUi::SwitchUser(CDatabase&) { return false; }
void IDatabaseUi::EditUserList(CDatabase&) {}
bool IDatabaseUi::EditUserEntry(CDatabase&, stUserRegData&, int) { return false; }

int32_t IDatabaseUi::SelectOne(const std::string& title,
                               const std::vector<std::pair<uint32_t, std::string>>& items)
{
    CDialogSelectOne dialog(title, -1);
    for (const auto& [data, text] : items) dialog.AddItem(data, text);
    if (dialog.DoModal() != IDOK) return -1;
    return dialog.GetSelectedData();
}

int IDatabaseUi::EditItemDialog(CDatabase&, uint8_t, void*, int, const stDataToken*) { return 2; }
int32_t IDatabaseUi::AddOrSelectPerson(CDatabase&, std::string&, std::string&) { return -1; }
int IDatabaseUi::EditScheduledPayment(CDatabase&, stPaymentEditRequest&) { return 2; }
bool IDatabaseUi::RunShoppingCart(CDatabase&, stShoppingCart&) { return false; }
bool IDatabaseUi::AskDate(CDatabase&, DATE&) { return false; }
void IDatabaseUi::ShowCategoryList(CDatabase&, char, char) {}
void IDatabaseUi::ShowPackageList(CDatabase&) {}
void IDatabaseUi::ShowDefaultAccounts(CDatabase&) {}
int IDatabaseUi::EditConfiguration(CDatabase&) { return 2; }
int IDatabaseUi::EditFormat(CDatabase&, stFormatRecord&, const std::string&, int, int) { return 2; }
int IDatabaseUi::EditPageLayout(CDatabase&, stPageLayout&, const std::string&) { return 2; }
int IDatabaseUi::EditTokenStatus(CDatabase&, CScheduleToken&, const std::string&, const stDataToken*) { return 2; }
void IDatabaseUi::RunSignIn(CDatabase&, CPerson&) {}
int IDatabaseUi::RunSelfCheckIn(CDatabase&, CPerson&, std::string&) { return 0; }
void IDatabaseUi::ShowAutoCheckIn(CDatabase&) {}
void IDatabaseUi::ShowBalanceSheet(CDatabase&, uint32_t) {}
bool IDatabaseUi::GetPurgeDates(CDatabase&, DATE&, DATE&) { return false; }
void IDatabaseUi::BackupDatabase(CDatabase&) {}

void IDatabaseUi::ShowReport(const std::string& title, const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    ShowMyMessageBox(title, text, 0, 0);
}

void IDatabaseUi::ShowUsers(uint32_t, bool) {}
void IDatabaseUi::TableRefreshed(uint8_t) {}
int IDatabaseUi::GetBackupGenerations() { return 1; }

void SetDefaultDatabaseUi(IDatabaseUi* ui) { g_default = ui; }
IDatabaseUi& GetDefaultDatabaseUi() { return g_default ? *g_default : g_defaults; }
