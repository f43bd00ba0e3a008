#include "studio/IifWriter.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "common/QuestionBox.h"
#include "platform/host/Format.h"

namespace {

// Text held before it goes to a begun file: large enough for few writes, small enough to stay
// in the cache and to be reused from piece to piece.
constexpr size_t kSpillBytes = 128 * 1024;
// How much written text the medium is asked to take at a time while the rest is made.
constexpr size_t kFlushBytes = 1024 * 1024;

std::string TemporaryPath(const std::string& path) { return path + ".$$$"; }

bool IsBreak(char c) { return c == '\t' || c == '\r' || c == '\n'; }

// Nonzero when a byte of the word is a tab, CR or LF (the high bit of such a byte is set, and
// perhaps of a byte beside it).
template <typename Word>
Word HoldsBreak(Word word)
{
    constexpr Word kOnes = static_cast<Word>(0x0101010101010101ULL);
    constexpr Word kHighs = static_cast<Word>(0x8080808080808080ULL);
    auto holds = [word](unsigned char byte) {
        const Word x = word ^ static_cast<Word>(kOnes * byte);
        return static_cast<Word>((x - kOnes) & ~x & kHighs);
    };
    return holds('\t') | holds('\r') | holds('\n');
}

// Copies one word; with `kCheck`, whether it holds a break (else 0).
template <typename Word, bool kCheck>
Word CopyWord(char* out, const char* in)
{
    Word word = 0;
    std::memcpy(&word, in, sizeof word);
    std::memcpy(out, &word, sizeof word);
    return kCheck ? HoldsBreak(word) : 0;
}

// Copies the text a word at a time, the last word overlapping the one before, without a call
// (fields and runs are mostly short); with `kCheck`, whether it holds a break.
template <bool kCheck>
bool CopyText(char* out, std::string_view text)
{
    const size_t size = text.size();
    const char* in = text.data();
    if (size >= 8) {
        uint64_t any = 0;
        for (size_t i = 0; i + 8 < size; i += 8) any |= CopyWord<uint64_t, kCheck>(out + i, in + i);
        any |= CopyWord<uint64_t, kCheck>(out + size - 8, in + size - 8);
        return any != 0;
    }
    if (size >= 4)
        return (CopyWord<uint32_t, kCheck>(out, in) | CopyWord<uint32_t, kCheck>(out + size - 4, in + size - 4)) != 0;
    bool any = false;
    for (size_t i = 0; i < size; ++i) {
        out[i] = in[i];
        any = any || (kCheck && IsBreak(in[i]));
    }
    return any;
}

// Copies the field; whether it holds a break.
bool CopyField(char* out, std::string_view field) { return CopyText<true>(out, field); }

// The fields joined by tabs: their length.
size_t FieldsLength(std::initializer_list<std::string_view> fields)
{
    size_t length = fields.size() > 0 ? fields.size() - 1 : 0;
    for (std::string_view field : fields) length += field.size();
    return length;
}

// The fields joined by tabs at `out`, each cleaned of breaks; the end of what was written.
char* WriteFields(char* out, std::initializer_list<std::string_view> fields)
{
    bool first = true;
    for (std::string_view field : fields) {
        if (!first) *out++ = '\t';
        first = false;
        if (CopyField(out, field))
            for (size_t i = 0; i < field.size(); ++i)
                if (IsBreak(out[i])) out[i] = ' ';
        out += field.size();
    }
    return out;
}

// The tabs that pad `fields` fields to `total` (no field at all counts as one empty field).
size_t PaddingTabs(size_t fields, size_t total)
{
    const size_t written = std::max<size_t>(fields, 1);
    return total > written ? total - written : 0;
}

}  // namespace

CIifWriter::~CIifWriter()
{
    if (!m_File.IsOpen()) return;
    m_File.Close();
    host::DeleteFile(TemporaryPath(m_sPath));
}

