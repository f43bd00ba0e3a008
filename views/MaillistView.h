#pragma once
// CMaillistView: the active students (or teachers) as an address and telephone list, a sheet of
// mail labels or a run of envelopes (view 4, menu 108), shown as text lines and printed. Each
// layout keeps its settings in a mail-list format record (table 7, codes 1 to 3); the line "^"
// is a page break. The mail-list table stays locked while the view is shown.

#include "database/SettingsRecords.h"
#include "views/ScrollBase.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CMailList;
class CPerson;

class CMaillistView : public CScrollBase {
public:
    static constexpr int kMenuId = 108;
    // The most lines one label row holds.
    static constexpr int kMaxLinesPerRow = 12;
    enum : int {
        kCmdMainView = 30111,
        kCmdPhoneList = 30107,
        kCmdLabels = 30108,
        kCmdEnvelopes = 30114,
        kCmdSortName = 32847,
        kCmdSortZip = 32848,
        kCmdCategory = 30059,
        kCmdStudent = 30064,
        kCmdPrint = 30109,
        kCmdFormat = 30110,
        kCmdPageLayout = 30039,
        kCmdHelp = 30112,
    };

    CMaillistView();
    ~CMaillistView() override;
    static void RegisterMenu();

    // Entry from the main frame: locks the mail-list table (back to the launcher when it cannot),
    // takes the sort order, collects the persons of the kind and builds the current layout.
    void ShowMailList(CDatabase* database, char kind);

    void ClearLines() override;
    void SetUpLines() override;
    stFormatRecord* GetLine(int index, char& mark, char& status, std::string& text) override;
    bool OnCommand(int id, int code) override;

    // Mode 1 phone list, 2 labels, 3 envelopes: its format made and read on first use, applied,
    // and the lines built.
    void SetMode(int mode);
    // Sort order 0 by name, 1 by zip code; nothing when it is set already.
    void SetSortOrder(int order);
    void OnCategorySelect();
    void OnStudentSelect();
    void OnFormat();
    void OnPrint();
    // Builds the lines of the current mode and repaints.
    void Rebuild();
    void FormatAddressList();
    void FormatEnvelopes();
    // The view's format record from a mail-list format.
    void ApplyFormat(const CMailList& format);
    bool PassesFilter(const CPerson& person) const;
    // The format record of a mode (null until first used).
    CMailList* GetFormatOf(int mode) const;

    int m_nViewMode = 1;
    int m_nSortOrder = 0;
    char m_cKind = 'C';
    std::vector<uint32_t> m_aCategoryFilter;
    uint32_t m_nChosenPerson = 0xFFFFFFFF;
    int m_bClosed = 0;
    stFormatRecord m_Format;
    std::vector<std::string> m_aTextLines;
    // The persons in sorted order, by code.
    std::vector<uint32_t> m_aPersons;

private:
    void InstallUpdaters();
    void AppendTopMargin(int lines);

    std::array<std::unique_ptr<CMailList>, 4> m_pFormats;
    bool m_bTableLocked = false;
    bool m_bLeaving = false;
};
