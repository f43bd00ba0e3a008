#include "archive/ZipFormat.h"

namespace {

// Days since 1970-01-01 of a civil date, and back (proleptic Gregorian calendar).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int64_t* y, unsigned* m, unsigned* d)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    *d = doy - (153 * mp + 2) / 5 + 1;
    *m = mp < 10 ? mp + 3 : mp - 9;
    *y = static_cast<int64_t>(yoe) + era * 400 + (*m <= 2);
}

}  // namespace

void ZipDosDateTime(int64_t utcSeconds, uint16_t* date, uint16_t* time)
{
    const int64_t first = DaysFromCivil(1980, 1, 1) * 86400;
    const int64_t last = DaysFromCivil(2107, 12, 31) * 86400 + 86399;
    if (utcSeconds < first)
        utcSeconds = first;
    if (utcSeconds > last)
        utcSeconds = last;
    int64_t days = utcSeconds / 86400;
    const int64_t secs = utcSeconds % 86400;
    int64_t y;
    unsigned m, d;
    CivilFromDays(days, &y, &m, &d);
    *date = static_cast<uint16_t>(((y - 1980) << 9) | (m << 5) | d);
    *time = static_cast<uint16_t>(((secs / 3600) << 11) | (((secs / 60) % 60) << 5) | ((secs % 60) / 2));
}

int64_t ZipDosToUnix(uint16_t date, uint16_t time)
{
    unsigned m = (date >> 5) & 15;
    unsigned d = date & 31;
    if (m < 1) m = 1;
    if (m > 12) m = 12;
    if (d < 1) d = 1;
    return DaysFromCivil(1980 + (date >> 9), m, d) * 86400 + (time >> 11) * 3600 +
           ((time >> 5) & 63) * 60 + (time & 31) * 2;
}

uint32_t ZipExternalAttributes(uint32_t win32Attributes, bool ownerExecute)
{
    const uint32_t low = win32Attributes & (kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrDirectory | kAttrArchive);
    uint32_t mode = (win32Attributes & kAttrDirectory) ? 0x4100 : 0x8100;
    if (!(win32Attributes & kAttrReadOnly))
        mode |= 0x0080;
    if (ownerExecute)
        mode |= 0x0040;
    return (mode << 16) | low;
}
