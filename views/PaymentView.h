#pragma once
// CPaymentView: the money movements of the studio (view 6, menu 109), one line each in date
// order: every payment record ('P') and every scheduled payment of a purchase in force ('p'),
// all of them or only what is due. New payments to and by the studio and credits, refunds of a
// received payment, editing and deleting, printing and the view's format.

#include "views/ScrollBase.h"
#include "views/ViewEntry.h"

#include <cstdint>
#include <vector>

class CPaymentView : public CScrollBase {
public:
    static constexpr int kMenuId = 109;
    static constexpr uint32_t kFormatIndex = 6;
    static constexpr uint32_t kModeDue = 0x7FFFFFFB;
    enum : int {
        kCmdMainView = 30036,
        kCmdFindFirst = 30046,
        kCmdFindRepeat = 30049,
        kCmdAll = 30042,
        kCmdDue = 32915,
        kCmdToStudio = 30045,
        kCmdByStudio = 32849,
        kCmdCredit = 32912,
        kCmdEdit = 30047,
        kCmdRefund = 32863,
        kCmdDelete = 30048,
        kCmdFormat = 30066,
        kCmdPrint = 30056,
        kCmdHelp = 57670,
    };

    CPaymentView();
    static void RegisterMenu();

    void ClearLines() override;
    void SetUpLines() override;
    void EditHighlighted() override;
    void DeleteHighlighted() override;
    stFormatRecord* GetLine(int index, char& mark, char& status, std::string& text) override;
    bool OnCommand(int id, int code) override;

    // Mode 0 all movements, kModeDue only what is due; nothing when the mode is set already.
    void SetMode(uint32_t mode);
    // A new payment of the request letter ('R' to the studio, 'P' by it, 'c' a credit).
    void AddPayment(char letter);
    // The refund of the highlighted received payment.
    void Refund();
    // True when the highlighted line is a payment received ('R' and 'R').
    bool IsReceivedPaymentHighlighted() const;
    // The highlighted entry with its record as the database has it now; false when none.
    bool GetHighlightedEntry(stDataToken& entry) const;

    uint32_t m_nViewMode = 0;
    std::vector<stViewEntry> m_aLines;

private:
    void InstallUpdaters();
};
