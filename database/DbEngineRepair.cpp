// CDbEngine: locating block headers by forward links, backward links and the "UU" delimiter,
// testing and repairing the linked list, comparing the methods, describing one block.

#include "database/DbEngine.h"

#include <algorithm>
#include <cstdint>
#include <set>

#include "common/Diagnostic.h"
#include "widgets/WindowList.h"
#include "platform/host/Format.h"

namespace {

// Delimiter scan windows: 1024 bytes, each starting 1022 after the last, so that a pair split
// across a window border is still seen.
constexpr uint32_t kScanWindow = 1024;
constexpr uint32_t kScanStep = 1022;
// Bytes of a block's data shown in its description.
constexpr uint32_t kDescriptionDataBytes = 1024;

const char* TrueFalse(bool value) {
    return value ? "TRUE" : "FALSE";
}

std::string PositionText(const std::vector<uint32_t>& list, uint32_t loc) {
    auto it = std::find(list.begin(), list.end(), loc);
    if (it == list.end()) return "--";
    return Format("%u", static_cast<unsigned>(it - list.begin()));
}

// Appends each location of `from` that `seen` does not hold yet.
void MergeOnce(std::vector<uint32_t>& into, std::set<uint32_t>& seen, const std::vector<uint32_t>& from) {
    for (uint32_t loc : from)
        if (seen.insert(loc).second) into.push_back(loc);
}

}  // namespace

void CDbEngine::FindAllHeaders(std::vector<uint32_t>& locs, CDialogWaitBox* waitBox) {
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CDbEngine::FindAllHeaders, Timer=%s\n", GetTimerText().c_str());
    uint32_t fileSize = GetFileSize(m_File);
    WaitSetMessage(waitBox, "Locating record headers by forward link");
    WaitSetTotal(waitBox, fileSize);
    uint32_t loc = LOC_START_TABLES;
    for (;;) {
        WaitSetProgress(waitBox, loc);
        uint8_t raw[DB_HEADER_LEN];
        uint32_t got = ReadFileBlockNoLock(m_File, loc, raw, DB_HEADER_LEN);
        stDataHeader h;
        h.Unpack(raw);
        if (DiagnosticLevel > 2)
            WriteDiagnosticFormat("FindAllHeaders: Next loc %i, Curr %i, Prev %i, size %i, table %i, key %i, "
                                  "status %u, read %u\n",
                                  static_cast<int>(h.nNextLoc), static_cast<int>(h.nCurrLoc),
                                  static_cast<int>(h.nPrevLoc), h.nBlockLen, h.nTable,
                                  static_cast<int>(h.nKey), static_cast<uint8_t>(h.cStatus), got);
        if (got == 0) break;
        locs.push_back(loc);
        if (h.nNextLoc == LOC_NONE) break;
        if (CheckNextLocation(fileSize, loc, h, "CDbEngine::FindAllHeaders") != 0) break;
        loc = h.nNextLoc;
    }
}

void CDbEngine::FindHeadersByBackwardLink(std::vector<uint32_t>& locs, CDialogWaitBox* waitBox,
                                          uint32_t start) {
    if (start == LOC_NONE) {
        FindHeadersFromDelimiters(locs, waitBox, 1);
        if (locs.empty()) return;
        // The last candidate may be a "UU" inside record data; start from the last one that
        // reads as a header at its own location.
        start = locs.back();
        for (auto it = locs.rbegin(); it != locs.rend(); ++it) {
            uint8_t raw[DB_HEADER_LEN];
            if (ReadFileBlockNoLock(m_File, *it, raw, DB_HEADER_LEN) != DB_HEADER_LEN) continue;
            stDataHeader h;
            h.Unpack(raw);
            if (h.nCurrLoc == *it && IsValidStatus(h.cStatus)) {
                start = *it;
                break;
            }
        }
    }
    WaitSetMessage(waitBox, "Locating record headers by backward link");
    WaitSetTotal(waitBox, start);
    locs.clear();
    std::vector<uint32_t> backward;
    uint32_t loc = start;
    for (;;) {
        WaitSetProgress(waitBox, start - loc);
        backward.push_back(loc);
        uint8_t raw[DB_HEADER_LEN];
        if (ReadFileBlockNoLock(m_File, loc, raw, DB_HEADER_LEN) == 0) break;
        stDataHeader h;
        h.Unpack(raw);
        // A link that does not lead backwards would walk in a circle.
        if (h.nPrevLoc == LOC_NONE || h.nPrevLoc < LOC_START_TABLES || h.nPrevLoc >= loc) break;
        loc = h.nPrevLoc;
    }
    locs.assign(backward.rbegin(), backward.rend());
}

