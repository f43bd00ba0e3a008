#include "shell/HandlerScope.h"

#include <utility>
#include <vector>

namespace {
int g_depth = 0;
std::vector<std::function<void()>>& Deferred()
{
    static std::vector<std::function<void()>> work;
    return work;
}
std::function<void(std::function<void()>)>& Poster()
{
    static std::function<void(std::function<void()>)> post;
    return post;
}

void Flush()
{
    std::vector<std::function<void()>> work;
    work.swap(Deferred());
    for (auto& w : work) w();
}
}  // namespace

CHandlerScope::CHandlerScope() { ++g_depth; }

CHandlerScope::~CHandlerScope()
{
    if (--g_depth > 0 || Deferred().empty()) return;
    if (Poster())
        Poster()([] {
            if (g_depth == 0) Flush();
        });
    else
        Flush();
}

int CHandlerScope::Depth() { return g_depth; }

void CHandlerScope::RunWhenIdle(std::function<void()> work)
{
    if (g_depth == 0) {
        work();
        return;
    }
    Deferred().push_back(std::move(work));
}

void CHandlerScope::SetPoster(std::function<void(std::function<void()>)> post) { Poster() = std::move(post); }
