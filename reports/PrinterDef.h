#pragma once
// A printer definition: the printer and the per-run choices of the print setup. The program keeps
// two, for reports (settings key PRINTERDEF) and for labels (LABELPRINTERDEF); the settings file
// stores the five numbers in this order, then the device string.

#include <cstdint>
#include <string>

struct stPrinterDef {
    int32_t nDefined = 0;      // 1 once loaded
    int32_t nCopies = 0;       // at least 1 when loaded from the settings
    int32_t nPauseMode = 0;    // 1: ask after every page whether to go on
    int32_t nWaitSeconds = 0;  // pause after every page when nPauseMode is not 1
    int32_t nPageNumbers = 0;  // "Print page numbers", kept for the print setup dialog
    std::string strDevice;     // "DEFAULT", or a printer's device string

    bool operator==(const stPrinterDef&) const = default;
};
