// The packing primitives: exact byte layouts, and bounds checks on reading.

#include <gtest/gtest.h>

#include "ByteBuilder.h"
#include "records/RecordBuffer.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Write(const std::function<void(CRecordWriter&)>& fill, bool expectValid = true)
{
    Bytes buffer(RECORD_BUFFER_SIZE);
    CRecordWriter w(buffer.data(), MAX_RECORD_DATA_LENGTH);
    fill(w);
    EXPECT_EQ(w.IsValid(), expectValid) << w.GetError();
    buffer.resize(w.GetPosition());
    return buffer;
}

TEST(RecordBufferTest, StringLayouts)
{
    EXPECT_EQ(Write([](CRecordWriter& w) { PutString(w, ""); }), (Bytes{1, 0, 0, 0, 0}));
    EXPECT_EQ(Write([](CRecordWriter& w) { PutString(w, "abc"); }),
              (Bytes{4, 0, 0, 0, 'a', 'b', 'c', 0}));

    std::string longest(4095, 'x');
    Bytes stored = Write([&](CRecordWriter& w) { PutString(w, longest); });
    ASSERT_EQ(stored.size(), 4u + 4096u);
    EXPECT_EQ(ByteBuilder().Str(longest).bytes, stored);
}

TEST(RecordBufferTest, StringTooLongIsRefusedAndKept)
{
    std::string text(4096, 'y');
    Bytes buffer(RECORD_BUFFER_SIZE);
    CRecordWriter w(buffer.data(), MAX_RECORD_DATA_LENGTH);
    EXPECT_FALSE(PutString(w, text));
    EXPECT_FALSE(w.IsValid());
    EXPECT_NE(w.GetError().find("String too big, length 4097"), std::string::npos) << w.GetError();
    EXPECT_EQ(text.size(), 4096u);  // the caller's text is untouched

    // Later fields do nothing once the writer failed.
    EXPECT_FALSE(PutUInt32(w, 7u));
    EXPECT_EQ(w.GetPosition(), 0u);

    std::vector<std::string> array{"a", std::string(5000, 'z')};
    Bytes b2(RECORD_BUFFER_SIZE);
    CRecordWriter w2(b2.data(), MAX_RECORD_DATA_LENGTH);
    EXPECT_FALSE(PutStringArray(w2, array));
    EXPECT_EQ(array[1].size(), 5000u);
}

TEST(RecordBufferTest, ReadingStringsByStoredLength)
{
    struct Case {
        const char* name;
        Bytes bytes;
        std::string text;
        uint32_t position;
    };
    const Case cases[] = {
        {"length 0 advances 4", {0, 0, 0, 0, 'q'}, "", 4},
        {"length 1 advances 5", {1, 0, 0, 0, 0, 'q'}, "", 5},
        {"length 1 with a character", {1, 0, 0, 0, 'z'}, "", 5},
        {"text to the first NUL", {5, 0, 0, 0, 'a', 0, 'b', 'c', 0}, "a", 9},
        {"no NUL at all", {3, 0, 0, 0, 'a', 'b', 'c'}, "abc", 7},
    };
    for (const Case& c : cases) {
        CRecordReader r(c.bytes.data(), static_cast<uint32_t>(c.bytes.size()));
        std::string s = "old";
        EXPECT_TRUE(GetString(r, s)) << c.name;
        EXPECT_EQ(s, c.text) << c.name;
        EXPECT_EQ(r.GetPosition(), c.position) << c.name;
    }
}

TEST(RecordBufferTest, ScalarsAreLittleEndianAndExact)
{
    Bytes b = Write([](CRecordWriter& w) {
        PutByte(w, static_cast<uint8_t>(0xAB));
        PutUInt32(w, 0x01020304u);
        PutUInt32(w, int32_t{-2});
        PutUInt32(w, 0.1f);
        PutDouble(w, -1.5);
    });
    EXPECT_EQ(b, ByteBuilder().U8(0xAB).U32(0x01020304).I32(-2).F32(0.1f).F64(-1.5).bytes);
    EXPECT_EQ(Bytes(b.begin() + 1, b.begin() + 5), (Bytes{4, 3, 2, 1}));

    CRecordReader r(b.data(), static_cast<uint32_t>(b.size()));
    uint8_t u8 = 0;
    uint32_t u32 = 0;
    int32_t i32 = 0;
    float f = 0;
    double d = 0;
    GetByte(r, u8);
    GetUInt32(r, u32);
    GetUInt32(r, i32);
    GetUInt32(r, f);
    GetDouble(r, d);
    EXPECT_TRUE(r.IsValid());
    EXPECT_EQ(u8, 0xAB);
    EXPECT_EQ(u32, 0x01020304u);
    EXPECT_EQ(i32, -2);
    EXPECT_EQ(f, 0.1f);
    EXPECT_EQ(d, -1.5);
    EXPECT_EQ(r.GetPosition(), b.size());
}

