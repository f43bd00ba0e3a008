// CDbEngine: the header array and the record store over it.

#include "database/DbEngine.h"

#include <algorithm>
#include <cstring>

#include "common/Diagnostic.h"
#include "common/ListHelpers.h"
#include "common/QuestionBox.h"
#include "widgets/WindowList.h"
#include "platform/host/Clock.h"
#include "platform/host/Format.h"
#include "platform/host/WaitCursor.h"

namespace {

// Tries to take a header's range before re-reading the file size for a repair.
constexpr int kRepairLockTries = 500;
// Reads of a record whose data disagrees with its header before it counts as damaged (another
// copy may be rewriting it between our header and data reads).
constexpr int kDamagedRecordReads = 3;

double Seconds() {
    return static_cast<double>(host::Clock::TickCount()) / 1000.0;
}

bool IsWasted(char status) {
    return status == DB_STATUS_DELETED || status == DB_STATUS_MARKDEL || status == 0;
}

bool IsLive(char status) {
    return status == DB_STATUS_USED || status == DB_STATUS_LOCKED;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Headers

std::string CDbEngine::FormatHeader(const stDataHeader& h) {
    return Format("Header: Table %i, key %u, CurrLoc %u, Status %c, NextLoc %u, PrevLoc %u, "
                  "BlkLen %u, DataLen %u",
                  h.nTable, h.nKey, h.nCurrLoc, h.cStatus, h.nNextLoc, h.nPrevLoc, h.nBlockLen,
                  h.nDataLen);
}

bool CDbEngine::ReadDbHeader(uint32_t loc, stDataHeader& header, bool locked) {
    uint8_t raw[DB_HEADER_LEN];
    if (loc == LOC_NONE || ReadDbBlock(loc, raw, DB_HEADER_LEN, locked) != DB_HEADER_LEN)
        return false;
    header.Unpack(raw);
    return true;
}

int CDbEngine::FindHeaderIndex(uint32_t loc) const {
    auto it = std::lower_bound(m_aHeaders.begin(), m_aHeaders.end(), loc,
                               [](const stDataHeader& h, uint32_t l) { return h.nCurrLoc < l; });
    if (it != m_aHeaders.end() && it->nCurrLoc == loc) return static_cast<int>(it - m_aHeaders.begin());
    return -1;
}

// ---------------------------------------------------------------------------------------------
// The lookup index over the header array

namespace {

uint64_t HeaderKeyOf(uint32_t table, uint32_t key, uint32_t subtable) {
    return (static_cast<uint64_t>(table & 0xFF) << 40) | (static_cast<uint64_t>(key) << 8) | (subtable & 0xFF);
}

}  // namespace

void CDbEngine::InvalidateHeaderIndex() {
    m_bHeaderIndexValid = false;
    m_HeaderKeys.clear();
    m_FreeBlocks.clear();
    m_nBrokenLinks = 0;
    m_nIndexedHeaders = 0;
}

size_t CDbEngine::LinkBrokenAt(size_t index) const {
    if (index + 1 >= m_aHeaders.size()) return 0;
    const stDataHeader& h = m_aHeaders[index];
    return (h.nNextLoc != m_aHeaders[index + 1].nCurrLoc || h.nNextLoc <= h.nCurrLoc) ? 1 : 0;
}

void CDbEngine::IndexHeaderEntry(size_t index, bool add) {
    const stDataHeader& h = m_aHeaders[index];
    if (h.cStatus == DB_STATUS_DELETED) {
        if (add) m_FreeBlocks.insert({h.nBlockLen, h.nCurrLoc});
        else m_FreeBlocks.erase({h.nBlockLen, h.nCurrLoc});
        return;
    }
    const uint64_t key = HeaderKeyOf(h.nTable, h.nKey, h.nSubTable);
    if (add) {
        std::vector<uint32_t>& locs = m_HeaderKeys[key];
        locs.insert(std::lower_bound(locs.begin(), locs.end(), h.nCurrLoc), h.nCurrLoc);
        return;
    }
    auto it = m_HeaderKeys.find(key);
    if (it == m_HeaderKeys.end()) return;
    std::vector<uint32_t>& locs = it->second;
    auto at = std::lower_bound(locs.begin(), locs.end(), h.nCurrLoc);
    if (at != locs.end() && *at == h.nCurrLoc) locs.erase(at);
    if (locs.empty()) m_HeaderKeys.erase(it);
}

void CDbEngine::RebuildHeaderIndex() {
    InvalidateHeaderIndex();
    for (size_t i = 0; i < m_aHeaders.size(); ++i) {
        IndexHeaderEntry(i, true);
        m_nBrokenLinks += LinkBrokenAt(i);
    }
    m_nIndexedHeaders = m_aHeaders.size();
    m_bHeaderIndexValid = true;
}

bool CDbEngine::HeaderIndexServes(uint32_t fileSize) {
    if (!m_bHeaderIndexValid || m_nIndexedHeaders != m_aHeaders.size()) RebuildHeaderIndex();
    if (m_nBrokenLinks != 0) return false;
    return m_aHeaders.size() < 2 || m_aHeaders.back().nCurrLoc <= fileSize;
}

void CDbEngine::SetHeaderAt(size_t index, const stDataHeader& header) {
    const bool tracked = m_bHeaderIndexValid && m_nIndexedHeaders == m_aHeaders.size();
    if (!tracked) {
        m_aHeaders[index] = header;
        m_bHeaderIndexValid = false;
        return;
    }
    m_nBrokenLinks -= LinkBrokenAt(index);
    if (index > 0) m_nBrokenLinks -= LinkBrokenAt(index - 1);
    IndexHeaderEntry(index, false);
    m_aHeaders[index] = header;
    IndexHeaderEntry(index, true);
    m_nBrokenLinks += LinkBrokenAt(index);
    if (index > 0) m_nBrokenLinks += LinkBrokenAt(index - 1);
}

void CDbEngine::InsertHeaderAt(size_t index, const stDataHeader& header) {
    const bool tracked = m_bHeaderIndexValid && m_nIndexedHeaders == m_aHeaders.size();
    if (!tracked) {
        m_aHeaders.insert(m_aHeaders.begin() + static_cast<long>(index), header);
        m_bHeaderIndexValid = false;
        return;
    }
    if (index > 0) m_nBrokenLinks -= LinkBrokenAt(index - 1);
    m_aHeaders.insert(m_aHeaders.begin() + static_cast<long>(index), header);
    if (index > 0) m_nBrokenLinks += LinkBrokenAt(index - 1);
    m_nBrokenLinks += LinkBrokenAt(index);
    IndexHeaderEntry(index, true);
    m_nIndexedHeaders = m_aHeaders.size();
}

void CDbEngine::PutHeaderInArray(const stDataHeader& header) {
    const uint32_t loc = header.nCurrLoc;
    auto it = std::lower_bound(m_aHeaders.begin(), m_aHeaders.end(), loc,
                               [](const stDataHeader& h, uint32_t l) { return h.nCurrLoc < l; });
    size_t index = static_cast<size_t>(it - m_aHeaders.begin());
    if (it != m_aHeaders.end() && it->nCurrLoc == loc) {
        SetHeaderAt(index, header);
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("CDbEngine::WriteDbHeader: updating header %s, key %u at %u(%u) at %u\n",
                                  GetTableName(header.nTable).c_str(), header.nKey, loc, header.nCurrLoc,
                                  static_cast<unsigned>(index));
    } else if (it != m_aHeaders.end()) {
        InsertHeaderAt(index, header);
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("CDbEngine::WriteDbHeader: inserting new header %s, key %u at %u(%u), at %i\n",
                                  GetTableName(header.nTable).c_str(), header.nKey, loc, header.nCurrLoc,
                                  static_cast<int>(index));
    } else {
        InsertHeaderAt(m_aHeaders.size(), header);
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("CDbEngine::WriteDbHeader: appending new header %s, key %u at %u(%u)\n",
                                  GetTableName(header.nTable).c_str(), header.nKey, loc, header.nCurrLoc);
    }
}

uint32_t CDbEngine::WriteDbHeader(uint32_t loc, stDataHeader& header, bool locked) {
    uint8_t raw[DB_HEADER_LEN];
    header.Pack(raw);
    uint32_t written = WriteDbBlock(loc, raw, DB_HEADER_LEN, locked, "WriteDbHeader");
    stDataHeader entry = header;
    entry.nCurrLoc = loc;
    PutHeaderInArray(entry);
    return written;
}

char CDbEngine::ReadHeaderStatus(uint32_t loc, uint8_t& table, uint32_t& key) {
    stDataHeader h;
    if (!ReadDbHeader(loc, h, true)) return 0;
    table = h.nTable;
    key = h.nKey;
    return h.cStatus;
}

int CDbEngine::CheckNextLocation(uint32_t fileSize, uint32_t loc, stDataHeader& header,
                                 const char* caller) {
    if (header.nNextLoc > loc && header.nNextLoc <= fileSize) return 0;

    // Another copy may have grown the file or rewritten this header since the size was taken:
    // look again, holding the header's range, before cutting the chain.
    bool held = false;
    if (m_File.IsOpen() && UseRangeLocks()) {
        for (int i = 0; i < kRepairLockTries && !held; ++i) held = m_File.Lock(loc, DB_HEADER_LEN);
    }
    uint32_t freshSize = GetFileSize(m_File);
    stDataHeader current = header;
    uint8_t raw[DB_HEADER_LEN];
    if (ReadFileBlockNoLock(m_File, loc, raw, DB_HEADER_LEN) == DB_HEADER_LEN) current.Unpack(raw);
    if (freshSize != LOC_NONE && current.nNextLoc > loc && current.nNextLoc <= freshSize) {
        if (held) m_File.Unlock(loc, DB_HEADER_LEN);
        header.nNextLoc = current.nNextLoc;
        int index = FindHeaderIndex(loc);
        if (index >= 0) {
            stDataHeader updated = m_aHeaders[index];
            updated.nNextLoc = current.nNextLoc;
            SetHeaderAt(static_cast<size_t>(index), updated);
        }
        return 0;
    }
    if (freshSize != LOC_NONE) fileSize = freshSize;

    uint32_t wrongNext = current.nNextLoc;
    current.nNextLoc = LOC_NONE;
    header.nNextLoc = LOC_NONE;
    if (held) {
        // This handle holds the range already: write it directly, then let it go.
        current.Pack(raw);
        WriteFileBlockUnflushed(m_File, loc, raw, DB_HEADER_LEN);
        FlushDbFile();
        m_File.Unlock(loc, DB_HEADER_LEN);
        stDataHeader entry = current;
        entry.nCurrLoc = loc;
        PutHeaderInArray(entry);
    } else {
        WriteDbHeader(loc, current, true);
    }
    std::string message =
        wrongNext <= fileSize
            ? Format("Invalid end of file marker found (predicted next location %u less than current "
                     "location %u) and repaired at %u in %s.",
                     wrongNext, loc, loc, caller)
            : Format("Invalid end of file marker found (predicted next location %u past end of file "
                     "size %u) and repaired at %u in %s.",
                     wrongNext, fileSize, loc, caller);
    if (DiagnosticLevel > 0) WriteDiagnosticFormat("%s\n", message.c_str());
    ShowMessage(message);
    return 1;
}

uint32_t CDbEngine::MakeFileHeaderArray(CDialogWaitBox* waitBox, std::string* message) {
    double start = Seconds();
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CDbEngine::MakeFileHeaderArray(), Timer=%s\n", GetTimerText().c_str());
    m_aHeaders.clear();
    InvalidateHeaderIndex();
    uint32_t fileSize = GetFileSize(m_File);
    if (waitBox != nullptr) {
        WaitSetMessage(waitBox, "Locating record headers");
        WaitSetTotal(waitBox, fileSize);
    }
    double totalStorage = 0, wasted = 0, used = 0, usedData = 0;
    uint32_t loc = LOC_START_TABLES;
    CProgressPace pace;
    for (;;) {
        if (waitBox != nullptr && pace.Due(loc, fileSize)) WaitSetProgress(waitBox, loc);
        stDataHeader h;
        if (!ReadDbHeader(loc, h, true)) break;
        h.nCurrLoc = loc;
        m_aHeaders.push_back(h);
        if (h.nNextLoc == LOC_NONE) break;
        totalStorage += h.nBlockLen;
        if (IsWasted(h.cStatus)) {
            wasted += h.nBlockLen;
        } else {
            used += h.nBlockLen;
            usedData += h.nDataLen;
        }
        if (CheckNextLocation(fileSize, loc, h, "CDbEngine::MakeFileHeaderArray") != 0) break;
        loc = h.nNextLoc;
    }
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("Exit CDbEngine::MakeFileHeaderArray() size %u, last nFileLoc=%u, %s, Timer=%s\n",
                              fileSize, loc, m_sFileName.c_str(), GetTimerText().c_str());
    if (message != nullptr) {
        double percent = totalStorage > 0 ? (wasted + used - usedData) * 100.0 / totalStorage : 0.0;
        if (GetUserAccessLevel() == 10 && percent > 20.0)
            *message = Format("Percentage of wasted space due to deleted\ndata maintained for merge "
                              "operations is %.2f percent.\nIf you are not planning to merge data "
                              "from another\ndatabase you should clear the deleted data buffers.\n"
                              "(Go to menu Miscellaneous/Deleted data/Clear deleted data)",
                              percent);
        else
            message->clear();
    }
    m_dTiming[0] += Seconds() - start;
    return fileSize;
}

int CDbEngine::UpdateHeader(uint32_t loc, std::vector<stRefreshFlag>& refreshFlags) {
    if (loc == LOC_NONE) {
        if (DiagnosticLevel > 0)
            WriteDiagnosticString("CDbEngine::UpdateHeader redo array due to NULL file loc\n");
        MakeFileHeaderArray(nullptr, nullptr);
        return 0;
    }
    stDataHeader h;
    if (!ReadDbHeader(loc, h, true)) {
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("CDbEngine::UpdateHeader failed to read header at %u, redo array\n", loc);
        MakeFileHeaderArray(nullptr, nullptr);
        return 0;
    }
    h.nCurrLoc = loc;
    if (h.cStatus == DB_STATUS_LOCKED) h.cStatus = DB_STATUS_USED;
    stRefreshFlag flag;
    flag.nUser = h.nUser;
    flag.nTable = h.nTable;
    flag.nKey = h.nKey;
    bool known = std::any_of(refreshFlags.begin(), refreshFlags.end(), [&](const stRefreshFlag& f) {
        return f.nUser == flag.nUser && f.nTable == flag.nTable && f.nKey == flag.nKey;
    });
    if (!known) {
        refreshFlags.push_back(flag);
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("CDbEngine::UpdateHeader add table %i, key %u to refresh array\n",
                                  h.nTable, h.nKey);
    }
    int index = FindHeaderIndex(loc);
    if (index >= 0) {
        SetHeaderAt(static_cast<size_t>(index), h);
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("CDbEngine::UpdateHeader loc %u, update %s\n", loc, FormatHeader(h).c_str());
        return 1;
    }
    if (m_aHeaders.empty() ||
        (m_aHeaders.back().nNextLoc == loc && h.nPrevLoc == m_aHeaders.back().nCurrLoc)) {
        InsertHeaderAt(m_aHeaders.size(), h);
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("CDbEngine::UpdateHeader loc %u, add new %s\n", loc, FormatHeader(h).c_str());
        return 1;
    }
    if (DiagnosticLevel > 0)
        WriteDiagnosticString("CDbEngine::UpdateHeader redo array due to out of sequence new header\n");
    MakeFileHeaderArray(nullptr, nullptr);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Finding and reading

uint32_t CDbEngine::GetItemLoc(uint32_t table, uint32_t key, uint32_t subtable,
                               int includeMarkDeleted) {
    uint32_t fileSize = GetFileSize(m_File);
    if (HeaderIndexServes(fileSize)) {
        if (table > 0xFF || subtable > 0xFF) return LOC_NONE;
        auto it = m_HeaderKeys.find(HeaderKeyOf(table, key, subtable));
        if (it == m_HeaderKeys.end()) return LOC_NONE;
        for (uint32_t loc : it->second) {
            int at = FindHeaderIndex(loc);
            if (at < 0) continue;
            char status = m_aHeaders[at].cStatus;
            if (IsLive(status) || (status == DB_STATUS_MARKDEL && includeMarkDeleted == 1)) return loc;
        }
        return LOC_NONE;
    }
    for (size_t i = 0; i < m_aHeaders.size(); ++i) {
        stDataHeader h = m_aHeaders[i];
        if (h.nTable == table && h.nKey == key && h.nSubTable == subtable &&
            (IsLive(h.cStatus) || (h.cStatus == DB_STATUS_MARKDEL && includeMarkDeleted == 1)))
            return h.nCurrLoc;
        if (h.nNextLoc == LOC_NONE || i + 1 == m_aHeaders.size()) break;
        if (CheckNextLocation(fileSize, h.nCurrLoc, h, "CDbEngine::GetItemLoc") != 0) break;
    }
    return LOC_NONE;
}

uint32_t CDbEngine::ReadRecord(uint32_t loc, bool locked, uint32_t* key, uint32_t* subkey,
                               uint8_t* subtable) {
    m_nRecordLength = 0;
    if (loc == LOC_NONE) return 0;
    for (int attempt = 0; attempt < kDamagedRecordReads; ++attempt) {
        stDataHeader h;
        if (!ReadDbHeader(loc, h, locked)) return 0;
        uint32_t found = h.nDataLen > 0 ? ReadDbBlock(loc + DB_HEADER_LEN, m_cBuffer, h.nDataLen, locked) : 0;
        if (key != nullptr) *key = h.nKey;
        if (subkey != nullptr) *subkey = h.nSubKey;
        if (subtable != nullptr) *subtable = h.nSubTable;
        if (DiagnosticLevel > 2)
            WriteDiagnosticFormat(" ReadRecord return: header loc %u, data loc %u, requested size %u, found size %i\n",
                                  loc, loc + DB_HEADER_LEN, h.nDataLen, static_cast<int>(found));
        if (found == h.nDataLen && TestDataCheck(h, m_cBuffer, found) == 0) {
            if (DiagnosticLevel > 0)
                WriteDiagnosticFormat("ReadRecord: data at %u does not match its header (%s)\n", loc,
                                      FormatHeader(h).c_str());
            continue;
        }
        m_nRecordLength = found;
        return found;
    }
    return 0;
}

uint32_t CDbEngine::ReadRecord(uint32_t table, uint32_t key) {
    uint32_t loc = GetItemLoc(table, key, 0, 0);
    if (DiagnosticLevel > 2) {
        if (loc != LOC_NONE)
            WriteDiagnosticFormat("ReadRecord: Table %u, key %u, found at %u\n", table, key, loc);
        else
            WriteDiagnosticFormat("ReadRecord: Table %u, key %u, not found\n", table, key);
    }
    if (loc == LOC_NONE) {
        m_nRecordLength = 0;
        return 0;
    }
    return ReadRecord(loc, true);
}

// ---------------------------------------------------------------------------------------------
// Choosing a block and writing

uint32_t CDbEngine::ChooseBlock(uint32_t needed, stDataHeader& header, uint32_t& linkFrom,
                                std::vector<uint32_t>& outgrown) {
    linkFrom = LOC_NONE;
    uint32_t fileSize = GetFileSize(m_File);
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CDbEngine::GetNextFree: %s, key %u, subtable %u, subkey %u, file size %u\n",
                              GetTableName(header.nTable).c_str(), header.nKey, header.nSubTable,
                              header.nSubKey, fileSize);
    if (m_aHeaders.empty()) {
        if (DiagnosticLevel > 0) WriteDiagnosticString("  GetNextFree: return LOC_START_TABLES\n");
        return LOC_START_TABLES;
    }
    // With the lookup index the choice is the walk's without the walk: the first block of the
    // same item that is large enough, else the smallest free block that fits (the first of its
    // size), else a new block behind the last one. Each freed-block candidate is traced only by
    // the walk.
    if (DiagnosticLevel <= 1 && HeaderIndexServes(fileSize)) {
        auto same = m_HeaderKeys.find(HeaderKeyOf(header.nTable, header.nKey, header.nSubTable));
        if (same != m_HeaderKeys.end()) {
            const std::vector<uint32_t> locs = same->second;
            for (uint32_t loc : locs) {
                int at = FindHeaderIndex(loc);
                if (at < 0) continue;
                const stDataHeader& e = m_aHeaders[at];
                if (e.cStatus == DB_STATUS_MARKDEL || e.nSubKey != header.nSubKey) continue;
                if (TakeOwnBlock(e, needed, header, outgrown)) return e.nCurrLoc;
            }
        }
        const stDataHeader last = m_aHeaders.back();
        auto fit = m_FreeBlocks.lower_bound({needed, 0});
        if (fit != m_FreeBlocks.end()) {
            int at = FindHeaderIndex(fit->second);
            if (at >= 0) return TakeFreeBlock(last, static_cast<size_t>(at), header);
        }
        return NewBlockBehind(last, static_cast<uint64_t>(last.nCurrLoc) + DB_HEADER_LEN + last.nBlockLen, needed,
                              header, linkFrom);
    }
    int best = -1;
    uint32_t bestSize = LOC_NONE;
    for (size_t i = 0; i < m_aHeaders.size(); ++i) {
        stDataHeader e = m_aHeaders[i];
        if (e.cStatus == DB_STATUS_DELETED) {
            if (e.nBlockLen >= needed) {
                if (DiagnosticLevel > 1)
                    WriteDiagnosticFormat("  GetNextFree: found unused record size %u at %u\n",
                                          e.nBlockLen, e.nCurrLoc);
                if (e.nBlockLen < bestSize) {
                    bestSize = e.nBlockLen;
                    best = static_cast<int>(i);
                }
            }
        } else if (e.cStatus != DB_STATUS_MARKDEL && e.nTable == header.nTable &&
                   e.nSubTable == header.nSubTable && e.nKey == header.nKey &&
                   e.nSubKey == header.nSubKey) {
            if (TakeOwnBlock(e, needed, header, outgrown)) return e.nCurrLoc;
        }
        bool repaired = false;
        bool last = e.nNextLoc == LOC_NONE || i + 1 == m_aHeaders.size();
        if (!last) {
            repaired = CheckNextLocation(fileSize, e.nCurrLoc, e, "CDbEngine::GetNextFree") != 0;
            last = repaired;
        }
        if (!last) continue;
        if (best >= 0) return TakeFreeBlock(e, static_cast<size_t>(best), header);
        uint64_t next = static_cast<uint64_t>(e.nCurrLoc) + DB_HEADER_LEN + e.nBlockLen;
        // Behind a chain cut by a repair the file may still hold blocks: go past them.
        if (repaired) {
            uint32_t size = GetFileSize(m_File);
            if (size != LOC_NONE && size > next) next = size;
        }
        return NewBlockBehind(e, next, needed, header, linkFrom);
    }
    return LOC_NONE;
}

bool CDbEngine::TakeOwnBlock(const stDataHeader& e, uint32_t needed, stDataHeader& header,
                             std::vector<uint32_t>& outgrown) {
    if (e.nBlockLen >= needed) {
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("  GetNextFree: found same item, return location %i\n", static_cast<int>(e.nCurrLoc));
        header = e;
        return true;
    }
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("  GetNextFree: found same item, but insufficient space (need %u, "
                              "avail %u), delete %u, next %u\n",
                              needed, e.nBlockLen, e.nCurrLoc, e.nNextLoc);
    outgrown.push_back(e.nCurrLoc);
    return false;
}

uint32_t CDbEngine::TakeFreeBlock(const stDataHeader& last, size_t index, stDataHeader& header) {
    header = m_aHeaders[index];
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("  GetNextFree: reached last record loc %i, return best found at %i\n",
                              static_cast<int>(last.nCurrLoc), static_cast<int>(header.nCurrLoc));
    return header.nCurrLoc;
}

uint32_t CDbEngine::NewBlockBehind(const stDataHeader& last, uint64_t next, uint32_t needed, stDataHeader& header,
                                   uint32_t& linkFrom) {
    if (next + DB_HEADER_LEN + needed >= LOC_NONE) return LOC_NONE;
    header.nCurrLoc = static_cast<uint32_t>(next);
    header.nNextLoc = LOC_NONE;
    header.nPrevLoc = last.nCurrLoc;
    linkFrom = last.nCurrLoc;
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("  GetNextFree: reached last record loc %i, return next at %i\n",
                              static_cast<int>(last.nCurrLoc), static_cast<int>(header.nCurrLoc));
    return header.nCurrLoc;
}

bool CDbEngine::LinkNewBlock(uint32_t linkFrom, uint32_t loc) {
    int index = FindHeaderIndex(linkFrom);
    stDataHeader prev;
    if (index >= 0) {
        prev = m_aHeaders[index];
    } else if (!ReadDbHeader(linkFrom, prev, true)) {
        return false;
    }
    prev.nNextLoc = loc;
    uint32_t written = WriteDbHeader(linkFrom, prev, true);
    m_aWrittenLocs.push_back(linkFrom);
    return written == DB_HEADER_LEN;
}

uint32_t CDbEngine::GetNextFree(uint32_t needed, stDataHeader& header) {
    double start = Seconds();
    uint32_t linkFrom = LOC_NONE;
    std::vector<uint32_t> outgrown;
    uint32_t loc = ChooseCurrentBlock(needed, header, linkFrom, outgrown);
    for (uint32_t old : outgrown) {
        SetRecordStatus(old, DB_STATUS_DELETED);
        m_aWrittenLocs.push_back(old);
    }
    if (loc != LOC_NONE && linkFrom != LOC_NONE) LinkNewBlock(linkFrom, loc);
    m_dTiming[1] += Seconds() - start;
    return loc;
}

uint32_t CDbEngine::WriteRecord(uint32_t length, uint32_t table, uint32_t key, uint32_t subtable,
                                uint32_t subkey) {
    double start = Seconds();
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CDbEngine::WriteRecord len %u, table %i, key %u\n", length,
                              static_cast<int>(table), key);
    if (length > MAX_RECORD_DATA_LENGTH) {
        ShowMessage("Could not write record to file.");
        return LOC_NONE;
    }
    uint8_t user = key == LOC_NONE ? GetCurrentUserCode() : static_cast<uint8_t>(KeyUserCode(key));
    stDataHeader h;
    h.nCurrLoc = LOC_START_TABLES;
    h.nBlockLen = static_cast<uint16_t>(length);
    h.nDataLen = static_cast<uint16_t>(length);
    h.nTable = static_cast<uint8_t>(table);
    h.nSubTable = static_cast<uint8_t>(subtable);
    h.nKey = key;
    h.nSubKey = subkey;
    h.cStatus = DB_STATUS_USED;
    h.nUser = user;

    double chooseStart = Seconds();
    uint32_t linkFrom = LOC_NONE;
    std::vector<uint32_t> outgrown;
    uint32_t loc = ChooseCurrentBlock(length, h, linkFrom, outgrown);
    m_dTiming[1] += Seconds() - chooseStart;
    if (loc == LOC_NONE) {
        ShowMessage("Could not write record to file.");
        return LOC_NONE;
    }
    if (loc == LOC_START_TABLES && m_aHeaders.empty()) h.nCurrLoc = loc;
    SaveStep("block chosen");

    h.nTable = static_cast<uint8_t>(table);
    h.nSubTable = static_cast<uint8_t>(subtable);
    h.nKey = key;
    h.nSubKey = subkey;
    h.nDataLen = static_cast<uint16_t>(length);
    h.cStatus = DB_STATUS_USED;
    h.nUser = user;
    h.nLockOwner = 0;
    h.cDelimiter[0] = 'U';
    h.cDelimiter[1] = 'U';
    SetDataCheck(h, m_cBuffer, length);

    // The data goes first and the header commits it; a new block is linked into the list only
    // once it is whole, and a block the record outgrew is freed only after that, so a save cut
    // short never loses the record as it was.
    if (length > 0 && WriteDbBlock(loc + DB_HEADER_LEN, m_cBuffer, length, true) != length) {
        ShowMessage("Could not write record to file.");
        return LOC_NONE;
    }
    SaveStep("data written");
    uint32_t written = WriteDbHeader(loc, h, true);
    m_aWrittenLocs.push_back(loc);
    if (written != DB_HEADER_LEN) {
        ShowMessage("Could not write record to file.");
        return LOC_NONE;
    }
    SaveStep("header written");
    if (linkFrom != LOC_NONE) {
        if (!LinkNewBlock(linkFrom, loc)) {
            ShowMessage("Could not write record to file.");
            return LOC_NONE;
        }
        SaveStep("linked");
    }
    for (uint32_t old : outgrown) {
        SetRecordStatus(old, DB_STATUS_DELETED);
        m_aWrittenLocs.push_back(old);
        SaveStep("old block freed");
    }
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("WriteRecord, table %u, key %u, subtable %u, subkey %u, user %u, file loc %u "
                              "size %u, %s, at %s\n",
                              table, key, subtable, subkey, user, loc, length, FormatHeader(h).c_str(),
                              GetTimerText().c_str());
    m_dTiming[2] += Seconds() - start;
    SetDataChangedFlags();
    return loc;
}

int CDbEngine::DeleteRecord(uint32_t loc, int mode, bool locked) {
    m_aWrittenLocs.push_back(loc);
    if (mode == 1) {
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("CDbEngine::DeleteRecord DELETE at file loc %u\n", loc);
        return SetRecordStatus(loc, DB_STATUS_DELETED, locked);
    }
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CDbEngine::DeleteRecord MARKDELETE at file loc %u\n", loc);
    return SetRecordStatus(loc, DB_STATUS_MARKDEL, locked);
}

// ---------------------------------------------------------------------------------------------
// Keys, deleted records, the compacted copy

uint32_t CDbEngine::GetNextKey(uint32_t table) {
    host::WaitCursor wait;
    uint32_t user = GetCurrentUserCode();
    if (user == 0) user = 1;  // before a log-on, keys come from the first user's range
    const uint64_t rangeStart = KeyRangeStart(user);
    const uint64_t rangeEnd = KeyRangeEnd(user);
    uint64_t largest = rangeStart;
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CDbEngine::GetNextKey: %s, start at %u, upper lim %u, current user %i\n",
                              GetTableName(table).c_str(), static_cast<uint32_t>(rangeStart),
                              static_cast<uint32_t>(rangeEnd - 1), static_cast<int>(user));
    uint32_t fileSize = GetFileSize(m_File);
    const bool indexed = HeaderIndexServes(fileSize);
    if (indexed && table <= 0xFF) {
        // The greatest key of the table below the range's end (blocks not freed, any subtable);
        // a range that ends at 2^32 ends where the next table starts.
        auto it = m_HeaderKeys.lower_bound((static_cast<uint64_t>(table) << 40) + (rangeEnd << 8));
        if (it != m_HeaderKeys.begin()) {
            --it;
            const uint64_t foundTable = it->first >> 40;
            const uint64_t foundKey = (it->first >> 8) & 0xFFFFFFFFull;
            if (foundTable == table && foundKey > largest) largest = foundKey;
        }
    }
    for (size_t i = 0; i < m_aHeaders.size() && !indexed; ++i) {
        stDataHeader h = m_aHeaders[i];
        if (h.nTable == table && h.cStatus != DB_STATUS_DELETED && h.nKey >= rangeStart &&
            h.nKey < rangeEnd && h.nKey > largest)
            largest = h.nKey;
        if (h.nNextLoc == LOC_NONE || i + 1 == m_aHeaders.size()) break;
        if (CheckNextLocation(fileSize, h.nCurrLoc, h, "CDbEngine::GetNextKey") != 0) break;
    }
    // A used-up range gives no key rather than one of the next user's.
    if (largest + 1 >= rangeEnd || largest + 1 >= LOC_NONE) {
        ShowMessage(Format("No more keys are left for user %u in the %s.", user,
                           GetTableName(table).c_str()));
        return LOC_NONE;
    }
    return static_cast<uint32_t>(largest + 1);
}

