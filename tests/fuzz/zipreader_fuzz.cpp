// Fuzz target: the zip reader on an arbitrary archive lists and extracts every item
// without crashing, and never writes outside its scratch folder.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "archive/ZipApi.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    namespace fs = std::filesystem;
    static const fs::path dir = fs::temp_directory_path() / ("dq_zipfuzz_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path archive = dir / "in.zip";
    if (FILE* f = std::fopen(archive.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    HZIP h = OpenUnzipFile(archive.string());
    if (h != nullptr) {
        SetUnzipBaseFolder(h, (dir / "out").string());
        ZIP_ITEM_INFO info;
        if (GetUnzipItem(h, -1, &info) == 0) {
            const int count = info.index < 64 ? info.index : 64;
            for (int i = 0; i < count; ++i) {
                ZIP_ITEM_INFO item;
                if (GetUnzipItem(h, i, &item) == 0)
                    static_cast<CUnzipArchive*>(h->state)->ExtractItemUnder(i, (dir / "out").string());
            }
        }
        CloseUnzip(h);
    }
    std::error_code ec;
    fs::remove_all(dir / "out", ec);
    return 0;
}
