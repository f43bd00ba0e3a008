#pragma once
// Per-teacher figures of the teacher activity computations and weekly reports: one row per
// teacher or supervisor, with one activity row per basic sales item category.

#include <cstdint>
#include <string>
#include <vector>

struct stActivityCount {
    uint32_t nCode = 0xFFFFFFFF;
    uint32_t nEnrolled = 0;
    uint32_t nEnrolledUnits = 0;
    uint32_t nTaken = 0;
    uint32_t nTakenUnits = 0;
    uint32_t nCancelled = 0;
    uint32_t nCancelledUnits = 0;
};

struct stTeacherActivityData {
    int32_t nPerson = -1;
    std::string sName;
    uint32_t nFirstInterviews = 0;
    uint32_t nFirstSales = 0;
    double dFirstSalesValue = 0.0;
    uint32_t nFirstCancellations = 0;
    double dFirstCancellationsValue = 0.0;
    uint32_t nLaterInterviews = 0;
    uint32_t nLaterSales = 0;
    double dLaterSalesValue = 0.0;
    uint32_t nLaterCancellations = 0;
    double dLaterCancellationsValue = 0.0;
    uint32_t nTotalSales = 0;
    double dTotalSalesValue = 0.0;
    uint32_t nTotalCancellations = 0;
    double dTotalCancellationsValue = 0.0;
    double dMoney[4] = {0.0, 0.0, 0.0, 0.0};
    uint32_t nPayments = 0;
    double dPaymentsAmount = 0.0;
    uint32_t nRefunds = 0;
    double dRefundsAmount = 0.0;
    uint32_t nGuests = 0;
    // One row per activity type; FreeTeacherActivityItems empties it.
    std::vector<stActivityCount> aActivities;
};
