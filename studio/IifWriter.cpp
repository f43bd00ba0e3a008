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

// Copies `size` bytes (at least one Word) as two words that overlap; whether they hold a break.
template <typename Word>
bool CopyTwoWords(char* out, const char* in, size_t size)
{
    Word first = 0, last = 0;
    std::memcpy(&first, in, sizeof first);
    std::memcpy(&last, in + size - sizeof last, sizeof last);
    std::memcpy(out, &first, sizeof first);
    std::memcpy(out + size - sizeof last, &last, sizeof last);
    return (HoldsBreak(first) | HoldsBreak(last)) != 0;
}

// Copies the field; whether it holds a break. Fields are mostly short and seldom hold one: they
// are copied and tested a word at a time, without a call.
bool CopyField(char* out, std::string_view field)
{
    const size_t size = field.size();
    const char* in = field.data();
    if (size >= 8 && size <= 16) return CopyTwoWords<uint64_t>(out, in, size);
    if (size >= 4 && size < 8) return CopyTwoWords<uint32_t>(out, in, size);
    if (size < 4) {
        bool any = false;
        for (size_t i = 0; i < size; ++i) {
            out[i] = in[i];
            any = any || IsBreak(in[i]);
        }
        return any;
    }
    std::memcpy(out, in, size);
    uint64_t any = 0;
    for (size_t i = 0; i + 8 <= size; i += 8) {
        uint64_t word = 0;
        std::memcpy(&word, in + i, 8);
        any |= HoldsBreak(word);
    }
    uint64_t last = 0;
    std::memcpy(&last, in + size - 8, 8);
    return (any | HoldsBreak(last)) != 0;
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

void CIifWriter::AddLine(std::initializer_list<std::string_view> fields, size_t total)
{
    // The line is sized once and its fields copied in: a file of many lines is mostly this.
    const size_t padding = total > fields.size() ? total - fields.size() : 0;
    size_t length = (fields.size() > 0 ? fields.size() - 1 : 0) + padding + 2;
    for (std::string_view field : fields) length += field.size();
    char* out = Room(length);
    bool first = true;
    for (std::string_view field : fields) {
        if (!first) *out++ = '\t';
        first = false;
        if (CopyField(out, field))
            for (size_t i = 0; i < field.size(); ++i)
                if (IsBreak(out[i])) out[i] = ' ';
        out += field.size();
    }
    for (size_t i = 0; i < padding; ++i) *out++ = '\t';
    *out++ = '\r';
    *out = '\n';
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
