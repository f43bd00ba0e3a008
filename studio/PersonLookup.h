#pragma once
// The persons of the person table by code, found by halves in one sorted list: the computations
// that name or follow persons once per entry build one for the call instead of searching the
// table each time.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "database/Index.h"

class CPerson;

class CPersonLookup {
public:
    explicit CPersonLookup(const std::vector<stIndex>& persons);
    // The person of that code, null when there is none.
    const CPerson* Find(uint32_t code) const;
    // "First Last" (order 1: "Last, First"), or the person table's placeholder "Person code %u"
    // for an unknown code.
    std::string GetName(uint32_t code, int order = 0) const;
    // GetName's text added to `text`.
    void AppendName(std::string& text, uint32_t code, int order = 0) const;

private:
    std::vector<std::pair<uint32_t, const CPerson*>> m_ByCode;  // by code
};
