#pragma once
// The weekly-classes grid saved as a plain web page.

#include <functional>
#include <string>

class CTextArray2D;

// Opens a frame window showing an HTML file. The report subsystem installs it once its HTML
// frame exists.
using HtmlPageViewer = std::function<void(const std::string& path)>;
void SetHtmlPageViewer(HtmlPageViewer viewer);

// Asks for a file name (default "WeeklyClasses"), writes the grid as a table to "<name>.htm" in
// the data folder, each cell's "|"-separated lines joined by "<br>", and offers to show it.
void SaveWeeklyClassesPage(const std::string& title, const CTextArray2D& grid);
