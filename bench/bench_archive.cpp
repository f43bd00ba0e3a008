// bench_archive FILE... [--out DIR]
// Compresses each file with our deflate and with zlib's deflate at the zip writer's level,
// and with implode; times explode against inflate of the same data's zlib stream. The
// last lines are "RATIO <name> <value>": ours over zlib's on the same bytes.

#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "archive/Deflate.h"
#include "archive/Pkware.h"
#include "archive/ZipApi.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

struct Memory {
    const Bytes* in = nullptr;
    size_t pos = 0;
    Bytes out;
};

unsigned DeflateRead(stDeflateState* s, uint8_t* buf, unsigned size)
{
    auto* m = static_cast<Memory*>(s->param);
    const size_t n = std::min<size_t>(size, m->in->size() - m->pos);
    std::memcpy(buf, m->in->data() + m->pos, n);
    m->pos += n;
    return static_cast<unsigned>(n);
}

unsigned DeflateWrite(void* param, const uint8_t* buf, unsigned* size)
{
    auto* m = static_cast<Memory*>(param);
    m->out.insert(m->out.end(), buf, buf + *size);
    const unsigned n = *size;
    *size = 0;
    return n;
}

unsigned PkRead(char* buf, unsigned* size, void* param)
{
    auto* m = static_cast<Memory*>(param);
    const size_t n = std::min<size_t>(*size, m->in->size() - m->pos);
    std::memcpy(buf, m->in->data() + m->pos, n);
    m->pos += n;
    return static_cast<unsigned>(n);
}

void PkWrite(char* buf, unsigned* size, void* param)
{
    auto* m = static_cast<Memory*>(param);
    m->out.insert(m->out.end(), buf, buf + *size);
}

Bytes OurDeflate(stDeflateState* s, const Bytes& in)
{
    Memory m;
    m.in = &in;
    std::vector<uint8_t> outbuf(kDeflateOutBufSize);
    s->param = &m;
    s->read = DeflateRead;
    s->write = DeflateWrite;
    s->error = nullptr;
    s->window_size = 0;
    uint16_t attr = 0, flags = 0;
    InitBitOutput(s, outbuf.data(), kDeflateOutBufSize, 1);
    ct_init(s, &attr);
    SetPackLevel(s, kDeflateZipLevel, &flags);
    Deflate(s);
    return m.out;
}

Bytes ZlibDeflate(const Bytes& in, int windowBits)
{
    z_stream z{};
    deflateInit2(&z, kDeflateZipLevel, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY);
    Bytes out(deflateBound(&z, static_cast<uLong>(in.size())));
    z.next_in = const_cast<Bytef*>(in.data());
    z.avail_in = static_cast<uInt>(in.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

Bytes ZlibInflate(const Bytes& in, size_t size)
{
    z_stream z{};
    inflateInit2(&z, -15);
    Bytes out(size);
    z.next_in = const_cast<Bytef*>(in.data());
    z.avail_in = static_cast<uInt>(in.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    inflate(&z, Z_FINISH);
    inflateEnd(&z);
    return out;
}

Bytes OurImplode(const Bytes& in, unsigned type)
{
    Memory m;
    m.in = &in;
    std::vector<char> work(kImplodeWorkSize);
    unsigned dict = 4096;
    Implode(PkRead, PkWrite, work.data(), &m, &type, &dict);
    return m.out;
}

Bytes OurExplode(const Bytes& in)
{
    Memory m;
    m.in = &in;
    std::vector<char> work(kExplodeWorkSize);
    Explode(PkRead, PkWrite, work.data(), &m);
    return m.out;
}

// Best of a few runs, in seconds.
template <typename F>
double Time(F&& f)
{
    double best = 1e30;
    for (int i = 0; i < 3; ++i) {
        const auto t0 = Clock::now();
        f();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - t0).count());
    }
    return best;
}

void Save(const std::filesystem::path& p, const Bytes& b)
{
    std::ofstream out(p, std::ios::binary);
    out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> files;
    std::string outDir;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc)
            outDir = argv[++i];
        else
            files.push_back(argv[i]);
    }
    if (files.empty()) {
        std::fprintf(stderr, "usage: bench_archive FILE... [--out DIR]\n");
        return 2;
    }
    std::unique_ptr<stDeflateState> state(CreateDeflateState());
    double ourDeflateTime = 0, zlibDeflateTime = 0, implodeTime = 0, explodeTime = 0, inflateTime = 0;
    double ourSize = 0, zlibSize = 0;
    for (const std::string& name : files) {
        std::ifstream in(name, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "cannot read %s\n", name.c_str());
            return 1;
        }
        const Bytes data{std::istreambuf_iterator<char>(in), {}};
        Bytes ours, zlib, imploded0, imploded1, exploded, inflated;
        const double td = Time([&] { ours = OurDeflate(state.get(), data); });
        const double tz = Time([&] { zlib = ZlibDeflate(data, -15); });
        const double ti = Time([&] { imploded1 = OurImplode(data, kPkAscii); });
        imploded0 = OurImplode(data, kPkBinary);
        const double te = Time([&] { exploded = OurExplode(imploded0); });
        const double tf = Time([&] { inflated = ZlibInflate(zlib, data.size()); });
        if (exploded != data || inflated != data || ZlibInflate(ours, data.size()) != data) {
            std::fprintf(stderr, "%s: round trip failed\n", name.c_str());
            return 1;
        }
        std::printf("%s: %zu bytes\n", name.c_str(), data.size());
        std::printf("  deflate ours %10zu bytes %8.3f ms | zlib %10zu bytes %8.3f ms\n", ours.size(), td * 1e3,
                    zlib.size(), tz * 1e3);
        std::printf("  implode      %10zu bytes %8.3f ms (binary %zu bytes)\n", imploded1.size(), ti * 1e3,
                    imploded0.size());
        std::printf("  explode      %8.3f ms | inflate %8.3f ms\n", te * 1e3, tf * 1e3);
        ourDeflateTime += td;
        zlibDeflateTime += tz;
        implodeTime += ti;
        explodeTime += te;
        inflateTime += tf;
        ourSize += static_cast<double>(ours.size());
        zlibSize += static_cast<double>(zlib.size());
        if (!outDir.empty()) {
            const std::filesystem::path dir(outDir);
            std::filesystem::create_directories(dir);
            const std::string base = std::filesystem::path(name).filename().string();
            HZIP z = CreateZipFile((dir / (base + ".zip")).string());
            if (z == nullptr || ZipAddFile(z, base, name) != 0 || CloseZip(z) != 0)
                std::fprintf(stderr, "%s: zip failed\n", name.c_str());
            Save(dir / (base + ".dcl0"), imploded0);
            Save(dir / (base + ".dcl1"), imploded1);
        }
    }
    std::printf("RATIO deflate_time %.3f\n", ourDeflateTime / zlibDeflateTime);
    std::printf("RATIO deflate_size %.4f\n", ourSize / zlibSize);
    std::printf("RATIO implode_time %.3f\n", implodeTime / zlibDeflateTime);
    std::printf("RATIO explode_time %.3f\n", explodeTime / inflateTime);
    return 0;
}
