#pragma once
// CFrameReportView: the lines of a text report inside the report frame. It marks a range of
// lines, edits a line's text, changes the font of one of the report's formats and the page
// layout, and prints all lines or the marked ones through the print spool.

#include "reports/PrintSpoolFile.h"
#include "views/ScrollBase.h"

#include <cstdint>
#include <string>
#include <vector>

class CFrameWndReport;
struct stPrinterDef;

class CFrameReportView : public CScrollBase {
public:
    // Commands (the frame's menus 101 and 102).
    enum : int {
        kCmdMark = 30023,
        kCmdMarkMarked = 30024,
        kCmdUnmark = 30022,
        kCmdPrint = 30006,
        kCmdPrintMarked = 1331,
        kCmdEdit = 30019,
        kCmdPageLayout = 30004,
        kCmdHelp = 30051,
        kCmdFontFirst = 540,
        kCmdFontLast = 540 + 64,  // one per collected format code
    };
    static constexpr uint32_t kHelpTopic = 0x20066;

    explicit CFrameReportView(std::vector<stFmtString>* lines);
    ~CFrameReportView() override;

    // After the view's window is made.
    void OnCreate();
    void SetUpLines() override;
    stFormatRecord* GetLine(int index, char& mark, char& status, std::string& text) override;
    void SetLine(int index, const stFmtString& line);

    // What the frame's SetView hands over.
    void SetReport(CDatabase* database, int report, int pageLayout, int option, stPrinterDef* printer,
                   CFrameWndReport* frame);
    void SetHeaderLine(const stFmtString& header) { m_HeaderLine = header; }
    void SetFormatCodes(std::vector<uint32_t> codes) { m_aFormatCodes = std::move(codes); }
    const std::vector<uint32_t>& GetFormatCodes() const { return m_aFormatCodes; }

    // The line's text as the view shows it (markers spelled out).
    static std::string DisplayText(const std::string& text);

    void MarkCurrentLine();
    void Unmark();
    // Prints lines first..last (inclusive; an empty range prints an empty document).
    void PrintLines(int first, int last);
    void EditCurrentLine();

    bool OnCommand(int id, int code) override;
    // F1 opens the view's help topic.
    bool OnKeyDown(int vk) override;
    const std::vector<char>& GetMarks() const { return m_aMarks; }

private:
    void InstallUpdaters();

    std::vector<stFmtString>* m_pLines;
    int m_nReport = 0;
    int m_nPageLayout = 0;
    int m_nOption = 0;
    stPrinterDef* m_pPrinter = nullptr;
    std::vector<char> m_aMarks;
    std::vector<uint32_t> m_aFormatCodes;
    stFmtString m_HeaderLine;
    CFrameWndReport* m_pFrame = nullptr;
};
