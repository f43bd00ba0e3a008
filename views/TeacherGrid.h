#pragma once
// CTeacherGrid: the day's lessons of each active teacher, a column per teacher and a row per time
// slot (and per lesson time between slots). A click on a cell offers to add an entry for that
// teacher or to edit one of the cell's lessons.

#include <vector>

#include "common/DateTime.h"
#include "studio/DataToken.h"
#include "views/StudioGrid.h"

class CDatabase;
class CPerson;

// One teacher column: the teacher and the teacher's entries of the day shown.
struct stTeacherIndex {
    CPerson* pPerson = nullptr;
    std::vector<stDataToken> entries;
};

class CTeacherGrid : public CStudioGrid {
public:
    // Made with new: hides the main window, registers with the database and shows today.
    CTeacherGrid(ui::Window* parent, CDatabase* database);

    bool OnCommand(int id, int code) override;
    void OnGridLButtonDown(int x, int y) override;

    DATE m_dStart = 0.0;
    DATE m_dEnd = 0.0;
    std::vector<DATE> m_aTimes;
    std::vector<stTeacherIndex> m_aTeachers;

private:
    void FillGrid() override;
    // The teacher's lessons shown at time row `row`, in list order.
    std::vector<const stDataToken*> LessonsAt(const stTeacherIndex& teacher, size_t row) const;
};
