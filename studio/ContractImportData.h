#pragma once
// The working lists of one contract record of the contract text import: its header, the purchase
// lines, the payments and the lessons already used.

#include <cstdint>
#include <string>

#include "common/DateTime.h"

struct stContractHeader {
    std::string sText;
    DATE dDate = 0.0;
    double dPrice = 0.0;
    int32_t nTeacher = -1;
    int32_t nSupervisor = -1;
};

struct stImportPurchase {
    std::string sLabel;
    std::string sName;
    int32_t nCategory = -1;
    char cKind = 0;
    uint32_t nCount = 0;  // 0 for a dated item
    DATE dEndDate = 0.0;  // 0 for a counted item
    int32_t nEmployee = -1;
};

struct stImportPayment {
    DATE dDate = 0.0;
    double dAmount = 0.0;
};

struct stImportUse {
    std::string sLabel;
    DATE dDate = 0.0;
    int32_t nEmployee = -1;
};
