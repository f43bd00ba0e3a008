#include "records/PurchaseMoney.h"

#include <algorithm>
#include <cmath>

#include "platform/host/Format.h"
#include "records/PurchaseRecord.h"

namespace {

constexpr double kHalfCent = 0.005;

bool IsDue(const CSchedulePayment& p)
{
    return p.m_cKind == 'U' || p.m_cKind == 'S';
}

// Indices of the payments due, by date (an unscheduled one counts as undated), ties in order.
std::vector<size_t> DueByDate(const CPurchaseRecord& purchase)
{
    std::vector<size_t> due;
    for (size_t i = 0; i < purchase.m_Payments.size(); ++i)
        if (IsDue(*purchase.m_Payments[i])) due.push_back(i);
    auto dateOf = [&](size_t i) {
        const CSchedulePayment& p = *purchase.m_Payments[i];
        return p.m_cKind == 'U' ? 0.0 : p.m_dDate;
    };
    std::stable_sort(due.begin(), due.end(), [&](size_t a, size_t b) { return dateOf(a) < dateOf(b); });
    return due;
}

}  // namespace

long long CPurchaseMoney::ToCents(double amount)
{
    return std::llround(amount * 100.0);
}

double CPurchaseMoney::DiscountAmount(const CSchedulePayment& discount, double t1)
{
    if (discount.m_nReference == 0) return t1 * discount.m_dAmount / 100.0;
    return discount.m_dAmount;
}

void CPurchaseMoney::AddSums(const CPurchaseRecord& purchase, stSums& sums)
{
    const double t1 = purchase.GetTotal(1);
    for (const auto& p : purchase.m_Payments) {
        switch (p->m_cKind) {
        case 'R': sums.dReceived += p->m_dAmount; break;
        case 'U':
        case 'S': sums.dDue += p->m_dAmount; break;
        case 'F': sums.dRefunds += p->m_dAmount; break;
        case 'c': sums.dCredits += p->m_dAmount; break;
        case 'd': sums.dDiscounts += DiscountAmount(*p, t1); break;
        default: break;
        }
    }
}

CPurchaseMoney::stSums CPurchaseMoney::Sums(const CPurchaseRecord& purchase)
{
    stSums sums;
    AddSums(purchase, sums);
    return sums;
}

std::vector<std::string> CPurchaseMoney::TotalsLines(double total, const stSums& s)
{
    std::vector<std::string> lines;
    lines.push_back(Format("Total before adjustments: %.2f", total));
    lines.push_back(Format("Credits: %.2f", s.dCredits));
    lines.push_back(Format("Discounts: %.2f", s.dDiscounts));
    lines.push_back(Format("Total after adjustments: %.2f", total - s.dCredits - s.dDiscounts));
    lines.push_back(Format("Payments/credits made: %.2f", s.dCredits + s.dReceived));
    lines.push_back(Format("Payments due: %.2f", s.dDue - s.dDiscounts));
    // Sums of many doubles rarely meet exactly: within half a cent the payments match.
    const double balance = total - s.dReceived - s.dCredits - s.dDiscounts;
    if (balance >= kHalfCent) lines.push_back(Format("Purchase total exceeds payment total: %.2f", balance));
    else if (balance <= -kHalfCent) lines.push_back(Format("Payment total exceeds purchase total: %.2f", balance));
    else lines.push_back("Payment total equals purchase total");
    lines.push_back(Format("Refunds: %.2f", s.dRefunds));
    return lines;
}

std::string CPurchaseMoney::TotalsText(double total, const stSums& sums)
{
    std::string text;
    for (const std::string& line : TotalsLines(total, sums)) {
        if (!text.empty()) text += "\r\n";
        text += line;
    }
    return text;
}

bool CPurchaseMoney::CheckPaymentTotal(const CPurchaseRecord& purchase, std::string* warning)
{
    const stSums s = Sums(purchase);
    const double paid = s.dReceived + s.dDue;
    const double amount = purchase.GetTotal(0);
    if (std::fabs(paid - amount) <= 0.001) return true;
    if (warning)
        *warning = Format("Warning: total of payments (%.2f) does not equal amount of purchase (%.2f).", paid, amount);
    return false;
}

bool CPurchaseMoney::Split(CPurchaseRecord& purchase, size_t index, int parts)
{
    if (parts < 2 || index >= purchase.m_Payments.size()) return false;
    CSchedulePayment& original = *purchase.m_Payments[index];
    const long long cents = ToCents(original.m_dAmount);
    const long long part = cents / parts;
    const long long last = cents - part * (parts - 1);
    original.m_dAmount = static_cast<double>(part) / 100.0;
    for (int i = 1; i < parts; ++i) {
        auto copy = std::make_unique<CSchedulePayment>();
        copy->CopyFrom(original);
        copy->m_dAmount = static_cast<double>(i == parts - 1 ? last : part) / 100.0;
        purchase.m_Payments.push_back(std::move(copy));
    }
    return true;
}

double CPurchaseMoney::DueTotal(const CPurchaseRecord& purchase, size_t* count)
{
    double sum = 0.0;
    size_t n = 0;
    for (const auto& p : purchase.m_Payments)
        if (IsDue(*p)) {
            sum += p->m_dAmount;
            ++n;
        }
    if (count) *count = n;
    return sum;
}

bool CPurchaseMoney::Equalize(CPurchaseRecord& purchase, std::string* message)
{
    const std::vector<size_t> due = DueByDate(purchase);
    if (due.size() < 2) {
        if (message) *message = "Can't equalize fewer than two payments";
        return false;
    }
    const long long cents = ToCents(purchase.GetTotal(0) - purchase.GetReceived());
    const long long n = static_cast<long long>(due.size());
    const long long part = cents / n;
    const long long last = cents - part * (n - 1);
    for (size_t i = 0; i < due.size(); ++i)
        purchase.m_Payments[due[i]]->m_dAmount = static_cast<double>(i + 1 == due.size() ? last : part) / 100.0;
    return true;
}

double CPurchaseMoney::SpreadCredit(CPurchaseRecord& purchase, double available)
{
    long long left = ToCents(available);
    if (left <= 0) return 0.0;
    long long taken = 0;
    std::vector<size_t> emptied;
    for (size_t i : DueByDate(purchase)) {
        if (left == 0) break;
        CSchedulePayment& p = *purchase.m_Payments[i];
        const long long owed = ToCents(p.m_dAmount);
        if (owed <= 0) continue;
        const long long take = std::min(owed, left);
        left -= take;
        taken += take;
        p.m_dAmount = static_cast<double>(owed - take) / 100.0;
        if (owed == take) emptied.push_back(i);
    }
    std::sort(emptied.rbegin(), emptied.rend());
    for (size_t i : emptied) purchase.m_Payments.erase(purchase.m_Payments.begin() + static_cast<std::ptrdiff_t>(i));
    return static_cast<double>(taken) / 100.0;
}
