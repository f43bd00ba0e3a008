#pragma once
// The program's texts for amounts, codes and flags, and the string helpers that search, split,
// join and reshape them. Texts are Windows-1252 bytes; numbers are always written with '.'.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// --- Money and numbers -----------------------------------------------------------------------

// "%.2f" of the amount. With `negative` 1 the amount is shown negated: "-" in front (a negative
// amount loses its sign instead of reading "--").
std::string FormatMoney(double amount, int negative);
// Room for any text of FormatMoney: "%.2f" of the largest double (309 digits, the point and two
// decimals), a sign and the sign `negative` puts in front.
constexpr size_t kMoneyTextSize = 320;
// FormatMoney's text written into `buffer` (for a file of many amounts: no allocation, no locale
// switch); the view is into `buffer`.
std::string_view FormatMoney(char (&buffer)[kMoneyTextSize], double amount, int negative);
// The sum of the amounts as "%8.2f".
std::string FormatAmountTotal(const std::vector<double>& amounts);

// One row of a totals table: three counts and an amount.
struct stTotalsRow {
    uint32_t count1 = 0;
    uint32_t count2 = 0;
    uint32_t count3 = 0;
    double amount = 0.0;
};
// The sums of the rows' three counts ("%u" each) and of their amounts ("%.2f").
std::array<std::string, 4> FormatTotalsRow(const std::vector<stTotalsRow>& rows);

std::string FormatUnsigned(uint32_t value);
// The amount in English words for a cheque's amount line: "1234.56" gives
// "One Thousand Two Hundred Thirty Four and 56/100".
std::string AmountInWords(const std::string& amountText);
// "#%u" for a number other than all ones; else "Check %s", "Card %s" or "Cash %s" for kinds
// 'C', 'R' and 'A' with a non-empty text; else "".
std::string FormatPaymentRef(uint32_t number, char kind, const std::string& text);
// "[Code %i]", or "[Code %i, seq %i]" when the trace is on.
std::string FormatErrorCode(int code, int sequence);
// The system's English text for an error number (the file layer's Win32 codes or a system
// error number), without trailing white space; "" when there is none.
std::string GetSystemErrorText(int error);
// "TRUE" for 1, else "FALSE".
std::string FormatBool(int value);
// " Token type %c, Index1 %i, Index2 %i".
std::string FormatTokenText(char type, int index1, int index2);
// The same for a schedule entry with members `type`, `index1` and `index2`.
template <class Entry>
std::string FormatTokenText(const Entry& entry) {
    return FormatTokenText(entry.type, entry.index1, entry.index2);
}

// --- Joins and name forms --------------------------------------------------------------------

// "a b", or b alone when a is empty.
std::string JoinWithBlank(const std::string& a, const std::string& b);
// "a/b", or the non-empty one alone.
std::string JoinWithSlash(const std::string& a, const std::string& b);
// "first, second third" (first part left out when empty).
std::string FormatCommaName(const std::string& first, const std::string& second,
                            const std::string& third);
// "J.Smith" for "John Henry Smith"; a one-word name unchanged.
std::string FormatInitialName(const std::string& name);
// Lower case with the first character upper case.
std::string Capitalize(const std::string& text);
// Centres the buffer's text (at most 199 characters) in `width` characters with the fill
// character on both sides; the buffer must hold width + 1 bytes. A text as wide as the width or
// wider is cut to the width.
void CenterText(char* buffer, int width, char fill);
std::string CenterString(const std::string& text, int width, char fill);
// The first character, 0 for "".
char GetFirstChar(const std::string& text);
// True when the text holds no ASCII letter.
bool HasNoLetters(const std::string& text);

// --- Search and reshape ----------------------------------------------------------------------

// Position of the first occurrence of the pattern, or -1. caseFlag 1 compares exactly, any other
// value without regard to case. An empty text never matches.
int FindInString(const std::string& text, const std::string& pattern, int caseFlag);
// Replaces every occurrence from left to right, searching on after each replacement.
void ReplaceInString(std::string& text, const std::string& find, const std::string& replacement,
                     int caseFlag);
// Splits the text into `pieces` (emptied first); gives the number of pieces.
// wholeSeparator 0: a piece ends at any character of `separator`; empty pieces before the first
// non-empty one are dropped, later ones kept. wholeSeparator 1: a piece ends where the whole
// separator occurs; every piece is kept. Text after the last separator is added when not empty.
// A maximum above 0 stops the split once that many pieces are added (the rest is dropped).
int SplitString(const std::string& text, const std::string& separator,
                std::vector<std::string>& pieces, int maximum, int wholeSeparator);
// Appends every entry followed by the separator.
void JoinStrings(const std::vector<std::string>& list, std::string& out,
                 const std::string& separator);
// The lines of a multi-line edit's text: split at each "\n", a carriage return at a line's end
// dropped, the empty piece after a last "\n" not added (JoinStrings with "\n" gives it back).
void SplitEditLines(const std::string& text, std::vector<std::string>& lines);
// Strips trailing white space from every entry and removes the entries left empty.
void RemoveEmptyStrings(std::vector<std::string>& list);
// The text without its trailing white space (blank, tab, line feed, carriage return, vertical tab,
// form feed).
std::string StripTrailingBlanks(const std::string& text);
// The text before the last "."; the path unchanged when it has none.
std::string StripExtension(const std::string& path);
// The text after the last separator ('\' or '/'); the path unchanged when it has none.
std::string GetFileNamePart(const std::string& path);
// StripExtension of GetFileNamePart.
std::string GetFileTitle(const std::string& path);

// printf-style formatting into buffers of 260, 200 and 80 bytes; a longer result is cut.
void FormatString260(char* buffer, const char* format, ...) __attribute__((format(printf, 2, 3)));
void FormatString200(char* buffer, const char* format, ...) __attribute__((format(printf, 2, 3)));
void FormatString80(char* buffer, const char* format, ...) __attribute__((format(printf, 2, 3)));
