#pragma once
// The program's printers. A printer is named by its device string: the print system's printer
// name, "PDF file" (always there), or "DEFAULT" for whatever the program's default printer is.
// The default printer is the program's own (kept in its settings); the print system's default is
// never changed.

#include <string>
#include <vector>

// The device string of the program's default printer; "" until one is chosen.
std::string GetDefaultPrinter();
// Makes the printer the program's default; "DEFAULT" and "" change nothing.
void SetDefaultPrinter(const std::string& device);
// Appends "System default printer" / "DEFAULT", then every printer (its name, and its device
// string). Returns how many printers it appended, the default entry not counted.
int ListPrinters(std::vector<std::string>& names, std::vector<std::string>& devices);
// Runs the printer selection dialog; on OK returns the chosen device string (made the default
// first when makeDefault is 1), otherwise "".
std::string SelectPrinter(int makeDefault);
