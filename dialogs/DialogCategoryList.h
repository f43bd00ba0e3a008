#pragma once
// The categories of one type (or of all types), with Add, Edit and Delete through the database.
// The caller sets the type filter (0: all) and the block filter (a first parameter byte, 0: any).

#include <cstdint>

#include "dialogs/RefreshHoldDialog.h"

class CDialogCategoryList : public CRefreshHoldDialog {
public:
    explicit CDialogCategoryList(CDatabase* database, ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    void FillList();

    char m_cType = 0;
    char m_cBlock = 0;
};
