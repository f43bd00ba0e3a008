#include "tests/support/DriverChecks.h"

#include <chrono>
#include <thread>

::testing::AssertionResult SeesAfterRefresh(DriverProcess& copy, const std::string& query,
                                            const std::vector<std::string>& expected) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    std::vector<std::string> seen;
    for (;;) {
        if (copy.Command("refresh", 30000) == std::vector<std::string>{"1"}) {
            seen = copy.Command(query);
            if (seen == expected) return ::testing::AssertionSuccess();
        }
        if (std::chrono::steady_clock::now() > until) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    std::string text;
    for (const std::string& w : seen) text += " " + w;
    return ::testing::AssertionFailure() << query << ":" << text << "\n" << copy.Transcript();
}
