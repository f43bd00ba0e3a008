#include "platform/host/UserPrompt.h"

#include <atomic>
#include <cstdio>

namespace host {

namespace {

std::atomic<PromptFunction> g_prompt{nullptr};

// The first button of each button set: OK, OK, Abort, Yes, Yes, Retry.
int FirstButton(uint32_t style)
{
    switch (style & 0x0F) {
    case 0x02: return 3;
    case 0x03:
    case 0x04: return 6;
    case 0x05: return 4;
    default: return 1;
    }
}

}  // namespace

void SetPromptFunction(PromptFunction function) { g_prompt.store(function); }

int PromptUser(const std::string& text, uint32_t style, uint32_t help)
{
    if (PromptFunction function = g_prompt.load()) return function(text, style, help);
    std::fprintf(stderr, "%s\n", text.c_str());
    return FirstButton(style);
}

}  // namespace host
