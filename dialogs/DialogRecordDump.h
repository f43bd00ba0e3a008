#pragma once
// CDialogRecordDump: the byte editor of the database diagnostics. It shows one record block of
// the file byte by byte, its 36-byte header and its body, lets the user change single bytes, and
// on OK writes header and body back where they were read. Edits stay in the dialog's header copy
// and the engine's record buffer until OK; nothing is written when either read failed, and a
// block length beyond the block's own is refused, since writing it would overwrite the next block.

#include "database/DataHeader.h"
#include "platform/ui/Dialog.h"

#include <array>
#include <cstdint>

class CDatabase;

class CDialogRecordDump : public ui::Dialog {
public:
    static constexpr int kIdHeaderList = 2036;
    static constexpr int kIdDataList = 1351;
    static constexpr int kIdEditHeader = 1017;
    static constexpr int kIdEditData = 1035;

    CDialogRecordDump(CDatabase* database, ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override;
    bool OnCommand(int id, int code) override;
    void OnShowWindow(bool show) override;
    void OnDestroy() override;

    void FillHeaderList();
    void FillDataList();
    // The header's block length (bytes 16-17) and data length (bytes 18-19).
    uint32_t HeaderBlockLength() const;
    uint32_t HeaderDataLength() const;

    // The byte offset of the block header in the file; set before DoModal.
    uint32_t m_nBlockLocation = LOC_NONE;
    std::array<uint8_t, DB_HEADER_LEN> m_Header{};

private:
    void EditByte(bool header);

    CDatabase* m_pDB;
    bool m_bHeaderRead = false;
    bool m_bBodyRead = false;
    bool m_bRefreshHeld = false;
    // The block length as read: the room the block has in the file.
    uint32_t m_nOwnBlockLength = 0;
};
