#pragma once
// A fixed table of rows x columns unsigned numbers, zeroed when made; cell (r, c) is element
// r * columns + c. Row and column are each checked against the table's size.

#include <cstdint>
#include <vector>

class CUIntArray2D {
public:
    CUIntArray2D(int rows, int columns);
    virtual ~CUIntArray2D();
    CUIntArray2D(const CUIntArray2D&) = delete;
    CUIntArray2D& operator=(const CUIntArray2D&) = delete;

    int GetRows() const { return m_nRows; }
    int GetColumns() const { return m_nColumns; }
    // Out of range: the user is told, the trace gets the line, the cell stays unchanged.
    void SetAt(int row, int column, uint32_t value);
    // The cell, or 0 out of range (after the same message).
    uint32_t GetAt(int row, int column) const;

private:
    bool InRange(int row, int column) const;

    int m_nRows;
    int m_nColumns;
    std::vector<uint32_t> m_NumberBuffer;
};
