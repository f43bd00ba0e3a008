#include "DbFixture.h"

#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

std::vector<uint32_t> DbFixture::Write(const std::string& path, uint32_t closedOK,
                                       uint32_t version) const {
    std::string bytes(LOC_START_TABLES, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<char>(version >> (8 * i));
        bytes[4 + i] = static_cast<char>(closedOK >> (8 * i));
    }
    bytes.replace(DB_NAME_LOC, 7, "fixture");
    std::vector<uint32_t> locs;
    uint32_t loc = LOC_START_TABLES;
    for (const FixtureRecord& r : records_) {
        locs.push_back(loc);
        loc += DB_HEADER_LEN + (r.blockLen ? r.blockLen : r.data.size());
    }
    for (size_t i = 0; i < records_.size(); ++i) {
        const FixtureRecord& r = records_[i];
        stDataHeader h;
        h.nCurrLoc = locs[i];
        h.nPrevLoc = i == 0 ? LOC_NONE : locs[i - 1];
        h.nNextLoc = i + 1 == records_.size() ? LOC_NONE : locs[i + 1];
        h.nBlockLen = static_cast<uint16_t>(r.blockLen ? r.blockLen : r.data.size());
        h.nDataLen = static_cast<uint16_t>(r.data.size());
        h.nTable = r.table;
        h.nSubTable = r.subtable;
        h.nKey = r.key;
        h.nSubKey = r.subkey;
        h.nUser = r.user ? r.user : static_cast<uint8_t>(KeyUserCode(r.key));
        h.cStatus = r.status;
        SetDataCheck(h, reinterpret_cast<const uint8_t*>(r.data.data()), static_cast<uint32_t>(r.data.size()));
        uint8_t raw[DB_HEADER_LEN];
        h.Pack(raw);
        bytes.append(reinterpret_cast<const char*>(raw), DB_HEADER_LEN);
        bytes.append(r.data);
        bytes.append(h.nBlockLen - r.data.size(), '\0');
    }
    WriteAll(path, bytes);
    return locs;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

uint32_t PeekU32(const std::string& path, uint32_t offset) {
    std::string bytes = ReadAll(path);
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(bytes.at(offset + i));
    return v;
}

void PokeU32(const std::string& path, uint32_t offset, uint32_t value) {
    std::fstream f(path, std::ios::binary | std::ios::in | std::ios::out);
    f.seekp(offset);
    for (int i = 0; i < 4; ++i) f.put(static_cast<char>(value >> (8 * i)));
}

void PokeByte(const std::string& path, uint32_t offset, uint8_t value) {
    std::fstream f(path, std::ios::binary | std::ios::in | std::ios::out);
    f.seekp(offset);
    f.put(static_cast<char>(value));
}

stDataHeader PeekHeader(const std::string& path, uint32_t loc) {
    std::string bytes = ReadAll(path);
    stDataHeader h;
    h.Unpack(reinterpret_cast<const uint8_t*>(bytes.data() + loc));
    return h;
}
