#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "archive/Crc32.h"
#include "archive/Pkware.h"
#include "ArchiveTestData.h"

namespace {

using archive_test::Bytes;

// Memory source and sink for the callbacks; `piece` limits each read (0: as asked).
struct Transfer {
    Bytes input;
    size_t readPos = 0;
    size_t piece = 0;
    int reads = 0;
    Bytes output;
    std::vector<unsigned int> writes;
    uint32_t crcIn = 0;
    uint32_t crcOut = 0;
};

unsigned int ReadMem(char* buffer, unsigned int* size, void* param)
{
    auto* t = static_cast<Transfer*>(param);
    ++t->reads;
    size_t n = std::min<size_t>(*size, t->input.size() - t->readPos);
    if (t->piece != 0)
        n = std::min(n, t->piece);
    std::copy_n(t->input.begin() + t->readPos, n, buffer);
    t->readPos += n;
    uint32_t len = static_cast<uint32_t>(n);
    t->crcIn = Crc32Update(buffer, &len, &t->crcIn);
    return static_cast<unsigned int>(n);
}

void WriteMem(char* buffer, unsigned int* size, void* param)
{
    auto* t = static_cast<Transfer*>(param);
    t->writes.push_back(*size);
    t->output.insert(t->output.end(), buffer, buffer + *size);
    uint32_t len = *size;
    t->crcOut = Crc32Update(buffer, &len, &t->crcOut);
}

struct Result {
    unsigned int code;
    Transfer t;
};

Result RunImplode(const Bytes& in, unsigned int type, unsigned int dict, size_t piece = 0)
{
    Result r{};
    r.t.input = in;
    r.t.piece = piece;
    std::vector<char> work(kImplodeWorkSize);
    r.code = Implode(ReadMem, WriteMem, work.data(), &r.t, &type, &dict);
    return r;
}

Result RunExplode(const Bytes& in, size_t piece = 0)
{
    Result r{};
    r.t.input = in;
    r.t.piece = piece;
    std::vector<char> work(kExplodeWorkSize);
    r.code = Explode(ReadMem, WriteMem, work.data(), &r.t);
    return r;
}

Bytes FromString(const std::string& s) { return Bytes(s.begin(), s.end()); }

// Builds a stream from bit strings written as the format's tables show them (first bit
// in the stream leftmost), and plain numbers taken least significant bit first.
class StreamBuilder {
public:
    StreamBuilder(uint8_t type, uint8_t dictBits) : bytes_{type, dictBits} {}
    StreamBuilder& Code(const std::string& bits)
    {
        for (char c : bits)
            Bit(c == '1');
        return *this;
    }
    StreamBuilder& Number(unsigned value, int count)
    {
        for (int i = 0; i < count; ++i)
            Bit((value >> i) & 1);
        return *this;
    }
    // A binary literal.
    StreamBuilder& Byte(uint8_t b) { return Code("0").Number(b, 8); }
    StreamBuilder& End() { return Code("1").Code("0000000").Number(255, 8); }
    Bytes Done() const { return bytes_; }

private:
    void Bit(bool on)
    {
        if (used_ == 0)
            bytes_.push_back(0);
        if (on)
            bytes_.back() |= static_cast<uint8_t>(1u << used_);
        used_ = (used_ + 1) % 8;
    }
    Bytes bytes_;
    int used_ = 0;
};

using archive_test::DatabaseLike;
using archive_test::RandomBytes;
using archive_test::Text;

TEST(Explode, WorkedExampleOfTheFormat)
{
    Result r = RunExplode({0x00, 0x04, 0x82, 0x24, 0x25, 0x8f, 0x80, 0x7f});
    EXPECT_EQ(r.code, kPkOk);
    EXPECT_EQ(std::string(r.t.output.begin(), r.t.output.end()), "AIAIAIAIAIAIA");
    EXPECT_EQ(r.t.writes, std::vector<unsigned int>{13});
}

TEST(Explode, HandBuiltStreams)
{
    struct Case {
        const char* name;
        Bytes stream;
        std::string expected;
    };
    const std::vector<Case> cases = {
        // ASCII literals 'A' 'B' 'A' then "AB" again: length 3 (code 11) at distance 3,
        // high part 0 (11), four low bits 0010.
        {"ascii, 1024",
         StreamBuilder(1, 4).Code("0100011").Code("00010101").Code("0100011")
             .Code("1").Code("11").Code("11").Number(2, 4).End().Done(),
         "ABAABA"},
        // Binary: 'x' 'y', length 2 (code 101) at distance 2: high part 0, two low bits.
        {"binary, length 2",
         StreamBuilder(0, 4).Byte('x').Byte('y').Code("1").Code("101").Code("11").Number(1, 2).End().Done(),
         "xyxy"},
        // Dictionary 2048 (5 low bits): distance 100 = (3 << 5) + 3 + 1, high part 3 (10011),
        // length 12 (code 00011, extra 0 in 2 bits).
        {"binary, 2048, far",
         [] {
             StreamBuilder b(0, 5);
             for (int i = 0; i < 100; ++i)
                 b.Byte(static_cast<uint8_t>('a' + i % 26));
             return b.Code("1").Code("00011").Number(0, 2).Code("10011").Number(3, 5).End().Done();
         }(),
         [] {
             std::string s;
             for (int i = 0; i < 100; ++i)
                 s += static_cast<char>('a' + i % 26);
             return s + s.substr(0, 12);
         }()},
        // Dictionary 4096 (6 low bits): distance 4096 = (63 << 6) + 63 + 1, high part 63
        // (00000000); length 518 = 264 + 254 (code 0000000, extra 254).
        {"binary, 4096, longest",
         [] {
             StreamBuilder b(0, 6);
             for (int i = 0; i < 4096; ++i)
                 b.Byte(static_cast<uint8_t>(i * 7));
             return b.Code("1").Code("0000000").Number(254, 8).Code("00000000").Number(63, 6).End().Done();
         }(),
         [] {
             std::string s;
             for (int i = 0; i < 4096; ++i)
                 s += static_cast<char>(i * 7);
             return s + s.substr(0, 518);
         }()},
        // A run through an overlapping copy: 'z', then length 9 (code 00101) at distance 1.
        {"overlap",
         StreamBuilder(0, 6).Byte('z').Code("1").Code("00101").Code("11").Number(0, 6).End().Done(),
         std::string(10, 'z')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Result r = RunExplode(c.stream);
        EXPECT_EQ(r.code, kPkOk);
        EXPECT_EQ(std::string(r.t.output.begin(), r.t.output.end()), c.expected);
    }
}

TEST(Explode, ErrorCodes)
{
    const Bytes good = {0x00, 0x04, 0x82, 0x24, 0x25, 0x8f, 0x80, 0x7f};
    struct Case {
        const char* name;
        Bytes stream;
        unsigned int code;
    };
    const std::vector<Case> cases = {
        {"empty", {}, kPkBadData},
        {"three bytes", {0x00, 0x06, 0x01}, kPkBadData},
        {"four bytes, not an end code", {0x00, 0x06, 0x00, 0x00}, kPkBadData},
        {"dictionary bits 3", {0x00, 0x03, 0x82, 0x24, 0x25}, kPkBadDictSize},
        {"dictionary bits 7", {0x01, 0x07, 0x82, 0x24, 0x25}, kPkBadDictSize},
        {"type 2", {0x02, 0x04, 0x82, 0x24, 0x25}, kPkBadType},
        {"cut before the end code", Bytes(good.begin(), good.end() - 2), kPkAbort},
        {"cut inside the end code", Bytes(good.begin(), good.end() - 1), kPkAbort},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RunExplode(c.stream).code, c.code);
    }
}

TEST(Explode, BrokenStreamStillWritesWhatWasDecoded)
{
    Bytes s = StreamBuilder(0, 6).Byte('a').Byte('b').Byte('c').Byte('d').Done();
    Result r = RunExplode(s);
    EXPECT_EQ(r.code, kPkAbort);
    // Each literal needs 8 more bits behind it; the last one has none.
    EXPECT_EQ(std::string(r.t.output.begin(), r.t.output.end()), "abc");
    ASSERT_FALSE(r.t.writes.empty());
}

TEST(Explode, EndCodeOnTheLastBit)
{
    // Eight literals (72 bits) and the end code (16 bits) fill 11 bytes exactly.
    StreamBuilder b(0, 6);
    for (int i = 0; i < 8; ++i)
        b.Byte(static_cast<uint8_t>('a' + i));
    Bytes s = b.End().Done();
    ASSERT_EQ(s.size(), 2u + (9 * 8 + 16) / 8);
    Result r = RunExplode(s);
    EXPECT_EQ(r.code, kPkOk);
    EXPECT_EQ(std::string(r.t.output.begin(), r.t.output.end()), "abcdefgh");
    // Without the end code's last byte the stream breaks off after the last literal;
    // without two bytes, the last literal has no 8 bits behind it and is not taken.
    s.pop_back();
    r = RunExplode(s);
    EXPECT_EQ(r.code, kPkAbort);
    EXPECT_EQ(std::string(r.t.output.begin(), r.t.output.end()), "abcdefgh");
    s.pop_back();
    r = RunExplode(s);
    EXPECT_EQ(r.code, kPkAbort);
    EXPECT_EQ(std::string(r.t.output.begin(), r.t.output.end()), "abcdefg");
}

TEST(Explode, StreamOfAnEmptyInputGivesNothing)
{
    for (uint8_t bits : {4, 5, 6}) {
        Result r = RunExplode({0x01, bits, 0x01, 0xFF});
        EXPECT_EQ(r.code, kPkOk);
        EXPECT_TRUE(r.t.output.empty());
        EXPECT_EQ(r.t.writes, std::vector<unsigned int>{0});
    }
}

TEST(Explode, DamagedStreamsNeverOverrun)
{
    Bytes plain = Text(20000);
    Bytes packed = RunImplode(plain, kPkAscii, 4096).t.output;
    std::mt19937 gen(11);
    for (int i = 0; i < 300; ++i) {
        Bytes damaged = packed;
        for (int k = 0; k < 1 + i % 5; ++k)
            damaged[2 + gen() % (damaged.size() - 2)] ^= static_cast<uint8_t>(1u << (gen() % 8));
        if (i % 3 == 0)
            damaged.resize(2 + gen() % (damaged.size() - 2));
        Result r = RunExplode(damaged);
        EXPECT_TRUE(r.code == kPkOk || r.code == kPkAbort || r.code == kPkBadData) << r.code;
    }
    for (int i = 0; i < 100; ++i) {
        Bytes junk = RandomBytes(3000, 100 + i);
        junk[0] = static_cast<uint8_t>(i % 2);
        junk[1] = static_cast<uint8_t>(4 + i % 3);
        Result r = RunExplode(junk);
        EXPECT_TRUE(r.code == kPkOk || r.code == kPkAbort);
    }
}

TEST(Implode, ArgumentChecksCallNoCallback)
{
    Result r = RunImplode(FromString("abc"), kPkBinary, 8192);
    EXPECT_EQ(r.code, kPkBadDictSize);
    EXPECT_EQ(r.t.reads, 0);
    EXPECT_TRUE(r.t.writes.empty());
    r = RunImplode(FromString("abc"), 2, 4096);
    EXPECT_EQ(r.code, kPkBadType);
    EXPECT_EQ(r.t.reads, 0);
}

TEST(Implode, KnownStreams)
{
    struct Case {
        const char* name;
        Bytes input;
        unsigned int type;
        unsigned int dict;
        Bytes expected;
    };
    auto pairAt = [](unsigned distance) {
        // "QZ", distance - 2 filler bytes that hold no pair twice (steps of 7, then of 3),
        // then "QZ" again.
        Bytes b = {'Q', 'Z'};
        for (unsigned i = 0; b.size() < distance; ++i)
            b.push_back(static_cast<uint8_t>(i < 256 ? i * 7 : i * 3));
        b.push_back('Q');
        b.push_back('Z');
        return b;
    };
    auto literals = [](StreamBuilder& s, const Bytes& b, size_t from, size_t to) -> StreamBuilder& {
        for (size_t i = from; i < to; ++i)
            s.Byte(b[i]);
        return s;
    };
    std::vector<Case> cases;
    cases.push_back({"empty", {}, kPkBinary, 4096, {0x00, 0x06, 0x01, 0xFF}});
    cases.push_back({"empty, ascii 1024", {}, kPkAscii, 1024, {0x01, 0x04, 0x01, 0xFF}});
    {
        Bytes in(8, 'e');
        in.push_back('f');
        // Two literals, length 6 (code 0101) at distance 2 (high 0, low 0001), a literal.
        cases.push_back({"run", in, kPkBinary, 4096,
                         StreamBuilder(0, 6).Byte('e').Byte('e').Code("1").Code("0101").Code("11")
                             .Number(1, 6).Byte('f').End().Done()});
    }
    {
        Bytes in = pairAt(300);
        StreamBuilder s(0, 6);
        cases.push_back({"pair 300 back", in, kPkBinary, 4096, literals(s, in, 0, in.size()).End().Done()});
    }
    {
        Bytes in = pairAt(200);
        StreamBuilder s(0, 6);
        // Length 2: high part of 199 >> 2 = 49 (00001110), low 3 in two bits.
        literals(s, in, 0, in.size() - 2).Code("1").Code("101").Code("00001110").Number(3, 2);
        cases.push_back({"pair 200 back", in, kPkBinary, 4096, s.End().Done()});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Result r = RunImplode(c.input, c.type, c.dict);
        EXPECT_EQ(r.code, kPkOk);
        EXPECT_EQ(r.t.output, c.expected);
    }
}

TEST(Implode, RoundTrips)
{
    const std::vector<std::pair<const char*, Bytes>> inputs = {
        {"empty", {}},
        {"one byte", {0x41}},
        {"text", Text(50000)},
        {"random", RandomBytes(30000, 1)},
        {"zeros", Bytes(70000, 0)},
        {"database", DatabaseLike(100000)},
        {"chunk size", Text(4096)},
        {"two chunks", DatabaseLike(8192)},
    };
    for (const auto& [name, data] : inputs) {
        for (unsigned type : {kPkBinary, kPkAscii}) {
            for (unsigned dict : {1024u, 2048u, 4096u}) {
                SCOPED_TRACE(std::string(name) + " type " + std::to_string(type) + " dict " +
                             std::to_string(dict));
                Result packed = RunImplode(data, type, dict);
                ASSERT_EQ(packed.code, kPkOk);
                Result unpacked = RunExplode(packed.t.output);
                EXPECT_EQ(unpacked.code, kPkOk);
                EXPECT_TRUE(unpacked.t.output == data);
                EXPECT_EQ(packed.t.crcIn, unpacked.t.crcOut);
            }
        }
    }
}

TEST(Implode, SameInputSameOutputWhateverTheReadSizes)
{
    const Bytes data = DatabaseLike(30000);
    const Bytes whole = RunImplode(data, kPkAscii, 4096).t.output;
    for (size_t piece : {1, 7, 1000, 4095}) {
        SCOPED_TRACE(piece);
        EXPECT_TRUE(RunImplode(data, kPkAscii, 4096, piece).t.output == whole);
        if (piece < 5)
            continue;  // explode needs 5 bytes from its first read
        Result back = RunExplode(whole, piece);
        EXPECT_EQ(back.code, kPkOk);
        EXPECT_TRUE(back.t.output == data);
    }
}

TEST(Implode, BlockSizesOfTheWrites)
{
    const Bytes data = RandomBytes(20000, 5);
    Result packed = RunImplode(data, kPkBinary, 4096);
    ASSERT_GT(packed.t.writes.size(), 2u);
    for (size_t i = 0; i + 1 < packed.t.writes.size(); ++i)
        EXPECT_EQ(packed.t.writes[i], 2048u);
    Result unpacked = RunExplode(packed.t.output);
    ASSERT_EQ(unpacked.t.writes.size(), 5u);
    for (size_t i = 0; i + 1 < unpacked.t.writes.size(); ++i)
        EXPECT_EQ(unpacked.t.writes[i], 4096u);
    EXPECT_EQ(unpacked.t.writes.back(), 20000u - 4 * 4096u);
    // An output of whole blocks ends with an empty write.
    Result exact = RunExplode(RunImplode(Bytes(8192, 'q'), kPkBinary, 4096).t.output);
    EXPECT_EQ(exact.t.writes, (std::vector<unsigned int>{4096, 4096, 0}));
}

TEST(Crc32, UpdateWithoutInversion)
{
    const std::string s = "123456789";
    uint32_t len = static_cast<uint32_t>(s.size());
    uint32_t crc = 0xFFFFFFFF;
    // The standard check value comes out when the caller inverts before and after.
    EXPECT_EQ(~Crc32Update(s.data(), &len, &crc), 0xCBF43926u);
    uint32_t zero = 0;
    EXPECT_EQ(Crc32Update(s.data(), &zero, &crc), crc);
    // Piecewise equals whole.
    uint32_t a = 4, b = 5, c = 0x12345678;
    uint32_t mid = Crc32Update(s.data(), &a, &c);
    EXPECT_EQ(Crc32Update(s.data() + 4, &b, &mid), Crc32Update(s.data(), &len, &c));
    EXPECT_EQ(ZipCrc32(0, s.data(), s.size()), 0xCBF43926u);
}

}  // namespace