void CDbEngine::FindHeadersFromDelimiters(std::vector<uint32_t>& locs, CDialogWaitBox* waitBox,
                                          int mode) {
    uint32_t fileSize = GetFileSize(m_File);
    if (fileSize == LOC_NONE) fileSize = 0;
    WaitSetMessage(waitBox, "Locating record headers by delimiter search");
    WaitSetTotal(waitBox, fileSize);
    if (DiagnosticLevel > 1)
        WriteDiagnosticFormat("CDbEngine::FindHeadersFromDelimiters file size %u\n", fileSize);

    std::vector<uint32_t> candidates;
    std::vector<uint8_t> window(kScanWindow);
    for (uint32_t startBlock = 0; startBlock < fileSize; startBlock += kScanStep) {
        WaitSetProgress(waitBox, startBlock);
        uint32_t length = std::min(kScanWindow, fileSize - startBlock);
        bool last = startBlock + kScanWindow >= fileSize;
        uint32_t got = ReadFileBlockNoTest(m_File, startBlock, window.data(), length);
        if (DiagnosticLevel > 2)
            WriteDiagnosticFormat("FindHeadersFromDelimiters nStartBlock %i, pBuffer %i, nBlockSize %i, "
                                  "nBytesRead %i\n",
                                  static_cast<int>(startBlock), 0, static_cast<int>(length),
                                  static_cast<int>(got));
        if (got == 0) break;
        uint32_t area = got >= 2 ? got - 2 : 0;
        // A window that is the last of the file is searched to its end (the pair needs a second
        // byte inside it).
        if (last && got >= 1) area = got - 1;
        bool anyU = false;
        for (uint32_t p = 0; p < area; ++p) {
            if (DiagnosticLevel > 2)
                WriteDiagnosticFormat(" pStart %i, pStart - pBuffer %i, nAreaToSearch %i, end %i\n",
                                      static_cast<int>(startBlock + p), static_cast<int>(p),
                                      static_cast<int>(area - p), static_cast<int>(startBlock + area));
            const auto next = std::find(window.begin() + p, window.begin() + area, 'U');
            if (next == window.begin() + area) break;
            p = static_cast<uint32_t>(next - window.begin());
            anyU = true;
            if (window[p + 1] == 'U') {
                uint32_t candidate = startBlock + p;
                if (DiagnosticLevel > 2)
                    WriteDiagnosticFormat(" Found UU at pStart %i, pStart - pBuffer %i\n",
                                          static_cast<int>(candidate), static_cast<int>(p));
                if (candidate < fileSize && (candidates.empty() || candidates.back() < candidate))
                    candidates.push_back(candidate);
            } else if (DiagnosticLevel > 2) {
                WriteDiagnosticFormat(" Found single U at pStart %i, pStart - pBuffer %i\n",
                                      static_cast<int>(startBlock + p), static_cast<int>(p));
            }
            // One byte on, whatever was found: after a run of 'U' bytes of odd length the header's
            // own pair starts at an odd offset.
        }
        if (!anyU && DiagnosticLevel > 2)
            WriteDiagnosticString(" No U's in block, go to next over lapped record.\n");
        if (last || got < length) break;
    }

    if (mode == 1) {
        locs = candidates;
        return;
    }

    // Validation: first the candidates that read as a header of their own; then each of them
    // against its neighbours among those, so that a "UU" inside a block's data does not make
    // the block itself look too large.
    struct Plausible {
        uint32_t loc;
        stDataHeader header;
    };
    std::vector<Plausible> plausible;
    for (uint32_t candidate : candidates) {
        uint8_t raw[DB_HEADER_LEN];
        if (ReadFileBlockNoLock(m_File, candidate, raw, DB_HEADER_LEN) == 0) break;
        stDataHeader h;
        h.Unpack(raw);
        if (DiagnosticLevel > 1)
            WriteDiagnosticFormat(" Next loc %i, Curr %i, Prev %i, size %i, table %i, key %i, subtable %i, "
                                  "subkey %i, user %i, status %i\n",
                                  static_cast<int>(h.nNextLoc), static_cast<int>(h.nCurrLoc),
                                  static_cast<int>(h.nPrevLoc), h.nBlockLen, h.nTable,
                                  static_cast<int>(h.nKey), h.nSubTable, static_cast<int>(h.nSubKey),
                                  h.nUser, h.cStatus);
        stHeaderChecks checks;
        ValidateHeader(candidate, LOC_NONE, LOC_NONE, h, checks);
        if (checks.bCurrLoc && checks.bStatus && checks.bUser && checks.bTable && checks.bDataFits)
            plausible.push_back({candidate, h});
        else if (DiagnosticLevel > 1)
            WriteDiagnosticString(" >>Not added to list\n");
    }
    for (size_t i = 0; i < plausible.size(); ++i) {
        uint32_t prev = i == 0 ? LOC_NONE : plausible[i - 1].loc;
        uint32_t next = i + 1 == plausible.size() ? LOC_NONE : plausible[i + 1].loc;
        stHeaderChecks checks;
        ValidateHeader(plausible[i].loc, prev, next, plausible[i].header, checks);
        if (checks.bBlockSize) {
            locs.push_back(plausible[i].loc);
            if (DiagnosticLevel > 1) WriteDiagnosticString(" >>Added to list\n");
        } else if (DiagnosticLevel > 1) {
            WriteDiagnosticString(" >>Not added to list\n");
        }
    }
}

