#include "common/TextFile.h"

#include "common/ListHelpers.h"
#include "common/QuestionBox.h"
#include "common/TextFormat.h"
#include "platform/host/Format.h"

namespace {

std::string TrimTrailing(const char* text)
{
    std::string line(text);
    size_t end = line.size();
    while (end > 0 && (line[end - 1] == ' ' || (line[end - 1] >= '\t' && line[end - 1] <= '\r')))
        --end;
    line.resize(end);
    return line;
}

}  // namespace

std::FILE* OpenOutputFile(const std::string& path)
{
    std::FILE* file = OpenTextFile(path, "wb");
    if (file == nullptr)
        GetResponse(Format("Can't open output file %s", path.c_str()), MB_OK);
    return file;
}

void WriteTextLine(const std::string& text, std::FILE* file)
{
    std::fwrite(text.data(), 1, text.size(), file);
    std::fputs("\r\n", file);
}

void WriteText(const std::string& text, std::FILE* file)
{
    const std::string stored = WithCrLf(text);
    std::fwrite(stored.data(), 1, stored.size(), file);
}

int WriteLinesToFile(const std::string& path, const std::vector<std::string>& lines)
{
    std::FILE* file = OpenOutputFile(path);
    if (file == nullptr)
        return 0;
    for (const std::string& line : lines)
        WriteTextLine(line, file);
    const bool written = std::ferror(file) == 0;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        GetResponse(Format("Error in writing file %s", path.c_str()), MB_OK);
        return 0;
    }
    return 1;
}

void ReadLinesFromFile(const std::string& path, std::vector<std::string>& lines)
{
    std::FILE* file = OpenTextFile(path, "rb");
    if (file == nullptr)
        return;
    char buffer[1024];
    while (std::fgets(buffer, sizeof buffer, file) != nullptr)
        lines.push_back(TrimTrailing(buffer));
    std::fclose(file);
}

std::string ReadTextLine(std::FILE* file)
{
    char buffer[1000];
    if (std::fgets(buffer, sizeof buffer, file) == nullptr)
        return std::string();
    return TrimTrailing(buffer);
}

std::string WithCrLf(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    return out;
}

void SplitLines(const std::string& text, std::vector<std::string>& lines)
{
    SplitString(text, "\r\n", lines, 0, 1);
}
