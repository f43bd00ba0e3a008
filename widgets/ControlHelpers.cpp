#include "widgets/ControlHelpers.h"

#include "widgets/DateTimeControl.h"
#include "common/QuestionBox.h"
#include "common/TextFormat.h"
#include "widgets/DialogMyMessageBox.h"
#include "widgets/DialogSetDateTime.h"
#include "platform/host/File.h"
#include "platform/host/Format.h"
#include "platform/host/Path.h"
#include "platform/host/Process.h"
#include "platform/ui/Button.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/EditBox.h"
#include "platform/ui/Font.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/RadioButton.h"
#include "platform/ui/SpinButton.h"

#include <algorithm>
#include <cctype>

std::string ListSearchText;

namespace {

std::string ToUpper(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The client point of a mouse message (Win32 packing: x low word, y high word, signed).
void PointOfMessage(const ui::Msg& msg, int& x, int& y)
{
    x = static_cast<int16_t>(msg.lParam & 0xFFFF);
    y = static_cast<int16_t>((msg.lParam >> 16) & 0xFFFF);
}

// Index in the template of control `id`, -1 when absent.
int TemplateIndexOf(const ui::DialogTemplate& tmpl, int id)
{
    for (size_t i = 0; i < tmpl.controls.size(); ++i) {
        if (tmpl.controls[i].id == id) return static_cast<int>(i);
    }
    return -1;
}

bool TakesFocus(ui::Ctl kind)
{
    return kind != ui::Ctl::Label && kind != ui::Ctl::GroupBox && kind != ui::Ctl::Frame &&
           kind != ui::Ctl::Spin && kind != ui::Ctl::Progress;
}

// Clears the other radio buttons of the template group that holds `id`.
void ClearRadioGroupBut(ui::Dialog& dialog, int id)
{
    const auto& controls = dialog.GetTemplate().controls;
    const int at = TemplateIndexOf(dialog.GetTemplate(), id);
    if (at < 0) return;
    int first = at;
    while (first > 0 && controls[first - 1].kind == ui::Ctl::Radio &&
           !(controls[first].style & ui::WS_GROUP))
        --first;
    for (size_t i = static_cast<size_t>(first); i < controls.size(); ++i) {
        if (controls[i].kind != ui::Ctl::Radio) break;
        if (static_cast<int>(i) != first && (controls[i].style & ui::WS_GROUP)) break;
        if (controls[i].id == id) continue;
        if (ui::RadioButton* other = dialog.Radio(controls[i].id)) other->SetCheck(0);
    }
}

}  // namespace

void AddRadioPair(RadioGroup& group, uint32_t id, uint8_t value)
{
    group.push_back(RadioPair{id, value});
}

void SetRadioGroup(ui::Dialog& dialog, const RadioGroup& group, uint8_t value)
{
    for (const RadioPair& pair : group)
        dialog.CheckDlgButton(static_cast<int>(pair.id), pair.value == value ? 1 : 0);
}

void GetRadioGroup(ui::Dialog& dialog, const RadioGroup& group, uint8_t& value)
{
    for (const RadioPair& pair : group) {
        if (dialog.IsDlgButtonChecked(static_cast<int>(pair.id)) == 1) value = pair.value;
    }
}

void AttachSpin(ui::Dialog& dialog, int editId, int spinId, uint32_t lower, int16_t upper)
{
    ui::SpinButton* spin = dialog.Spin(spinId);
    if (!spin) return;
    spin->SetBuddy(dialog.GetDlgItem(editId));
    if (lower != 0xFFFFFFFFu) spin->SetRange(static_cast<int>(lower), upper);
}

void CentreDateSpin(ui::Dialog& dialog, int spinId)
{
    if (ui::SpinButton* spin = dialog.Spin(spinId)) {
        spin->SetRange(0, 100);
        spin->SetPos(50);
    }
}

void StepDateBySpin(ui::Dialog& dialog, int spinId, CDateTime& control)
{
    ui::SpinButton* spin = dialog.Spin(spinId);
    if (!spin) return;
    const int pos = spin->GetPos();
    if (pos > 50) control.StepUp();
    else if (pos < 50) control.StepDown();
    spin->SetPos(50);
}

int ListItemFromPoint(const ui::ListBox& list, int x, int y)
{
    return list.ItemFromPoint(x, y);
}

void SelectListItemAtPoint(const ui::Msg& msg, ui::ListBox& list)
{
    int x = 0;
    int y = 0;
    PointOfMessage(msg, x, y);
    const int index = ListItemFromPoint(list, x, y);
    if (index >= 0) list.SetCurSel(index);
}

void SelectListItemAtPointMulti(const ui::Msg& msg, ui::ListBox& list)
{
    int x = 0;
    int y = 0;
    PointOfMessage(msg, x, y);
    const int index = ListItemFromPoint(list, x, y);
    if (index >= 0) list.SetSel(index, true);
    MakeListSelectionContiguous(list);
}

void MakeListSelectionContiguous(ui::ListBox& list)
{
    const std::vector<int> selected = list.GetSelItems();
    if (selected.empty()) return;
    const auto [low, high] = std::minmax_element(selected.begin(), selected.end());
    for (int i = *low; i <= *high; ++i) list.SetSel(i, true);
}

void FindNextInList(ui::ListBox& list, char mode)
{
    const int current = mode == 'S' ? list.GetCurSel() : list.GetCaretIndex();
    const int count = list.GetCount();
    int hit = -1;
    if (!ListSearchText.empty()) {
        for (int i = current < 0 ? 0 : current + 1; i < count; ++i) {
            if (ToUpper(list.GetText(i)).find(ListSearchText) != std::string::npos) {
                hit = i;
                break;
            }
        }
    }
    if (hit < 0) {
        GetResponse(Format("Not found:%s", ListSearchText.c_str()), MB_OK);
        return;
    }
    list.SetFocus();
    if (mode == 'S') {
        list.SetCurSel(hit);
    } else {
        if (list.GetSel(hit) <= 0) list.SetSel(hit, true);
        list.SetTopIndex(hit);
    }
}

void FillFontList(ui::Window& window, ui::ListBox& list, const std::string& current)
{
    (void)window;  // every window of the program is on the one screen
    for (const std::string& family : ui::GetFontFamilies()) list.AddString(family);
    for (int i = 0; i < list.GetCount(); ++i) {
        if (list.GetText(i) == current) {
            list.SetCurSel(i);
            return;
        }
    }
    GetResponse(Format("Currently selected font %s is not available on this computer.\n"
                       "Another font will be substituted.",
                       current.c_str()),
                MB_OK);
}

void TranslateEnterKey(ui::Dialog& dialog, ui::Msg& msg)
{
    if (msg.message != ui::WM_KEYDOWN || msg.wParam != static_cast<uintptr_t>(ui::VK_RETURN))
        return;
    const int focusId = dialog.GetFocusId();
    ui::Window* focus = focusId ? dialog.GetDlgItem(focusId) : nullptr;
    bool keepEnter = false;
    if (auto* check = dynamic_cast<ui::CheckBox*>(focus)) {
        check->SetCheck(check->GetCheck() ? 0 : 1);
    } else if (auto* radio = dynamic_cast<ui::RadioButton*>(focus)) {
        if (!radio->GetCheck()) {
            radio->SetCheck(1);
            ClearRadioGroupBut(dialog, focusId);
        }
    } else if (dynamic_cast<ui::Button*>(focus)) {
        keepEnter = true;
    } else if (auto* edit = dynamic_cast<ui::EditBox*>(focus)) {
        keepEnter = edit->IsMultiLine();
    }
    if (!keepEnter) msg.wParam = ui::VK_TAB;
}

bool MoveOnEnterKey(ui::Dialog& dialog, const ui::Msg& msg)
{
    if (msg.message != ui::WM_KEYDOWN || msg.wParam != static_cast<uintptr_t>(ui::VK_RETURN))
        return false;
    ui::Msg translated = msg;
    TranslateEnterKey(dialog, translated);
    if (translated.wParam != static_cast<uintptr_t>(ui::VK_TAB)) return false;
    GotoNextDlgCtrl(dialog);
    return true;
}

void GotoNextDlgCtrl(ui::Dialog& dialog)
{
    const auto& controls = dialog.GetTemplate().controls;
    const int n = static_cast<int>(controls.size());
    if (n == 0) return;
    const int at = TemplateIndexOf(dialog.GetTemplate(), dialog.GetFocusId());
    for (int step = 1; step <= n; ++step) {
        const ui::ControlTemplate& c = controls[static_cast<size_t>((at + step + n) % n)];
        if (c.id <= 0 || !TakesFocus(c.kind)) continue;
        ui::Window* w = dialog.GetDlgItem(c.id);
        if (!w || !w->IsWindowVisible() || !w->IsWindowEnabled()) continue;
        dialog.GotoDlgCtrl(c.id);
        return;
    }
}

bool BrowseForFile(const std::string& description, const std::string& pattern, std::string& path,
                   std::string& title, int mustExist)
{
    const std::string filter =
        Format("%s (%s)|%s||", description.c_str(), pattern.c_str(), pattern.c_str());
    std::string folder;
    const bool haveFolder = host::CurrentFolder(folder);
    // The layer's open dialog always asks for an existing file; a new name is the save dialog's.
    ui::FileDialog dialog(mustExist == 1, "", path, filter);
    const int result = dialog.DoModal();
    if (haveFolder) host::SetCurrentFolder(folder);
    if (result != ui::IDOK) return false;
    path = dialog.GetPathName();
    title = GetFileTitle(path);
    return true;
}

DATE PromptForDateTime(DATE date, const std::string& caption, int withTime)
{
    CDialogSetDateTime dialog(nullptr, withTime);
    dialog.m_date = date;
    dialog.m_strCaption = caption;
    if (dialog.DoModal() == ui::IDCANCEL) return 0.0;
    return dialog.m_date;
}

int ShowMyMessageBox(const std::string& title, const std::string& message, int yesNo,
                     int helpContext)
{
    CDialogMyMessageBox box(nullptr);
    box.m_strTitle = title;
    box.m_strMessage = message;
    box.m_nYesNo = yesNo;
    box.m_nHelpContext = helpContext;
    return box.DoModal();
}

void ShowHelpTopic(uint32_t context)
{
    (void)context;  // the help file is opened at its contents page
    const std::string helpFile = host::ExecutablePath() + ".hlp";
    if (host::FileExists(helpFile) && host::OpenWithDesktop(helpFile)) return;
    GetResponse(Format("Help file %s not found.", helpFile.c_str()), MB_OK);
}

std::string GetProgramExePath()
{
    return host::ExecutablePath();
}

bool HandleHelpKey(const ui::Msg& msg, uint32_t context)
{
    if (msg.message != ui::WM_KEYDOWN || msg.wParam != static_cast<uintptr_t>(ui::VK_F1))
        return false;
    ShowHelpTopic(context);
    return true;
}
