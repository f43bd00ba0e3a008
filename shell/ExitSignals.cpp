#include "shell/ExitSignals.h"

#include <atomic>
#include <csignal>

namespace {

std::atomic<int> g_exitRequested{0};
static_assert(std::atomic<int>::is_always_lock_free, "used from a signal handler");

extern "C" void OnExitSignal(int) { g_exitRequested.store(1); }

}  // namespace

void InstallExitSignalHandlers()
{
    std::signal(SIGTERM, OnExitSignal);
    std::signal(SIGHUP, OnExitSignal);
}

bool ExitSignalReceived() { return g_exitRequested.load() != 0; }
void ClearExitSignal() { g_exitRequested.store(0); }
void RaiseExitRequest() { g_exitRequested.store(1); }
