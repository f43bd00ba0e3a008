#pragma once
// CReports: the report generator. A caller makes one on its stack with the open database, calls
// one report method and lets it go; the lines live on in the report frame the method opened.
// From construction to destruction the database's refresh timer is held off (counted, so
// nested reports are safe). The methods are split over files by subject: Reports.cpp (life,
// lines, the text-report routine, the person-balance array), ReportsBalance.cpp (balance due,
// balance sheet, daily table, due and received lists), ReportsPeriod.cpp (tax, sale items,
// account activity), ReportsStudent.cpp (a student's summary, activities and history),
// ReportsStudio.cpp (recent activity, activity counts, roster, obligations, lessons taught),
// ReportsDocuments.cpp (contracts, invoices and receipts from templates).

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/DateTime.h"
#include "common/PrinterDef.h"
#include "database/TeacherActivityData.h"
#include "reports/PrintSpoolFile.h"

class CDatabase;
class CWeeklyReportReader;
class CPerson;
class CPurchaseRecord;
class IReportFrame;
struct stDataToken;

// One person's accumulated amount, as the money reports gather it.
struct stPersonBalance {
    uint32_t nCode = 0xFFFFFFFF;  // the person, all ones for none
    std::string sName;
    double dAmount = 0.0;
    char cKind = 0;  // set by the calling report; the last update's value is kept
};

// One received amount of the tax report.
struct stTaxItem {
    std::string sCategory;
    std::string sText;
    DATE dDate = 0.0;
    double dAmount = 0.0;
};

// The choices of the tax report's setup: the period [start, end) and the listing mode
// (1 detailed, any other value totals only).
struct stTaxReportSetup {
    DATE dStart = 0.0;
    DATE dEnd = 0.0;
    int nMode = 1;
};

// One row of the composite report: a studio's or a person's figures of the merged weeks.
struct stSummaryItem {
    std::string sName;
    double dSales = 0.0;
    uint32_t nUnits = 0;
    uint32_t nInterviews = 0;
    uint32_t nGuests = 0;
    double dCancelled = 0.0;
};

// The plan of one text report, run by CReports::RunTextReport: guard, selection, collection,
// frame, title block, body, show. The callbacks run in that order; each may change the plan's
// texts (a title that names the chosen dates).
struct stTextReport {
    int nBodySlot = 0;
    int nHeadSlot = 1;
    int nBlankSlot = -1;  // the slot of blank lines; -1: the body slot
    bool bGuard = true;   // refuse while a report view is displayed
    std::string sTitle;
    char cTitleKind = 'H';
    std::string sHeading;  // column heads; empty: no heading and no blank line after the title
    char cHeadingKind = 'H';
    bool bBlankAfterHeading = true;
    bool bBlankAfterTitle = true;
    // The selection: false when the user cancelled (no window).
    std::function<bool()> fnSelect;
    // The collection (wait cursor shown): false when there is nothing to show (after a message).
    std::function<bool()> fnCollect;
    // The body lines, appended with CReports::AddLine (wait cursor shown).
    std::function<void()> fnBody;
    // About how many lines the body appends (set by the collection): room made for them at once.
    size_t nExpectedLines = 0;
};

class CReports {
public:
    explicit CReports(CDatabase* database);
    virtual ~CReports();
    CReports(const CReports&) = delete;
    CReports& operator=(const CReports&) = delete;

    // Appends a blank body line in the database's format at `slot`.
    void AddBlankLine(int slot);
    // Appends `text` in the current slot and kind.
    void AddLine(const std::string& text);
    void AddLine(std::string&& text);
    // Switches the current slot and kind of the lines that follow.
    void SetLineFormat(int slot, char kind);
    // Adds the item's amount to the element of the same name and code, else inserts the item
    // before the first element whose name sorts after it (byte-wise). The array stays in name
    // order; equal names keep the order they came in.
    static void UpdateBalanceArray(stPersonBalance item, std::vector<stPersonBalance>& list);

    // A report's date cell, "%m/%d/%Y".
    static std::string FormatDay(DATE date);

    // Runs a text report by its plan; true when a frame was shown.
    bool RunTextReport(stTextReport& plan);

