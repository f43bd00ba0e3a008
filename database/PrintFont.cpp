#include "database/PrintFont.h"

const stFormatRecord& DefaultPrintFormat()
{
    static const stFormatRecord format = [] {
        stFormatRecord f;
        f.SetFace("Times New Roman");
        f.nSize = 100;
        return f;
    }();
    return format;
}

void InitPrintFont(ui::Font& font, ui::DC& /*dc*/, int sizeTenths, const std::string& face,
                   uint8_t /*charSet*/, uint8_t bold, uint8_t italic, uint8_t underline,
                   uint8_t strikeout)
{
    font.face = face.substr(0, 31);
    font.sizeTenths = sizeTenths;
    font.bold = bold == 1;
    font.italic = italic != 0;
    font.underline = underline != 0;
    font.strikeout = strikeout != 0;
}

ui::Font FormatFont(ui::DC& dc, const stFormatRecord& format)
{
    ui::Font font;
    InitPrintFont(font, dc, format.nSize, format.GetFace(), format.cCharSet, format.cBold,
                  format.cItalic, format.cUnderline, format.cStrikeOut);
    return font;
}
