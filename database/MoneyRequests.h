#pragma once
// What the database hands the money dialogs and takes back from them: the scheduled-payment
// editor's request and the shopping cart's result.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/DateTime.h"

class CCreditLedger;
class CPerson;
class CPurchaseRecord;
class CSchedulePayment;

// One run of the scheduled-payment dialog. The dialog edits `payment` in place; on IDOK the
// credit entries it made ('c', one per credit applied) are in `newCredits`, the caller's to keep
// or drop. Credits are taken through `ledger` (the caller commits it after storing the
// purchase); with no ledger the dialog keeps its own and writes it on OK.
struct stPaymentEditRequest {
    CSchedulePayment* payment = nullptr;
    CPurchaseRecord* purchase = nullptr;
    CPerson* extraPerson = nullptr;
    int creditAllowed = 0;
    CCreditLedger* ledger = nullptr;
    std::vector<std::unique_ptr<CSchedulePayment>> newCredits;
    bool creditApplied = false;
};

// The shopping cart's choice after IDOK.
struct stShoppingCart {
    uint32_t nPerson = 0xFFFFFFFF;
    std::vector<uint32_t> aItems;  // price-list codes, in the order chosen
    double dTotal = 0.0;
    char cType = 'R';
    char cMethod = 'A';
    std::string sMethodText;
    uint32_t nAccount = 0xFFFFFFFF;
    // The payment's status, date and receipt number as the cart set them.
    char cStatus = 'R';
    DATE dDate = 0.0;
    uint32_t nReceipt = 0xFFFFFFFF;
};
