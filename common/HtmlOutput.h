#pragma once
// The fixed parts of the plain HTML pages saved from lists: the page frame and the table cell.
// Texts are written as they are (nothing is escaped).

#include <cstdio>
#include <string>

// "<HTML>", "<HEAD>", "<TITLE>title</TITLE>", "</HEAD>", "<BODY>", one per line.
void WriteHtmlHead(std::FILE* file, const std::string& title);
// "</BODY>", "</HTML>", one per line.
void WriteHtmlTail(std::FILE* file);
// "<TD>text</TD>" with trailing white space removed; "<TD>&nbsp;</TD>" when nothing is left.
std::string FormatHtmlCell(const std::string& text);
