#pragma once
// Puts the report windows of views/ behind the seams of the folders below: the report frame
// factory of reports/, the rich-text viewer opener and the HTML page viewer. Called once at start.

void InstallReportWindows();
