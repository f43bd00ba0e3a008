#include "platform/host/WaitCursor.h"

#include <atomic>
#include <mutex>

namespace host {

namespace {

std::atomic<WaitCursorFunction> g_show{nullptr};
std::mutex g_mutex;
int g_depth = 0;

}  // namespace

void SetWaitCursorFunction(WaitCursorFunction function) { g_show.store(function); }

void BeginWaitCursor()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_depth++ == 0)
        if (WaitCursorFunction show = g_show.load()) show(true);
}

void EndWaitCursor()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_depth == 0) return;
    if (--g_depth == 0)
        if (WaitCursorFunction show = g_show.load()) show(false);
}

int WaitCursorDepth()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_depth;
}

}  // namespace host
