#include <gtest/gtest.h>

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "ArchiveTestData.h"
#include "archive/Deflate.h"

namespace {

using namespace archive_test;

struct Sink {
    Bytes input;
    size_t pos = 0;
    Bytes output;
    int failWriteAfter = -1;  // fail the write after this many successful ones
    int writes = 0;
};

unsigned int ReadSink(stDeflateState* s, uint8_t* buffer, unsigned int size)
{
    auto* k = static_cast<Sink*>(s->param);
    const size_t n = std::min<size_t>(size, k->input.size() - k->pos);
    std::memcpy(buffer, k->input.data() + k->pos, n);
    k->pos += n;
    return static_cast<unsigned int>(n);
}

unsigned int WriteSink(void* param, const uint8_t* buffer, unsigned int* size)
{
    auto* k = static_cast<Sink*>(param);
    if (k->failWriteAfter >= 0 && k->writes >= k->failWriteAfter)
        return 0;
    ++k->writes;
    k->output.insert(k->output.end(), buffer, buffer + *size);
    const unsigned int n = *size;
    *size = 0;
    return n;
}

struct Compressed {
    Bytes data;
    uint64_t size = 0;
    uint16_t flags = 0;
    const char* error = nullptr;
};

Compressed Compress(stDeflateState* s, const Bytes& in, int level = kDeflateZipLevel, int failWriteAfter = -1)
{
    Sink sink;
    sink.input = in;
    sink.failWriteAfter = failWriteAfter;
    std::vector<uint8_t> outbuf(kDeflateOutBufSize + 16, 0xEE);
    s->param = &sink;
    s->read = ReadSink;
    s->write = WriteSink;
    s->error = nullptr;
    s->window_size = 0;
    uint16_t attr = 0;
    Compressed c;
    InitBitOutput(s, outbuf.data(), kDeflateOutBufSize, 1);
    ct_init(s, &attr);
    SetPackLevel(s, level, &c.flags);
    c.size = Deflate(s);
    c.error = s->error;
    c.data = sink.output;
    // The guard behind the output buffer is never touched.
    for (size_t i = kDeflateOutBufSize; i < outbuf.size(); ++i)
        EXPECT_EQ(outbuf[i], 0xEE);
    return c;
}

Compressed Compress(const Bytes& in, int level = kDeflateZipLevel)
{
    std::unique_ptr<stDeflateState> s(CreateDeflateState());
    return Compress(s.get(), in, level);
}

Bytes Inflate(const Bytes& in, size_t expected, int* rc)
{
    z_stream z{};
    inflateInit2(&z, -15);
    Bytes out(expected + 1);
    z.next_in = const_cast<Bytef*>(in.data());
    z.avail_in = static_cast<uInt>(in.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    *rc = inflate(&z, Z_FINISH);
    out.resize(z.total_out);
    EXPECT_EQ(z.avail_in, 0u) << "data behind the last block";
    inflateEnd(&z);
    return out;
}

// Random bytes in which no three bytes repeat within 32 KiB, so no match can be found.
Bytes Incompressible(size_t n)
{
    std::mt19937 gen(9);
    Bytes b;
    std::map<uint32_t, size_t> seen;
    while (b.size() < n) {
        uint8_t c = static_cast<uint8_t>(gen());
        if (b.size() >= 2) {
            for (;;) {
                const uint32_t key = (b[b.size() - 2] << 16) | (b.back() << 8) | c;
                auto it = seen.find(key);
                if (it == seen.end() || b.size() - it->second > 40000) {
                    seen[key] = b.size();
                    break;
                }
                c = static_cast<uint8_t>(gen());
            }
        }
        b.push_back(c);
    }
    return b;
}

TEST(Deflate, EmptyInputIsOneFixedBlock)
{
    Compressed c = Compress({});
    EXPECT_EQ(c.error, nullptr);
    EXPECT_EQ(c.data, (Bytes{0x03, 0x00}));
    EXPECT_EQ(c.size, 2u);
    EXPECT_EQ(c.flags, 2);
}

TEST(Deflate, IncompressibleDataIsStoredInBlocksOf32767)
{
    const Bytes in = Incompressible(100000);
    Compressed c = Compress(in);
    ASSERT_EQ(c.error, nullptr);
    ASSERT_EQ(c.size, c.data.size());
    size_t pos = 0, done = 0;
    std::vector<unsigned> lengths;
    for (;;) {
        ASSERT_LT(pos + 5, c.data.size());
        const uint8_t head = c.data[pos];
        EXPECT_EQ(head & 6, 0) << "stored block type";
        const unsigned len = c.data[pos + 1] | (c.data[pos + 2] << 8);
        const unsigned nlen = c.data[pos + 3] | (c.data[pos + 4] << 8);
        EXPECT_EQ(len ^ 0xFFFF, nlen);
        EXPECT_TRUE(std::equal(in.begin() + done, in.begin() + done + len, c.data.begin() + pos + 5));
        lengths.push_back(len);
        pos += 5 + len;
        done += len;
        if (head & 1)
            break;
    }
    EXPECT_EQ(pos, c.data.size());
    EXPECT_EQ(lengths, (std::vector<unsigned>{32767, 32767, 32767, 100000 - 3 * 32767}));
}

TEST(Deflate, RoundTripsThroughInflate)
{
    const std::vector<std::pair<const char*, Bytes>> inputs = {
        {"one byte", {0x41}},
        {"two bytes", {0x41, 0x41}},
        {"text", Text(300000)},
        {"random", RandomBytes(200000, 1)},
        {"zeros", Bytes(500000, 0)},
        {"database", DatabaseLike(400000)},
        {"window edge", DatabaseLike(65536 + 262)},
    };
    for (const auto& [name, data] : inputs) {
        for (int level : {1, 2, 3, 4, 6, 8}) {
            SCOPED_TRACE(std::string(name) + " level " + std::to_string(level));
            Compressed c = Compress(data, level);
            ASSERT_EQ(c.error, nullptr);
            EXPECT_EQ(c.size, c.data.size());
            int rc = 0;
            EXPECT_TRUE(Inflate(c.data, data.size(), &rc) == data);
            EXPECT_EQ(rc, Z_STREAM_END);
        }
    }
}

TEST(Deflate, OptionBitsAndLevelCheck)
{
    const Bytes in = Text(1000);
    EXPECT_EQ(Compress(in, 1).flags, 4);
    EXPECT_EQ(Compress(in, 2).flags, 4);
    EXPECT_EQ(Compress(in, 5).flags, 0);
    EXPECT_EQ(Compress(in, 8).flags, 2);
    EXPECT_STREQ(Compress(in, 9).error, "bad pack level");
    EXPECT_STREQ(Compress(in, 0).error, "bad pack level");
}

TEST(Deflate, ReusedStateGivesTheSameBytes)
{
    const Bytes first = DatabaseLike(150000);
    const Bytes second = Text(90000);
    std::unique_ptr<stDeflateState> s(CreateDeflateState());
    Compress(s.get(), first);
    const Compressed again = Compress(s.get(), second);
    EXPECT_TRUE(again.data == Compress(second).data);
}

TEST(Deflate, FailedWriteEndsTheEntry)
{
    std::unique_ptr<stDeflateState> s(CreateDeflateState());
    for (int after : {0, 1, 3}) {
        SCOPED_TRACE(after);
        const Compressed c = Compress(s.get(), RandomBytes(300000, 4), kDeflateZipLevel, after);
        EXPECT_NE(c.error, nullptr);
    }
    // The state is usable again afterwards.
    const Bytes in = Text(70000);
    const Compressed ok = Compress(s.get(), in);
    EXPECT_EQ(ok.error, nullptr);
    int rc = 0;
    EXPECT_TRUE(Inflate(ok.data, in.size(), &rc) == in);
}

TEST(Deflate, SizeCloseToZlib)
{
    // Same level parameters as zlib's level 8; the output should be about as small.
    const Bytes in = DatabaseLike(1 << 20);
    const Compressed c = Compress(in);
    uLongf zsize = compressBound(static_cast<uLong>(in.size()));
    Bytes z(zsize);
    z_stream zs{};
    deflateInit2(&zs, 8, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    zs.next_in = const_cast<Bytef*>(in.data());
    zs.avail_in = static_cast<uInt>(in.size());
    zs.next_out = z.data();
    zs.avail_out = static_cast<uInt>(z.size());
    deflate(&zs, Z_FINISH);
    const size_t zlibSize = zs.total_out;
    deflateEnd(&zs);
    EXPECT_LE(static_cast<double>(c.size), zlibSize * 1.01);
}

}  // namespace
