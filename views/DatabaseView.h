#pragma once
// CDatabaseView: the inspector of the .dbs file (view 1, menu 103): one line per block header in
// file order, from which a maintainer looks at a block's header, edits its raw bytes, changes its
// status, ends the block chain at it, releases every record lock and dumps the list to a text
// file. Status and chain changes write single header fields; they take no record locks and send
// no change notices.

#include "views/ScrollBase.h"

#include <cstdint>
#include <vector>

class CDatabaseView : public CScrollBase {
public:
    static constexpr int kMenuId = 103;
    enum : int {
        kCmdShowHeader = 33301,
        kCmdEditRecord = 33302,
        kCmdDeleteRecord = 33303,
        kCmdUndeleteRecord = 33304,
        kCmdMarkLast = 33305,
        kCmdUnlockAll = 33306,
        kCmdFileHeader = 33307,
        kCmdDump = 33308,
        kCmdExit = 33309,
        kCmdHelp = 57670,
    };

    CDatabaseView();
    ~CDatabaseView() override;

    // Shows the database's file; with `owns` the view closes and deletes it when destroyed.
    void Attach(CDatabase* database, int owns);
    // Refills the list of block headers.
    void Fill();
    void SetUpLines() override { Fill(); }
    void ClearLines() override;
    stFormatRecord* GetLine(int index, char& mark, char& status, std::string& text) override;
    bool OnCommand(int id, int code) override;
    // Escape leaves the view as e&Xit does.
    void OnEscape() override;

    // The commands on the highlighted block.
    void ShowRecordHeader();
    void EditRecord();
    void SetStatus(char status);
    void MarkAsLast();
    void UnlockAll();
    void Dump();

    // The block location of the highlighted line, or LOC_NONE.
    uint32_t SelectedLocation() const;
    const std::vector<uint32_t>& GetLocations() const { return m_aLocations; }

    static void RegisterMenu();

private:
    int m_bOwnsDatabase = 0;
    int m_bLoadedFormats = 0;
    std::vector<uint32_t> m_aLocations;
};
