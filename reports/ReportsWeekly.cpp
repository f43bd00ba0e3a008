// CReports: the weekly report. A studio writes its week into one text file (header, sections 2 to
// 6 of category lists, sections 7 and 8 of person figures), shows it as the weekly summary or
// mails it to the head office, which merges many studios' files into the composite report.
//
// The file: CR LF line ends; a list is a count line then that many record lines of '|'-separated
// fields; codes and counts "%u", money "%f" in the C locale.

#include <cmath>
#include <functional>
#include <memory>

#include "common/DataPaths.h"
#include "common/DateTime.h"
#include "common/QuestionBox.h"
#include "common/TextFormat.h"
#include "database/Database.h"
#include "database/SettingsRecords.h"
#include "dialogs/DialogMenu.h"
#include "dialogs/DialogReportDates.h"
#include "platform/host/File.h"
#include "platform/host/Format.h"
#include "platform/host/WaitCursor.h"
#include "reports/Email.h"
#include "reports/ReportFrame.h"
#include "reports/Reports.h"
#include "reports/WeeklyReportReader.h"
#include "widgets/CommandGuards.h"

namespace {

constexpr int kBodySlot = 30;
constexpr int kHeadSlot = 31;
// The unit of activity minutes when no database is open.
constexpr int32_t kDefaultUnitMinutes = 10;
const char* const kSectionHead = "PERSON_SUMMARY";
const char* const kUnreadable = "File %s could not be read as a weekly report file.";
const char* const kLeftOut = "File %s could not be read as a weekly report file; it was left out.";

// A text field of the file: its line ends made blanks, so it stays on its line.
std::string OneLine(std::string text)
{
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    return text;
}

// Reads a list: its count line, then that many records of at least `fields` fields, each
// turned into an element by `take`. False when a line is missing or short.
template <class Row>
bool ReadList(CWeeklyReportReader& reader, size_t fields, std::vector<Row>& rows,
              const std::function<Row(const std::vector<std::string>&)>& take)
{
    rows.clear();
    uint32_t count = 0;
    if (!reader.ReadCount(count)) return false;
    std::vector<std::string> f;
    for (uint32_t i = 0; i < count; ++i) {
        if (!reader.ReadRecord(fields, f)) return false;
        rows.push_back(take(f));
    }
    return true;
}

uint32_t U(const std::string& field)
{
    return CWeeklyReportReader::ToUInt(field);
}

double M(const std::string& field)
{
    return CWeeklyReportReader::ToMoney(field);
}

stCodeTotal TakeCodeTotal(const std::vector<std::string>& f)
{
    return stCodeTotal{U(f[0]), U(f[1]), M(f[2])};
}

bool ReadCodeTotals(CWeeklyReportReader& reader, std::vector<stCodeTotal>& rows)
{
    return ReadList<stCodeTotal>(reader, 3, rows, TakeCodeTotal);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Writing

std::string CReports::WeeklyReportFileName(DATE first, const std::string& code, const std::string& name)
{
    std::string file = Format("%s_%s[%s].rpt", FormatDay(first).c_str(), code.c_str(), name.c_str());
    for (char& c : file) {
        if (c == ' ') c = '_';
        else if (c == '/' || c == '\\') c = '-';
        else if (c == '\r' || c == '\n') c = '_';
    }
    return file;
}

uint32_t CReports::ShowUnits(uint32_t minutes) const
{
    const int32_t unit = m_pDB ? m_pDB->m_Parameters.GetInt(param::kActivityUnitMinutes) : kDefaultUnitMinutes;
    return unit >= 1 && unit <= 59 ? minutes / static_cast<uint32_t>(unit) : minutes;
}

namespace {

void AppendLine(std::string& bytes, const std::string& line)
{
    bytes += line;
    bytes += "\r\n";
}

// A list: its count line, then one record line per row.
template <class Row>
void AppendList(std::string& bytes, const std::vector<Row>& rows, std::string (*record)(const Row&))
{
    AppendLine(bytes, Format("%i", static_cast<int>(rows.size())));
    for (const Row& row : rows) AppendLine(bytes, record(row));
}

std::string CodeTotalRecord(const stCodeTotal& t)
{
    return Format("%u|%u|%f", t.nCode, t.nCount, t.dAmount);
}

// The income and refund lists of a sales tally mode (2 every sale, 5 merchandise), prepared
// alike so that they pair by position.
void AppendSalesLists(std::string& bytes, const CDatabase& db, int mode, DATE first, DATE last)
{
    std::vector<stCodeTotal> income, refunds;
    db.PrepareCategoryTotals(mode, income);
    db.PrepareCategoryTotals(mode, refunds);
    db.SumSalesByCategory(mode, first, last, income, &refunds);
    AppendList(bytes, income, CodeTotalRecord);
    AppendList(bytes, refunds, CodeTotalRecord);
}

}  // namespace

void CReports::WriteTransactionData(DATE first, DATE last)
{
    AppendSalesLists(m_sWeeklyFile, *m_pDB, 2, first, last);
}

void CReports::WriteContactSourceData(DATE first, DATE last)
{
    std::vector<stSourceTotal> sources;
    m_pDB->PrepareInterviewSourceTotals(sources);
    m_pDB->SumInterviewSources(first, last, sources);
    AppendList<stSourceTotal>(m_sWeeklyFile, sources, [](const stSourceTotal& t) {
        return Format("%u|%u|%u|%u|%f", t.nCode, t.nPhoneInterviews, t.nVisits, t.nNewPersons, t.dAmount);
    });
}

void CReports::WriteEnrollmentData(DATE first, DATE last)
{
    std::vector<stContractTotal> written, cancelled;
    m_pDB->PrepareContractTypeTotals(written);
    m_pDB->PrepareContractTypeTotals(cancelled);
    m_pDB->SumContractsByType(first, last, written, cancelled);
    auto record = [](const stContractTotal& t) {
        return Format("%u|%u|%u|%f|%f", t.nCode, t.nVisits, t.nContracts, t.dTotal, t.dRefunds);
    };
    AppendList<stContractTotal>(m_sWeeklyFile, written, record);
    AppendList<stContractTotal>(m_sWeeklyFile, cancelled, record);
}

void CReports::WriteMerchandiseData(DATE first, DATE last)
{
    AppendSalesLists(m_sWeeklyFile, *m_pDB, 5, first, last);
}

void CReports::WriteActivityData(DATE first, DATE last)
{
    std::vector<::stActivityCount> activities;
    m_pDB->PrepareBasicItemTotals(activities);
    m_pDB->SumItemActivity(first, last, activities);
    AppendList<::stActivityCount>(m_sWeeklyFile, activities, [](const ::stActivityCount& a) {
        return Format("%u|%u|%u|%u|%u|%u|%u", a.nCode, a.nEnrolled, a.nEnrolledUnits, a.nTaken, a.nTakenUnits,
                      a.nCancelled, a.nCancelledUnits);
    });
}

void CReports::WriteWeeklyReportData(char kind, DATE first, DATE last)
{
    std::vector<stTeacherActivityData> persons;
    m_pDB->BuildTeacherActivityRecords(persons, kind);
    m_pDB->TeacherActivityData(kind, first, last, persons);
    AppendLine(m_sWeeklyFile, Format("PERSON_SUMMARY|%i|%s", static_cast<int>(persons.size()),
                                     OneLine(m_pDB->GetStudioStrings().sStudioName).c_str()));
    for (const stTeacherActivityData& r : persons) {
        std::string name;
        m_pDB->GetPersonName(name, static_cast<uint32_t>(r.nPerson), 1);
        // Merchandise and other sales counts are held as money figures: written whole.
        AppendLine(m_sWeeklyFile,
                   Format("%u|%u|%u|%f|%u|%f|%u|%u|%f|%u|%f|%u|%f|%u|%f|%u|%f|%u|%f|%u|%f|%u|%f|%u|%s",
                          static_cast<uint32_t>(r.nPerson), r.nFirstInterviews, r.nFirstSales, r.dFirstSalesValue,
                          r.nFirstCancellations, r.dFirstCancellationsValue, r.nLaterInterviews, r.nLaterSales,
                          r.dLaterSalesValue, r.nLaterCancellations, r.dLaterCancellationsValue, r.nTotalSales,
                          r.dTotalSalesValue, r.nTotalCancellations, r.dTotalCancellationsValue,
                          static_cast<uint32_t>(std::llround(r.dMoney[0])), r.dMoney[1],
                          static_cast<uint32_t>(std::llround(r.dMoney[2])), r.dMoney[3], r.nPayments,
                          r.dPaymentsAmount, r.nRefunds, r.dRefundsAmount, r.nGuests, OneLine(name).c_str()));
        AppendLine(m_sWeeklyFile, Format("%u", static_cast<uint32_t>(r.aActivities.size())));
        for (const ::stActivityCount& a : r.aActivities)
            AppendLine(m_sWeeklyFile, Format("%u|%u|%u|%u|%u|%u|%u|stActivityHourTotal", a.nCode, a.nEnrolled,
                                             a.nEnrolledUnits, a.nTaken, a.nTakenUnits, a.nCancelled,
                                             a.nCancelledUnits));
    }
    m_pDB->FreeTeacherActivityItems(persons);
}

namespace {

// Writes the bytes beside the file, then puts them in its place: a failed write, flush or close
// leaves no partial file and any earlier file of that name as it was.
bool SaveFileBytes(const std::string& path, const std::string& bytes)
{
    const std::string temporary = path + ".new";
    host::File file;
    if (!file.Open(temporary, host::File::Access::ReadWrite, host::File::Disposition::CreateAlways)) return false;
    const bool written = file.Write(bytes.data(), bytes.size()) && file.Flush();
    const bool closed = file.Close();
    if (written && closed && host::ReplaceFile(temporary, path)) return true;
    host::DeleteFile(temporary);
    return false;
}

}  // namespace

void CReports::WriteWeeklyReportFile(int show)
{
    if (!m_pDB) return;
    if (show == 1 && IsReportViewDisplayed()) return;
    CDialogReportDates dialog;
    dialog.m_pDatabase = m_pDB;
    dialog.m_nWeekStartDay = m_pDB->m_Parameters.GetInt(param::kStartDayOfWeek);
    if (dialog.DoModal() != ui::IDOK) return;
    const DATE first = dialog.m_StartDate.GetValue();
    const DATE last = dialog.m_EndDate.GetValue();

    const stStudioStrings& studio = m_pDB->GetStudioStrings();
    const std::string path =
        GetPathInCurrentFolder(WeeklyReportFileName(first, studio.sStudioCode, studio.sStudioName));
    {
        host::WaitCursor wait;
        m_sWeeklyFile.clear();
        AppendLine(m_sWeeklyFile, OneLine(studio.sStudioName));
        AppendLine(m_sWeeklyFile, OneLine(studio.sStudioCode));
        AppendLine(m_sWeeklyFile, OneLine(Format("%s, %s", studio.sCity.c_str(), studio.sState.c_str())));
        AppendLine(m_sWeeklyFile, FormatDay(first));
        AppendLine(m_sWeeklyFile, FormatDay(last));
        AppendLine(m_sWeeklyFile, Format("%i", WeekOfYear(first)));
        WriteTransactionData(first, last);
        WriteContactSourceData(first, last);
        WriteEnrollmentData(first, last);
        WriteMerchandiseData(first, last);
        WriteActivityData(first, last);
        WriteWeeklyReportData('T', first, last);
        WriteWeeklyReportData('S', first, last);
        if (!SaveFileBytes(path, m_sWeeklyFile)) {
            GetResponse("Cannot save report file", MB_OK);
            return;
        }
    }
    if (show == 1) WeeklySummaryReport(path);
    else EmailWeeklyReportData(path);
}

void CReports::EmailWeeklyReportData(const std::string& path)
{
    const stStudioStrings& studio = m_pDB->GetStudioStrings();
    if (studio.sReportEmail.empty()) {
        GetResponse("Email address not provided. Go to 'Studio data' in 'Setup' menu and supply email address.",
                    MB_OK);
        return;
    }
    CEmail mail(Format("Weekly report data for %s", studio.sStudioName.c_str()),
                Format("Attached is a weekly report data file for %s.", studio.sStudioName.c_str()), 1,
                {studio.sReportEmail}, {studio.sReportEmail}, {path});
    if (mail.Load() != 0) return;
    mail.Send();
    mail.Unload();
}

// ---------------------------------------------------------------------------------------------
// Reading

bool CReports::ReadWeeklyReportData(std::string& studio, CWeeklyReportReader& reader,
                                    std::vector<stTeacherActivityData>& persons)
{
    std::vector<std::string> f;
    std::string line;
    for (;;) {
        if (!reader.NextLine(line)) return false;
        if (line == kSectionHead || line.rfind(std::string(kSectionHead) + "|", 0) == 0) break;
    }
    uint32_t count = 0;
    if (!CWeeklyReportReader::SplitRecord(line, 3, f) || !CWeeklyReportReader::ParseCount(f[1], count)) return false;
    studio = f[2];
    for (uint32_t i = 0; i < count; ++i) {
        if (!reader.ReadRecord(25, f)) return false;
        stTeacherActivityData r;
        r.nPerson = static_cast<int32_t>(U(f[0]));
        r.nFirstInterviews = U(f[1]);
        r.nFirstSales = U(f[2]);
        r.dFirstSalesValue = M(f[3]);
        r.nFirstCancellations = U(f[4]);
        r.dFirstCancellationsValue = M(f[5]);
        r.nLaterInterviews = U(f[6]);
        r.nLaterSales = U(f[7]);
        r.dLaterSalesValue = M(f[8]);
        r.nLaterCancellations = U(f[9]);
        r.dLaterCancellationsValue = M(f[10]);
        r.nTotalSales = U(f[11]);
        r.dTotalSalesValue = M(f[12]);
        r.nTotalCancellations = U(f[13]);
        r.dTotalCancellationsValue = M(f[14]);
        r.dMoney[0] = U(f[15]);
        r.dMoney[1] = M(f[16]);
        r.dMoney[2] = U(f[17]);
        r.dMoney[3] = M(f[18]);
        r.nPayments = U(f[19]);
        r.dPaymentsAmount = M(f[20]);
        r.nRefunds = U(f[21]);
        r.dRefundsAmount = M(f[22]);
        r.nGuests = U(f[23]);
        r.sName = f[24];
        uint32_t lines = 0;
        if (!reader.ReadCount(lines)) return false;
        for (uint32_t k = 0; k < lines; ++k) {
            if (!reader.ReadRecord(7, f)) return false;
            r.aActivities.push_back(
                ::stActivityCount{U(f[0]), U(f[1]), U(f[2]), U(f[3]), U(f[4]), U(f[5]), U(f[6])});
        }
        persons.push_back(std::move(r));
    }
    return true;
}

bool CReports::MergeWeeklyReportFile(const std::string& path, std::vector<stSummaryItem>& studios,
                                     std::vector<stSummaryItem>& persons)
{
    CWeeklyReportReader reader;
    if (!reader.Open(path)) return false;
    stSummaryItem studio;
    std::vector<stTeacherActivityData> read;
    // Only the first section: the supervisors' one credits the same sales again.
    if (!ReadWeeklyReportData(studio.sName, reader, read)) return false;
    for (const stTeacherActivityData& r : read) {
        stSummaryItem person;
        person.sName = r.sName;
        person.dSales = r.dTotalSalesValue;
        for (const ::stActivityCount& a : r.aActivities) person.nUnits += ShowUnits(a.nTakenUnits);
        person.nInterviews = r.nFirstInterviews + r.nLaterInterviews;
        person.nGuests = r.nGuests;
        person.dCancelled = r.dTotalCancellationsValue;
        studio.dSales += person.dSales;
        studio.nUnits += person.nUnits;
        studio.nInterviews += person.nInterviews;
        studio.nGuests += person.nGuests;
        studio.dCancelled += person.dCancelled;
        persons.push_back(std::move(person));
    }
    studios.push_back(std::move(studio));
    return true;
}

// ---------------------------------------------------------------------------------------------
// The weekly summary

void CReports::AddWeeklySectionHead(const std::string& title, const std::vector<std::string>& heads)
{
    SetLineFormat(kBodySlot, '_');
    AddLine(std::string());
    SetLineFormat(kHeadSlot, '_');
    AddLine(title);
    SetLineFormat(kBodySlot, '_');
    AddLine(std::string());
    for (const std::string& head : heads) AddLine(head);
}

bool CReports::PrintWeeklyTransactionSection(CWeeklyReportReader& reader)
{
    std::vector<stCodeTotal> income, refunds;
    if (!ReadCodeTotals(reader, income) || !ReadCodeTotals(reader, refunds)) return false;
    // The writer prepares both lists alike: they pair by position.
    if (income.size() != refunds.size()) return false;
    std::string otherIncome, otherRefunds;
    for (size_t i = 0; i < income.size(); ++i) {
        if (income[i].nCode != TALLY_OTHER) continue;
        otherIncome = Format("%8.2f", income[i].dAmount);
        otherRefunds = Format("%8.2f", refunds[i].dAmount);
        break;
    }
    std::string danceIncome, danceRefunds, merchandiseIncome, merchandiseRefunds;
    m_pDB->SumCategoryTotalsByType(danceIncome, income, 'B', 1);
    m_pDB->SumCategoryTotalsByType(danceRefunds, refunds, 'B', 1);
    m_pDB->SumCategoryTotalsByType(merchandiseIncome, income, 'm', 0);
    m_pDB->SumCategoryTotalsByType(merchandiseRefunds, refunds, 'm', 0);
    AddWeeklySectionHead("Section 2 - Weekly transaction summary", {"Category\tIncome\tRefunds"});
    AddLine(Format("Dance items\t%s\t%s", danceIncome.c_str(), danceRefunds.c_str()));
    AddLine(Format("Merchandise\t%s\t%s", merchandiseIncome.c_str(), merchandiseRefunds.c_str()));
    AddLine(Format("Other\t%s\t%s", otherIncome.c_str(), otherRefunds.c_str()));
    return true;
}

bool CReports::PrintContactSourcesSection(CWeeklyReportReader& reader)
{
    std::vector<stSourceTotal> sources;
    if (!ReadList<stSourceTotal>(reader, 5, sources, [](const std::vector<std::string>& f) {
            return stSourceTotal{U(f[0]), U(f[1]), U(f[2]), U(f[3]), M(f[4])};
        }))
        return false;
    AddWeeklySectionHead("Section 3 - Sources of new contacts",
                         {"Category\tFirst calls\tFirst visits\tNew students\tAmount spent"});
    for (const stSourceTotal& t : sources)
        AddLine(Format("%s\t%u\t%u\t%u\t%.2f", Capitalize(m_pDB->GetCategoryName(t.nCode)).c_str(), t.nPhoneInterviews,
                       t.nVisits, t.nNewPersons, t.dAmount));
    return true;
}

bool CReports::PrintEnrollmentSection(CWeeklyReportReader& reader)
{
    std::vector<stContractTotal> written, cancelled;
    auto take = [](const std::vector<std::string>& f) {
        return stContractTotal{U(f[0]), U(f[1]), U(f[2]), M(f[3]), M(f[4])};
    };
    if (!ReadList<stContractTotal>(reader, 5, written, take) || !ReadList<stContractTotal>(reader, 5, cancelled, take))
        return false;
    if (written.size() != cancelled.size()) return false;
    AddWeeklySectionHead("Section 4 - Enrollment activity",
                         {"Type\tNumber of\tNumber of\tValue of\tNumber cancelled\tValue cancelled\tActual",
                          "  \tinterviews\tcontracts\tcontracts\tor converted\tor converted\trefunds"});
    for (size_t i = 0; i < written.size(); ++i) {
        const stContractTotal& w = written[i];
        const stContractTotal& c = cancelled[i];
        AddLine(Format("%s\t%s\t%s\t%s\t%s\t%s\t%s", Capitalize(m_pDB->GetCategoryName(w.nCode)).c_str(),
                       Format("%u", w.nVisits).c_str(), Format("%u", w.nContracts).c_str(),
                       Format("%.2f", w.dTotal).c_str(), Format("%u", c.nContracts).c_str(),
                       Format("%.2f", c.dTotal).c_str(), Format("%.2f", c.dRefunds).c_str()));
    }
    return true;
}

bool CReports::PrintMerchandiseSection(CWeeklyReportReader& reader)
{
    std::vector<stCodeTotal> sales, refunds;
    if (!ReadCodeTotals(reader, sales) || !ReadCodeTotals(reader, refunds)) return false;
    if (sales.size() != refunds.size()) return false;
    AddWeeklySectionHead("Section 5 - Weekly merchandise sale summary", {"Category\tNumber\tIncome\tNumber\tRefunds"});
    for (size_t i = 0; i < sales.size(); ++i)
        AddLine(Format("%s\t%u\t%.2f\t%u\t%.2f", Capitalize(m_pDB->GetCategoryName(sales[i].nCode)).c_str(),
                       sales[i].nCount, sales[i].dAmount, refunds[i].nCount, refunds[i].dAmount));
    return true;
}

bool CReports::PrintActivitySection(CWeeklyReportReader& reader)
{
    std::vector<::stActivityCount> activities;
    if (!ReadList<::stActivityCount>(reader, 7, activities, [](const std::vector<std::string>& f) {
            return ::stActivityCount{U(f[0]), U(f[1]), U(f[2]), U(f[3]), U(f[4]), U(f[5]), U(f[6])};
        }))
        return false;
    AddWeeklySectionHead("Section 6 - Weekly activity summary",
                         {"Category\tEnrolled\tEnrolled\tUsed\tUsed\tCancelled\tCancelled",
                          "        \tNumber\tUnits\tNumber\tUnits\tNumber\tUnits"});
    for (const ::stActivityCount& a : activities)
        AddLine(Format("%s\t%u\t%u\t%u\t%u\t%u\t%u", Capitalize(m_pDB->GetCategoryName(a.nCode)).c_str(), a.nEnrolled,
                       ShowUnits(a.nEnrolledUnits), a.nTaken, ShowUnits(a.nTakenUnits), a.nCancelled,
                       ShowUnits(a.nCancelledUnits)));
    return true;
}

bool CReports::PrintPersonActivitySection(CWeeklyReportReader& reader, char kind)
{
    std::string studio;
    std::vector<stTeacherActivityData> persons;
    if (!ReadWeeklyReportData(studio, reader, persons)) return false;
    const char* title = kind == 'T'   ? "Section 7 - Weekly teacher activity summary"
                        : kind == 'S' ? "Section 8 - Weekly supervisor activity summary"
                                      : "";
    AddWeeklySectionHead(title, {});
    for (const stTeacherActivityData& r : persons) {
        std::string name;
        m_pDB->GetPersonName(name, static_cast<uint32_t>(r.nPerson), 0);
        AddLine(Format("%s\tNumber\tNumber of sales\tTotal value\tCancel/refunds\tCancel/refund value", name.c_str()));
        AddLine(Format("First interviews\t%u\t%u\t%.2f\t%u\t%.2f", r.nFirstInterviews, r.nFirstSales,
                       r.dFirstSalesValue, r.nFirstCancellations, r.dFirstCancellationsValue));
        AddLine(Format("Later interviews\t%u\t%u\t%.2f\t%u\t%.2f", r.nLaterInterviews, r.nLaterSales,
                       r.dLaterSalesValue, r.nLaterCancellations, r.dLaterCancellationsValue));
        AddLine(Format("Total dance sales\t----\t%u\t%.2f\t%u\t%.2f", r.nTotalSales, r.dTotalSalesValue,
                       r.nTotalCancellations, r.dTotalCancellationsValue));
        AddLine(Format("Merchandise sales\t----\t%u\t%.2f\t%u\t%.2f", static_cast<uint32_t>(r.dMoney[0]), r.dMoney[1],
                       static_cast<uint32_t>(r.dMoney[2]), r.dMoney[3]));
        AddLine(Format("Other sales\t----\t%u\t%.2f\t%u\t%.2f", r.nPayments, r.dPaymentsAmount, r.nRefunds,
                       r.dRefundsAmount));
        AddLine(Format("Guests\t%u", r.nGuests));
        AddLine("Category\tEnrolled (units)\tTaught (Units)\tCancelled (Units)");
        for (const ::stActivityCount& a : r.aActivities)
            AddLine(Format("%s\t%u (%u)\t%u (%u)\t%u (%u)", m_pDB->GetCategoryName(a.nCode).c_str(), a.nEnrolled,
                           ShowUnits(a.nEnrolledUnits), a.nTaken, ShowUnits(a.nTakenUnits), a.nCancelled,
                           ShowUnits(a.nCancelledUnits)));
        AddLine(std::string());
    }
    return true;
}

bool CReports::PrintWeeklySummary(CWeeklyReportReader& reader)
{
    std::string header[6];
    for (std::string& line : header)
        if (!reader.NextLine(line)) return false;
    SetLineFormat(kHeadSlot, 'H');
    AddLine(Format("Summary report %s", header[0].c_str()));
    AddBlankLine(kBodySlot);
    SetLineFormat(kBodySlot, '-');
    AddLine(Format("Code: %s\tLocation: %s", header[1].c_str(), header[2].c_str()));
    AddLine(Format("Week: %s\tStart: %s\tEnd: %s", header[5].c_str(), header[3].c_str(), header[4].c_str()));
    return PrintWeeklyTransactionSection(reader) && PrintContactSourcesSection(reader) &&
           PrintEnrollmentSection(reader) && PrintMerchandiseSection(reader) && PrintActivitySection(reader) &&
           PrintPersonActivitySection(reader, 'T') && PrintPersonActivitySection(reader, 'S');
}

void CReports::WeeklySummaryReport(const std::string& fileName)
{
    if (!m_pDB || !CheckFormats({kBodySlot, kHeadSlot})) return;
    CWeeklyReportReader reader;
    bool readable = reader.Open(fileName);
    {
        // A first pass without lines checks the whole file before any window opens.
        host::WaitCursor wait;
        m_pLines = nullptr;
        readable = readable && PrintWeeklySummary(reader);
    }
    if (!readable) {
        GetResponse(Format(kUnreadable, fileName.c_str()), MB_OK);
        return;
    }
    IReportFrame* frame = NewReportFrame();
    if (!frame) return;
    m_pLines = &frame->GetLines();
    {
        host::WaitCursor wait;
        reader.Rewind();
        PrintWeeklySummary(reader);
    }
    frame->SetView(m_pDB, 0, 0, 1, s_fnPrintSetup ? s_fnPrintSetup() : nullptr);
    m_pLines = nullptr;
}

// ---------------------------------------------------------------------------------------------
// The composite report

void CReports::CompositeReport()
{
    std::vector<std::string> names, dates;
    ListFilesWithDates("*.rpt", names, dates, 0);
    if (names.empty()) {
        GetResponse(Format("No files matching %s were found.", "*.rpt"), MB_OK);
        return;
    }
    std::vector<uint32_t> chosen;
    {
        CDialogMenu menu(m_pDB, "Select one or more reports", 'M', 'N', 0, 0, "");
        for (size_t i = 0; i < names.size(); ++i) menu.AddItem(static_cast<uint32_t>(i), names[i]);
        menu.m_pResult = &chosen;
        if (menu.DoModal() != ui::IDOK) chosen.clear();
    }
    if (chosen.empty()) {
        GetResponse("None selected", MB_OK);
        return;
    }
    std::vector<stSummaryItem> studios, persons;
    {
        host::WaitCursor wait;
        for (uint32_t index : chosen) {
            if (index >= names.size()) continue;
            if (!MergeWeeklyReportFile(names[index], studios, persons))
                GetResponse(Format(kLeftOut, names[index].c_str()), MB_OK);
        }
    }

    // Without an open database the lines take the default formats (the frame keeps copies).
    CDatabase* const database = m_pDB;
    std::unique_ptr<CDatabase> defaults;
    if (!database) {
        defaults = std::make_unique<CDatabase>();
        defaults->SetDefaultFormats();
        m_pDB = defaults.get();
    }
    struct Restore {
        CDatabase*& target;
        CDatabase* value;
        ~Restore() { target = value; }
    } restore{m_pDB, database};
    if (!CheckFormats({kBodySlot, kHeadSlot})) return;
    IReportFrame* frame = NewReportFrame();
    if (!frame) return;
    m_pLines = &frame->GetLines();
    AddWeeklySectionHead("Composite data report", {"Studio name\tSales\tUnits\tInterviews\tGuests\tCancelled"});
    auto addRows = [this](const std::vector<stSummaryItem>& rows) {
        for (const stSummaryItem& s : rows)
            AddLine(Format("%s\t%.2f\t%u\t%u\t%u\t%.2f", s.sName.c_str(), s.dSales, s.nUnits, s.nInterviews, s.nGuests,
                           s.dCancelled));
    };
    addRows(studios);
    AddLine(std::string());
    AddLine("Person name\tSales\tUnits\tInterviews\tGuests\tCancelled");
    addRows(persons);
    frame->SetView(database, 0, 0, 1, s_fnPrintSetup ? s_fnPrintSetup() : nullptr);
    m_pLines = nullptr;
}
