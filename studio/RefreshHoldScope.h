#pragma once
// CRefreshHoldScope: holds the database's timed refresh off from construction to destruction,
// once, as a long operation on the main thread needs it.

#include "common/QuestionBox.h"

class CRefreshHoldScope {
public:
    explicit CRefreshHoldScope(IRefreshHold* hold) : m_pHold(hold)
    {
        if (m_pHold) m_pHold->DisableRefreshOn("");
    }
    ~CRefreshHoldScope()
    {
        if (m_pHold) m_pHold->DisableRefreshOff("");
    }
    CRefreshHoldScope(const CRefreshHoldScope&) = delete;
    CRefreshHoldScope& operator=(const CRefreshHoldScope&) = delete;

private:
    IRefreshHold* m_pHold;
};
