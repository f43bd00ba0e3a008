#pragma once
// Fonts of the format records on a drawing device: the print engine's, the name tag's.

#include <cstdint>
#include <string>

#include "database/SettingsRecords.h"
#include "platform/ui/DC.h"

// A point font of `sizeTenths` tenths of a point; the face is cut to 31 characters. The character
// set is accepted for callers' sake; faces carry their own on this platform.
void InitPrintFont(ui::Font& font, ui::DC& dc, int sizeTenths, const std::string& face,
                   uint8_t charSet, uint8_t bold, uint8_t italic, uint8_t underline,
                   uint8_t strikeout);
// The point font of a format with its own styles.
ui::Font FormatFont(ui::DC& dc, const stFormatRecord& format);
// The format used for lines that name none.
const stFormatRecord& DefaultPrintFormat();
