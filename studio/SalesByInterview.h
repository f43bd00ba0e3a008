#pragma once
// The purchases that resulted from an interview: those whose first purchaser is the interviewed
// person and whose interview date is the interview's own date (compared to the second). Built
// once from the purchase table for the persons asked about, so that each interview finds its
// sales without a scan.

#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "common/DateTime.h"
#include "database/Index.h"

class CPurchaseRecord;

class CSalesByInterview {
public:
    CSalesByInterview(const std::vector<stIndex>& purchases, const std::unordered_set<uint32_t>& persons);
    // The purchases of the person from the interview of that date, active or not, in table order.
    std::vector<const CPurchaseRecord*> Find(uint32_t person, DATE interviewDate) const;

private:
    std::unordered_map<uint32_t, std::vector<const CPurchaseRecord*>> m_ByPerson;
};
