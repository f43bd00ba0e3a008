#include "reports/WeeklyClassesPage.h"

#include "common/DataPaths.h"
#include "common/Diagnostic.h"
#include "common/HtmlOutput.h"
#include "widgets/Prompts.h"
#include "common/QuestionBox.h"
#include "records/TextArray2D.h"
#include "common/TextFile.h"
#include "common/TextFormat.h"
#include "platform/host/Format.h"

#include <cstdio>

namespace {

HtmlPageViewer g_htmlViewer;

// A grid cell's lines as one table cell's text.
std::string CellText(std::string text)
{
    if (!text.empty() && text.back() == '|')
        text.pop_back();
    std::string out;
    for (char c : text) {
        if (c == '|')
            out += "<br>";
        else
            out += c;
    }
    return out;
}

}  // namespace

void SetHtmlPageViewer(HtmlPageViewer viewer)
{
    g_htmlViewer = std::move(viewer);
}

void SaveWeeklyClassesPage(const std::string& title, const CTextArray2D& grid)
{
    const std::string answer = PromptForString("File name excluding extension", 60,
                                               "WeeklyClasses", 0);
    if (answer.empty())
        return;
    const std::string path = BuildDataFilePath(StripExtension(answer), "htm");
    std::FILE* file = OpenOutputFile(path);
    if (file == nullptr)
        return;
    WriteHtmlHead(file, "WEB_PAGE");
    const std::string heading =
        Format("<font size=4><strong><em>%s</em></strong></font>", title.c_str());
    WriteText(Format("<P>%s</P>\n", heading.c_str()), file);
    WriteTextLine("<TABLE border=\"2\" cellspacing=\"1\">", file);
    for (int row = 0; row < grid.GetRows(); ++row) {
        WriteText("<TR>\n", file);
        for (int column = 0; column < grid.GetColumns(); ++column)
            WriteTextLine(FormatHtmlCell(CellText(grid.GetText(row, column))), file);
        WriteText("</TR>\n", file);
    }
    WriteHtmlTail(file);
    const bool written = std::ferror(file) == 0;
    if (std::fclose(file) != 0 || !written) {
        GetResponse(Format("Error in writing file %s", path.c_str()), MB_OK);
        return;
    }
    if (GetResponse(Format("File %s created. View it?", path.c_str()), MB_YESNO) != IDYES)
        return;
    if (g_htmlViewer)
        g_htmlViewer(path);
    else if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("SaveWeeklyClassesPage no viewer for %s\n", path.c_str());
}
