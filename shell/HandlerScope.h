#pragma once
// CHandlerScope marks the running of a command, key or timer handler of the program's windows.
// Modal dialogs and message boxes only ever run inside such a handler, so while any scope is open
// the program may be inside a modal loop: work that would free records under the handler (closing
// the database on notice) waits until the outermost scope has ended.

#include <functional>

class CHandlerScope {
public:
    CHandlerScope();
    ~CHandlerScope();
    CHandlerScope(const CHandlerScope&) = delete;
    CHandlerScope& operator=(const CHandlerScope&) = delete;

    // Number of scopes open now.
    static int Depth();
    // Runs `work` now when no scope is open, else once the outermost one ends (in the order
    // deferred). Deferred work runs from the message loop, after the handler has returned.
    static void RunWhenIdle(std::function<void()> work);
    // Hands deferred work to the message loop (`post` queues a call for later).
    static void SetPoster(std::function<void(std::function<void()>)> post);
};
