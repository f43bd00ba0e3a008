#pragma once
// CInterviewView: every interview of the database (the calls and visits recorded with persons),
// one line each in date order: date, teacher, student and type (view 8, menu 112).

#include "common/DateTime.h"
#include "views/ScrollBase.h"

class CInterview;
class CPerson;

class CInterviewView : public CScrollBase {
public:
    static constexpr int kMenuId = 112;
    static constexpr uint32_t kFormatIndex = 8;
    enum : int {
        kCmdMainView = 30036,
        kCmdAdd = 30045,
        kCmdFindFirst = 30046,
        kCmdEdit = 30047,
        kCmdDelete = 30048,
        kCmdFindRepeat = 30049,
        kCmdPrint = 30056,
        kCmdFormat = 30066,
        kCmdHelp = 57670,
    };

    // One line: an interview of a person ('I'), dated as the interview.
    struct stInterviewLine {
        char type = 'I';
        DATE date = 0.0;
        CPerson* pPerson = nullptr;
        int nIndex = 0;
        int nIndex2 = -1;
    };

    CInterviewView();

    void ClearLines() override;
    void SetUpLines() override;
    void DeleteHighlighted() override;
    void EditHighlighted() override;
    stFormatRecord* GetLine(int index, char& mark, char& status, std::string& text) override;
    bool OnCommand(int id, int code) override;
    void OnAdd();

    static void RegisterMenu();

    std::vector<stInterviewLine> m_aLines;
};
