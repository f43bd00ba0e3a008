#include "studio/IifWriter.h"

#include "common/QuestionBox.h"
#include "platform/host/File.h"
#include "platform/host/Format.h"

std::string CIifWriter::CleanField(const std::string& field)
{
    std::string clean = field;
    for (char& c : clean)
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
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
}

void CIifWriter::AddLine(std::initializer_list<std::string_view> fields, size_t total)
{
    size_t count = 0;
    for (std::string_view field : fields) {
        if (count++ > 0) m_sText += '\t';
        const size_t at = m_sText.size();
        m_sText += field;
        for (size_t i = at; i < m_sText.size(); ++i)
            if (m_sText[i] == '\t' || m_sText[i] == '\r' || m_sText[i] == '\n') m_sText[i] = ' ';
    }
    for (; count < total; ++count) m_sText += '\t';
    m_sText += "\r\n";
    ++m_nLines;
}

void CIifWriter::Append(const CIifWriter& other)
{
    m_sText += other.m_sText;
    m_nLines += other.m_nLines;
}

int CIifWriter::WriteFile(const std::string& path, const CIifWriter* rest) const
{
    const std::string temporary = path + ".$$$";
    host::File file;
    if (!file.Open(temporary, host::File::Access::ReadWrite, host::File::Disposition::CreateAlways)) {
        GetResponse(Format("Can't open output file %s", path.c_str()), MB_OK);
        return 0;
    }
    auto put = [&file](const std::string& text) {
        size_t done = 0;
        return file.Write(text.data(), text.size(), &done) && done == text.size();
    };
    bool written = put(m_sText) && (rest == nullptr || put(rest->m_sText)) && file.Flush();
    written = file.Close() && written;
    if (written) written = host::ReplaceFile(temporary, path);
    if (!written) {
        host::DeleteFile(temporary);
        GetResponse(Format("Error in writing file %s", path.c_str()), MB_OK);
        return 0;
    }
    return 1;
}
