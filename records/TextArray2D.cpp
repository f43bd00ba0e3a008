#include "records/TextArray2D.h"

#include <utility>

#include "common/Diagnostic.h"
#include "common/QuestionBox.h"
#include "platform/host/Format.h"

void CTextArray2D::SetSize(int rows, int columns)
{
    m_nRows = rows > 0 && columns > 0 ? rows : 0;
    m_nColumns = rows > 0 && columns > 0 ? columns : 0;
    size_t cells = static_cast<size_t>(m_nRows) * static_cast<size_t>(m_nColumns);
    m_Texts.resize(cells);
    m_Colours.assign(cells, WHITE);
}

bool CTextArray2D::InRange(int row, int column) const
{
    return row >= 0 && row < m_nRows && column >= 0 && column < m_nColumns;
}

int CTextArray2D::SetAt(int row, int column, std::string text, uint32_t colour)
{
    if (!InRange(row, column)) {
        GetResponse(Format("CTextArray2D::SetAt(%i, %i) out of bounds", row, column), MB_OK, 0);
        if (DiagnosticLevel > 0) {
            DiagnosticText = Format("!!CTextArray2D::SetAt(%i, %i) out of bounds\n", row, column);
            WriteDiagnostic();
        }
        return 0;
    }
    size_t i = static_cast<size_t>(row) * m_nColumns + column;
    m_Texts[i] = std::move(text);
    m_Colours[i] = colour;
    return 1;
}

std::string CTextArray2D::GetText(int row, int column) const
{
    if (!InRange(row, column)) {
        GetResponse(Format("CTextArray2D::GetAt(%i, %i) out of bounds", row, column), MB_OK, 0);
        return std::string();
    }
    return m_Texts[static_cast<size_t>(row) * m_nColumns + column];
}

uint32_t CTextArray2D::GetColour(int row, int column) const
{
    if (!InRange(row, column)) {
        GetResponse(Format("CTextArray2D::GetAt(%i, %i) out of bounds", row, column), MB_OK, 0);
        return WHITE;
    }
    return m_Colours[static_cast<size_t>(row) * m_nColumns + column];
}