TEST(RecordBufferTest, ArrayLayouts)
{
    EXPECT_EQ(Write([](CRecordWriter& w) { PutUIntArray(w, {}); }), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(Write([](CRecordWriter& w) { PutDoubleArray(w, {1.0, 2.5}); }),
              ByteBuilder().F64s({1.0, 2.5}).bytes);
    EXPECT_EQ(Write([](CRecordWriter& w) { PutDoubleArray(w, {1.0, 2.5}); }).size(), 4u + 16u);
    EXPECT_EQ(Write([](CRecordWriter& w) { PutStringArray(w, {"a", ""}); }),
              ByteBuilder().Strs({"a", ""}).bytes);
    Bytes pairs = Write([](CRecordWriter& w) { PutCodeValueArray(w, {{3, 2.0}, {-1, 0.0}}); });
    EXPECT_EQ(pairs, ByteBuilder().Pairs({{3, 2.0}, {-1, 0.0}}).bytes);
    EXPECT_EQ(pairs.size(), 4u + 2 * 12u);
}

TEST(RecordBufferTest, ReadingAnArrayReplacesItsContents)
{
    Bytes zero{0, 0, 0, 0};
    std::vector<uint32_t> numbers{1, 2, 3};
    CRecordReader r(zero.data(), 4);
    EXPECT_TRUE(GetUIntArray(r, numbers));
    EXPECT_TRUE(numbers.empty());

    Bytes two = ByteBuilder().Pairs({{5, 1.25}, {6, 0.0}}).bytes;
    std::vector<stCodeValuePair> pairs{{9, 9.0}};
    CRecordReader r2(two.data(), static_cast<uint32_t>(two.size()));
    EXPECT_TRUE(GetCodeValueArray(r2, pairs));
    EXPECT_EQ(pairs, (std::vector<stCodeValuePair>{{5, 1.25}, {6, 0.0}}));
}

TEST(RecordBufferTest, DamagedFieldsFailAndLeaveTheFieldAlone)
{
    struct Case {
        const char* name;
        Bytes bytes;
        std::function<bool(CRecordReader&)> read;
    };
    std::string s = "keep";
    std::vector<std::string> strings{"keep"};
    std::vector<uint32_t> numbers{7};
    std::vector<double> doubles{7.0};
    std::vector<stCodeValuePair> pairs{{7, 7.0}};
    uint32_t u = 7;
    double d = 7.0;
    const Case cases[] = {
        {"truncated 32-bit", {1, 2, 3}, [&](CRecordReader& r) { return GetUInt32(r, u); }},
        {"truncated double", {1, 2, 3, 4, 5, 6, 7}, [&](CRecordReader& r) { return GetDouble(r, d); }},
        {"string length past the end", {10, 0, 0, 0, 'a', 'b'},
         [&](CRecordReader& r) { return GetString(r, s); }},
        {"string length 0xFFFFFFFF", {0xFF, 0xFF, 0xFF, 0xFF, 'a'},
         [&](CRecordReader& r) { return GetString(r, s); }},
        {"length without its byte", {1, 0, 0, 0}, [&](CRecordReader& r) { return GetString(r, s); }},
        {"string count too large", {0xFF, 0xFF, 0xFF, 0x7F},
         [&](CRecordReader& r) { return GetStringArray(r, strings); }},
        {"string element cut short", ByteBuilder().U32(2).Str("a").U32(9).bytes,
         [&](CRecordReader& r) { return GetStringArray(r, strings); }},
        {"number count too large", ByteBuilder().U32(3).U32(1).U32(2).bytes,
         [&](CRecordReader& r) { return GetUIntArray(r, numbers); }},
        {"double count too large", ByteBuilder().U32(0x20000000).F64(1).bytes,
         [&](CRecordReader& r) { return GetDoubleArray(r, doubles); }},
        {"pair count too large", ByteBuilder().U32(2).I32(1).F64(1).bytes,
         [&](CRecordReader& r) { return GetCodeValueArray(r, pairs); }},
    };
    for (const Case& c : cases) {
        CRecordReader r(c.bytes.data(), static_cast<uint32_t>(c.bytes.size()));
        EXPECT_FALSE(c.read(r)) << c.name;
        EXPECT_FALSE(r.IsValid()) << c.name;
        uint8_t b = 0;
        EXPECT_FALSE(GetByte(r, b)) << c.name << ": a failed cursor stays failed";
    }
    EXPECT_EQ(s, "keep");
    EXPECT_EQ(strings, std::vector<std::string>{"keep"});
    EXPECT_EQ(numbers, std::vector<uint32_t>{7});
    EXPECT_EQ(doubles, std::vector<double>{7.0});
    EXPECT_EQ(pairs.size(), 1u);
    EXPECT_EQ(u, 7u);
    EXPECT_EQ(d, 7.0);
}

TEST(RecordBufferTest, WriterNeverPassesItsCapacity)
{
    Bytes buffer(16, 0xEE);
    CRecordWriter w(buffer.data(), 10);
    EXPECT_TRUE(PutDouble(w, 1.0));
    EXPECT_FALSE(PutUInt32(w, 1u));
    EXPECT_FALSE(w.IsValid());
    EXPECT_FALSE(w.GetError().empty());
    EXPECT_EQ(w.GetPosition(), 8u);
    EXPECT_EQ(buffer[8], 0xEE);
    EXPECT_EQ(buffer[10], 0xEE);

    // A record bigger than a block can hold is refused, not cut.
    FakeRecordStore store;
    std::vector<std::string> lines(20, std::string(4000, 'n'));
    CRecordWriter big(store);
    EXPECT_FALSE(PutStringArray(big, lines));
    EXPECT_LE(big.GetPosition(), MAX_RECORD_DATA_LENGTH);
}

TEST(RecordBufferTest, SettingsBlocks)
{
    FakeRecordStore store;
    std::vector<uint8_t> block(1024);
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<uint8_t>(i * 7);
    EXPECT_EQ(PutBlock1024(store, block.data()), 1024u);
    EXPECT_EQ(store.Written(1024), block);

    store.Load(block);
    CRecordReader r(store);
    std::vector<uint8_t> back(1024);
    EXPECT_TRUE(GetBlock1024(r, back.data()));
    EXPECT_EQ(r.GetPosition(), 1024u);
    EXPECT_EQ(back, block);

    std::vector<uint8_t> b84(84, 0x5A);
    EXPECT_EQ(PutBlock84(store, b84.data()), 84u);

    EXPECT_EQ(PutStringList(store, {"a", "bc"}), 4u + 6u + 7u);
    EXPECT_EQ(store.Written(17), ByteBuilder().Strs({"a", "bc"}).bytes);

    std::vector<uint8_t> format(56, 3);
    EXPECT_EQ(PutFormatRecord(store, format.data(), {0.5, 1.5}), 56u + 4u + 16u);
    Bytes expected = ByteBuilder().Fill(56, 3).F64s({0.5, 1.5}).bytes;
    EXPECT_EQ(store.Written(76), expected);
    store.Load(expected);
    CRecordReader rf(store);
    std::vector<uint8_t> formatBack(56);
    std::vector<double> tabs{9.0};
    EXPECT_TRUE(GetFormatRecord(rf, formatBack.data(), tabs));
    EXPECT_EQ(formatBack, format);
    EXPECT_EQ(tabs, (std::vector<double>{0.5, 1.5}));

    store.Load(Bytes(100, 0));
    CRecordReader shortRead(store);
    EXPECT_FALSE(GetBlock1024(shortRead, back.data()));
}

TEST(RecordBufferTest, ReaderIsLimitedToTheRecordLength)
{
    FakeRecordStore store;
    store.Load({1, 0, 0, 0, 0});  // the rest of the buffer holds 0xCD filler
    CRecordReader r(store);
    std::string s;
    EXPECT_TRUE(GetString(r, s));
    uint8_t b = 0;
    EXPECT_FALSE(GetByte(r, b));
}

}  // namespace
