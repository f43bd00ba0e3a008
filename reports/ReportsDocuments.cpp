// CReports: contracts, invoices and receipts filled from the studio's rich-text templates into
// "PRNTFILE.rtf", and the choice of the payments an invoice lists.

#include <cstdio>
#include <functional>

#include "common/DataPaths.h"
#include "common/DateTime.h"
#include "common/ListHelpers.h"
#include "common/QuestionBox.h"
#include "common/TextFile.h"
#include "common/TextFormat.h"
#include "database/Database.h"
#include "dialogs/DialogEditScheduledPayment.h"
#include "dialogs/DialogMenu.h"
#include "dialogs/DialogReceivedPayment.h"
#include "dialogs/PagePurchaseEdit.h"
#include "platform/host/Format.h"
#include "platform/host/WaitCursor.h"
#include "reports/Reports.h"
#include "reports/ReportsRTF.h"
#include "widgets/ExternalPrograms.h"

namespace {

// The filled document, in the current folder beside the templates.
constexpr const char* kDocumentFile = "PRNTFILE.rtf";

// Replaces every occurrence of the placeholder with the (escaped) text `make` gives, then appends
// the extra lines `more` gives, once, at the end of the line. A line without the placeholder
// costs nothing.
void Fill(std::string& line, const char* placeholder, const std::function<std::string()>& make,
          const std::function<void(std::vector<std::string>&)>& more = nullptr)
{
    if (line.empty() || line.find(placeholder) == std::string::npos) return;
    ReplaceInString(line, placeholder, EscapeRtfText(make()), 1);
    if (!more) return;
    std::vector<std::string> lines;
    more(lines);
    for (const std::string& text : lines) line += "\\par " + EscapeRtfText(text) + "\r\n";
}

std::string TodayText()
{
    return FormatDateTime(GetNow(), "%B %d, %Y");
}

std::string NameOf(const CPerson& person)
{
    return Format("%s %s", person.m_sFirstName.c_str(), person.m_sLastName.c_str());
}

// The amount, due date and text of an invoice entry: a payment record ('P') or a scheduled
// payment of a purchase ('p').
struct stInvoiceEntry {
    char cState = 0;
    DATE dDate = 0.0;
    double dAmount = 0.0;
    std::string sText;
};

stInvoiceEntry InvoiceEntry(const stDataToken& entry)
{
    stInvoiceEntry e;
    if (entry.type == 'P') {
        const CPaymentRecord& payment = *static_cast<const CPaymentRecord*>(entry.record);
        e = {payment.m_cReceived, payment.m_dDate, payment.m_dAmount, payment.m_sText};
    } else if (entry.type == 'p') {
        const CPurchaseRecord& purchase = *static_cast<const CPurchaseRecord*>(entry.record);
        const CSchedulePayment& payment = *purchase.m_Payments[static_cast<size_t>(entry.index1)];
        e = {payment.m_cKind, payment.m_dDate, payment.m_dAmount, payment.m_sDescription};
    }
    return e;
}

std::string DueText(const stInvoiceEntry& e)
{
    return e.cState == 'U' ? std::string("Unscheduled") : FormatDateTime(e.dDate, "%m/%d/%Y");
}

}  // namespace

void CReports::AppendAddressLines(std::string& line, const CPerson& person)
{
    std::vector<std::string> lines = {person.m_sAddress1, person.m_sAddress2};
    if (!person.m_sCity.empty())
        lines.push_back(Format("%s, %s %s", person.m_sCity.c_str(), person.m_sState.c_str(), person.m_sZip.c_str()));
    lines.push_back(person.m_sText16);
    lines.push_back(person.m_sText17);
    for (const std::string& text : lines)
        if (!text.empty()) line += "\\par " + EscapeRtfText(text) + "\r\n";
}

void CReports::ReplaceContractPlaceholders(std::string& line, const CPerson& person, const CPurchaseRecord& purchase)
{
    Fill(line, "<BALANCE>", [&] { return Format("$%.2f", purchase.GetTotal(0)); });
    Fill(line, "<DATE>", TodayText);
    if (!line.empty() && line.find("<ADDRESS>") != std::string::npos) {
        Fill(line, "<ADDRESS>", [&] { return NameOf(person); });
        AppendAddressLines(line, person);
    }
    Fill(line, "<CONTENTS>", [&] { return Format("%s, including:", purchase.m_sDescription.c_str()); },
         [&](std::vector<std::string>& lines) {
             for (const auto& item : purchase.m_Items) lines.push_back(Format("\t%s", item->m_sName.c_str()));
         });
}

