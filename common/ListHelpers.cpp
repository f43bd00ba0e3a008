#include "common/ListHelpers.h"

#include <cmath>

#include "common/Backup.h"
#include "platform/host/Directory.h"
#include "platform/host/File.h"
#include "platform/host/Path.h"

namespace {

// Adds `value` by mode when `found` is false; gives 1 when it was found.
template <class T>
int AddByMode(bool found, const T& value, std::vector<T>& list, char mode) {
    if (found)
        return 1;
    if (mode == 'A')
        list.push_back(value);
    else if (mode == 'I')
        list.insert(list.begin(), value);
    return 0;
}

template <class T>
int IndexOf(const T& value, const std::vector<T>& list) {
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i] == value)
            return static_cast<int>(i);
    return -1;
}

bool SameToTheSecond(DATE a, DATE b) { return std::llround((a - b) * 86400.0) == 0; }

template <class T>
void SortPlain(std::vector<T>& list) {
    list_sort::HeapSort(
        list.size(), [&](size_t i, size_t j) { return list[i] < list[j]; },
        [&](size_t i, size_t j) { std::swap(list[i], list[j]); });
}

} // namespace

int AddUniqueNumber(uint32_t value, std::vector<uint32_t>& list, char mode) {
    return AddByMode(IndexOf(value, list) >= 0, value, list, mode);
}

int AddUniqueByte(uint8_t value, std::vector<uint8_t>& list, char mode) {
    return AddByMode(IndexOf(value, list) >= 0, value, list, mode);
}

int AddUniqueDate(DATE value, std::vector<DATE>& list, char mode) {
    bool found = false;
    for (DATE entry : list)
        if (SameToTheSecond(entry, value)) {
            found = true;
            break;
        }
    return AddByMode(found, value, list, mode);
}

int AddUniqueString(const std::string& value, std::vector<std::string>& list, char mode) {
    return AddByMode(IndexOf(value, list) >= 0, value, list, mode);
}

int FindNumber(uint32_t value, const std::vector<uint32_t>& list) { return IndexOf(value, list); }

int FindString(const std::string& value, const std::vector<std::string>& list) {
    return IndexOf(value, list);
}

namespace list_sort {

void SetWaitBoxTotal(IProgressReport* box, size_t total) { box->SetTotal(static_cast<int>(total)); }

void SetWaitBoxProgress(IProgressReport* box, size_t done) {
    box->SetProgress(static_cast<int>(done));
}

} // namespace list_sort

void SortNumbers(std::vector<uint32_t>& list) { SortPlain(list); }

void SortDates(std::vector<double>& list) { SortPlain(list); }

void SortStrings(std::vector<std::string>& list) { SortPlain(list); }

uint32_t MakeTypedKey(uint8_t type, uint32_t number) {
    if (number >= (1u << 24))
        return 0xFFFFFFFFu;
    return (uint32_t(type) << 24) + number;
}

void SplitTypedKey(uint32_t key, uint8_t& type, uint32_t& number) {
    type = static_cast<uint8_t>(key >> 24);
    number = key & 0xFFFFFFu;
}

std::FILE* OpenTextFile(const std::string& path, const char* mode) {
    std::string hostPath;
    if (!host::ToHostPath(path, hostPath))
        return nullptr;
    return std::fopen(hostPath.c_str(), mode);
}

int FileExists(const std::string& path) {
    std::vector<host::DirEntry> entries;
    return host::ListDirectory(path, entries) && !entries.empty() ? 1 : 0;
}

uint32_t GetFileSize32(const std::string& path) {
    uint64_t size = 0;
    if (!host::GetFileSize(path, size))
        return 0;
    return static_cast<uint32_t>(size);
}

int CountFileLines(const std::string& path) {
    std::FILE* file = OpenTextFile(path, "r");
    if (file == nullptr)
        return 0;
    char line[1024];
    int count = 0;
    while (std::fgets(line, sizeof line, file) != nullptr)
        ++count;
    std::fclose(file);
    return count;
}

void GetGenerationNames(const std::string& databaseName, char kind, int count,
                        std::vector<std::string>& names) {
    names.clear();
    names.emplace_back();
    for (int generation = 0; generation < count; ++generation)
        names.push_back(databaseName + GetBackupExtension(kind, generation));
}

void RotateGenerations(const std::string& databaseName, char kind, int count) {
    std::vector<std::string> names;
    GetGenerationNames(databaseName, kind, count, names);
    for (int k = count; k >= 2; --k) {
        // A generation without a backup extension would name the database itself.
        if (GetBackupExtension(kind, k - 1).empty() || GetBackupExtension(kind, k - 2).empty())
            continue;
        const std::string& newer = names[static_cast<size_t>(k - 1)];
        const std::string& older = names[static_cast<size_t>(k)];
        if (host::FileExists(older))
            host::DeleteFile(older);
        if (host::FileExists(newer))
            host::RenameFile(newer, older);
    }
}
