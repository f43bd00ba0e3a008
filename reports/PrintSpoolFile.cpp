#include "reports/PrintSpoolFile.h"

#include "common/QuestionBox.h"
#include "platform/host/Format.h"
#include "platform/host/Text.h"

#include <algorithm>
#include <cstring>

namespace {

// The formats the current spool file refers to, by index. Written and read on the main thread,
// one print operation at a time.
std::vector<const stFormatRecord*>& SpoolFormats()
{
    static std::vector<const stFormatRecord*> formats;
    return formats;
}

// UTF-16LE code units to UTF-8 (unpaired surrogates become U+FFFD).
std::string Utf16ToUtf8(const std::vector<uint16_t>& units)
{
    std::string out;
    for (size_t i = 0; i < units.size(); ++i) {
        uint32_t c = units[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

}  // namespace

bool IsSpoolMarker(const std::string& text)
{
    return text == kPageBreakText || text == kBlockStartText || text == kBlockEndText;
}

CPageLineArchive::CPageLineArchive(host::File& file, Mode mode)
    : file_(file), mode_(mode), buffer_(kBufferSize)
{
    if (mode_ == store) {
        SpoolFormats().clear();
    } else {
        const int64_t size = file_.Size();
        const int64_t at = file_.Position();
        remaining_ = size > at && at >= 0 ? static_cast<uint64_t>(size - at) : 0;
    }
}

CPageLineArchive::~CPageLineArchive()
{
    if (mode_ == store && !closed_) {
        try {
            FlushBuffer();
        } catch (const CArchiveException&) {
        }
    }
}

void CPageLineArchive::Fail(CArchiveException::Cause cause) const
{
    throw CArchiveException{cause, file_.Path()};
}

void CPageLineArchive::Close()
{
    if (closed_)
        return;
    closed_ = true;
    if (mode_ == store)
        FlushBuffer();
}

void CPageLineArchive::FlushBuffer()
{
    if (end_ == 0)
        return;
    const size_t size = end_;
    size_t done = 0;
    const bool ok = file_.Write(buffer_.data(), size, &done);
    end_ = 0;
    if (!ok || done != size)
        Fail(CArchiveException::writeFault);
}

void CPageLineArchive::FillBuffer()
{
    const size_t want = static_cast<size_t>(std::min<uint64_t>(buffer_.size(), remaining_));
    if (want == 0)
        Fail(CArchiveException::endOfFile);
    size_t done = 0;
    if (!file_.Read(buffer_.data(), want, &done))
        Fail(CArchiveException::readFault);
    if (done == 0)
        Fail(CArchiveException::endOfFile);
    remaining_ -= done;
    pos_ = 0;
    end_ = done;
}

void CPageLineArchive::Write(const void* data, size_t size)
{
    const uint8_t* p = static_cast<const uint8_t*>(data);
    while (size > 0) {
        if (end_ == buffer_.size())
            FlushBuffer();
        const size_t n = std::min(size, buffer_.size() - end_);
        std::memcpy(buffer_.data() + end_, p, n);
        end_ += n;
        p += n;
        size -= n;
    }
}

void CPageLineArchive::Read(void* data, size_t size)
{
    uint8_t* p = static_cast<uint8_t*>(data);
    while (size > 0) {
        if (pos_ == end_)
            FillBuffer();
        const size_t n = std::min(size, end_ - pos_);
        std::memcpy(p, buffer_.data() + pos_, n);
        pos_ += n;
        p += n;
        size -= n;
    }
}

uint8_t CPageLineArchive::ReadByte()
{
    uint8_t b = 0;
    Read(&b, 1);
    return b;
}

void CPageLineArchive::WriteU16(uint16_t value)
{
    const uint8_t b[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
    Write(b, 2);
}

uint16_t CPageLineArchive::ReadU16()
{
    uint8_t b[2];
    Read(b, 2);
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
}

void CPageLineArchive::WriteU32(uint32_t value)
{
    uint8_t b[4];
    for (int i = 0; i < 4; ++i)
        b[i] = static_cast<uint8_t>(value >> (8 * i));
    Write(b, 4);
}

uint32_t CPageLineArchive::ReadU32()
{
    uint8_t b[4];
    Read(b, 4);
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | b[i];
    return v;
}

void CPageLineArchive::WriteU64(uint64_t value)
{
    WriteU32(static_cast<uint32_t>(value));
    WriteU32(static_cast<uint32_t>(value >> 32));
}

uint64_t CPageLineArchive::ReadU64()
{
    const uint64_t low = ReadU32();
    return low | (static_cast<uint64_t>(ReadU32()) << 32);
}

void CPageLineArchive::WriteString(const std::string& text)
{
    const uint64_t n = text.size();
    if (n < 0xFF) {
        WriteByte(static_cast<uint8_t>(n));
    } else if (n < 0xFFFE) {
        WriteByte(0xFF);
        WriteU16(static_cast<uint16_t>(n));
    } else if (n < 0xFFFFFFFFull) {
        WriteByte(0xFF);
        WriteU16(0xFFFF);
        WriteU32(static_cast<uint32_t>(n));
    } else {
        WriteByte(0xFF);
        WriteU16(0xFFFF);
        WriteU32(0xFFFFFFFFu);
        WriteU64(n);
    }
    Write(text.data(), text.size());
}

uint64_t CPageLineArchive::ReadLength(bool& wide)
{
    const uint8_t b = ReadByte();
    if (b < 0xFF)
        return b;
    const uint16_t w = ReadU16();
    if (w == 0xFFFE) {
        if (wide)  // a second wide marker: not a string this archive wrote
            Fail(CArchiveException::badReference);
        wide = true;
        return ReadLength(wide);
    }
    if (w < 0xFFFF)
        return w;
    const uint32_t d = ReadU32();
    if (d < 0xFFFFFFFFu)
        return d;
    return ReadU64();
}

std::string CPageLineArchive::ReadString()
{
    bool wide = false;
    const uint64_t count = ReadLength(wide);
    const uint64_t bytes = wide ? count * 2 : count;
    // A length beyond what the file still holds is a cut record; never allocate for it.
    if (count > (uint64_t{1} << 62) || bytes > remaining_ + (end_ - pos_))
        Fail(CArchiveException::endOfFile);
    if (!wide) {
        std::string text(static_cast<size_t>(count), '\0');
        Read(text.data(), text.size());
        return text;
    }
    std::vector<uint16_t> units(static_cast<size_t>(count));
    for (uint16_t& u : units)
        u = ReadU16();
    return host::Utf8ToCp1252Lossy(Utf16ToUtf8(units));
}

uint32_t CPageLineArchive::ReferenceOf(const stFormatRecord* format)
{
    if (!format)
        return kNoFormat;
    std::vector<const stFormatRecord*>& formats = SpoolFormats();
    const auto it = std::find(formats.begin(), formats.end(), format);
    if (it != formats.end())
        return static_cast<uint32_t>(it - formats.begin());
    formats.push_back(format);
    return static_cast<uint32_t>(formats.size() - 1);
}

const stFormatRecord* CPageLineArchive::FormatOf(uint32_t reference) const
{
    if (reference == kNoFormat)
        return nullptr;
    const std::vector<const stFormatRecord*>& formats = SpoolFormats();
    if (reference >= formats.size())
        Fail(CArchiveException::badReference);
    return formats[reference];
}

CPageLineArchive& WritePageLineRecord(CPageLineArchive& ar, const stFmtString& line)
{
    ar.WriteU32(ar.ReferenceOf(line.pFormat));
    ar.WriteByte(static_cast<uint8_t>(line.cKind));
    ar.WriteString(line.strText);
    return ar;
}

CPageLineArchive& ReadPageLineRecord(CPageLineArchive& ar, stFmtString& line)
{
    const uint32_t reference = ar.ReadU32();
    const char kind = static_cast<char>(ar.ReadByte());
    std::string text = ar.ReadString();
    line.pFormat = ar.FormatOf(reference);
    line.cKind = kind;
    line.strText = std::move(text);
    return ar;
}

bool WritePageLineFile(const std::vector<stFmtString>& lines)
{
    host::File file;
    if (!file.Open(kSpoolFileName, host::File::Access::ReadWrite,
                   host::File::Disposition::CreateAlways)) {
        GetResponse(Format("Cannot create the print file %s: %s", kSpoolFileName,
                           host::LastFileErrorText().c_str()));
        return false;
    }
    try {
        CPageLineArchive ar(file, CPageLineArchive::store);
        stFmtString end;
        for (const stFmtString& line : lines) {
            WritePageLineRecord(ar, line);
            end = line;
        }
        end.strText = kSpoolEndText;
        WritePageLineRecord(ar, end);
        ar.Close();
    } catch (const CArchiveException&) {
        const std::string reason = file.LastErrorText();
        file.Close();
        GetResponse(Format("Cannot write the print file %s: %s", kSpoolFileName,
                           reason.c_str()));
        return false;
    }
    if (!file.Close()) {
        GetResponse(Format("Cannot write the print file %s: %s", kSpoolFileName,
                           file.LastErrorText().c_str()));
        return false;
    }
    return true;
}
