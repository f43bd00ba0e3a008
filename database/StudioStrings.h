#pragma once
// The studio's identity strings that the Configuration table (table 1) stores as KEY|value
// lines. The application object owns them; until it hands its own to CDatabase
// (SetStudioStrings), the database keeps a set of its own.

#include <string>

struct stStudioStrings {
    std::string sStudioName;
    std::string sStudioCode;
    std::string sAddress1;
    std::string sAddress2;
    std::string sCity;
    std::string sState;
    std::string sZip;
    std::string sCountry;
    std::string sPhone;
    std::string sFax;
    std::string sStudioEmail;
    std::string sReportEmail;
    std::string sWelcomeLogoFile;
    std::string sWelcomeLogoText;
    std::string sWelcomeMessage;
};