void CReports::ReplaceInvoicePlaceholders(std::string& line, const CPerson& person, uint32_t number,
                                          const std::vector<uint32_t>& chosen, const std::vector<stDataToken>& entries,
                                          double total)
{
    Fill(line, "<BALANCE>", [&] { return Format("$%.2f", total); });
    Fill(line, "<NUMBER>", [&] { return Format("%u", number); });
    Fill(line, "<DATE>", TodayText);
    if (!line.empty() && line.find("<ADDRESS>") != std::string::npos) {
        Fill(line, "<ADDRESS>", [&] { return NameOf(person); });
        AppendAddressLines(line, person);
    }
    Fill(line, "<CONTENTS>", [] { return std::string("Invoice for payments, including:"); },
         [&](std::vector<std::string>& lines) {
             for (uint32_t at : chosen) {
                 if (at >= entries.size()) continue;
                 const stInvoiceEntry e = InvoiceEntry(entries[at]);
                 lines.push_back(Format("\t%s\t%s\t%s", DueText(e).c_str(), Format("%8.2f", e.dAmount).c_str(),
                                        e.sText.c_str()));
             }
         });
}

void CReports::ReplaceReceiptPlaceholders(std::string& line, const CPerson* person, const std::string& payer,
                                          uint32_t number, const std::vector<std::string>& texts,
                                          const std::vector<double>& amounts, double total)
{
    Fill(line, "<BALANCE>", [&] { return Format("%s\t%s", "Total", FormatMoney(total, 0).c_str()); });
    Fill(line, "<NUMBER>", [&] { return Format("%i", static_cast<int>(number)); });
    Fill(line, "<DATE>", TodayText);
    if (!line.empty() && line.find("<ADDRESS>") != std::string::npos) {
        Fill(line, "<ADDRESS>", [&] { return person ? NameOf(*person) : payer; });
        if (person) AppendAddressLines(line, *person);
    }
    Fill(line, "<CONTENTS>", [] { return Format("%s\t%s", "Item", "Price"); },
         [&](std::vector<std::string>& lines) {
             for (size_t i = 0; i < texts.size(); ++i)
                 lines.push_back(Format("%s\t%s", texts[i].c_str(),
                                        FormatMoney(i < amounts.size() ? amounts[i] : 0.0, 0).c_str()));
         });
}

std::string CReports::ChooseTemplate(const std::string& title)
{
    std::vector<std::string> names, dates, templates;
    ListFilesWithDates("*.RTF", names, dates, 0);
    // The document itself is no template: reading it while writing it would lose it.
    for (const std::string& name : names)
        if (FindInString(name, kDocumentFile, 0) != 0 || name.size() != std::string(kDocumentFile).size())
            templates.push_back(name);
    if (templates.empty()) {
        GetResponse("No template files found", MB_OK);
        return std::string();
    }
    CDialogMenu menu(m_pDB, title, 'S', 'N', 0, 0, "");
    for (size_t i = 0; i < templates.size(); ++i) menu.AddItem(static_cast<uint32_t>(i), templates[i]);
    const int chosen = menu.DoModal();
    if (chosen < 0 || chosen >= static_cast<int>(templates.size())) return std::string();
    return templates[static_cast<size_t>(chosen)];
}

bool CReports::FillTemplate(const std::string& templateFile, const std::function<void(std::string&)>& fill)
{
    std::string bytes;
    std::FILE* in = OpenTextFile(templateFile, "rb");
    bool read = in != nullptr;
    if (in) {
        char buffer[4096];
        size_t got = 0;
        while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0) bytes.append(buffer, got);
        read = std::ferror(in) == 0;
        std::fclose(in);
    }
    if (!read) {
        GetResponse(Format("Can't open template file %s", templateFile.c_str()), MB_OK);
        return false;
    }
    std::FILE* out = OpenOutputFile(kDocumentFile);
    if (!out) return false;
    // Lines of any length, each ending CR LF as it is written; a last line without an end
    // keeps none.
    for (size_t start = 0; start < bytes.size();) {
        const size_t end = bytes.find('\n', start);
        std::string line = bytes.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (end != std::string::npos) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            line += "\r\n";
        }
        fill(line);
        std::fwrite(line.data(), 1, line.size(), out);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    const bool written = std::ferror(out) == 0;
    const bool closed = std::fclose(out) == 0;
    if (!written || !closed) {
        GetResponse(Format("Error in writing file %s", kDocumentFile), MB_OK);
        return false;
    }
    return true;
}

bool CReports::FillContractTemplate(const std::string& templateFile, const CPerson& person,
                                    const CPurchaseRecord& purchase)
{
    return FillTemplate(templateFile,
                        [&](std::string& line) { ReplaceContractPlaceholders(line, person, purchase); });
}

bool CReports::FillInvoiceTemplate(const std::string& templateFile, const CPerson& person, uint32_t number,
                                   const std::vector<uint32_t>& chosen, const std::vector<stDataToken>& entries)
{
    double total = 0.0;
    for (uint32_t at : chosen)
        if (at < entries.size()) total += InvoiceEntry(entries[at]).dAmount;
    return FillTemplate(templateFile, [&](std::string& line) {
        ReplaceInvoicePlaceholders(line, person, number, chosen, entries, total);
    });
}