int CDbEngine::ValidateHeader(uint32_t loc, uint32_t expectedPrev, uint32_t expectedNext,
                              const stDataHeader& h, stHeaderChecks& c) {
    c.bStatus = h.cStatus != 0 && IsValidStatus(h.cStatus);
    c.bUser = h.nUser >= 1 && h.nUser <= 127;
    c.bTable = h.nTable >= 1 && h.nTable <= DB_NUM_TABLES;
    c.bDataFits = h.nDataLen <= h.nBlockLen;
    c.bCurrLoc = h.nCurrLoc == loc;
    c.bPrev = expectedPrev == LOC_NONE || expectedPrev == h.nPrevLoc;
    c.bNext = expectedNext == LOC_NONE || expectedNext == h.nNextLoc;
    c.bBlockSize = expectedNext == LOC_NONE ||
                   static_cast<uint64_t>(h.nCurrLoc) + h.nBlockLen + 4 < expectedNext;
    int errors = !c.bStatus + !c.bUser + !c.bTable + !c.bDataFits + !c.bPrev + !c.bNext + !c.bBlockSize;
    if (DiagnosticLevel > 1)
        WriteDiagnosticFormat(" Num errors %i, status %s user %s table %s prev loc %s next loc %s block size %s\n",
                              errors, TrueFalse(c.bStatus), TrueFalse(c.bUser), TrueFalse(c.bTable),
                              TrueFalse(c.bPrev), TrueFalse(c.bNext), TrueFalse(c.bBlockSize));
    return errors;
}