    // ---- The money reports ----
    void BalanceDueReport();
    // The statement of a person; show 0: no guard, no lines, only the final balance.
    double BalanceSheetReport(uint32_t person, int show);
    void DailyBalanceTableReport();
    // mode 'D' payments due from the person, 'R' received from the person.
    void DueReceivedReport(char mode, uint32_t person);
    void TaxReport();
    void SaleItemsReport();
    void AccountActivityReport();

    // ---- The weekly report (ReportsWeekly.cpp) ----
    // Writes the weekly report file of a period the user picks, then shows it (show 1) or mails
    // it to the head office (show 0).
    void WriteWeeklyReportFile(int show);
    // "%s_%s[%s].rpt" of the period's first day, the studio's code and name, blanks made '_' and
    // '/' or '\' made '-'.
    static std::string WeeklyReportFileName(DATE first, const std::string& code, const std::string& name);
    // The sections of the file, appended to the bytes being built; periods run [first, last).
    void WriteTransactionData(DATE first, DATE last);
    void WriteContactSourceData(DATE first, DATE last);
    void WriteEnrollmentData(DATE first, DATE last);
    void WriteMerchandiseData(DATE first, DATE last);
    void WriteActivityData(DATE first, DATE last);
    // One person section: kind 'T' teachers, 'S' supervisors.
    void WriteWeeklyReportData(char kind, DATE first, DATE last);
    // The bytes of the file built so far.
    const std::string& GetWeeklyReportBytes() const { return m_sWeeklyFile; }
    // Mails the file (an absolute path) to the studio's report address.
    void EmailWeeklyReportData(const std::string& path);
    // Shows the weekly summary of a file; the whole file is checked before any window opens.
    void WeeklySummaryReport(const std::string& fileName);
    // The next person section of the reader: the studio name of its head and its persons
    // (appended). False when the reader holds no further section or the section is damaged.
    static bool ReadWeeklyReportData(std::string& studio, CWeeklyReportReader& reader,
                                     std::vector<stTeacherActivityData>& persons);
    // Adds a studio row and one row per person of the file's first person section. False
    // (nothing added) when the file cannot be read or does not follow the layout.
    bool MergeWeeklyReportFile(const std::string& path, std::vector<stSummaryItem>& studios,
                               std::vector<stSummaryItem>& persons);
    // Merges the weekly report files the user picks into one report.
    void CompositeReport();
    // Section printers of the weekly summary; false when the section does not follow the layout.
    bool PrintWeeklyTransactionSection(CWeeklyReportReader& reader);
    bool PrintContactSourcesSection(CWeeklyReportReader& reader);
    bool PrintEnrollmentSection(CWeeklyReportReader& reader);
    bool PrintMerchandiseSection(CWeeklyReportReader& reader);
    bool PrintActivitySection(CWeeklyReportReader& reader);
    bool PrintPersonActivitySection(CWeeklyReportReader& reader, char kind);
    // ---- A student's reports (person code; an unknown code opens nothing) ----
    void StudentSummaryReport(uint32_t person);
    void StudentActivityReport(uint32_t person);
    void StudentHistoryReport(uint32_t person);

    // ---- The studio's activities ----
    // One row of the activity count: a studio activity at one moment and who came.
    struct stActivityCount {
        uint32_t nActivity = 0xFFFFFFFF;  // price-list item
        DATE dDate = 0.0;
        uint32_t nGentlemen = 0;
        uint32_t nLadies = 0;
    };
    // kind 'E' teachers and other employees, any other value students.
    void MostRecentActivityReport(char kind);
    void ActivityCountReport();
    void PurchaserRosterReport();
    // Counts the purchase's first and second persons by gender ('M', 'F'; others add nothing).
    void CountPartnersByGender(const CPurchaseRecord& purchase, uint32_t* gentlemen, uint32_t* ladies);
    // mode 'O' what the studio still owes, 'M' missed appointments.
    void ObligationsReport(char mode);
    void LessonsTaughtReport();