void CDbEngine::GetDeletedLocsFromFile(std::vector<uint32_t>& locs, uint32_t table) {
    uint32_t fileSize = GetFileSize(m_File);
    for (size_t i = 0; i < m_aHeaders.size(); ++i) {
        stDataHeader h = m_aHeaders[i];
        if (h.cStatus == DB_STATUS_MARKDEL && (table == 255 || (h.nTable == table && h.nSubTable == 0)))
            locs.push_back(h.nCurrLoc);
        if (h.nNextLoc == LOC_NONE || i + 1 == m_aHeaders.size()) break;
        if (CheckNextLocation(fileSize, h.nCurrLoc, h, "CDbEngine::GetDeletedLocsFromFile") != 0) break;
    }
}

bool CDbEngine::MakeDBCopy(const std::string& targetName, uint32_t excludedTable) {
    host::File target;
    if (!OpenSharedFile(targetName, target)) {
        ShowMessage("File can't be opened, possibly in use.");
        return false;
    }
    if (DiagnosticLevel > 0) WriteDiagnosticString("CDbEngine::MakeDBCopy\n");
    // A target left from an earlier run must not keep its old bytes behind the copy.
    if (!target.SetSize(0)) {
        ShowMessage("File can't be opened, possibly in use.");
        return false;
    }
    uint8_t head[8];
    for (int i = 0; i < 4; ++i) head[i] = static_cast<uint8_t>(m_nFormatVersion >> (8 * i));
    head[4] = 1;
    head[5] = head[6] = head[7] = 0;
    if (WriteFileBlockUnflushed(target, 0, head, 8) != 8) return false;

    uint32_t newLoc = LOC_START_TABLES;
    uint32_t prevLoc = LOC_NONE;
    stDataHeader lastWritten;
    bool any = false;
    for (size_t i = 0; i < m_aHeaders.size(); ++i) {
        stDataHeader h = m_aHeaders[i];
        if (excludedTable != 0 && h.nTable == excludedTable) continue;
        if (!IsLive(h.cStatus)) continue;
        if (h.nDataLen > 0 &&
            ReadFileBlockNoLock(m_File, h.nCurrLoc + DB_HEADER_LEN, m_cBuffer, h.nDataLen) == 0) {
            ShowMessage(Format("Error in reading from file location %u, table %i, key %i",
                               h.nCurrLoc + DB_HEADER_LEN, h.nTable, static_cast<int>(h.nKey)));
            return false;
        }
        h.nPrevLoc = prevLoc;
        h.nCurrLoc = newLoc;
        h.nNextLoc = i + 1 == m_aHeaders.size() ? LOC_NONE : newLoc + DB_HEADER_LEN + h.nDataLen;
        h.nBlockLen = h.nDataLen;
        uint8_t raw[DB_HEADER_LEN];
        h.Pack(raw);
        if (WriteFileBlockUnflushed(target, newLoc, raw, DB_HEADER_LEN) != DB_HEADER_LEN) return false;
        if (h.nDataLen > 0 &&
            WriteFileBlockUnflushed(target, newLoc + DB_HEADER_LEN, m_cBuffer, h.nDataLen) != h.nDataLen)
            return false;
        if (DiagnosticLevel > 0) WriteDiagnosticFormat("Write header record at %u\n", newLoc);
        lastWritten = h;
        any = true;
        prevLoc = newLoc;
        newLoc += DB_HEADER_LEN + h.nDataLen;
    }
    if (any) {
        lastWritten.nNextLoc = LOC_NONE;
        uint8_t raw[DB_HEADER_LEN];
        lastWritten.Pack(raw);
        if (WriteFileBlockUnflushed(target, lastWritten.nCurrLoc, raw, DB_HEADER_LEN) != DB_HEADER_LEN)
            return false;
    }
    bool flushed = target.Flush();
    return target.Close() && flushed;
}
