#pragma once
// The printer definition that the settings file keeps twice (PRINTERDEF for ordinary printing,
// LABELPRINTERDEF for labels) and hands whole to the print setup and the print engine.

#include <cstdint>
#include <string>

struct stPrinterDef {
    int32_t nDefined = 0;        // the in-use word
    int32_t nCopies = 0;         // at least 1 once loaded from the settings
    int32_t nPauseMode = 0;      // 1 = ask after every page
    int32_t nWaitSeconds = 0;    // pause after every page when the pause mode is not 1
    int32_t nPageNumbers = 0;    // 0/1, kept for the print setup dialog
    std::string sDevice;         // the printer's name; "" when none was chosen
};

// The settings' own name for the same record.
using PrinterDefinition = stPrinterDef;
