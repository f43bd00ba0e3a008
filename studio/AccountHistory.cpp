// CDatabase: the payment line of a payment record or of a purchase's scheduled payment.

#include <cmath>

#include "common/TextFormat.h"
#include "database/Database.h"
#include "common/TextFormat.h"
#include "platform/host/Format.h"

namespace {

double RoundToCents(double amount)
{
    return std::round(amount * 100.0) / 100.0;
}

std::string FormatLink(uint32_t link)
{
    return link == NO_CODE ? std::string() : Format("%u", link);
}

}  // namespace

stPaymentData CDatabase::MakeAccountHistory(stDataToken entry)
{
    stPaymentData line;
    if (entry.type == 'P' && entry.record != nullptr) {
        const CPaymentRecord& payment = *static_cast<const CPaymentRecord*>(entry.record);
        line.dDate = payment.m_dDate;
        line.nPerson = static_cast<int32_t>(payment.m_nPerson);
        if (payment.m_nPerson != NO_CODE)
            GetPersonName(line.sName, payment.m_nPerson, 0);
        else
            line.sName = payment.m_sName;
        line.sDescription = payment.m_sText;
        line.sFor = FormatLink(payment.m_nReference);
        line.sReceipt = FormatPaymentRef(payment.m_nReference, payment.m_cMethod, payment.m_sMethodText);
        line.dAmount = payment.m_dAmount;
        line.dSignedAmount = payment.m_cType == 'R' ? payment.m_dAmount : -payment.m_dAmount;
        switch (payment.m_cType) {
        case 'P':
        case 'R':
            line.sType = payment.m_cType == 'P' ? "Payment by studio to" : "Non-purchase list payment from";
            line.sStatus = payment.m_cReceived == 'R'   ? "Paid"
                           : payment.m_cReceived == 'U' ? "Due, unscheduled"
                           : payment.m_cReceived == 'S' ? "Due, scheduled"
                                                        : "";
            break;
        case 'q':
            line.sType = "Non-purchase list refund to";
            line.sStatus = "Granted";
            break;
        case 'c':
            line.sType = "Credit due on purchase to";
            line.sStatus = "Unused";
            break;
        default: break;
        }
    } else if (entry.type == 'p' && entry.record != nullptr) {
        const CPurchaseRecord& purchase = *static_cast<const CPurchaseRecord*>(entry.record);
        if (entry.index1 < 0 || static_cast<size_t>(entry.index1) >= purchase.m_Payments.size()) return line;
        const CSchedulePayment& payment = *purchase.m_Payments[static_cast<size_t>(entry.index1)];
        line.dDate = payment.m_dDate;
        // A scheduled payment that names no payer is the purchase's payer's.
        const uint32_t payer = payment.m_nPayer != NO_CODE ? payment.m_nPayer : purchase.GetPayer();
        line.nPerson = static_cast<int32_t>(payer);
        if (payer != NO_CODE) GetPersonName(line.sName, payer, 1);
        line.sDescription = payment.m_sDescription;
        line.sFor = FormatLink(payment.m_nReference);
        // A discount's reference word is its percentage flag, not a receipt number.
        if (payment.m_cKind != 'd')
            line.sReceipt = FormatPaymentRef(payment.m_nReference, payment.m_cMethod, payment.m_sMethodText);
        line.dAmount = payment.m_dAmount;
        double sign = 1.0;
        switch (payment.m_cKind) {
        case 'U':
        case 'S':
        case 'R':
            line.sType = "Purchase list payment from";
            line.sStatus = payment.m_cKind == 'R' ? "Received" : "Due";
            break;
        case 'F':
            line.sType = "Purchase list refund to";
            line.sStatus = "Applied";
            sign = -1.0;
            break;
        case 'd':
            line.sType = "Discount to";
            line.sStatus = "Applied";
            sign = -1.0;
            // A link word of 0 makes the amount a percentage of the total before reductions.
            if (payment.m_nReference == 0) line.dAmount = RoundToCents(purchase.GetTotal(1) * payment.m_dAmount / 100.0);
            break;
        case 'c':
            line.sType = "Credit to";
            line.sStatus = "Applied";
            sign = -1.0;
            break;
        default: sign = 0.0; break;
        }
        line.dSignedAmount = sign * line.dAmount;
    } else {
        return line;
    }
    line.sDate = line.dDate == 0.0 ? std::string("Unscheduled") : FormatDateTime(line.dDate, "%m/%d/%Y");
    line.sAmount = Format("%.2f", line.dAmount);
    return line;
}
