#include "records/UIntArray2D.h"

#include "common/Diagnostic.h"
#include "common/QuestionBox.h"
#include "platform/host/Format.h"

namespace {

void ReportOutOfBounds(const char* format, int row, int column)
{
    std::string text = Format(format, row, column);
    GetResponse(text, MB_OK, 0);
    if (DiagnosticLevel > 0) {
        DiagnosticText = text + "\n";
        WriteDiagnostic();
    }
}

}  // namespace

CUIntArray2D::CUIntArray2D(int rows, int columns)
    : m_nRows(rows > 0 && columns > 0 ? rows : 0),
      m_nColumns(rows > 0 && columns > 0 ? columns : 0),
      m_NumberBuffer(static_cast<size_t>(m_nRows) * static_cast<size_t>(m_nColumns), 0)
{
    WriteMemoryTraceAlloc(m_NumberBuffer.data(), "m_pNumberBuffer in CUIntArray2D constructor");
}

CUIntArray2D::~CUIntArray2D()
{
    WriteMemoryTraceFree(m_NumberBuffer.data());
}

bool CUIntArray2D::InRange(int row, int column) const
{
    return row >= 0 && row < m_nRows && column >= 0 && column < m_nColumns;
}

void CUIntArray2D::SetAt(int row, int column, uint32_t value)
{
    if (!InRange(row, column)) {
        ReportOutOfBounds("CUIntArray2D::SetAt(%i, %i) out of bounds", row, column);
        return;
    }
    m_NumberBuffer[static_cast<size_t>(row) * m_nColumns + column] = value;
}

uint32_t CUIntArray2D::GetAt(int row, int column) const
{
    if (!InRange(row, column)) {
        ReportOutOfBounds("CUIntArray2D::GetAt(%i, %i) out of bounds", row, column);
        return 0;
    }
    return m_NumberBuffer[static_cast<size_t>(row) * m_nColumns + column];
}
