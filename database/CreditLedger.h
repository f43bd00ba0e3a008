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
    // Puts `amount` back on credit `code` when it was taken or held in this run; false otherwise.
    bool GiveBack(uint32_t code, double amount);
    // Locks and re-reads credit `code` (the first time) so that an amount applied in an earlier
    // run can be given back to it: 1 held, 0 refused (locked elsewhere; the user was told), -1
    // when the credit is gone (used up).
    int Hold(uint32_t code);
    // An amount applied from a credit that is gone, given back as a new credit of `payer`,
    // written by Commit.
    void AddNewCredit(uint32_t payer, double amount, const std::string& description);
    bool HasApplied() const { return !m_aEntries.empty() || !m_aNewCredits.empty(); }
    // What is left of a credit taken in this run; -1 when it was not taken.
    double Remaining(uint32_t code) const;
    // Writes what is left of each credit (deletes those below 0.001), adds the new credits and
    // releases them; the number of credits written, deleted or added.
    int Commit();
    // Releases every credit without writing (new credits are dropped).
    void Release();

private:
    struct stEntry {
        uint32_t nCode = 0xFFFFFFFF;
        double dRemaining = 0.0;
        uint32_t nLockLoc = 0xFFFFFFFF;
        host::FileId file;
    };
    struct stNewCredit {
        uint32_t nPayer = 0xFFFFFFFF;
        double dAmount = 0.0;
        std::string sDescription;
    };
    void Unlock(const stEntry& entry);

    CDatabase& m_DB;
    std::vector<stEntry> m_aEntries;
    std::vector<stNewCredit> m_aNewCredits;
};
