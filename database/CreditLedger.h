#pragma once
// CCreditLedger: the studio credits ('c' payments of table 11) that one sale or payment entry
// applies. A credit is locked and re-read when it is chosen, so two desks never spend one credit
// twice; what is left of it is written (or the credit deleted when nothing is left) only by
// Commit, after the purchase that carries the applied amounts was stored. Release, or the
// destructor, gives the credits back untouched.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/host/File.h"

class CDatabase;

class CCreditLedger {
public:
    explicit CCreditLedger(CDatabase& database) : m_DB(database) {}
    ~CCreditLedger() { Release(); }
    CCreditLedger(const CCreditLedger&) = delete;
    CCreditLedger& operator=(const CCreditLedger&) = delete;

    struct stOffer {
        uint32_t nCode = 0xFFFFFFFF;
        std::string sDescription;
        double dOpen = 0.0;
    };
    // The payer's credits with something open: the remaining amount of one taken in this run,
    // else the record's amount.
    std::vector<stOffer> CollectOffers(uint32_t payer) const;
    // Locks and re-reads credit `code` (the first time), then takes from it the part of `wanted`
    // that it covers, between 0 and what is open. False when the credit could not be had (locked
    // elsewhere, gone, or nothing open); `taken` and `description` hold the result.
    bool Take(uint32_t code, double wanted, double& taken, std::string& description);
    // Puts `amount` back on credit `code` when it was taken in this run; false otherwise.
    bool GiveBack(uint32_t code, double amount);
    bool HasApplied() const { return !m_aEntries.empty(); }
    // What is left of a credit taken in this run; -1 when it was not taken.
    double Remaining(uint32_t code) const;
    // Writes what is left of each credit (deletes those below 0.001) and releases them; the
    // number of credits written or deleted.
    int Commit();
    // Releases every credit without writing.
    void Release();

private:
    struct stEntry {
        uint32_t nCode = 0xFFFFFFFF;
        double dRemaining = 0.0;
        uint32_t nLockLoc = 0xFFFFFFFF;
        host::FileId file;
    };
    void Unlock(const stEntry& entry);

    CDatabase& m_DB;
    std::vector<stEntry> m_aEntries;
};
