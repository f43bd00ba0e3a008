#pragma once
// CProgressPace: when a long loop's next progress report is due.

#include <chrono>
#include <cstddef>

// Paces the progress reports of a long loop. Each report pumps the program's messages, which
// costs far more than one step of the loop: a report is due at the first step, at the last one,
// and in between at most once per interval of real time, so the box still moves and the user
// can still abort while the loop no longer waits on the message loop at every step.
class CProgressPace {
public:
    explicit CProgressPace(int intervalMs = 20) : m_interval(intervalMs) {}
    bool Due(size_t done, size_t total) {
        const auto now = std::chrono::steady_clock::now();
        if (m_bStarted && done < total && now - m_last < m_interval) return false;
        m_bStarted = true;
        m_last = now;
        return true;
    }

private:
    std::chrono::milliseconds m_interval;
    std::chrono::steady_clock::time_point m_last{};
    bool m_bStarted = false;
};
