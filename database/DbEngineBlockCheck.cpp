// CDbEngine: the block a write is about to use, checked against the file. The header array
// follows other desks' writes through their data-modified notices, which may still be on
// their way when this desk takes the database lock; a block chosen from a stale array could
// lie over another desk's new record.

#include "database/DbEngine.h"

#include "common/Diagnostic.h"

namespace {

// A choice that keeps turning out stale means the file changes under the database lock.
constexpr int kChoiceTries = 8;

}  // namespace

uint32_t CDbEngine::ChooseCurrentBlock(uint32_t needed, stDataHeader& header, uint32_t& linkFrom,
                                       std::vector<uint32_t>& outgrown) {
    const stDataHeader wanted = header;
    for (int attempt = 0; attempt < kChoiceTries; ++attempt) {
        header = wanted;
        outgrown.clear();
        uint32_t loc = ChooseBlock(needed, header, linkFrom, outgrown);
        if (loc == LOC_NONE || IsChoiceCurrent(loc, header, linkFrom)) return loc;
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("CDbEngine::ChooseCurrentBlock block at %u changed in the file, choose again\n",
                                  loc);
        if (m_aHeaders.empty()) {
            CatchUpFrom(LOC_START_TABLES);
        } else if (linkFrom != LOC_NONE) {
            CatchUpFrom(linkFrom);
        } else if (UpdateHeader(loc, m_aRefreshFlags) == 0) {
            m_aRefreshFlags.push_back({0, LOCK_KIND_DATABASE, LOC_NONE});
        }
    }
    return LOC_NONE;
}

bool CDbEngine::IsChoiceCurrent(uint32_t loc, const stDataHeader& chosen, uint32_t linkFrom) {
    if (m_aHeaders.empty()) {
        uint32_t size = GetFileSize(m_File);
        return size == LOC_NONE || size <= LOC_START_TABLES;
    }
    stDataHeader inFile;
    if (linkFrom != LOC_NONE) return ReadDbHeader(linkFrom, inFile, true) && inFile.nNextLoc == LOC_NONE;
    if (!ReadDbHeader(loc, inFile, true) || inFile.nBlockLen != chosen.nBlockLen) return false;
    if (chosen.cStatus == DB_STATUS_DELETED) return inFile.cStatus == DB_STATUS_DELETED;
    return inFile.cStatus != DB_STATUS_DELETED && inFile.cStatus != DB_STATUS_MARKDEL &&
           inFile.nTable == chosen.nTable && inFile.nSubTable == chosen.nSubTable &&
           inFile.nKey == chosen.nKey && inFile.nSubKey == chosen.nSubKey;
}

void CDbEngine::CatchUpFrom(uint32_t loc) {
    uint32_t fileSize = GetFileSize(m_File);
    uint32_t at = loc;
    // Each step moves forward through the file, so the walk ends.
    while (at != LOC_NONE && at < fileSize) {
        if (UpdateHeader(at, m_aRefreshFlags) == 0) {
            // The whole array was read again: the tables follow at the next refresh.
            m_aRefreshFlags.push_back({0, LOCK_KIND_DATABASE, LOC_NONE});
            return;
        }
        int index = FindHeaderIndex(at);
        if (index < 0) return;
        uint32_t next = m_aHeaders[static_cast<size_t>(index)].nNextLoc;
        if (next != LOC_NONE && next <= at) return;
        at = next;
    }
}