void CDbEngine::FindUsableHeaders(std::vector<uint32_t>& locs, CDialogWaitBox* waitBox) {
    std::vector<uint32_t> forward, backward, delimiters;
    FindAllHeaders(forward, waitBox);
    FindHeadersFromDelimiters(delimiters, waitBox, 1);
    if (!delimiters.empty()) FindHeadersByBackwardLink(backward, waitBox, LOC_NONE);
    std::set<uint32_t> seen;
    locs.clear();
    MergeOnce(locs, seen, forward);
    MergeOnce(locs, seen, backward);
    MergeOnce(locs, seen, delimiters);
    std::sort(locs.begin(), locs.end());
    for (size_t i = locs.size(); i-- > 0;) {
        uint8_t raw[DB_HEADER_LEN];
        stDataHeader h;
        bool usable = ReadFileBlockNoLock(m_File, locs[i], raw, DB_HEADER_LEN) == DB_HEADER_LEN;
        if (usable) {
            h.Unpack(raw);
            usable = IsValidStatus(h.cStatus) && h.nTable >= 1 && h.nTable <= DB_NUM_TABLES &&
                     h.nDataLen <= h.nBlockLen;
        }
        if (!usable) locs.erase(locs.begin() + static_cast<long>(i));
    }
}

void CDbEngine::LocateHeaders(char method, std::vector<uint32_t>& locs, CDialogWaitBox* waitBox) {
    locs.clear();
    switch (method) {
    case 'F': FindAllHeaders(locs, waitBox); break;
    case 'B': FindHeadersByBackwardLink(locs, waitBox, LOC_NONE); break;
    case 'D': FindHeadersFromDelimiters(locs, waitBox, 0); break;
    default: FindUsableHeaders(locs, waitBox); break;
    }
}

void CDbEngine::AnalyzeHeaderSearches(std::vector<std::string>& report) {
    CDialogWaitBox* box = ShowWaitBox("Collect data to compare", false, 0);
    std::vector<uint32_t> forward, backward, delimiters;
    FindAllHeaders(forward, box);
    FindHeadersFromDelimiters(delimiters, box, 1);
    if (!delimiters.empty()) FindHeadersByBackwardLink(backward, box, LOC_NONE);

    WaitSetMessage(box, "Collating record headers");
    std::vector<uint32_t> merged;
    std::set<uint32_t> seen;
    WaitSetTotal(box, forward.size() + backward.size() + delimiters.size());
    MergeOnce(merged, seen, forward);
    MergeOnce(merged, seen, backward);
    MergeOnce(merged, seen, delimiters);
    WaitSetProgress(box, merged.size());
    WaitSetMessage(box, "Sorting record headers");
    std::sort(merged.begin(), merged.end());

    uint32_t records[DB_NUM_TABLES + 1] = {};
    uint32_t deleted[DB_NUM_TABLES + 1] = {};
    uint32_t usableCount = 0, unusable = 0;
    WaitSetMessage(box, "Generating report");
    WaitSetTotal(box, merged.size());
    report.push_back("File\tForward\tBackward\tDelimiters");
    report.push_back("Location\tIndex\tIndex\tIndex");
    for (size_t i = 0; i < merged.size(); ++i) {
        WaitSetProgress(box, i);
        uint32_t loc = merged[i];
        std::string f = PositionText(forward, loc), b = PositionText(backward, loc),
                    d = PositionText(delimiters, loc);
        uint8_t raw[DB_HEADER_LEN];
        stDataHeader h;
        bool usable = ReadFileBlockNoLock(m_File, loc, raw, DB_HEADER_LEN) == DB_HEADER_LEN;
        if (usable) {
            h.Unpack(raw);
            int64_t room = h.nBlockLen;
            if (i + 1 < merged.size())
                room = std::max<int64_t>(h.nBlockLen, static_cast<int64_t>(merged[i + 1]) - DB_HEADER_LEN -
                                                          static_cast<int64_t>(loc) + 10);
            usable = IsValidStatus(h.cStatus) && h.nTable >= 1 && h.nTable <= DB_NUM_TABLES &&
                     h.nDataLen <= room;
        }
        if (!usable) {
            ++unusable;
            report.push_back(Format("%u\t%s\t%s\t%s\tnot usable", loc, f.c_str(), b.c_str(), d.c_str()));
            continue;
        }
        ++usableCount;
        ++records[h.nTable];
        std::string line = Format("%u\t%s\t%s\t%s\t%s, key %u, count %u", loc, f.c_str(), b.c_str(),
                                  d.c_str(), GetTableName(h.nTable).c_str(), h.nKey, records[h.nTable]);
        if (h.nSubTable != 0) line += ", subtable";
        if (h.cStatus == DB_STATUS_DELETED || h.cStatus == DB_STATUS_MARKDEL) {
            line += ", deleted";
            ++deleted[h.nTable];
        }
        report.push_back(line);
    }
    report.push_back("");
    report.push_back(Format("Possibly usable %u, unusable %u", usableCount, unusable));
    report.push_back("");
    for (uint32_t t = 1; t <= DB_NUM_TABLES; ++t)
        report.push_back(Format("%s\t\trecords %u, deleted %u", GetTableName(t).c_str(), records[t], deleted[t]));
    CloseWaitBox(box);
}

