#pragma once
// CScrollBase: the base of every text-line list view. A derived view says how many lines it has
// (SetUpLines sets m_nMaxLines) and hands out one line at a time (GetLine, index -1 for the
// header); the base fetches only the lines that fit, draws them with the fonts and tab stops of
// each line's format record, keeps a highlighted line, scrolls by lines and by pixels, lets a
// user of level 9 drag the header's column separators, searches for up to five phrases and
// prints every line through the spool file. Keys, clicks and double-clicks become calls of the
// virtual hooks below.
//
// Line indexes are signed: the top and highlighted lines are kept within 0 .. m_nMaxLines - 1
// however the list shrinks, and searches run off either end without wrapping.

#include "platform/ui/View.h"
#include "reports/PageLinePrint.h"
#include "views/LineView.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CDatabase;
class CPurchaseRecord;
class CSchedulePayment;
struct stDataToken;
struct stFormatRecord;

// The database operations that run the editing dialogs, as the list views call them. The program
// fills them in where the database provides them; a command whose operation is unset stays
// disabled. Each returns 1 when something changed (the view then rebuilds its lines), 2 when
// nothing was done.
struct stListViewOperations {
    // Adds a person: kind 'E' a new employee, any other kind the add-or-select of a student.
    std::function<int(CDatabase& db, char kind)> addPerson;
    // Edits the item of the table; for a person, interview >= 0 edits that interview of it.
    std::function<int(CDatabase& db, uint8_t table, uint32_t code, int interview)> editItem;
    // Deletes the item of the table (the views' delete, final flag 1).
    std::function<int(CDatabase& db, uint8_t table, uint32_t code)> deleteItem;
    // Saves an item changed in memory (its record lock and notices included).
    std::function<int(CDatabase& db, uint8_t table, uint32_t code)> saveModifiedItem;
    // Records a payment received from the person.
    std::function<int(CDatabase& db, uint32_t personCode)> logPayment;
    // Edits format record `index` under the title ("Format %s" dialog), saved for level 9.
    std::function<int(CDatabase& db, uint32_t index, const std::string& title)> editFormat;
    // Adds an item of the table through its editor; `request` is the new-record request as the
    // editors take it (the request letter in `type`, the person in `index1`).
    std::function<int(CDatabase& db, uint8_t table, const stDataToken& request)> addItem;
    // The scheduled-payment dialog on `payment` of `purchase`, paid for by `payer`; 1 on OK.
    std::function<int(CDatabase& db, CPurchaseRecord& purchase, CSchedulePayment& payment, uint32_t payer)>
        editScheduledPayment;
    // A purchase for a chosen student; the shopping cart's purchase.
    std::function<int(CDatabase& db)> addPurchase;
    std::function<int(CDatabase& db)> checkoutCart;
    // The editor of one schedule entry.
    std::function<int(CDatabase& db, const stDataToken& entry)> editScheduleEntry;
    // Edits page layout `index` under the title (the report view's page layout).
    std::function<int(CDatabase& db, uint32_t index, const std::string& title)> editPageLayout;
};
stListViewOperations& ListViewOperations();
// The operations the database offers by itself (what ListViewOperations starts with).
stListViewOperations DefaultListViewOperations();

class CScrollBase : public ui::View, public ILineView {
public:
    CScrollBase();
    ~CScrollBase() override;

    // ---- Hooks of the derived views; the base's are empty. ----
    void ClearLines() override {}
    void SetUpLines() override {}
    virtual void OnCtrl1() {}
    virtual void OnCtrl2() {}
    virtual void OnCtrlI() {}
    virtual void OnCtrlE() {}
    virtual void OnCtrlL() {}
    virtual void OnCtrlQ() {}
    virtual void OnF4() {}
    virtual void OnCtrlF5() {}
    virtual void OnF5() {}
    virtual void OnF6() {}
    virtual void OnF7() {}
    virtual void OnCtrlF7() {}
    virtual void OnF8() {}
    virtual void OnF9() {}
    virtual void OnF10() {}
    virtual void OnF11() {}
    virtual void OnTab() {}
    virtual void OnEscape() {}
    virtual void OnChooseLine() {}
    virtual void DeleteHighlighted() {}
    virtual void EditHighlighted() {}
    // Line `index` (-1 the header): its format record, status character ('H' header, '-' data)
    // and text. `mark` comes in as the caller's purpose (0 display, 'V' search, 'P' print) and
    // goes out as 0 or 'M' (marked).
    virtual stFormatRecord* GetLine(int index, char& mark, char& status, std::string& text);
    virtual void OnOtherKey(int vk) { (void)vk; }
    virtual void OnFindDone() {}