    // ---- Documents from the studio's rich-text templates ----
    // The template line filled in place. Address and contents lines are appended to the line as
    // "\par " + text + CR LF; a line without its end keeps none before them.
    void ReplaceContractPlaceholders(std::string& line, const CPerson& person, const CPurchaseRecord& purchase);
    // `chosen` are positions in `entries` ('P' and 'p' entries); `total` is their sum.
    void ReplaceInvoicePlaceholders(std::string& line, const CPerson& person, uint32_t number,
                                    const std::vector<uint32_t>& chosen, const std::vector<stDataToken>& entries,
                                    double total);
    // `person` null: the payer's name stands in the address. `total` is the items' sum.
    void ReplaceReceiptPlaceholders(std::string& line, const CPerson* person, const std::string& payer,
                                    uint32_t number, const std::vector<std::string>& texts,
                                    const std::vector<double>& amounts, double total);
    // Choose a template, fill it into "PRNTFILE.rtf" and show that.
    void PrintContract(const CPerson& person, const CPurchaseRecord& purchase);
    void PrintInvoice(uint32_t person, const std::vector<uint32_t>& chosen, const std::vector<stDataToken>& entries);
    // `person` NO_CODE: nobody in the database; the payer text names who paid.
    void PrintReceipt(uint32_t person, const std::string& payer, const std::vector<std::string>& texts,
                      const std::vector<double>& amounts, uint32_t number);
    // Each writes "PRNTFILE.rtf" from the template; false (after a message) when no whole
    // document was written.
    bool FillContractTemplate(const std::string& templateFile, const CPerson& person, const CPurchaseRecord& purchase);
    bool FillInvoiceTemplate(const std::string& templateFile, const CPerson& person, uint32_t number,
                             const std::vector<uint32_t>& chosen, const std::vector<stDataToken>& entries);
    bool FillReceiptTemplate(const std::string& templateFile, uint32_t person, const std::string& payer,
                             uint32_t number, const std::vector<std::string>& texts, const std::vector<double>& amounts);
    // Lets the user pick the person's payments due and prints their invoice.
    void InvoiceReport(uint32_t person);
    // Hands the receipt and contract buttons of the payment dialogs, the shopping cart and the
    // purchase sheet to the documents here.
    static void InstallDocumentPrinters();

    // The program's current print setup, handed to every frame (unset: the frame's own).
    static std::function<stPrinterDef*()> s_fnPrintSetup;
    // The tax report's setup dialog: fills the choices, false when cancelled (unset: cancelled).
    static std::function<bool(CDatabase& database, stTaxReportSetup& setup)> s_fnTaxReportSetup;

protected:
    // The report dates dialog; false when cancelled. The dates as the dialog reads them back.
    bool AskReportDates(DATE& start, DATE& end);
    // True when the database holds a format at every slot; else a message names the first one
    // missing, before any window exists.
    bool CheckFormats(const std::vector<int>& slots);

    // The weekly summary: header and sections; false when the file does not follow the layout.
    bool PrintWeeklySummary(CWeeklyReportReader& reader);
    // A section's blank line, title and column heads, all of kind '_'.
    void AddWeeklySectionHead(const std::string& title, const std::vector<std::string>& heads);
    // Stored minutes as the reports show them: in activity units when a unit is 1-59 minutes.
    uint32_t ShowUnits(uint32_t minutes) const;
    // The template chosen from the "*.RTF" files of the current folder under `title`; "" when
    // there is none (after a message) or the user chose none.
    std::string ChooseTemplate(const std::string& title);
    // Writes "PRNTFILE.rtf" from the template, each line passed through `fill`.
    bool FillTemplate(const std::string& templateFile, const std::function<void(std::string&)>& fill);
    // The address lines of a person appended to a template line.
    static void AppendAddressLines(std::string& line, const CPerson& person);
    // The texts of the student's contract activities (the tokens of the student's live contracts)
    // in date order, with the partner when asked.
    void CollectContractActivities(uint32_t person, bool withPartner, std::vector<std::string>& lines);
    // Slots and title of a student's report; the person, null when the code names none.
    const CPerson* PlanStudentReport(uint32_t code, int bodySlot, const char* title, stTextReport& plan);
    // One line per schedule item of kind 'S' of the person: `pattern` with text and date.
    void AddOtherActivities(uint32_t person, const char* pattern);

    CDatabase* m_pDB;
    std::vector<stFmtString>* m_pLines = nullptr;
    std::string m_sWeeklyFile;
    IReportFrame* m_pFrame = nullptr;
    stFmtString m_Line;
};