bool CReports::FillReceiptTemplate(const std::string& templateFile, uint32_t person, const std::string& payer,
                                   uint32_t number, const std::vector<std::string>& texts,
                                   const std::vector<double>& amounts)
{
    const CPerson* record = person != NO_CODE ? static_cast<const CPerson*>(m_pDB->GetItem(TABLE_PERSON, person)) : nullptr;
    double total = 0.0;
    for (double amount : amounts) total += amount;
    return FillTemplate(templateFile, [&](std::string& line) {
        ReplaceReceiptPlaceholders(line, record, payer, number, texts, amounts, total);
    });
}

void CReports::PrintContract(const CPerson& person, const CPurchaseRecord& purchase)
{
    const std::string file = ChooseTemplate("Select contract template file");
    if (file.empty()) return;
    if (FillContractTemplate(file, person, purchase)) OpenInWordProcessor(kDocumentFile);
}

void CReports::PrintInvoice(uint32_t person, const std::vector<uint32_t>& chosen, const std::vector<stDataToken>& entries)
{
    if (!m_pDB) return;
    const CPerson* record = static_cast<const CPerson*>(m_pDB->GetItem(TABLE_PERSON, person));
    if (!record) return;
    const std::string file = ChooseTemplate("Select invoice template file");
    if (file.empty()) return;
    // The invoice takes the next invoice/receipt number, as a new payment's receipt does.
    const uint32_t offered = m_pDB->GetLastReceiptNumber() + 1;
    bool confirmed = false;
    const uint32_t number = m_pDB->ConfirmReceiptNumber(offered, offered, &confirmed);
    if (!confirmed) return;
    if (FillInvoiceTemplate(file, *record, number, chosen, entries)) OpenInWordProcessor(kDocumentFile);
}

void CReports::PrintReceipt(uint32_t person, const std::string& payer, const std::vector<std::string>& texts,
                            const std::vector<double>& amounts, uint32_t number)
{
    if (!m_pDB) return;
    const std::string file = ChooseTemplate("Select receipt template file");
    if (file.empty()) return;
    if (FillReceiptTemplate(file, person, payer, number, texts, amounts)) OpenInWordProcessor(kDocumentFile);
}

void CReports::InvoiceReport(uint32_t person)
{
    if (!m_pDB) return;
    std::vector<stDataToken> entries;
    CDialogMenu menu(m_pDB, "Select one or more payments", 'M', 'N', -1, 0, "");
    {
        host::WaitCursor wait;
        m_pDB->CollectPaymentDates(entries, 0);
        for (size_t i = 0; i < entries.size(); ++i) {
            const stDataToken& entry = entries[i];
            if (entry.type == 'P') {
                const CPaymentRecord& payment = *static_cast<const CPaymentRecord*>(entry.record);
                if (payment.m_cType != 'R' || payment.m_nPerson != person) continue;
            } else if (entry.type == 'p') {
                const CPurchaseRecord& purchase = *static_cast<const CPurchaseRecord*>(entry.record);
                if (purchase.GetPayer() != person) continue;
            } else {
                continue;
            }
            const stInvoiceEntry e = InvoiceEntry(entry);
            if (e.cState != 'U' && e.cState != 'S') continue;
            menu.AddItem(static_cast<uint32_t>(i),
                         Format("%s %s %s", DueText(e).c_str(), Format("%8.2f", e.dAmount).c_str(), e.sText.c_str()));
        }
    }
    if (menu.m_aIds.empty()) {
        GetResponse("No payments due.", MB_OK);
        return;
    }
    std::vector<uint32_t> chosen;
    menu.m_pResult = &chosen;
    if (menu.DoModal() != ui::IDOK || chosen.empty()) {
        GetResponse("None selected", MB_OK);
        return;
    }
    PrintInvoice(person, chosen, entries);
}

void CReports::InstallDocumentPrinters()
{
    CDialogReceivedPayment::ReceiptPrinterSeam() = [](CDatabase& database, uint32_t person, const std::string& payer,
                                                      const std::vector<std::string>& texts,
                                                      const std::vector<double>& amounts, uint32_t number) {
        CReports(&database).PrintReceipt(person, payer, texts, amounts, number);
    };
    CDialogEditScheduledPayment::ReceiptPrinterSeam() = [](CDatabase& database, uint32_t payer, uint32_t number,
                                                           const std::vector<std::string>& texts,
                                                           const std::vector<double>& amounts) {
        CReports(&database).PrintReceipt(payer, std::string(), texts, amounts, number);
    };
    CPagePurchaseEdit::ContractPrinterSeam() = [](CDatabase& database, const CPerson& person,
                                                  const CPurchaseRecord& purchase) {
        CReports(&database).PrintContract(person, purchase);
    };
}