    // Rebuilds the lines when `rebuild` is 1, clears the keep-lines flag and repaints.
    void RefreshLineView(int rebuild);
    // Stores the database and builds the lines.
    void SetLineViewDatabase(CDatabase* database);
    CDatabase* GetDatabase() const { return m_pDB; }
    // The horizontal maximum and whether the view has a header line.
    void SetView(int horizontalMaximum, int header);

    // A key, with Ctrl held or not (the frame's accelerators bring Ctrl keys here too).
    void HandleKey(int vk, bool ctrl);
    // The find command: forward ('F') or backward ('B'); FindNext repeats the last search.
    void Find(char direction);
    void FindNext();
    // Brings the highlighted line into the window.
    void ShowHighlight();
    // Writes every line to the spool file and prints it with the database's page layout
    // `layout`; nothing for an empty view.
    void PrintLines(uint32_t layout = 0);

    // The line under a y position, or -1 (above the lines, below the last, empty view).
    int LineFromPoint(int y) const;
    // Whether the pointer shows the west-east size arrow (over a header separator, level 9).
    bool IsSizeCursor() const { return GetCursorShape() == ui::CursorShape::SizeWE; }

    // ---- ui::View ----
    void OnDraw(ui::DC& dc) override;
    void OnUpdate() override;
    void OnSize(int cx, int cy) override;
    void OnVScroll(int code, int pos) override;
    void OnHScroll(int code, int pos) override;
    bool OnKeyDown(int vk) override;
    bool OnKeyUp(int vk) override;
    void OnLButtonDown(int x, int y) override;
    void OnLButtonUp(int x, int y) override;
    void OnLButtonDblClk(int x, int y) override;
    void OnRButtonDown(int x, int y) override;
    void OnMouseMove(int x, int y) override;

    // ---- State (read by the derived views and the report views) ----
    int m_nMaxLines = 0;
    int m_nLineHeight = 0;
    int m_nLinesInWindow = 0;
    int m_nTopLine = 0;
    int m_nHiLiteLine = 0;
    int m_nWindowHeight = 0;
    int m_nWindowWidth = 0;
    int m_nHorzOffset = 0;
    int m_nHorzMax = 0;
    int m_bLinesReady = 0;
    int m_bKeepLines = 0;
    int m_bHeader = 0;
    int m_bEndReached = 0;
    int m_bSeparatorsDrawn = 0;
    int m_bLayoutChanged = 0;
    int m_bKeyLock = 0;
    // Set by a view that rebuilt its lines: the next paint fetches them afresh and clears it.
    int m_bRedraw = 0;
    // The marked range of the report views: first and last marked line (-1 none) and count.
    int m_nFirstMarked = -1;
    int m_nLastMarked = -1;
    int m_nMarkedCount = 0;
    char m_cFindDirection = 'F';
    std::vector<int> m_aHeaderTabs;       // pixels
    std::vector<double> m_aColumnStops;   // inches, the header's
    stFormatRecord* m_pHeaderFormat = nullptr;
    int m_nHeaderHeight = 0;
    double m_dPixelsPerInch = 96.0;
    int m_nDragSeparator = -1;
    bool m_bDragging = false;
    std::vector<stPageLineRecord> m_aPageLines;
    std::array<std::string, 5> m_aFindPhrases;
    std::array<int, 5> m_aFindNot{};
    char m_cFindMode = 0;

protected:
    // The sizing arrows while the pointer is over a header separator that may be dragged.
    void ShowSizeCursor(bool on);
    // Saves the header's format after a separator was dragged (stored formats only).
    virtual void SaveHeaderFormat();
    // The line index of the first match from `start` in the direction, or -1.
    int SearchLines(int start, char direction);
    void RunSearch(int start);
    void ClampLines();
    void UpdateScrollBars();

    CDatabase* m_pDB = nullptr;

private:
    bool m_bCtrlDown = false;
    bool m_bVertBarShown = false;
    bool m_bHorzBarShown = false;
};
