// The cheque dialog: texts placed at the layout's inches on printers of several resolutions,
// the spin steps, and the layout and printer settings kept across runs.

#include "tests/dialogs/MoneyFixture.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <tuple>

#include "common/CheckLayout.h"
#include "common/TextFormat.h"
#include "dialogs/DialogPaymentEdit.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/PageModel.h"
#include "platform/ui/PrinterDC.h"
#include "reports/DialogPrintCheck.h"

namespace {

constexpr int kPrint = 1073;
constexpr int kOkExit = 1000;

class CheckPrintTest : public MoneyTest {
protected:
    void SetUp() override
    {
        MoneyTest::SetUp();
        ui::test::SetPrintRecorder(&model_);
        CheckLayoutLine.clear();
        // Date X, year X, date Y, payee X, Y, amount X, Y, words X, Y, comment X, Y.
        const float positions[11] = {1.0f, 4.0f, 0.5f, 1.0f, 1.0f, 5.0f, 1.0f, 0.5f, 1.5f, 0.5f, 2.5f};
        for (uint32_t i = 0; i < 11; ++i) db_->m_Parameters.SetFloat(param::kMeasures + 4 * i, positions[i]);
        db_->m_Parameters.SetFontFace("Courier New");
        db_->m_Parameters.SetInt(param::kFontSize, 125);
    }
    void TearDown() override
    {
        ui::test::SetPrintRecorder(nullptr);
        CheckLayoutLine.clear();
        MoneyTest::TearDown();
    }
    stCheckData Cheque() const
    {
        stCheckData c;
        c.dDate = MakeDate(2026, 3, 2, 0, 0);
        c.sPayee = "Ann Lee";
        c.dAmount = 125.5;
        c.sMemo = "Refund";
        return c;
    }
    ui::PageModel model_;
};

TEST_F(CheckPrintTest, TextsLandAtTheLayoutOnEveryResolution)
{
    struct stCase {
        int dpiX, dpiY;
        bool landscape;
    };
    const stCase cases[] = {{300, 300, false}, {600, 600, false}, {600, 300, true}};
    for (const stCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.dpiX) + "x" + std::to_string(c.dpiY));
        model_.Clear();
        ui::test::SetPrintRecorderResolution(c.dpiX, c.dpiY);
        CheckLayoutLine = c.landscape ? "CHECK_LAYOUT||0.25|0.50|TRUE" : "CHECK_LAYOUT||0.25|0.50|FALSE";
        const stCheckData cheque = Cheque();
        CDialogPrintCheck dialog(db_.get(), &cheque);
        Script([](ui::Dialog& d) {
            EXPECT_EQ(d.GetWindowText(), "Check layout");
            ui::test::Click(d, kPrint);
            d.EndDialog(ui::IDCANCEL);  // Escape
        });
        dialog.DoModal();
        EXPECT_EQ(model_.document, "Transaction check print job");
        ASSERT_EQ(model_.pages.size(), 1u);
        const ui::RecordedPage& page = model_.pages[0];
        EXPECT_EQ(page.landscape, c.landscape);
        // The device's resolution for the page's orientation.
        const int dx = page.dpiX;
        const int dy = page.dpiY;
        EXPECT_EQ(dx, c.landscape ? c.dpiY : c.dpiX);
        const int offX = dx / 4;
        const int offY = dy / 2;
        const struct {
            const char* text;
            double x, y;
        } expected[] = {
            {"Mar 02", 1.0, 0.5}, {"2026", 4.0, 0.5}, {"Ann Lee", 1.0, 1.0}, {"125.50", 5.0, 1.0}, {"Refund", 0.5, 2.5},
        };
        for (const auto& e : expected) {
            const ui::RecordedText* t = page.Find(e.text);
            ASSERT_NE(t, nullptr) << e.text;
            EXPECT_EQ(t->x, static_cast<int>(e.x * dx) + offX) << e.text;
            EXPECT_EQ(t->y, static_cast<int>(e.y * dy) + offY) << e.text;
            EXPECT_EQ(t->font.face, "Courier New");
            EXPECT_EQ(t->font.sizeTenths, 120);
        }
        EXPECT_EQ(page.texts.size(), 6u);
    }
}

