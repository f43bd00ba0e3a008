#pragma once
// The program's trace: "DIAGNOSE.TXT" and, for messages between running copies and refresh
// suspension, "DIAGNOSE_MSG.TXT", both in the current folder and flushed line by line.
//
// Callers test the level, format one line into DiagnosticText and call the writer:
//     if (DiagnosticLevel > 1) {
//         DiagnosticText = Format("CDatabase::SaveItem %s\n", name.c_str());
//         WriteDiagnostic();
//     }
// DiagnosticText is one text per thread, so a line formatted on one thread can never be
// overwritten by another before it is written; the writers hold a lock while they write, so every
// line arrives in the file whole.

#include <cstdint>
#include <string>
#include <vector>

// 0 = no trace; above 0 ordinary lines, above 1 detail, above 2 the finest detail. Set on the
// user-interface thread only.
extern int32_t DiagnosticLevel;
// The line to write next (this thread's).
extern thread_local std::string DiagnosticText;
// Milliseconds of process time at which the trace clock started (see GetTimerText).
extern uint32_t DiagnosticClockStart;

// Opens both trace files, replacing earlier ones; does nothing when the trace file is open.
void OpenDiagnosticFile();
// Writes "Close diagnostic file", closes both files and sets the level to 0.
void CloseDiagnosticFile();
bool IsDiagnosticFileOpen();

// Write DiagnosticText as it stands to the trace / message trace file when that file is open.
void WriteDiagnostic();
void WriteDiagnosticMsg();
// Formats into DiagnosticText, then WriteDiagnostic.
void WriteDiagnosticFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Sets DiagnosticText to the text, then WriteDiagnostic.
void WriteDiagnosticString(const std::string& text);

// The memory-allocation trace: registrations are kept at every level, lines are written at
// level 3 (and a free of an unknown pointer at level 1).
void WriteMemoryTraceAlloc(const void* pointer, const std::string& label);
void WriteMemoryTraceFree(const void* pointer);
// The registered pointers in order of registration.
std::vector<const void*> GetTracedPointers();

// Milliseconds since process start; monotonic.
uint32_t GetProcessMilliseconds();
// Sets DiagnosticClockStart to now.
void RestartDiagnosticClock();
// Seconds since DiagnosticClockStart as "%10.3f".
std::string GetTimerText();

// Three lines about one font entry of the print formats: its address, code and name, and its tab
// stops (each " %.2f,"). No level test of its own.
void WriteFontTrace(const std::string& label, const void* entry, int code,
                    const std::string& name, const std::vector<double>& tabStops);
