#pragma once
// "Added user list" (template 220): the registered users with their on-line state and the
// computers of the LAN link; the master user (level 10) adds, deletes and edits users here, and
// the computer list can be rebuilt.

#include "platform/ui/Dialog.h"

class CDatabase;

class CDialogUserList : public ui::Dialog {
public:
    explicit CDialogUserList(CDatabase* database, ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    bool PreTranslateMessage(const ui::Msg& msg) override;

    void FillUserList();
    void FillComputerList();

private:
    // The user code of the selected line, -1 when none.
    int SelectedUserCode();
    void OnResetComputerList();
    // Edits the lines of the computer list file; OK writes them back.
    void OnEditComputerList();

    CDatabase* m_pDatabase;
};
