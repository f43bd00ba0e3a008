#include "dialogs/DialogAutoCheckIn.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

#include "common/Diagnostic.h"
#include "common/QuestionBox.h"
#include "database/Database.h"
#include "platform/host/File.h"
#include "platform/host/Format.h"
#include "platform/host/Text.h"

namespace {

constexpr int kIdEntry = 1396;
constexpr int kIdPrompt = 1427;
constexpr int kIdWelcome = 1409;
constexpr int kIdMessage = 1429;
constexpr int kMargin = 20;

const ui::DialogTemplate kAutoCheckInTemplate{151, "Student self check-in", 454, 201, {
    {ui::Ctl::Label, kIdWelcome, "Welcome", ui::SS_CENTER, 7, 7, 440, 60},
    {ui::Ctl::Label, kIdMessage, "Message", ui::SS_CENTER, 7, 72, 440, 90},
    {ui::Ctl::Label, kIdPrompt, "Please swipe card or type in membership number and press Enter key", 0, 7, 178, 300,
     12},
    {ui::Ctl::Edit, kIdEntry, "", ui::ES_PASSWORD, 317, 176, 130, 14},
    {ui::Ctl::DefButton, ui::IDOK, "OK", ui::WS_HIDDEN | ui::WS_DISABLED, 0, 0, 1, 1},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel", ui::WS_HIDDEN, 0, 0, 1, 1},
}};

std::string Trimmed(const std::string& text)
{
    size_t first = 0;
    size_t last = text.size();
    while (first < last && std::isspace(static_cast<unsigned char>(text[first]))) ++first;
    while (last > first && std::isspace(static_cast<unsigned char>(text[last - 1]))) --last;
    return text.substr(first, last - first);
}

bool IsDecimal(const std::string& text)
{
    return !text.empty() && text.size() < 10 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

ui::DCRect MakeRect(int left, int top, int width, int height)
{
    return ui::DCRect{left, top, left + width, top + height};
}

}  // namespace

CDialogAutoCheckIn::stLayout CDialogAutoCheckIn::ComputeLayout(const ui::DCRect& client, ui::DCSize prompt,
                                                               ui::DCSize entry, double percent, int logo)
{
    stLayout out;
    const int width = client.Width();
    const int height = client.Height();
    // The prompt and the entry box share the bottom line.
    const int line = height - entry.cy - kMargin;
    out.prompt = MakeRect(kMargin, line, prompt.cx, prompt.cy);
    out.entry = MakeRect(width - kMargin - entry.cx, line, entry.cx, entry.cy);
    // The message takes what the logo's share leaves of the height above that line.
    const int room = height - entry.cy - 2 * kMargin;
    int messageHeight = room;
    if (percent >= 100.0) messageHeight = 0;
    else if (percent > 0.0) messageHeight = static_cast<int>((1.0 - percent / 100.0) * room);
    if (messageHeight > 0) out.message = MakeRect(kMargin, room - messageHeight, width - 2 * kMargin, messageHeight);
    // Above it, less 40, the logo (or the logo text), ending 10 above the message.
    const int above = room - messageHeight - 2 * kMargin;
    if (above > 0) {
        const ui::DCRect area = MakeRect(kMargin, logo == 1 ? 30 : kMargin, width - 2 * kMargin, above);
        if (logo == 1) out.logo = area;
        else out.welcome = area;
    }
    return out;
}

CDialogAutoCheckIn::CDialogAutoCheckIn(CDatabase* database, ui::Window* parent)
    : ui::Dialog(kAutoCheckInTemplate, parent), m_pDatabase(database)
{
}

CDialogAutoCheckIn::~CDialogAutoCheckIn() = default;

bool CDialogAutoCheckIn::OnInitDialog()
{
    ui::Dialog::OnInitDialog();
    m_pWelcome = GetDlgItem(kIdWelcome);
    m_pMessage = GetDlgItem(kIdMessage);
    m_pPrompt = GetDlgItem(kIdPrompt);
    m_pEntry = GetDlgItem(kIdEntry);
    SubclassDlgItem(kIdWelcome, m_Welcome);
    SubclassDlgItem(kIdMessage, m_Message);
    m_pWelcome = &m_Welcome;
    m_pMessage = &m_Message;
    ui::Font font;
    font.face = "Arial Black";
    font.sizeTenths = 100;
    SetFont(font);
    const std::string& file = m_pDatabase->GetStudioStrings().sWelcomeLogoFile;
    m_bLogoPresent = !file.empty() && host::FileExists(file) ? 1 : 0;
    m_crBackground = m_pDatabase->m_Parameters.GetUInt(param::kCheckInBackground);
    SetBackgroundColor(m_crBackground);
    if (m_pPrompt) m_pPrompt->SetTextColor(ui::RGB(255, 0, 0));
    ShowMaximized();
    // The first paint follows the show: the layout runs after it (or at Tab, when that comes
    // first).
    PostMessage(MSG_AUTOCHECKIN_LAYOUT, 0, 0);
    if (m_pEntry) m_pEntry->SetFocus();
    return false;
}

void CDialogAutoCheckIn::ApplyLook(CLabel& label, uint32_t offset, const std::string& text)
{
    const stParameters& p = m_pDatabase->m_Parameters;
    label.SetWindowText(text);
    label.SetFontName("Arial")
        .SetFontSize(p.GetByte(offset))
        .SetTextColor(p.GetUInt(offset + 8))
        .SetBkColor(p.GetUInt(offset + 12))
        .SetFontUnderline(p.GetByte(offset + 5) != 0)
        .SetFontItalic(p.GetByte(offset + 2) != 0)
        .SetFontBold(p.GetByte(offset + 4) != 0)
        .SetBorder(p.GetByte(offset + 3) != 0)
        .SetSunken(p.GetByte(offset + 6) != 0)
        .FlashText(p.GetByte(offset + 1) != 0);
}

void CDialogAutoCheckIn::LayOut()
{
    if (m_bLaidOut) return;
    m_bLaidOut = 1;
    if (!m_pPrompt || !m_pEntry) return;
    const ui::DCRect prompt = m_pPrompt->GetWindowRect();
    const ui::DCRect entry = m_pEntry->GetWindowRect();
    const float percent = m_pDatabase->m_Parameters.GetFloat(param::kLogoPercent);
    m_Layout = ComputeLayout(GetClientRect(), {prompt.Width(), prompt.Height()}, {entry.Width(), entry.Height()},
                             percent, m_bLogoPresent);
    m_pPrompt->MoveWindow(m_Layout.prompt);
    m_pEntry->MoveWindow(m_Layout.entry);
    const stStudioStrings& strings = m_pDatabase->GetStudioStrings();
    if (m_bLogoPresent || m_Layout.welcome.Height() <= 0) {
        m_Welcome.ShowWindow(false);
    } else {
        m_Welcome.MoveWindow(m_Layout.welcome);
        ApplyLook(m_Welcome, param::kLogoTextLook, strings.sWelcomeLogoText);
    }
    if (m_Layout.message.Height() > 0) {
        m_Message.MoveWindow(m_Layout.message);
        ApplyLook(m_Message, param::kMessageTextLook, strings.sWelcomeMessage);
    } else {
        m_Message.ShowWindow(false);
    }
    if (m_bLogoPresent && m_Layout.logo.Height() > 0 && m_Logo.Create(this, m_Layout.logo)) {
        ui::DCSize box{m_Layout.logo.Width(), m_Layout.logo.Height()};
        m_Logo.m_Image.LoadPicture(&m_Logo, nullptr, strings.sWelcomeLogoFile, &box);
        m_Logo.ShowWindow(true);
    }
    if (m_bLogoPresent && DiagnosticLevel > 0)
        WriteDiagnosticFormat("CDialogAutoCheckIn::ShowLogo() width %i, height %i \n", m_Layout.logo.Width(),
                              m_Layout.logo.Height());
    Invalidate();
}

std::string CDialogAutoCheckIn::EntryText() const
{
    return m_pEntry ? Trimmed(m_pEntry->GetWindowText()) : std::string();
}

bool CDialogAutoCheckIn::IsUserPassword(const std::string& text) const
{
    for (const std::string& password : m_pDatabase->m_aUserPasswords)
        if (!password.empty() && host::EqualsNoCase(password, text)) return true;
    return false;
}

void CDialogAutoCheckIn::TakeEntry()
{
    const std::string text = EntryText();
    if (text.empty()) {
        GetResponse("Nothing entered in data entry box.", MB_OK);
        if (m_pEntry) m_pEntry->SetFocus();
        return;
    }
    if (IsUserPassword(text)) {
        EndDialog(ui::IDCANCEL);
        return;
    }
    CDatabase& db = *m_pDatabase;
    auto find = [&]() -> CPerson* {
        if (CPerson* person = db.FindPersonByCheckInCode(text)) return person;
        if (IsDecimal(text)) return static_cast<CPerson*>(db.GetItem(TABLE_PERSON, std::strtoul(text.c_str(), nullptr, 10)));
        return nullptr;
    };
    CPerson* person = find();
    if (!person) {
        // A student another desk has just added: this copy catches up before it gives up.
        db.LockAndRefreshDatabase("refresh", 0, 0, 1, 1);
        person = find();
    }
    if (!person) {
        GetResponse(Format("Code %s not recognized.", text.c_str()), MB_OK);
        if (m_pEntry) m_pEntry->SetFocus();
        return;
    }
    const std::string first = person->m_sFirstName;
    const std::string last = person->m_sLastName;
    if (db.RunSelfCheckIn(person) == 0)
        GetResponse(Format("Nothing scheduled today for %s %s.\nPlease check with receptionist.", first.c_str(),
                           last.c_str()),
                    MB_OK);
    if (m_pEntry) {
        m_pEntry->SetWindowText("");
        m_pEntry->SetFocus();
    }
}

void CDialogAutoCheckIn::OnCancel()
{
    const std::string text = EntryText();
    if (text.empty()) {
        GetResponse("Enter user password.", MB_OK);
        return;
    }
    if (IsUserPassword(text)) {
        EndDialog(ui::IDCANCEL);
        return;
    }
    GetResponse("Password not in list. Can not cancel.", MB_OK);
}

bool CDialogAutoCheckIn::PreTranslateMessage(const ui::Msg& msg)
{
    if (msg.message == MSG_AUTOCHECKIN_LAYOUT) {
        LayOut();
        return true;
    }
    if (msg.message == ui::WM_KEYDOWN) {
        switch (msg.wParam) {
        case ui::VK_TAB:
            LayOut();
            break;
        case ui::VK_RETURN:
        case ui::VK_SPACE:
            TakeEntry();
            return true;
        default:
            break;
        }
    }
    return ui::Dialog::PreTranslateMessage(msg);
}
