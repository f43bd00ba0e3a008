#pragma once
// CContactView: the person list of one kind ('C' students, 'E' teachers and other employees),
// one line each (name with code, telephone, e-mail) under a header, with a scope (all or active
// persons only) and a category filter. It prints the list, sends e-mail to chosen persons and
// hands the highlighted person to the database's add, edit and delete operations.

#include "views/ScrollBase.h"

#include <cstdint>
#include <vector>

class CPerson;

class CContactView : public CScrollBase {
public:
    // Command ids shared by the person views.
    enum : int {
        kCmdMainView = 30036,
        kCmdCategory = 30095,
        kCmdFindFirst = 30046,
        kCmdFindRepeat = 30049,
        kCmdAdd = 30045,
        kCmdEdit = 30047,
        kCmdDelete = 30048,
        kCmdSchedule = 30057,
        kCmdEmail = 32853,
        kCmdPrint = 30056,
        kCmdFormat = 30066,
        kCmdAll = 30042,
        kCmdActive = 30043,
        kCmdHelp = 57670,
    };
    // The format record of the person lines.
    static constexpr uint32_t kFormatIndex = 4;

    CContactView();

    void ClearLines() override;
    void SetUpLines() override;
    void DeleteHighlighted() override;
    void EditHighlighted() override;
    stFormatRecord* GetLine(int index, char& mark, char& status, std::string& text) override;
    bool OnCommand(int id, int code) override;

    // The person of the highlighted line, or null for an empty view.
    CPerson* GetHighlightedPerson() const;
    // True when the person passes the category filter.
    bool PassesCategoryFilter(const CPerson& person) const;

    void OnCategory();
    void OnAdd();
    void OnPrint() { PrintLines(); }
    void OnFormat();
    void OnEmail();
    void SetScope(int all);

    char m_cKind = 'C';
    int m_nScopeAll = 1;
    std::vector<CPerson*> m_aLines;
    std::vector<uint32_t> m_aCategoryFilter;

protected:
    // Whether the command acts on the highlighted line or on every line (greyed in an empty list).
    static bool IsLineCommand(int id);
    // Installs the enabling of the person views' commands; `levels` pairs a command with its level.
    void InstallUpdaters(const std::vector<std::pair<int, int>>& levels);
    // The help topic of the view: 0x20000 plus its menu resource.
    virtual uint32_t HelpContext() const = 0;
};
