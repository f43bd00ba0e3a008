#pragma once
// One row of the weekly program, department or contract-type statistics: the category and the
// period's lessons, first and renewal interviews and the sales that resulted from them.

#include <cstdint>

struct stProgramStatisticsData {
    int32_t nCode = -1;
    uint32_t nActivities = 0;
    uint32_t nFirstInterviews = 0;
    uint32_t nFirstSales = 0;
    double dFirstSalesAmount = 0.0;
    uint32_t nRenewalInterviews = 0;
    uint32_t nRenewalSales = 0;
    double dRenewalSalesAmount = 0.0;
};
