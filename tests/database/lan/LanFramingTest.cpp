// The receive framing: lines end at their line feed, every "~" goes, pieces are carried.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/LanServer.h"

namespace {

struct FramingCase {
    const char* name;
    std::vector<std::string> receives;
    // The lines each receive gives, receive by receive.
    std::vector<std::vector<std::string>> lines;
};

std::string Long(size_t n) {
    std::string s;
    for (size_t i = 0; i < n; ++i) s += static_cast<char>('a' + i % 26);
    return s;
}

TEST(LanFramingTest, ReceivesBecomeLines) {
    const std::string longText = Long(1500);
    const std::vector<FramingCase> cases = {
        {"one message", {"A:L:1:255:-1:1~\n"}, {{"A:L:1:255:-1:1"}}},
        {"two messages in one receive", {"A:M:1:6:5:1~\nA:M:1:6:7:2~\n"}, {{"A:M:1:6:5:1", "A:M:1:6:7:2"}}},
        {"split over two receives", {"A:L:1:2", "55:-1:1~\n"}, {{}, {"A:L:1:255:-1:1"}}},
        {"split between ~ and line feed", {"A:u:1:6:3:9~", "\n"}, {{}, {"A:u:1:6:3:9"}}},
        {"~ inside the text", {"x~y~z~\n"}, {{"xyz"}}},
        {"~ inside, split after one", {"ab~", "cd~\n"}, {{}, {"abcd"}}},
        {"cut at 1024 bytes", {longText.substr(0, 1024), longText.substr(1024) + "~\n"}, {{}, {longText}}},
        {"empty lines dropped", {"\n\nA:1:LOG_ON~\n\n"}, {{"A:1:LOG_ON"}}},
        {"CR LF ends a line too", {"A:1:LOG_OFF~\r\n"}, {{"A:1:LOG_OFF"}}},
        {"a line and a piece", {"one~\ntw", "o~\n"}, {{"one"}, {"two"}}},
    };
    for (const FramingCase& c : cases) {
        CListeningThreadMemoryBuffer buffer;
        for (size_t i = 0; i < c.receives.size(); ++i)
            EXPECT_EQ(buffer.TakeReceived(c.receives[i].data(), c.receives[i].size()), c.lines[i])
                << c.name << ", receive " << i;
        EXPECT_TRUE(buffer.GetCarry().empty()) << c.name;
    }
}

TEST(LanFramingTest, OverLongLineIsDroppedAndTheNextArrives) {
    CListeningThreadMemoryBuffer buffer;
    const std::string chunk(1024, 'x');
    size_t sent = 0;
    while (sent <= CListeningThreadMemoryBuffer::kMaxCarry + 2048) {
        EXPECT_TRUE(buffer.TakeReceived(chunk.data(), chunk.size()).empty());
        sent += chunk.size();
        EXPECT_LE(buffer.GetCarry().size(), CListeningThreadMemoryBuffer::kMaxCarry);
    }
    EXPECT_EQ(buffer.GetDroppedLines(), 1u);
    const std::string rest = "xxx~\nB:M:2:6:1:4~\n";
    EXPECT_EQ(buffer.TakeReceived(rest.data(), rest.size()), std::vector<std::string>{"B:M:2:6:1:4"});
}

TEST(LanFramingTest, MessageListKeepsOrderAndWakesWaiters) {
    CLanMessageList list;
    EXPECT_FALSE(list.WaitForLines(1));
    list.Append(std::vector<std::string>{"a", "b"});
    list.Append("c");
    EXPECT_TRUE(list.WaitForLines(1));
    std::string line;
    std::vector<std::string> taken;
    while (list.TakeFirst(line)) taken.push_back(line);
    EXPECT_EQ(taken, (std::vector<std::string>{"a", "b", "c"}));
}

struct PortCase {
    const char* identity;
    uint16_t port;
};

TEST(LanFramingTest, PortFromIdentity) {
    const std::vector<PortCase> cases = {
        {"SERVER1.STUDIO.DBS", 27369},  // CRC-32 0x81D36AE9
        {"SERVER1.S19.DBS", 1990},      // CRC-32 0x8E8C03C6: low 16 bits 966 lie below 1024
    };
    for (const PortCase& c : cases) EXPECT_EQ(GetLanPort(c.identity), c.port) << c.identity;
}

}  // namespace
