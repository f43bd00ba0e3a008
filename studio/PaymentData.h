#pragma once
// One row of a payment listing: the texts of the columns "Date\tTransaction type\tName\tAmount\t
// Status\tFor", the description, and the numbers behind them.

#include <cstdint>
#include <string>

#include "common/DateTime.h"

struct stPaymentData {
    std::string sDate;         // "%m/%d/%Y", or "Unscheduled"
    std::string sType;         // transaction type
    std::string sStatus;
    std::string sName;         // the other party
    std::string sAmount;       // "%.2f"
    std::string sDescription;
    std::string sFor;          // the link code, "" for none
    std::string sReceipt;      // receipt number or payment method text
    int32_t nPerson = -1;      // the other party, -1 none
    DATE dDate = 0.0;          // 0.0 unscheduled
    double dAmount = 0.0;      // as stored (a percentage discount as computed)
    double dSignedAmount = 0.0;  // + money in, - money out or a reduction
};
