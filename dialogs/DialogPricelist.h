#pragma once
// "Price list items": every price-list item, the add buttons of the six kinds, edit, delete and
// the purge of studio classes whose dates are over. While Show runs it is the open price list
// that a refresh of table 8 fills again.

#include "platform/ui/Dialog.h"

class CDatabase;

class CDialogPricelist : public ui::Dialog {
public:
    explicit CDialogPricelist(CDatabase* database, ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    bool PreTranslateMessage(const ui::Msg& msg) override;
    void FillList();

    // Runs the dialog on the database as the open price list.
    static void Show(CDatabase& database, ui::Window* parent = nullptr);
    // The open price list (null when none).
    static CDialogPricelist* Open();

private:
    void AddItem(char kind);
    void EditItem();
    void DeleteItem();
    void PurgeOldClasses();

    CDatabase* m_pDB;
};
