#include "common/Diagnostic.h"

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <map>
#include <mutex>
#include <unordered_map>

#include "platform/host/Clock.h"
#include "platform/host/Format.h"
#include "platform/host/Path.h"
#include "platform/host/UserPrompt.h"

int32_t DiagnosticLevel = 0;
thread_local std::string DiagnosticText;
uint32_t DiagnosticClockStart = 0;

namespace {

struct TraceState {
    std::mutex lock; // held around every use of the files and the pointer lists
    std::FILE* traceFile = nullptr;
    std::FILE* messageFile = nullptr;
    // The registered pointers by registration number (their order), and each pointer's
    // registration numbers, so that a free finds its entry without a walk over the list.
    struct TracedPointer {
        const void* pointer;
        std::string label;
    };
    std::map<uint64_t, TracedPointer> traced;
    std::unordered_multimap<const void*, uint64_t> registrations;
    uint64_t nextRegistration = 0;
};

TraceState& State() {
    static TraceState state;
    return state;
}

std::FILE* OpenForWriting(const char* name) {
    std::string hostPath;
    if (!host::ToHostPath(name, hostPath))
        return nullptr;
    return std::fopen(hostPath.c_str(), "w");
}

// Caller holds the lock.
void WriteLocked(std::FILE* file, const std::string& text) {
    if (file == nullptr)
        return;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fflush(file);
}

unsigned long long PointerValue(const void* pointer) {
    return static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(pointer));
}

// The pointer lines are written as "%u (%X)" for a 32-bit address; addresses are 64 bits wide
// here, so each "%u" and "%X" of such a line is widened before the pointer value is formatted.
std::string WidenPointerFormat(const char* format) {
    std::string wide;
    for (const char* p = format; *p; ++p) {
        wide += *p;
        if (*p == '%' && (p[1] == 'u' || p[1] == 'X'))
            wide += "ll";
        else if (*p == '%' && p[1] == '%')
            wide += *++p;
    }
    return wide;
}

std::string FormatPointerLine(const char* format, const void* pointer, const std::string& label) {
    const std::string wide = WidenPointerFormat(format);
    return Format(wide.c_str(), PointerValue(pointer), PointerValue(pointer), label.c_str());
}

} // namespace

void OpenDiagnosticFile() {
    TraceState& s = State();
    std::unique_lock<std::mutex> guard(s.lock);
    if (s.traceFile != nullptr)
        return;
    s.traceFile = OpenForWriting("DIAGNOSE.TXT");
    const bool traceFailed = s.traceFile == nullptr;
    if (traceFailed)
        DiagnosticLevel = 0;
    else if (DiagnosticLevel > 0)
        WriteLocked(s.traceFile, Format("Diagnostic file open, level %i\n", DiagnosticLevel));
    if (s.messageFile == nullptr)
        s.messageFile = OpenForWriting("DIAGNOSE_MSG.TXT");
    guard.unlock();
    if (traceFailed)
        host::PromptUser("Cannot open diagnostic file", 0);
}

void CloseDiagnosticFile() {
    TraceState& s = State();
    std::lock_guard<std::mutex> guard(s.lock);
    if (s.traceFile != nullptr) {
        DiagnosticText = "Close diagnostic file\n";
        WriteLocked(s.traceFile, DiagnosticText);
        std::fclose(s.traceFile);
        s.traceFile = nullptr;
        DiagnosticLevel = 0;
    }
    if (s.messageFile != nullptr) {
        std::fclose(s.messageFile);
        s.messageFile = nullptr;
    }
}

bool IsDiagnosticFileOpen() {
    TraceState& s = State();
    std::lock_guard<std::mutex> guard(s.lock);
    return s.traceFile != nullptr;
}

void WriteDiagnostic() {
    TraceState& s = State();
    std::lock_guard<std::mutex> guard(s.lock);
    WriteLocked(s.traceFile, DiagnosticText);
}

void WriteDiagnosticMsg() {
    TraceState& s = State();
    std::lock_guard<std::mutex> guard(s.lock);
    WriteLocked(s.messageFile, DiagnosticText);
}

void WriteDiagnosticFormat(const char* format, ...) {
    va_list args;
    va_start(args, format);
    DiagnosticText = FormatV(format, args);
    va_end(args);
    WriteDiagnostic();
}

void WriteDiagnosticString(const std::string& text) {
    DiagnosticText = text;
    WriteDiagnostic();
}

void WriteMemoryTraceAlloc(const void* pointer, const std::string& label) {
    if (DiagnosticLevel > 2) {
        DiagnosticText = FormatPointerLine("_Allocate pointer %u (%X), %s\n", pointer, label);
        WriteDiagnostic();
    }
    TraceState& s = State();
    std::lock_guard<std::mutex> guard(s.lock);
    const uint64_t number = s.nextRegistration++;
    s.traced.emplace(number, TraceState::TracedPointer{pointer, label});
    s.registrations.emplace(pointer, number);
}

void WriteMemoryTraceFree(const void* pointer) {
    TraceState& s = State();
    std::unique_lock<std::mutex> guard(s.lock);
    // A pointer registered more than once gives up its earliest registration.
    auto [first, last] = s.registrations.equal_range(pointer);
    auto earliest = first;
    for (auto it = first; it != last; ++it)
        if (it->second < earliest->second) earliest = it;
    if (first == last) {
        guard.unlock();
        if (DiagnosticLevel > 0) {
            DiagnosticText = FormatPointerLine("_About to free pointer %u (%X), not in list\n", pointer, "");
            WriteDiagnostic();
        }
        return;
    }
    auto entry = s.traced.find(earliest->second);
    const std::string label = std::move(entry->second.label);
    s.traced.erase(entry);
    s.registrations.erase(earliest);
    guard.unlock();
    if (DiagnosticLevel > 2) {
        DiagnosticText = FormatPointerLine("_Free pointer %u (%X), %s\n", pointer, label);
        WriteDiagnostic();
    }
}

std::vector<const void*> GetTracedPointers() {
    TraceState& s = State();
    std::lock_guard<std::mutex> guard(s.lock);
    std::vector<const void*> pointers;
    pointers.reserve(s.traced.size());
    for (const auto& entry : s.traced) pointers.push_back(entry.second.pointer);
    return pointers;
}

uint32_t GetProcessMilliseconds() { return static_cast<uint32_t>(host::Clock::TickCount()); }

void RestartDiagnosticClock() { DiagnosticClockStart = GetProcessMilliseconds(); }

std::string GetTimerText() {
    // Unsigned subtraction keeps the count right across the 32-bit wrap.
    const uint32_t elapsed = GetProcessMilliseconds() - DiagnosticClockStart;
    return Format("%10.3f", elapsed / 1000.0);
}

void WriteFontTrace(const std::string& label, const void* entry, int code,
                    const std::string& name, const std::vector<double>& tabStops) {
    std::string stops;
    for (double stop : tabStops)
        stops += Format(" %.2f,", stop);
    DiagnosticText = Format(WidenPointerFormat("%s: Font pointer %u").c_str(), label.c_str(), PointerValue(entry));
    WriteDiagnostic();
    DiagnosticText = Format(", code %i, %s\n", code, name.c_str());
    WriteDiagnostic();
    DiagnosticText = Format(" # tabs %i: %s\n", static_cast<int>(tabStops.size()), stops.c_str());
    WriteDiagnostic();
}