int CDbEngine::TestAndRepairHeaders(char method, int repair, std::vector<std::string>& report,
                                    int* rewritten) {
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CDbEngine::TestAndRepairHeaders(), Timer=%s\n", GetTimerText().c_str());
    const bool fix = repair == 1;
    int anyRewritten = 0;
    CDialogWaitBox* box = ShowWaitBox("Collect data to test linked list structure", false, 0);
    report.push_back(fix ? "Test and repair linked list structure."
                         : "Test linked list structure [To repair problems use menu item 'Repair linked "
                           "list' or 'Analyze and reconstruct database']");
    report.push_back("");

    std::vector<uint32_t> locs;
    LocateHeaders(method, locs, box);
    report.push_back(Format("Number of headers found is %u.", static_cast<unsigned>(locs.size())));
    const size_t countLine = report.size();
    uint32_t errors = 0;

    auto fail = [&](const std::string& line) {
        report.push_back(line);
        if (DiagnosticLevel > 0) WriteDiagnosticFormat(" !!Error, %s\n", line.c_str());
        ++errors;
    };
    auto rewrite = [&](uint32_t loc, stDataHeader& h, const std::string& line) {
        WriteDbHeader(loc, h, true);
        anyRewritten = 1;
        report.push_back(line);
    };
    auto readHeader = [&](uint32_t loc, stDataHeader& h) {
        uint8_t raw[DB_HEADER_LEN];
        if (ReadFileBlockNoLock(m_File, loc, raw, DB_HEADER_LEN) != DB_HEADER_LEN) return false;
        h.Unpack(raw);
        return true;
    };

    for (size_t i = 0; i < locs.size(); ++i) {
        if ((i > 0 && locs[i] < locs[i - 1]) || (i + 1 < locs.size() && locs[i + 1] < locs[i]))
            report.push_back(Format("Header at %u out of sequence.", static_cast<unsigned>(i)));
    }

    stDataHeader h;
    if (!locs.empty() && readHeader(locs.front(), h)) {
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("First record pointer to previous record (%u).\n", h.nPrevLoc);
        if (h.nPrevLoc != LOC_NONE) {
            fail(Format("First record pointer to previous record wrong (%u).", h.nPrevLoc));
            if (fix) {
                h.nPrevLoc = LOC_NONE;
                rewrite(locs.front(), h,
                        Format(" First record pointer to previous record repaired (%u).", h.nPrevLoc));
            }
        }
    }
    if (locs.size() >= 2 && readHeader(locs.back(), h)) {
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("Last record pointer to following record (%u).\n", h.nNextLoc);
        if (h.nNextLoc != LOC_NONE) {
            fail(Format("Last record pointer to following record wrong (%u).", h.nNextLoc));
            if (fix) {
                h.nNextLoc = LOC_NONE;
                rewrite(locs.back(), h,
                        Format(" Last record pointer to following record repaired (%u).", h.nNextLoc));
            }
        }
    }

    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CDbEngine::TestAndRepairHeaders(), test loop size %u\n",
                              static_cast<unsigned>(locs.size()));
    WaitSetMessage(box, "Test linked list structure of records");
    WaitSetTotal(box, locs.size());
    for (size_t i = 0; i < locs.size(); ++i) {
        WaitSetProgress(box, i);
        const uint32_t loc = locs[i];
        const bool first = i == 0, last = i + 1 == locs.size();
        const uint32_t listedPrev = first ? LOC_NONE : locs[i - 1];
        const uint32_t listedNext = last ? LOC_NONE : locs[i + 1];
        if (!readHeader(loc, h)) continue;
        stHeaderChecks c;
        ValidateHeader(loc, listedPrev, listedNext, h, c);
        if (DiagnosticLevel > 2)
            WriteDiagnosticFormat("Loop %u: Next loc %i, Curr %i, Prev %i, size %i, table %i, key %i, subtable %i, "
                                  "subkey %i, status %c\n",
                                  static_cast<unsigned>(i), static_cast<int>(h.nNextLoc),
                                  static_cast<int>(h.nCurrLoc), static_cast<int>(h.nPrevLoc), h.nBlockLen,
                                  h.nTable, static_cast<int>(h.nKey), h.nSubTable,
                                  static_cast<int>(h.nSubKey), h.cStatus);
        auto markDeleted = [&]() {
            h.cStatus = DB_STATUS_DELETED;
            rewrite(loc, h, Format(" Record marked as deleted status %c.", h.cStatus));
        };
        // The user code a key stands for; a key of the 256th prefix has none.
        auto keyUser = [&]() {
            uint32_t u = KeyUserCode(h.nKey) & 0xFF;
            return u == 0 ? static_cast<uint32_t>(GetCurrentUserCode()) : u;
        };

        if (!(h.cStatus != 0 && IsValidStatus(h.cStatus))) {
            fail(Format("Record at %u has invalid status %c.", loc, h.cStatus));
            if (fix) markDeleted();
        }
        if (!(h.nUser >= 1 && h.nUser <= 127)) {
            fail(Format("Record at %u has invalid user number %i.", loc, h.nUser));
            if (fix) {
                h.nUser = static_cast<uint8_t>(keyUser());
                rewrite(loc, h, Format(" User code reset to %u.", h.nUser));
            }
        }
        if (h.cStatus != DB_STATUS_DELETED && h.nKey != LOC_NONE && h.nUser != KeyUserCode(h.nKey)) {
            fail(Format("Record at %u, table %u, created by user %i but key %u out of range %u-%u.", loc,
                        h.nTable, h.nUser, h.nKey, static_cast<uint32_t>(KeyRangeStart(h.nUser)),
                        static_cast<uint32_t>(KeyRangeEnd(h.nUser) - 1)));
            if (fix) {
                h.nUser = static_cast<uint8_t>(keyUser());
                rewrite(loc, h, Format(" User code reset to %u.", h.nUser));
            }
        }
        if (!(h.nTable >= 1 && h.nTable <= DB_NUM_TABLES)) {
            fail(Format("Record at %u has invalid table index %u", loc, h.nTable));
            if (fix) markDeleted();
        }
        if (h.nDataLen > h.nBlockLen) {
            fail(Format("Record at %u has data block larger (%u) than storage block (%u).", loc, h.nDataLen,
                        h.nBlockLen));
            if (fix) {
                // Freed storage holds no record: its data length no longer reaches past it.
                h.nDataLen = h.nBlockLen;
                markDeleted();
            }
        }
        if (!first && h.nPrevLoc != listedPrev) {
            fail(Format("Record at %u has invalid pointer %u to previous record at %u.", loc, h.nPrevLoc,
                        listedPrev));
            if (fix) {
                h.nPrevLoc = listedPrev;
                rewrite(loc, h, Format(" Pointer to previous record set to %u.", h.nPrevLoc));
            }
        }
        if (!last && h.nNextLoc != listedNext) {
            fail(Format("Record at %u has invalid pointer %u to next record at %u.", loc, h.nNextLoc,
                        listedNext));
            if (fix) {
                h.nNextLoc = listedNext;
                rewrite(loc, h, Format(" Pointer to next record set to %u.", h.nNextLoc));
            }
        }
        if (!last) {
            int64_t room = static_cast<int64_t>(listedNext) - loc - DB_HEADER_LEN;
            if (room < 0 || room != h.nBlockLen) {
                if (room < h.nBlockLen) {
                    fail(Format("Record at %u has invalid indicated block size %u > %i available.", loc,
                                h.nBlockLen, static_cast<int>(room)));
                    if (fix) {
                        markDeleted();
                        // A free block that still claimed the next header's bytes would hand
                        // them out to the next record written into it.
                        if (room >= 0) {
                            h.nBlockLen = static_cast<uint16_t>(room);
                            if (h.nDataLen > h.nBlockLen) h.nDataLen = h.nBlockLen;
                            rewrite(loc, h, Format(" Block size set to %u.", h.nBlockLen));
                        }
                    }
                } else {
                    fail(Format("Record at %u has invalid indicated block size %u < %i available.", loc,
                                h.nBlockLen, static_cast<int>(room)));
                    // A block length holds 16 bits; a larger gap is reported and left as it is.
                    if (fix && room <= MAX_RECORD_DATA_LENGTH) {
                        h.nBlockLen = static_cast<uint16_t>(room);
                        rewrite(loc, h, Format(" Block size set to %u.", h.nBlockLen));
                    }
                }
            }
        }
    }
    CloseWaitBox(box);
    if (rewritten != nullptr) *rewritten = anyRewritten;
    if (errors == 0) {
        report.push_back("No problems found.");
        return 1;
    }
    report.insert(report.begin() + static_cast<long>(countLine), Format("%u errors found.", errors));
    return 0;
}

