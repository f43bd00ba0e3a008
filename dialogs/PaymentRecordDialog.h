#pragma once
// CPaymentRecordDialog: what the dialogs that edit one payment record in place share. The start-up
// ends the dialog with Cancel when it has no record or database, attaches the combo boxes, holds
// the refresh and shows the record's stamp line; the combo boxes show codes (an account, a tax
// category, a person); the snapshot taken at the end of the start-up is put back on Cancel, so
// that nothing of the run survives it (not the stores of a failed check, not those of a print).

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <utility>

#include "dialogs/RefreshHoldDialog.h"
#include "widgets/ComboMenu.h"

class CPaymentRecordDialog : public CRefreshHoldDialog {
public:
    using CRefreshHoldDialog::CRefreshHoldDialog;

    // Puts the record back as the start-up found it and ends with IDCANCEL.
    void OnCancel() override;

protected:
    struct stComboAt {
        int id;
        CComboMenu* combo;
    };
    // The shared start-up; false when the dialog ended (no record or no database).
    template <class Record>
    bool BeginRecord(const Record* record, std::initializer_list<stComboAt> combos, int stampsId)
    {
        if (record == nullptr || m_pDatabase == nullptr) {
            EndDialog(ui::IDCANCEL);
            return false;
        }
        for (const stComboAt& c : combos) SubclassDlgItem(c.id, *c.combo);
        CRefreshHoldDialog::OnInitDialog();
        ShowStamps(stampsId, record->m_cStamp1User, record->m_dStamp1Date, record->m_cStamp2User, record->m_dStamp2Date);
        return true;
    }
    // Copies the record into `snapshot`; Cancel copies it back.
    template <class Record>
    void KeepSnapshot(Record& record, Record& snapshot)
    {
        snapshot.CopyFrom(record);
        m_fnRestore = [&record, &snapshot]() { record.CopyFrom(snapshot); };
    }
    // The categories of `kind` with `code` selected (kept when the list lacks it).
    void ShowCategoryCode(CComboMenu& combo, char kind, uint32_t code);
    // The persons of `kind` with `code` selected (kept when the list lacks it).
    void ShowPersonCode(CComboMenu& combo, char kind, uint32_t code);

private:
    void ShowStamps(int id, uint8_t user1, double date1, uint8_t user2, double date2);

    std::function<void()> m_fnRestore;
};
