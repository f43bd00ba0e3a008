#include "common/DataPaths.h"

#include "common/DateTime.h"
#include "platform/host/Clock.h"
#include "platform/host/Directory.h"
#include "platform/host/Format.h"
#include "platform/host/Path.h"

std::string DatabaseFolder;
std::string ProgramFolder;

namespace {

// A file time as a local day-count date; 0.0 when the clock cannot convert it.
DATE LocalDateOf(time_t when)
{
    host::LocalTime t;
    if (!host::Clock::ToLocal(when, t))
        return 0.0;
    DATE date = 0.0;
    if (!FieldsToDate(t.year, t.month, t.day, t.hour, t.minute, t.second > 59 ? 59 : t.second,
                      date))
        return 0.0;
    return date;
}

}  // namespace

std::string BuildDataFilePath(const std::string& name, const std::string& extension)
{
    std::string ext = extension;
    if (!ext.empty() && ext[0] == '.')
        ext.erase(0, 1);
    const std::string& folder = !DatabaseFolder.empty() ? DatabaseFolder : ProgramFolder;
    if (!folder.empty()) {
        if (ext.empty())
            return Format("%s\\%s", folder.c_str(), name.c_str());
        return Format("%s\\%s.%s", folder.c_str(), name.c_str(), ext.c_str());
    }
    if (ext.empty())
        return name;
    return Format("%s.%s", name.c_str(), ext.c_str());
}

std::string GetPathInCurrentFolder(const std::string& name)
{
    std::string folder;
    if (!host::CurrentFolder(folder))
        return name;
    return Format("%s\\%s", folder.c_str(), name.c_str());
}

std::string GetFolderPart(const std::string& path)
{
    std::string clean;
    clean.reserve(path.size());
    for (char c : path)
        if (c != '"')
            clean += c;
    const size_t slash = clean.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : clean.substr(0, slash);
}

std::string GetFileDateText(const std::string& path)
{
    std::vector<host::DirEntry> entries;
    if (!host::ListDirectory(path, entries) || entries.empty())
        return std::string();
    return FormatDateTime(LocalDateOf(entries.front().modified), "%m/%d/%Y %H:%M");
}

void ListFilesWithDates(const std::string& pattern, std::vector<std::string>& names,
                        std::vector<std::string>& dates, int prefix)
{
    std::vector<host::DirEntry> entries;
    if (!host::ListDirectory(pattern, entries) || entries.empty())
        return;
    std::string lead;
    if (prefix == 1) {
        lead = GetFolderPart(pattern);
        if (!lead.empty())
            lead += '\\';
    }
    for (const host::DirEntry& entry : entries) {
        names.push_back(Format("%s%s", lead.c_str(), entry.name.c_str()));
        dates.push_back(FormatDateTime(LocalDateOf(entry.modified), "%a, %b %d, %Y %I:%M %p"));
    }
}
