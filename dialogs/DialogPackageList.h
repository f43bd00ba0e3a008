#pragma once
// The packages in table order, with add, edit, cut, copy, paste and moves; every change goes
// through the database at once.

#include "dialogs/RefreshHoldDialog.h"
#include "records/PackageRecord.h"

class CDialogPackageList : public CRefreshHoldDialog {
public:
    explicit CDialogPackageList(CDatabase* database, ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    bool PreTranslateMessage(const ui::Msg& msg) override;
    void LoadListbox();

    CPackageRecord m_CopyBuffer;
    int m_nBufferFull = 0;
    int m_nSelectAfterLoad = -1;

private:
    // The selected line's position, or -1 after "No item selected".
    int SelectedOrSay();
    void Add();
    void Edit();
    void Cut();
    void Copy();
    void Paste();
    void Move(int step);
};
