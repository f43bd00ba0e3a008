#pragma once
// A table of rows x columns cell texts, each with a colour (0x00BBGGRR); cell (r, c) is element
// r * columns + c. Row and column are each checked against the table's size.

#include <cstdint>
#include <string>
#include <vector>

class CTextArray2D {
public:
    static constexpr uint32_t WHITE = 0xFFFFFF;

    CTextArray2D() = default;
    virtual ~CTextArray2D() = default;

    // Resizes; texts keep what they held where they survive, every colour becomes white.
    void SetSize(int rows, int columns);
    // 1 when stored; 0 out of range, after telling the user and tracing.
    int SetAt(int row, int column, std::string text, uint32_t colour);
    // The cell's text, or "" out of range (after telling the user).
    std::string GetText(int row, int column) const;
    // The cell's colour, or white out of range (after telling the user).
    uint32_t GetColour(int row, int column) const;
    int GetRows() const { return m_nRows; }
    int GetColumns() const { return m_nColumns; }

private:
    bool InRange(int row, int column) const;

    int m_nRows = 0;
    int m_nColumns = 0;
    std::vector<std::string> m_Texts;
    std::vector<uint32_t> m_Colours;
};
