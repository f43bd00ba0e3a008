#include "platform/host/Beep.h"

#include <atomic>

namespace host {

namespace {
std::atomic<BeepFunction> g_beep{nullptr};
}

void SetBeepFunction(BeepFunction function) { g_beep.store(function); }

void Beep(uint32_t frequency, uint32_t durationMs)
{
    if (BeepFunction beep = g_beep.load()) beep(frequency, durationMs);
}

}  // namespace host
