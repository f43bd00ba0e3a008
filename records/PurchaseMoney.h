#pragma once
// CPurchaseMoney: every sum a purchase's scheduled payments make and every change of their
// amounts. T1 is a purchase's amount before discounts (GetTotal(1)), T0 after discounts and
// credits (GetTotal(0)). Amounts that are divided are divided in cents, the remainder going to
// the last part, so the parts always add up to the whole.

#include <cstddef>
#include <string>
#include <vector>

class CPurchaseRecord;
class CSchedulePayment;

class CPurchaseMoney {
public:
    // The sums of scheduled payments by kind: received 'R', due 'U' and 'S', refunds 'F',
    // credits 'c', discounts 'd' (a percentage taken of its purchase's T1).
    struct stSums {
        double dReceived = 0.0;
        double dDue = 0.0;
        double dRefunds = 0.0;
        double dCredits = 0.0;
        double dDiscounts = 0.0;
    };

    // What a discount entry takes off a purchase of `t1`: its amount when fixed, else that
    // percentage of t1.
    static double DiscountAmount(const CSchedulePayment& discount, double t1);
    // The payments of one purchase added to `sums`.
    static void AddSums(const CPurchaseRecord& purchase, stSums& sums);
    static stSums Sums(const CPurchaseRecord& purchase);
    // The eight lines of the totals box for `total` (T1, or the sum of T1 over the purchases
    // shown), without line ends.
    static std::vector<std::string> TotalsLines(double total, const stSums& sums);
    // The lines joined with CR LF (none after the last).
    static std::string TotalsText(double total, const stSums& sums);

    // Whether what was received and what is still due make up T0 (within a tenth of a cent);
    // otherwise `warning` holds the warning to show.
    static bool CheckPaymentTotal(const CPurchaseRecord& purchase, std::string* warning);

    // Divides payment `index` into `parts` (at least 2) in cents: the payment keeps the first
    // part and parts - 1 copies are appended, the last carrying the remainder. False when
    // nothing was divided.
    static bool Split(CPurchaseRecord& purchase, size_t index, int parts);
    // Spreads T0 less what was received over the payments still due, in cents in date order
    // with the remainder on the last; no other entry changes. False (and `message` set) with
    // fewer than two payments due.
    static bool Equalize(CPurchaseRecord& purchase, std::string* message);
    // The sum and number of the payments still due.
    static double DueTotal(const CPurchaseRecord& purchase, size_t* count = nullptr);
    // Takes up to `available` off the purchase's payments due, earliest first, none below 0;
    // a payment brought to 0 is removed. The amount taken.
    static double SpreadCredit(CPurchaseRecord& purchase, double available);

    // Cents of an amount, rounded half away from zero.
    static long long ToCents(double amount);
};
