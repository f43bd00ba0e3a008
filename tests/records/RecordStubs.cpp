// Stand-ins for the message box and the trace in the sanitizer build of the record tests, which
// compiles the record sources alone, without the window layer.

#include <string>
#include <vector>

#include "common/Diagnostic.h"
#include "common/QuestionBox.h"

int32_t DiagnosticLevel = 0;
thread_local std::string DiagnosticText;

void WriteDiagnostic()
{
}

int GetResponse(const std::string&, uint32_t, uint32_t)
{
    return IDOK;
}

void WriteDiagnosticFormat(const char*, ...)
{
}

std::string GetTimerText()
{
    return "     0.000";
}
