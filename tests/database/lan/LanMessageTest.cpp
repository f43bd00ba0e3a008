// Message texts: formatting, parsing, descriptions; computer names and the server computer.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "database/DbEngine.h"
#include "database/LanServer.h"
#include "platform/host/HostName.h"

namespace {

struct ParseCase {
    const char* text;
    const char* sender;
    char type;
    uint8_t user;
    uint8_t kind;
    uint32_t value;
};

TEST(LanMessageTest, Parse) {
    const std::vector<ParseCase> cases = {
        {"127.0.0.2:L:3:255:-1:7", "127.0.0.2", 'L', 3, 255, 0xFFFFFFFF},
        {"PC1:M:1:6:-2:1", "PC1", 'M', 1, 6, 0xFFFFFFFE},
        {"PC1:M:1:254:-2147483648:2", "PC1", 'M', 1, 254, 0x80000000},
        {"PC1:l:2:6:12345:3", "PC1", 'l', 2, 6, 12345},
        {"PC1::2:6:5:3", "PC1", 0, 2, 6, 5},
        {"PC1:u:300:6:5:3", "PC1", 'u', 44, 6, 5},  // truncated to 8 bits
        {"PC1:3:LOG_ON", "", 0, 0, 0, 0xFFFFFFFF},  // fewer than 6 fields
        {"", "", 0, 0, 0, 0xFFFFFFFF},
    };
    for (const ParseCase& c : cases) {
        stLanMessage m = CDbEngine::ParseLanMessage(c.text);
        EXPECT_EQ(m.sSender, c.sender) << c.text;
        EXPECT_EQ(m.cType, c.type) << c.text;
        EXPECT_EQ(m.nUserCode, c.user) << c.text;
        EXPECT_EQ(m.nKind, c.kind) << c.text;
        EXPECT_EQ(m.nValue, c.value) << c.text;
    }
}

TEST(LanMessageTest, Describe) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"A:L:1:255:-1:4", "[A#4] A:MSG_REQUESTLOCK database"},
        {"A:l:1:6:-1:5", "[A#5] A:MSG_GRANTLOCK table 6"},
        {"A:u:1:6:-2:6", "[A#6] A:MSG_DATAUNLOCKED table 6 resequence"},
        {"A:M:1:6:17:7", "[A#7] A:MSG_DATAMODIFIED table 6, key 17"},
        {"A:M:1:254:2048:8", "[A#8] A:MSG_DATAMODIFIED header file location 2048"},
        {"A:x:1:6:1:9", "[A#9] A:NULL_MESSAGE table 6, key 1"},
    };
    for (const auto& c : cases) EXPECT_EQ(CDbEngine::DescribeLanMessage(c.first), c.second);
}

TEST(LanMessageTest, FormatNeedsTheLanAndCountsMessages) {
    CDbEngine engine;
    EXPECT_EQ(engine.FormatLanMessage('L', 255, 0xFFFFFFFF), "");
    CLanServer server;  // never started: formatting only needs it to exist
    engine.m_pLanServer = &server;
    std::string first = engine.FormatLanMessage('L', 255, 0xFFFFFFFF);
    std::string second = engine.FormatLanMessage('M', 6, 0xFFFFFFFE);
    engine.m_pLanServer = nullptr;
    EXPECT_NE(first.find(":L:"), std::string::npos);
    EXPECT_EQ(first.substr(first.find(":L:")), ":L:" + std::to_string(CDbEngine::GetCurrentUserCode()) + ":255:-1:1");
    EXPECT_EQ(second.substr(second.find(":M:")), ":M:" + std::to_string(CDbEngine::GetCurrentUserCode()) + ":6:-2:2");
    stLanMessage parsed = CDbEngine::ParseLanMessage(second);
    EXPECT_EQ(parsed.nValue, 0xFFFFFFFEu);
}

TEST(LanMessageTest, ComputerNames) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"studio-pc.example.org", "STUDIO-PC"},
        {"averyveryverylongname", "AVERYVERYVERYLO"},
        {"10.0.0.5", "10.0.0.5"},
        {"127.0.0.3", "127.0.0.3"},
        {"1.2.3", "1"},
        {"256.1.1.1", "256"},
    };
    for (const auto& c : cases) EXPECT_EQ(host::NormaliseComputerName(c.first), c.second) << c.first;
}

TEST(LanMessageTest, ServerComputerFromPath) {
    unsetenv("DORVALQUINTEX_SERVER");
    setenv("DORVALQUINTEX_COMPUTERNAME", "desk7", 1);
    EXPECT_EQ(GetServerComputerFromPath("\\\\fileserver.lan\\share\\STUDIO.DBS"), "FILESERVER");
    EXPECT_EQ(GetServerComputerFromPath("/tmp/STUDIO.DBS"), "DESK7");
    EXPECT_EQ(GetServerComputerFromPath("x"), "");
    setenv("DORVALQUINTEX_SERVER", "127.0.0.1", 1);
    EXPECT_EQ(GetServerComputerFromPath("/tmp/STUDIO.DBS"), "127.0.0.1");
    unsetenv("DORVALQUINTEX_SERVER");
    unsetenv("DORVALQUINTEX_COMPUTERNAME");
}

}  // namespace
