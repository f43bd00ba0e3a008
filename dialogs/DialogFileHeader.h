#pragma once
// The database file header dialog (template 314): the 1,024-byte header at the start of the
// database file, one list line per byte with the meaning of the known bytes, and a reset that
// keeps only the database's initial name and the open status. The header is written back only
// when it was read whole, something changed, and no other copy can be writing it (this copy is
// alone on the file or holds the database lock).

#include "platform/ui/Dialog.h"

#include <array>
#include <cstdint>
#include <string>

class CDbEngine;

class CDialogFileHeader : public ui::Dialog {
public:
    static constexpr int kTemplateId = 314;
    static constexpr int kListId = 2036;
    static constexpr int kResetId = 2080;
    static constexpr uint32_t kHeaderSize = 1024;

    CDialogFileHeader(CDbEngine* engine, ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override;
    bool OnCommand(int id, int code) override;

    // The list line of one header byte.
    static std::string FormatByteLine(uint32_t offset, uint8_t value);
    // The reset of a header: every byte 0 except the initial name; byte 4 the open flag.
    static void ResetHeader(std::array<uint8_t, kHeaderSize>& header, int openFlag);

    CDbEngine* m_pEngine;
    std::array<uint8_t, kHeaderSize> m_aHeader{};  // the working copy
    int m_nOpenFlag = 0;                           // set by the caller

private:
    void FillList();

    std::array<uint8_t, kHeaderSize> m_aOriginal{};
    bool m_bRead = false;
};
