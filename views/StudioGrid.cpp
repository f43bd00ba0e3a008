#include "views/StudioGrid.h"

#include "common/Diagnostic.h"
#include "database/Database.h"

namespace {

constexpr uint32_t kGridUpdate = ui::WM_USER + 5;

}  // namespace

CStudioGrid::CStudioGrid(ui::Window* parent, CDatabase* database, GridSlot slot, const char* updateTrace)
    : m_pDB(database), m_pParent(parent), m_pSlot(slot), m_pUpdateTrace(updateTrace)
{
    if (m_pDB && m_pSlot) m_pDB->*m_pSlot = this;
}

CStudioGrid::~CStudioGrid() { Unregister(); }

void CStudioGrid::Unregister()
{
    if (m_pDB && m_pSlot && m_pDB->*m_pSlot == this) m_pDB->*m_pSlot = nullptr;
}

void CStudioGrid::OnDestroy()
{
    Unregister();
    m_pDB = nullptr;
    CGridFrame::OnDestroy();
}

void CStudioGrid::BuildGrid()
{
    if (m_pDB) {
        FillGrid();
        m_nBuiltAtRefresh = m_pDB->GetRefreshCount();
    }
    DrawGrid();
}

void CStudioGrid::BeforeGridUse()
{
    if (!m_pDB || !m_pSlot || m_nBuiltAtRefresh == m_pDB->GetRefreshCount()) return;
    FillGrid();
    m_nBuiltAtRefresh = m_pDB->GetRefreshCount();
}

intptr_t CStudioGrid::OnUpdateGridMsg()
{
    if (DiagnosticLevel > 0) WriteDiagnosticString(m_pUpdateTrace);
    BuildGrid();
    return 0;
}

intptr_t CStudioGrid::OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message == kGridUpdate && m_pSlot) return OnUpdateGridMsg();
    return CGridFrame::OnMessage(message, wParam, lParam);
}

void CStudioGrid::PrintCurrentGrid()
{
    BeforeGridUse();
    PrintGrid();
}
