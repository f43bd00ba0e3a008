#include "dialogs/DialogFileHeader.h"

#include "common/QuestionBox.h"
#include "database/DataHeader.h"
#include "database/DbEngine.h"
#include "platform/host/Format.h"
#include "platform/ui/ListBox.h"

namespace {

const ui::DialogTemplate kFileHeaderTemplate{CDialogFileHeader::kTemplateId, "Edit DB file header", 146, 294, {
    {ui::Ctl::Label, -1, "Byte\nlocation", 0, 7, 4, 35, 16},
    {ui::Ctl::Label, -1, "Byte\nvalue", 0, 42, 4, 35, 16},
    {ui::Ctl::ListBox, CDialogFileHeader::kListId, "", ui::LBS_USETABSTOPS, 7, 22, 132, 244},
    {ui::Ctl::Button, CDialogFileHeader::kResetId, "Reset", 0, 7, 272, 40, 14},
    {ui::Ctl::DefButton, ui::IDOK, "OK/Save", 0, 53, 272, 40, 14},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel", 0, 99, 272, 40, 14},
}};

// The initial name: bytes 8 to 85.
constexpr uint32_t kNameFirst = DB_NAME_LOC;
constexpr uint32_t kNameLast = DB_NAME_LOC + DB_NAME_LEN - 1;

}  // namespace

CDialogFileHeader::CDialogFileHeader(CDbEngine* engine, ui::Window* parent)
    : ui::Dialog(kFileHeaderTemplate, parent), m_pEngine(engine)
{
}

std::string CDialogFileHeader::FormatByteLine(uint32_t offset, uint8_t value)
{
    const int o = static_cast<int>(offset), v = value;
    if (offset <= 3) return Format("%i\t%i [file format version]", o, v);
    if (offset <= 7) return Format("%i\t%i [file open status]", o, v);
    if (offset >= kNameFirst && offset <= kNameLast) return Format("%i\t%i [file initial name]", o, v);
    if (offset == DB_LOCK_AREA_LOC) return Format("%i\t%i [DB lock flag]", o, v);
    if (offset > DB_LOCK_AREA_LOC && offset <= DB_LOCK_AREA_LOC + DB_NUM_TABLES)
        return Format("%i\t%i [table %i lock status]", o, v, static_cast<int>(offset - DB_LOCK_AREA_LOC));
    return Format("%i\t%i", o, v);
}

void CDialogFileHeader::ResetHeader(std::array<uint8_t, kHeaderSize>& header, int openFlag)
{
    for (uint32_t i = 0; i < kHeaderSize; ++i)
        if (i < kNameFirst || i > kNameLast) header[i] = 0;
    header[DB_CLOSE_STATUS_LOC] = openFlag == 1 ? 1 : 0;
}

bool CDialogFileHeader::OnInitDialog()
{
    ui::Dialog::OnInitDialog();
    if (ui::ListBox* list = List(kListId)) list->SetTabStops({35});
    m_aHeader.fill(0);
    m_bRead = m_pEngine != nullptr &&
              m_pEngine->ReadDbBlock(0, m_aHeader.data(), kHeaderSize, true) == kHeaderSize;
    m_aOriginal = m_aHeader;
    if (!m_bRead) GetResponse("The file header could not be read; it will not be written.", MB_OK);
    FillList();
    return true;
}

void CDialogFileHeader::FillList()
{
    ui::ListBox* list = List(kListId);
    if (!list) return;
    list->ResetContent();
    for (uint32_t i = 0; i < kHeaderSize; ++i) list->AddString(FormatByteLine(i, m_aHeader[i]));
}

bool CDialogFileHeader::OnCommand(int id, int code)
{
    if (id == kResetId && code == ui::BN_CLICKED) {
        ResetHeader(m_aHeader, m_nOpenFlag);
        FillList();
        return true;
    }
    return ui::Dialog::OnCommand(id, code);
}

void CDialogFileHeader::OnOK()
{
    if (!m_bRead || m_aHeader == m_aOriginal) {
        EndDialog(ui::IDCANCEL);
        return;
    }
    // Nobody else may be writing the header while it is replaced.
    if (!m_pEngine->IsOnlyUserOnFile() && m_pEngine->IsDatabaseLocked(3) == 0) {
        GetResponse("The file header can only be saved while no other copy has the database open,\nor while "
                    "this copy holds the database lock. Nothing was written.",
                    MB_OK);
        return;
    }
    if (m_pEngine->WriteDbBlock(0, m_aHeader.data(), kHeaderSize, true) != kHeaderSize ||
        !m_pEngine->GetFile().Flush()) {
        GetResponse("Error in writing the file header.", MB_OK);
        return;
    }
    EndDialog(ui::IDOK);
}
