#include "dialogs/DialogStudioData.h"

#include "widgets/ControlHelpers.h"

namespace {

constexpr int kIdOk = 1000;
constexpr uint32_t kHelpContext = 0x20000 + 149;
constexpr int kIds[12] = {1362, 1363, 1029, 1031, 1033, 1036, 1037, 1038, 1043, 1045, 1046, 1387};

const ui::DialogTemplate kStudioDataTemplate{149, "Studio data", 0, 0, {
    {ui::Ctl::Label, -1, "Name"},
    {ui::Ctl::Edit, 1362, ""},
    {ui::Ctl::Label, -1, "Code"},
    {ui::Ctl::Edit, 1363, ""},
    {ui::Ctl::Label, -1, "Address 1"},
    {ui::Ctl::Edit, 1029, ""},
    {ui::Ctl::Label, -1, "Address 2"},
    {ui::Ctl::Edit, 1031, ""},
    {ui::Ctl::Label, -1, "City"},
    {ui::Ctl::Edit, 1033, ""},
    {ui::Ctl::Label, -1, "State"},
    {ui::Ctl::Edit, 1036, ""},
    {ui::Ctl::Label, -1, "ZIP"},
    {ui::Ctl::Edit, 1037, ""},
    {ui::Ctl::Label, -1, "Phone"},
    {ui::Ctl::Edit, 1038, ""},
    {ui::Ctl::Label, -1, "FAX"},
    {ui::Ctl::Edit, 1043, ""},
    {ui::Ctl::Label, -1, "Email"},
    {ui::Ctl::Edit, 1045, ""},
    {ui::Ctl::Label, -1, "Country"},
    {ui::Ctl::Edit, 1046, ""},
    {ui::Ctl::Label, -1, "Email for reports"},
    {ui::Ctl::Edit, 1387, ""},
    {ui::Ctl::DefButton, kIdOk, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

}  // namespace

CDialogStudioData::CDialogStudioData(CDatabase* database, ui::Window* parent)
    : ui::Dialog(kStudioDataTemplate, parent), m_pDB(database)
{
}

void CDialogStudioData::DoDataExchange(ui::DataExchange& dx)
{
    for (int i = 0; i < 12; ++i) dx.Text(kIds[i], m_aValues[i]);
}

bool CDialogStudioData::OnInitDialog()
{
    std::string* caller[12] = {&m_strName,  &m_strCode, &m_strAddress1, &m_strAddress2,
                               &m_strCity,  &m_strState, &m_strZip,     &m_strPhone,
                               &m_strFax,   &m_strEmail, &m_strCountry, &m_strReportEmail};
    for (int i = 0; i < 12; ++i) m_aValues[i] = *caller[i];
    return ui::Dialog::OnInitDialog();
}

void CDialogStudioData::OnOK()
{
    if (!UpdateData(true)) return;
    std::string* caller[12] = {&m_strName,  &m_strCode, &m_strAddress1, &m_strAddress2,
                               &m_strCity,  &m_strState, &m_strZip,     &m_strPhone,
                               &m_strFax,   &m_strEmail, &m_strCountry, &m_strReportEmail};
    for (int i = 0; i < 12; ++i) *caller[i] = m_aValues[i];
    EndDialog(ui::IDOK);
}

bool CDialogStudioData::OnCommand(int id, int code)
{
    if (id == kIdOk) {
        if (code == ui::BN_CLICKED) OnOK();
        return true;
    }
    return ui::Dialog::OnCommand(id, code);
}

bool CDialogStudioData::PreTranslateMessage(const ui::Msg& msg)
{
    if (HandleHelpKey(msg, kHelpContext)) return true;
    return ui::Dialog::PreTranslateMessage(msg);
}
