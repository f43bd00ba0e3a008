#include "studio/IifWriter.h"

#include <cstdint>
#include <cstring>

#include "common/QuestionBox.h"
#include "platform/host/Format.h"

namespace {

// Text held before it goes to a begun file: large enough for few writes, small enough to stay
// in the cache and to be reused from piece to piece.
constexpr size_t kSpillBytes = 128 * 1024;
constexpr size_t kFlushBytes = 1024 * 1024;

std::string TemporaryPath(const std::string& path) { return path + ".$$$"; }

bool IsBreak(char c) { return c == '\t' || c == '\r' || c == '\n'; }

// Whether the text holds a tab, CR or LF. Fields seldom do: they are tested eight bytes at a time
// and copied whole.
bool HasBreak(std::string_view text)
{
    constexpr uint64_t kOnes = 0x0101010101010101ULL;
    constexpr uint64_t kHighs = 0x8080808080808080ULL;
    // Nonzero when a byte of `word` is `byte`.
    auto holds = [](uint64_t word, unsigned char byte) {
        const uint64_t x = word ^ (kOnes * byte);
        return (x - kOnes) & ~x & kHighs;
    };
    size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        uint64_t word = 0;
        std::memcpy(&word, text.data() + i, 8);
        if ((holds(word, '\t') | holds(word, '\r') | holds(word, '\n')) != 0) return true;
    }
    for (; i < text.size(); ++i)
        if (IsBreak(text[i])) return true;
    return false;
}

}  // namespace

CIifWriter::~CIifWriter()
{
    if (!m_File.IsOpen()) return;
    m_File.Close();
    host::DeleteFile(TemporaryPath(m_sPath));
}

std::string CIifWriter::CleanField(const std::string& field)
{
    std::string clean = field;
    for (char& c : clean)
        if (IsBreak(c)) c = ' ';
    return clean;
}

void CIifWriter::AddLine(const std::vector<std::string>& fields)
{
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) m_sText += '\t';
        m_sText += CleanField(fields[i]);
    }
    m_sText += "\r\n";
    ++m_nLines;
    if (m_File.IsOpen() && m_sText.size() >= kSpillBytes) Spill();
}

void CIifWriter::AddLine(std::initializer_list<std::string_view> fields, size_t total)
{
    // The line is sized once and its fields copied in: a file of many lines is mostly this.
    const size_t padding = total > fields.size() ? total - fields.size() : 0;
    size_t length = (fields.size() > 0 ? fields.size() - 1 : 0) + padding + 2;
    for (std::string_view field : fields) length += field.size();
    const size_t at = m_sText.size();
    m_sText.resize(at + length);
    char* out = m_sText.data() + at;
    bool first = true;
    for (std::string_view field : fields) {
        if (!first) *out++ = '\t';
        first = false;
        if (!HasBreak(field)) {
            std::memcpy(out, field.data(), field.size());
            out += field.size();
        } else {
            for (const char c : field) *out++ = IsBreak(c) ? ' ' : c;
        }
    }
    for (size_t i = 0; i < padding; ++i) *out++ = '\t';
    *out++ = '\r';
    *out = '\n';
    ++m_nLines;
    if (m_File.IsOpen() && m_sText.size() >= kSpillBytes) Spill();
}

void CIifWriter::Spill()
{
    if (m_sText.empty()) return;
    if (!m_bFailed) {
        size_t done = 0;
        m_bFailed = !m_File.Write(m_sText.data(), m_sText.size(), &done) || done != m_sText.size();
        m_nUnflushed += m_sText.size();
        // The medium takes the file a megabyte at a time while the rest is made, so Finish's
        // flush has little left to wait for.
        if (!m_bFailed && m_nUnflushed >= kFlushBytes) {
            m_File.StartFlush();
            m_nUnflushed = 0;
        }
    }
    // After a failure the rest is dropped: the file is not put in place.
    m_sText.clear();
}

bool CIifWriter::Begin(const std::string& path)
{
    if (m_File.IsOpen()) return false;
    m_sPath = path;
    m_bFailed = false;
    if (!m_File.Open(TemporaryPath(path), host::File::Access::ReadWrite, host::File::Disposition::CreateAlways)) {
        GetResponse(Format("Can't open output file %s", path.c_str()), MB_OK);
        return false;
    }
    m_sText.reserve(kSpillBytes + kSpillBytes / 8);
    if (m_sText.size() >= kSpillBytes) Spill();
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
