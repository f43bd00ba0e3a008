#pragma once
// The desk's own settings that the software parameters dialog edits besides the database's: the
// caller fills them from the program's settings and copies them back after OK.

#include "common/PrinterDef.h"

#include <cstdint>
#include <string>

struct stConfigureAppValues {
    std::string sBackupDrive;           // packed backup folder
    int32_t nTimedBackups = 0;          // timed unpacked backups kept, 0 to 25
    int32_t nTimedBackupInterval = 0;   // minutes between timed backups
    int32_t bShoppingCartFormat = 0;
    std::string sWordProcessor;
    stPrinterDef ReportPrinter;
    stPrinterDef LabelPrinter;
};