TEST_F(CheckPrintTest, SpinStepsStopAtTheirEnds)
{
    const struct {
        float from;
        int delta;
        float to;
    } cases[] = {
        {9.99f, -1, 10.02f}, {10.02f, -1, 10.02f}, {0.02f, 1, 0.02f}, {0.05f, 1, 0.02f}, {0.0f, -1, 0.03f},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(CDialogPrintCheck::StepPosition(c.from, c.delta), c.to, 1e-5) << c.from << " " << c.delta;
}

TEST_F(CheckPrintTest, LayoutAndPrinterSettingsAreKept)
{
    ASSERT_EQ(db_->SaveVarRecord(), 1);
    const stCheckData cheque = Cheque();
    {
        CDialogPrintCheck dialog(db_.get(), &cheque);
        Script([](ui::Dialog& d) {
            EXPECT_EQ(d.GetDlgItemText(1226), "12");
            EXPECT_EQ(d.GetDlgItemText(1063).rfind("Default:", 0), 0u);
            ui::test::SetText(d, 1300, "0.3");
            ui::test::Click(d, 1261);  // landscape
            ui::test::Click(d, kOkExit);
        });
        EXPECT_EQ(dialog.DoModal(), IDOK);
    }
    EXPECT_EQ(CheckLayoutLine, "CHECK_LAYOUT||0.30|0.00|TRUE");
    Reopen();
    EXPECT_EQ(db_->m_Parameters.GetInt(param::kFontSize), 120) << "stored back in whole points";
    EXPECT_EQ(db_->m_Parameters.GetFontFace(), "Courier New");
    EXPECT_FLOAT_EQ(db_->m_Parameters.GetFloat(param::kMeasures + 4 * 5), 5.0f);

    // Read back on the next run.
    CDialogPrintCheck again(db_.get(), &cheque);
    Script([](ui::Dialog& d) {
        EXPECT_EQ(d.GetDlgItemText(1300), "0.3");
        EXPECT_EQ(d.GetDlgItemText(1103), AmountInWords("125.50"));
        ui::test::Click(d, kOkExit);
    });
    CheckLayoutLine = "CHECK_LAYOUT|Desk printer|0.30|0.00|TRUE";
    EXPECT_EQ(again.DoModal(), IDOK);
    EXPECT_EQ(CheckLayoutLine, "CHECK_LAYOUT|Desk printer|0.30|0.00|TRUE");
}

TEST_F(CheckPrintTest, UnreadableDateIsTold)
{
    const stCheckData cheque = Cheque();
    CDialogPrintCheck dialog(db_.get(), &cheque);
    Answer({IDOK});
    Script([](ui::Dialog& d) {
        ui::test::SetText(d, 1088, "13/45/2026");
        ui::test::Click(d, kPrint);
        EXPECT_EQ(Boxes().back(), "Invalid payment date.");
        d.EndDialog(ui::IDCANCEL);  // Escape
    });
    dialog.DoModal();
    EXPECT_TRUE(model_.pages.empty());
}

// The words pdftotext -bbox finds (text, left and top in points).
std::vector<std::tuple<std::string, double, double>> PdfWords(const std::string& pdf)
{
    const std::string out = pdf + ".html";
    const std::string command = "pdftotext -bbox '" + pdf + "' '" + out + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    std::ifstream in(out);
    std::vector<std::tuple<std::string, double, double>> words;
    std::string line;
    while (std::getline(in, line)) {
        const size_t x = line.find("xMin=\"");
        const size_t y = line.find("yMin=\"");
        const size_t open = line.find('>');
        const size_t close = line.find("</word>");
        if (x == std::string::npos || y == std::string::npos || close == std::string::npos) continue;
        words.emplace_back(line.substr(open + 1, close - open - 1), std::atof(line.c_str() + x + 6),
                           std::atof(line.c_str() + y + 6));
    }
    return words;
}

TEST_F(CheckPrintTest, PdfFileHoldsTheTextsWhereTheLayoutPutsThem)
{
    ui::test::SetPrintRecorder(nullptr);
    const std::string target = folder_ + "/cheque.pdf";
    ui::test::SetFileDialogHook([&](const ui::FileDialog&) -> std::optional<std::string> { return target; });
    CheckLayoutLine = "CHECK_LAYOUT|PDF file|0.00|0.00|FALSE";
    const stCheckData cheque = Cheque();
    CDialogPrintCheck dialog(db_.get(), &cheque);
    Script([](ui::Dialog& d) {
        ui::test::Click(d, kPrint);
        d.EndDialog(ui::IDCANCEL);  // Escape
    });
    dialog.DoModal();
    ui::test::ClearCommonDialogHooks();
    ui::PrinterDC::SetDefaultPrinter("");
    const auto words = PdfWords(target);
    const struct {
        const char* word;
        double x, y;  // inches
    } expected[] = {{"Ann", 1.0, 1.0}, {"125.50", 5.0, 1.0}, {"Refund", 0.5, 2.5}, {"2026", 4.0, 0.5}};
    // The page's printable area begins a little inside the paper: every text moves by the same
    // amount, the layout's distances between them stay.
    auto find = [&](const char* word) {
        auto it = std::find_if(words.begin(), words.end(), [&](const auto& w) { return std::get<0>(w) == word; });
        EXPECT_NE(it, words.end()) << word;
        return it == words.end() ? std::make_pair(-1000.0, -1000.0) : std::make_pair(std::get<1>(*it), std::get<2>(*it));
    };
    const auto origin = find("Ann");
    for (const auto& e : expected) {
        const auto at = find(e.word);
        EXPECT_NEAR(at.first - origin.first, (e.x - 1.0) * 72.0, 1.5) << e.word;
        EXPECT_NEAR(at.second - origin.second, (e.y - 1.0) * 72.0, 1.5) << e.word;
    }
    EXPECT_GE(origin.first, 72.0);
    EXPECT_LE(origin.first, 72.0 + 18.0);
}

}  // namespace
