#pragma once
// The print spool "PRNTFILE.PRN": the lines of a report or list, written by the code that owns
// them and read back at once by the page-line print engine. Records follow each other with no
// header and no count:
//
//   format reference  4 bytes LE: an index into the spool's format table (below)
//   kind              1 byte: 'H' header line, anything else an ordinary line
//   text              the archive string form: length prefix (1, 3, 7 or 15 bytes), then the
//                     Windows-1252 characters, no NUL
//
// The texts "^", "<" and ">" are the control records page break, start and end of a protected
// block; the record "<@~END_OF_FILE~@>" ends the file.
//
// The format reference names a format record that lives in the running program. The writer
// enters each line's format in the spool's format table and stores its index; the reader maps the
// index back. A new storing archive empties the table, so a spool file means something only to
// the program run that wrote it, and only until the next one is written.

#include "database/SettingsRecords.h"
#include "platform/host/File.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The spool file, in the current folder.
inline constexpr const char* kSpoolFileName = "PRNTFILE.PRN";
// The text of the last record.
inline constexpr const char* kSpoolEndText = "<@~END_OF_FILE~@>";
// Control records.
inline constexpr const char* kPageBreakText = "^";
inline constexpr const char* kBlockStartText = "<";
inline constexpr const char* kBlockEndText = ">";

// One line of a report or list.
struct stFmtString {
    const stFormatRecord* pFormat = nullptr;  // the font the line prints in
    char cKind = '-';                         // 'H' header, '-' ordinary, '_' weekly summary
    std::string strText;                      // columns separated by tabs; may hold ~B style codes
};

// True for the three control records (exact one-character texts only).
bool IsSpoolMarker(const std::string& text);

// A failure of a spool archive, thrown by its transfers.
struct CArchiveException {
    enum Cause {
        endOfFile,     // a record cut short by the end of the file
        badReference,  // a format reference the spool's format table does not hold
        readFault,
        writeFault,
    };
    Cause cause;
    std::string fileName;
};

// A buffered archive over an open file: storing (writing) or loading (reading), with a
// 4096-byte buffer, as the framework's archive. Transfers throw CArchiveException.
class CPageLineArchive {
public:
    enum Mode { store, load };
    static constexpr size_t kBufferSize = 4096;
    // The format reference of a line without a format.
    static constexpr uint32_t kNoFormat = 0xFFFFFFFFu;

    // A storing archive empties the spool's format table.
    CPageLineArchive(host::File& file, Mode mode);
    // Writes out what a storing archive still buffers; failures there are lost: call Close.
    ~CPageLineArchive();
    CPageLineArchive(const CPageLineArchive&) = delete;
    CPageLineArchive& operator=(const CPageLineArchive&) = delete;

    bool IsStoring() const { return mode_ == store; }
    // Storing: writes out the buffer. Further transfers are not allowed.
    void Close();

    void Write(const void* data, size_t size);
    void Read(void* data, size_t size);
    void WriteByte(uint8_t value) { Write(&value, 1); }
    uint8_t ReadByte();
    void WriteU16(uint16_t value);
    uint16_t ReadU16();
    void WriteU32(uint32_t value);
    uint32_t ReadU32();
    void WriteU64(uint64_t value);
    uint64_t ReadU64();
    // The archive string form; reading accepts the wide (UTF-16) form as well.
    void WriteString(const std::string& text);
    std::string ReadString();

    // The reference stored for a format (entered in the table on first use); kNoFormat for none.
    uint32_t ReferenceOf(const stFormatRecord* format);
    // The format a stored reference names; kNoFormat gives null. Throws badReference.
    const stFormatRecord* FormatOf(uint32_t reference) const;

private:
    void FillBuffer();
    void FlushBuffer();
    [[noreturn]] void Fail(CArchiveException::Cause cause) const;
    uint64_t ReadLength(bool& wide);

    host::File& file_;
    Mode mode_;
    bool closed_ = false;
    std::vector<uint8_t> buffer_;
    size_t pos_ = 0;       // next byte of the buffer to read
    size_t end_ = 0;       // bytes of the buffer filled
    uint64_t remaining_ = 0;  // loading: bytes of the file not yet in the buffer
};

// Writes one record: format reference, kind, text. Returns the archive.
CPageLineArchive& WritePageLineRecord(CPageLineArchive& ar, const stFmtString& line);
// Reads one record into `line`. Throws endOfFile when the file ends inside it.
CPageLineArchive& ReadPageLineRecord(CPageLineArchive& ar, stFmtString& line);

// Writes the spool file: every line in order, then the end record with the format and kind of the
// last line. False, after telling the user, when the file cannot be created or written.
bool WritePageLineFile(const std::vector<stFmtString>& lines);
