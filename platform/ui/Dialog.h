#pragma once
// ui::Dialog: a dialog built from its template (DialogTemplate.h), modal (DoModal, with its own
// message loop) or modeless (Create). Program dialogs derive from it:
//
//   class CDialogPassword : public ui::Dialog {
//   public:
//       CDialogPassword(ui::Window* parent) : ui::Dialog(kPasswordTemplate, parent) {}
//       bool OnInitDialog() override;               // base: data exchange into the controls
//       void DoDataExchange(ui::DataExchange& dx) override;
//       bool OnCommand(int id, int code) override;  // call the base for what you do not handle
//   };
//
// Commands: a push button's click, Enter and Escape reach OnCommand(id, BN_CLICKED). The base
// OnCommand sends IDOK to OnOK and IDCANCEL to OnCancel. Enter clicks the focused push button,
// else the default button (the template's DefButton, else IDOK); Escape and the close box give
// IDCANCEL. PreTranslateMessage sees every key, character and mouse-button message of the dialog
// and its controls, and the messages posted to it, before they are handled.
//
// Notifications: clicked and selection-changed notifications come from the user's actions only,
// never from the program setting a control; EN_CHANGE follows every change of an edit's text,
// the program's own SetWindowText included.
//
// The screen window exists from DoModal's start (or Create) until EndDialog has returned from
// DoModal (or DestroyWindow); controls are reached by id only in between. The life hook
// (SetDialogLifeHook) runs exactly once at the creation and once at the destruction of every
// dialog's window, however often it is shown or hidden: the program takes and releases its
// database refresh hold there.

#include "platform/ui/DataExchange.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/Window.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace ui {

class Button;
class CheckBox;
class ComboBox;
class EditBox;
class Label;
class ListBox;
class MonthCalendar;
class ProgressBar;
class RadioButton;
class SpinButton;

class Dialog : public Window {
public:
    Dialog(const DialogTemplate& tmpl, Window* parent = nullptr);
    ~Dialog() override;

    const DialogTemplate& GetTemplate() const { return tmpl_; }
    int GetTemplateId() const { return tmpl_.id; }

    // Runs the dialog modally and returns the EndDialog result (IDCANCEL when the window could
    // not be made). Under a test's modal-dialog driver the dialog is built and initialised and
    // then handed to the next script instead of waiting for a person.
    virtual int DoModal();
    // Makes the window modeless and shows it; OnInitDialog runs first. False without an
    // application object.
    bool Create(Window* parent = nullptr);
    // Ends a modal dialog with `result` (or hides a modeless one; its owner destroys it).
    void EndDialog(int result);
    bool IsModal() const { return modal_; }
    bool HasEnded() const { return ended_; }
    int GetResult() const { return result_; }

    // Handlers.
    virtual bool OnInitDialog();  // base: UpdateData(false); return true to focus the first control
    virtual void DoDataExchange(DataExchange& dx);
    virtual void OnOK();          // base: UpdateData(true), then EndDialog(IDOK)
    virtual void OnCancel();      // base: EndDialog(IDCANCEL)
    bool OnCommand(int id, int code) override;
    void OnClose() override;      // IDCANCEL, as the close box

    // Data exchange in either direction; false when a value was refused (already reported).
    bool UpdateData(bool save = true);

    // Controls by id: null when there is no such control or it is of another kind.
    Window* GetDlgItem(int id) const;
    EditBox* Edit(int id) const;
    Label* Static(int id) const;
    Button* PushButton(int id) const;
    CheckBox* Check(int id) const;
    RadioButton* Radio(int id) const;
    ListBox* List(int id) const;
    ComboBox* Combo(int id) const;
    SpinButton* Spin(int id) const;
    ProgressBar* Progress(int id) const;
    MonthCalendar* Calendar(int id) const;
    // Hands control `id` to a program object of a derived control class (the framework's
    // SubclassDlgItem): `control` becomes the control from now on and keeps its contents. Its
    // class may draw the control (OnPaint) and take its mouse, key and focus messages (Window.h);
    // the notifications it sends are offered to it first (OnNotifyReflect).
    bool SubclassDlgItem(int id, Window& control);

    // Win32's dialog helpers.
    void SetDlgItemText(int id, const std::string& text);
    std::string GetDlgItemText(int id) const;
    void SetDlgItemInt(int id, int value);
    int GetDlgItemInt(int id, bool* ok = nullptr) const;
    void CheckDlgButton(int id, int check);
    int IsDlgButtonChecked(int id) const;
    // Checks `id` and clears every other radio button from first to last.
    void CheckRadioButton(int first, int last, int id);
    void EnableDlgItem(int id, bool enable);
    void ShowDlgItem(int id, bool show);
    void GotoDlgCtrl(int id);
    // The control id with the focus, 0 when none.
    int GetFocusId() const;
    // The default button's id (the template's DefButton, else IDOK); changeable at run time.
    int GetDefID() const { return defId_; }
    void SetDefID(int id);

    // The dialog keyboard step, for tests and for program key handlers that forward a key:
    // Enter, Escape; other keys go to the focused control. True when it was used.
    bool HandleDialogKey(int vk);

protected:
    // Builds the window and its controls from the template (before OnInitDialog). Derived layer
    // classes (property sheets) may build differently.
    virtual bool BuildWindow(Window* parent);

private:
    friend class PropertySheet;
    friend class PropertyPage;
    friend struct DialogAccess;
    void DestroyDialogWindow();
    void BuildControls(QWidget* host);

    DialogTemplate tmpl_;
    std::map<int, Window*> controls_;
    std::vector<std::unique_ptr<Window>> owned_;
    bool modal_ = false;
    bool ended_ = false;
    bool created_ = false;
    int result_ = IDCANCEL;
    int defId_ = IDOK;
    void* loop_ = nullptr;  // the running modal loop
};

// Runs once when any dialog's window is made (created = true) and once when it is destroyed.
using DialogLifeHook = std::function<void(Dialog& dialog, bool created)>;
void SetDialogLifeHook(DialogLifeHook hook);

}  // namespace ui