std::string CDbEngine::GetBlockDescription(uint32_t loc) {
    uint8_t raw[DB_HEADER_LEN];
    if (ReadFileBlockNoLock(m_File, loc, raw, DB_HEADER_LEN) == 0)
        return Format("Error in reading from file location %u, table %i, key %i", loc, 0, 0);
    stDataHeader h;
    h.Unpack(raw);
    const char* state = StatusStateName(h.cStatus);
    std::string block =
        h.nNextLoc == LOC_NONE
            ? Format("[%i%s, size %u, used %u, LAST]", static_cast<int>(loc), state, h.nBlockLen, h.nDataLen)
            : Format("[%i%s, size %u, used %u, next %u]", static_cast<int>(loc), state, h.nBlockLen,
                     h.nDataLen, h.nNextLoc);
    std::string keyPart = h.nSubTable != 0 ? Format("key %u/%u", h.nKey, h.nSubTable) : Format("key %u", h.nKey);
    std::string tablePart =
        h.nTable >= 1 && h.nTable <= DB_NUM_TABLES
            ? Format("[%s, %s]", GetTableName(h.nTable).c_str(), keyPart.c_str())
            : Format("[Table %u/%u, %s]", h.nTable, h.nSubTable, keyPart.c_str());
    std::string line = Format("%s %s[%s]", block.c_str(), tablePart.c_str(), GetUserName(h.nUser).c_str());
    uint32_t n = std::min<uint32_t>(h.nDataLen, kDescriptionDataBytes);
    if (n > 0 && ReadFileBlockNoLock(m_File, loc + DB_HEADER_LEN, m_cBuffer, n) == n) line += FormatBytesForTrace(n);
    return line;
}