char* CIifWriter::Room(size_t bytes)
{
    if (m_nCapacity - m_nSize < bytes) {
        const size_t capacity = std::max({m_nSize + bytes, 2 * m_nCapacity, size_t{4096}});
        auto text = std::make_unique_for_overwrite<char[]>(capacity);
        if (m_nSize > 0) std::memcpy(text.get(), m_pText.get(), m_nSize);
        m_pText = std::move(text);
        m_nCapacity = capacity;
    }
    return m_pText.get() + m_nSize;
}


CIifWriter::CFieldRun::CFieldRun(std::initializer_list<std::string_view> fields, size_t total)
    : m_nFields(std::max(fields.size(), total))
{
    const size_t padding = PaddingTabs(fields.size(), total);
    m_sText.resize(FieldsLength(fields) + padding);
    char* out = WriteFields(m_sText.data(), fields);
    for (size_t i = 0; i < padding; ++i) *out++ = '\t';
}

void CIifWriter::AddLine(std::initializer_list<std::string_view> fields, size_t total)
{
    // The line is sized once and its fields copied in: a file of many lines is mostly this.
    const size_t padding = PaddingTabs(fields.size(), total);
    const size_t length = FieldsLength(fields) + padding + 2;
    char* out = WriteFields(Room(length), fields);
    for (size_t i = 0; i < padding; ++i) *out++ = '\t';
    *out++ = '\r';
    *out = '\n';
    LineAdded(length);
}

void CIifWriter::AddLine(const CFieldRun& head, std::initializer_list<std::string_view> fields,
                         const CFieldRun& tail)
{
    const bool before = head.m_nFields > 0 && fields.size() > 0;
    const bool after = tail.m_nFields > 0 && head.m_nFields + fields.size() > 0;
    const size_t length = head.m_sText.size() + before + FieldsLength(fields) + after + tail.m_sText.size() + 2;
    char* out = Room(length);
    CopyText<false>(out, head.m_sText);
    out += head.m_sText.size();
    if (before) *out++ = '\t';
    out = WriteFields(out, fields);
    if (after) *out++ = '\t';
    CopyText<false>(out, tail.m_sText);
    out += tail.m_sText.size();
    *out++ = '\r';
    *out = '\n';
    LineAdded(length);
}

void CIifWriter::LineAdded(size_t length)
{
    m_nSize += length;
    ++m_nLines;
    if (m_File.IsOpen() && m_nSize >= kSpillBytes) Spill();
}

void CIifWriter::Spill()
{
    if (m_nSize == 0) return;
    if (!m_bFailed) {
        size_t done = 0;
        m_bFailed = !m_File.Write(m_pText.get(), m_nSize, &done) || done != m_nSize;
        m_nUnflushed += m_nSize;
        // The medium takes the file while the rest is made, so Finish's flush has little left.
        if (!m_bFailed && m_nUnflushed >= kFlushBytes) {
            m_File.StartFlush();
            m_nUnflushed = 0;
        }
    }
    // After a failure the rest is dropped: the file is not put in place.
    m_nSize = 0;
}

bool CIifWriter::Begin(const std::string& path)
{
    if (m_File.IsOpen()) return false;
    m_sPath = path;
    m_bFailed = false;
    m_nUnflushed = 0;
    if (!m_File.Open(TemporaryPath(path), host::File::Access::ReadWrite, host::File::Disposition::CreateAlways)) {
        GetResponse(Format("Can't open output file %s", path.c_str()), MB_OK);
        return false;
    }
    if (m_nSize >= kSpillBytes) Spill();
    Room(kSpillBytes + kSpillBytes / 8);
    return true;
}

int CIifWriter::Finish()
{
    if (!m_File.IsOpen()) return 0;
    Spill();
    const std::string temporary = TemporaryPath(m_sPath);
    bool written = !m_bFailed && m_File.Flush();
    written = m_File.Close() && written;
    if (written) written = host::ReplaceFile(temporary, m_sPath);
    if (!written) {
        host::DeleteFile(temporary);
        GetResponse(Format("Error in writing file %s", m_sPath.c_str()), MB_OK);
        return 0;
    }
    return 1;
}

int CIifWriter::WriteFile(const std::string& path) { return Begin(path) ? Finish() : 0; }
