#include "dialogs/DialogRecordDump.h"

#include "widgets/Prompts.h"
#include "common/QuestionBox.h"
#include "database/Database.h"
#include "platform/host/Format.h"
#include "platform/ui/ListBox.h"

#include <cstdlib>
#include <string>

namespace {

const ui::DialogTemplate kRecordDumpTemplate{302, "Record dump", 195, 324, {
    {ui::Ctl::Label, -1, "Header"},
    {ui::Ctl::ListBox, CDialogRecordDump::kIdHeaderList, ""},
    {ui::Ctl::Label, -1, "Data"},
    {ui::Ctl::ListBox, CDialogRecordDump::kIdDataList, ""},
    {ui::Ctl::Button, CDialogRecordDump::kIdEditHeader, "Edit"},
    {ui::Ctl::Button, CDialogRecordDump::kIdEditData, "Edit"},
    {ui::Ctl::DefButton, ui::IDOK, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

const char* const kRefreshLabel = "CDialogRecordDump";

}  // namespace

CDialogRecordDump::CDialogRecordDump(CDatabase* database, ui::Window* parent)
    : ui::Dialog(kRecordDumpTemplate, parent), m_pDB(database)
{
}

uint32_t CDialogRecordDump::HeaderBlockLength() const { return m_Header[16] | (m_Header[17] << 8); }
uint32_t CDialogRecordDump::HeaderDataLength() const { return m_Header[18] | (m_Header[19] << 8); }

bool CDialogRecordDump::OnInitDialog()
{
    ui::Dialog::OnInitDialog();
    m_bHeaderRead = m_bBodyRead = false;
    if (m_pDB && m_nBlockLocation != LOC_NONE &&
        m_pDB->ReadDbBlock(m_nBlockLocation, m_Header.data(), m_pDB->m_nHeaderLen, false) > 0) {
        m_bHeaderRead = true;
        m_nOwnBlockLength = HeaderBlockLength();
        m_bBodyRead = m_nOwnBlockLength == 0 ||
                      m_pDB->ReadDbBlock(m_nBlockLocation + m_pDB->m_nHeaderLen, m_pDB->m_cBuffer,
                                         m_nOwnBlockLength, false) > 0;
        if (!m_bBodyRead)
            GetResponse(Format("Error in reading the record at file location %u", m_nBlockLocation));
    } else {
        m_Header.fill(0);
        GetResponse(Format("Error in reading the record header at file location %u", m_nBlockLocation));
    }
    FillHeaderList();
    FillDataList();
    return true;
}

void CDialogRecordDump::FillHeaderList()
{
    ui::ListBox* list = List(kIdHeaderList);
    if (!list) return;
    list->ResetContent();
    if (!m_bHeaderRead) return;
    for (int i = 0; i < static_cast<int>(m_Header.size()); ++i) {
        const unsigned v = m_Header[static_cast<size_t>(i)];
        const std::string line = v > 31 ? Format("%6i[%3i]%c", i, static_cast<int>(v), static_cast<char>(v))
                                        : Format("%6i[%3i]", i, static_cast<int>(v));
        list->SetItemData(list->AddString(line), i);
    }
}

void CDialogRecordDump::FillDataList()
{
    ui::ListBox* list = List(kIdDataList);
    if (!list) return;
    list->ResetContent();
    if (!m_bBodyRead || !m_pDB) return;
    const uint32_t length = HeaderBlockLength();
    const uint32_t dataLength = HeaderDataLength();
    for (uint32_t i = 0; i < length; ++i) {
        const unsigned v = m_pDB->m_cBuffer[i];
        const char* label = i < dataLength ? "Data" : "Not data";
        const std::string line =
            v > 31 ? Format("%6i[%3i]%c %s", static_cast<int>(i), static_cast<int>(v), static_cast<char>(v), label)
                   : Format("%6i[%3i]  %s", static_cast<int>(i), static_cast<int>(v), label);
        list->SetItemData(list->AddString(line), static_cast<intptr_t>(i));
    }
}

void CDialogRecordDump::EditByte(bool header)
{
    ui::ListBox* list = List(header ? kIdHeaderList : kIdDataList);
    if (!list || !m_pDB) return;
    const intptr_t index = GetListSelData(*list, "No item selected");
    if (index < 0) return;
    uint8_t* byte = header ? &m_Header[static_cast<size_t>(index)] : &m_pDB->m_cBuffer[index];
    const std::string shown = Format("%i", static_cast<int>(*byte));
    const std::string entered = PromptForString("New value", 6, shown, 0);
    // An empty answer is the prompt's Cancel: the byte stays as it was.
    if (entered.empty() || entered == shown) return;
    const uint8_t value = static_cast<uint8_t>(std::strtol(entered.c_str(), nullptr, 10) & 0xFF);
    if (header && (index == 16 || index == 17)) {
        std::array<uint8_t, DB_HEADER_LEN> changed = m_Header;
        changed[static_cast<size_t>(index)] = value;
        const uint32_t length = changed[16] | (changed[17] << 8);
        if (length > m_nOwnBlockLength) {
            GetResponse(Format("The block length can not exceed the block's own length of %u bytes.", m_nOwnBlockLength));
            return;
        }
    }
    *byte = value;
    if (header) FillHeaderList();
    else FillDataList();
}

void CDialogRecordDump::OnOK()
{
    if (!m_bHeaderRead || !m_bBodyRead || !m_pDB) {
        GetResponse("The record could not be read, so nothing is written.");
        EndDialog(ui::IDOK);
        return;
    }
    stDataHeader header;
    header.Unpack(m_Header.data());
    if (m_pDB->WriteDbHeader(m_nBlockLocation, header, true) != DB_HEADER_LEN) {
        GetResponse(Format("Error in writing the record header at file location %u", m_nBlockLocation));
        return;
    }
    const uint32_t length = HeaderBlockLength();
    if (length > 0 &&
        m_pDB->WriteDbBlock(m_nBlockLocation + m_pDB->m_nHeaderLen, m_pDB->m_cBuffer, length, true) != length) {
        GetResponse(Format("Error in writing the record at file location %u", m_nBlockLocation));
        return;
    }
    EndDialog(ui::IDOK);
}

bool CDialogRecordDump::OnCommand(int id, int code)
{
    if (id == kIdEditHeader && code == ui::BN_CLICKED) {
        EditByte(true);
        return true;
    }
    if (id == kIdEditData && code == ui::BN_CLICKED) {
        EditByte(false);
        return true;
    }
    return ui::Dialog::OnCommand(id, code);
}

void CDialogRecordDump::OnShowWindow(bool show)
{
    ui::Dialog::OnShowWindow(show);
    if (show && !m_bRefreshHeld && m_pDB) {
        m_pDB->DisableRefreshOn(kRefreshLabel);
        m_bRefreshHeld = true;
    }
}

void CDialogRecordDump::OnDestroy()
{
    ui::Dialog::OnDestroy();
    if (m_bRefreshHeld && m_pDB) {
        m_pDB->DisableRefreshOff(kRefreshLabel);
        m_bRefreshHeld = false;
    }
}
