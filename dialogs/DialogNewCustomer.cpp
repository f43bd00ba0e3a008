#include "dialogs/DialogNewCustomer.h"

#include "platform/ui/DataExchange.h"
#include "records/Person.h"

namespace {

constexpr int kIdOk = 1000;
constexpr int kEditIds[9] = {1023, 1024, 1029, 1031, 1033, 1036, 1037, 1038, 1045};

const ui::DialogTemplate kNewCustomerTemplate{308, "Person data", 271, 129, {
    {ui::Ctl::Label, -1, "Last name"},
    {ui::Ctl::Edit, 1023, ""},
    {ui::Ctl::Label, -1, "First name"},
    {ui::Ctl::Edit, 1024, ""},
    {ui::Ctl::Label, -1, "Address line 1"},
    {ui::Ctl::Edit, 1029, ""},
    {ui::Ctl::Label, -1, "Address line 2"},
    {ui::Ctl::Edit, 1031, ""},
    {ui::Ctl::Label, -1, "City"},
    {ui::Ctl::Edit, 1033, ""},
    {ui::Ctl::Label, -1, "State"},
    {ui::Ctl::Edit, 1036, ""},
    {ui::Ctl::Label, -1, "ZIP"},
    {ui::Ctl::Edit, 1037, ""},
    {ui::Ctl::Label, -1, "Home\nPhone"},
    {ui::Ctl::Edit, 1038, ""},
    {ui::Ctl::Label, -1, "Email"},
    {ui::Ctl::Edit, 1045, ""},
    {ui::Ctl::DefButton, kIdOk, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

// The nine fields of the form, in the order of its edits.
std::string* Field(CPerson& p, int i)
{
    std::string* fields[9] = {&p.m_sLastName, &p.m_sFirstName, &p.m_sAddress1, &p.m_sAddress2, &p.m_sCity,
                              &p.m_sState,    &p.m_sZip,       &p.m_sPhone1,   &p.m_sEmail};
    return fields[i];
}

}  // namespace

CDialogNewCustomer::CDialogNewCustomer(CDatabase* database, ui::Window* parent)
    : CRefreshHoldDialog(kNewCustomerTemplate, parent, database, "CDialogNewCustomer", kIdOk)
{
}

bool CDialogNewCustomer::OnInitDialog()
{
    if (m_pPerson)
        for (int i = 0; i < 9; ++i) m_aTexts[i] = *Field(*m_pPerson, i);
    return CRefreshHoldDialog::OnInitDialog();
}

void CDialogNewCustomer::DoDataExchange(ui::DataExchange& dx)
{
    for (int i = 0; i < 9; ++i) dx.Text(kEditIds[i], m_aTexts[i]);
}

bool CDialogNewCustomer::OnCommand(int id, int code)
{
    if (id == kIdOk && code == ui::BN_CLICKED) {
        OnOkButton();
        return true;
    }
    return CRefreshHoldDialog::OnCommand(id, code);
}

void CDialogNewCustomer::OnOkButton()
{
    if (!UpdateData(true)) return;
    if (m_pPerson)
        for (int i = 0; i < 9; ++i) *Field(*m_pPerson, i) = m_aTexts[i];
    EndDialog(ui::IDOK);
}
