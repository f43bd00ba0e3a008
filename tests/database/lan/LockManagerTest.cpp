// The lock manager's grants, queue and releases, run on one engine that is its own manager.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "records/RecordBuffer.h"
#include "database/DbEngine.h"
#include "platform/host/Format.h"

namespace {

class ManagerEngine : public CDbEngine {
public:
    explicit ManagerEngine(const std::string& name) {
        m_sComputerName = name;
        m_sLockMngrName = name;
        m_bLockMngrOnLine = true;
    }
};

struct Op {
    char what;  // 'L' request, 'u' release, 'D' the computer dropped (logged off, unreachable)
    const char* owner;
    uint8_t kind;
    uint32_t value;
};

struct ManagerCase {
    const char* name;
    std::vector<Op> ops;
    std::vector<std::string> granted;
    std::vector<std::string> queued;
};

std::vector<std::string> Describe(const std::vector<stLockSpec>& list) {
    std::vector<std::string> out;
    for (const stLockSpec& s : list)
        out.push_back(Format("%s:%u:%u", s.sOwner.c_str(), static_cast<unsigned>(s.nKind), s.nValue));
    return out;
}

constexpr uint32_t kAll = 0xFFFFFFFF;

TEST(LockManagerTest, GrantsQueueAndReleases) {
    const std::vector<ManagerCase> cases = {
        {"first request granted", {{'L', "B", 255, kAll}}, {"B:255:4294967295"}, {}},
        {"second request queued, not answered",
         {{'L', "B", 255, kAll}, {'L', "C", 255, kAll}},
         {"B:255:4294967295"},
         {"C:255:4294967295"}},
        {"asking again: re-granted, stored once",
         {{'L', "B", 6, 5}, {'L', "B", 6, 5}},
         {"B:6:5"},
         {}},
        {"queued once however often asked",
         {{'L', "B", 6, 5}, {'L', "C", 6, 5}, {'L', "C", 6, 5}},
         {"B:6:5"},
         {"C:6:5"}},
        {"release grants the queued request",
         {{'L', "B", 6, 5}, {'L', "C", 6, 5}, {'u', "B", 6, 5}},
         {"C:6:5"},
         {}},
        {"release grants the first request for that same lock",
         {{'L', "B", 255, kAll}, {'L', "C", 6, kAll}, {'L', "D", 6, kAll}, {'L', "E", 255, kAll},
          {'u', "B", 255, kAll}},
         {"C:6:4294967295", "E:255:4294967295"},
         {"D:6:4294967295"}},
        {"release of a lock not held is ignored",
         {{'L', "B", 6, 5}, {'u', "C", 6, 5}, {'u', "B", 6, 6}},
         {"B:6:5"},
         {}},
        {"an aborted wait leaves the queue",
         {{'L', "B", 255, kAll}, {'L', "C", 255, kAll}, {'u', "C", 255, kAll}, {'u', "B", 255, kAll}},
         {},
         {}},
        {"a dropped computer's grants go to the next, its requests go",
         {{'L', "B", 255, kAll}, {'L', "B", 6, 1}, {'L', "C", 255, kAll}, {'L', "B", 6, 2},
          {'L', "C", 6, 2}, {'D', "B", 0, 0}},
         {"C:255:4294967295", "C:6:2"},
         {}},
        {"a dropped computer's queued request goes",
         {{'L', "B", 255, kAll}, {'L', "C", 255, kAll}, {'L', "D", 255, kAll}, {'D', "C", 0, 0},
          {'u', "B", 255, kAll}},
         {"D:255:4294967295"},
         {}},
        {"the manager's own requests queue like any other",
         {{'L', "B", 255, kAll}, {'L', "A", 255, kAll}, {'u', "B", 255, kAll}},
         {"A:255:4294967295"},
         {}},
    };
    for (const ManagerCase& c : cases) {
        ManagerEngine engine("A");
        for (const Op& op : c.ops) {
            stLockSpec spec{op.owner, op.kind, op.value};
            if (op.what == 'L')
                engine.ProcessUserLockRequest(spec);
            else if (op.what == 'u')
                engine.ProcessUserUnlockNotice(spec);
            else
                engine.DropLocksOfComputer(op.owner);
        }
        EXPECT_EQ(Describe(engine.m_aGrantedLocks), c.granted) << c.name;
        EXPECT_EQ(Describe(engine.m_aLockRequestQueue), c.queued) << c.name;
    }
}

TEST(LockManagerTest, LoneCopyTakesLocksWithoutMessages) {
    // No manager on line: nothing is asked and nothing is sent.
    char folder[] = "/tmp/dq_lanlock_XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string path = std::string(folder) + "/LONE.DBS";
    SetStampUserCode(1);
    CDbEngine engine;
    ASSERT_NE(engine.OpenDB(path, 1), 0);
    // The file header area, lock bytes included, as a database has it.
    std::vector<uint8_t> area(LOC_START_TABLES - DB_LOCK_AREA_LOC, 0);
    ASSERT_NE(engine.WriteDbBlock(DB_LOCK_AREA_LOC, area.data(), static_cast<uint32_t>(area.size()), true), 0u);
    EXPECT_TRUE(engine.WaitForLockPermission('D', "save", 0, kAll, false, false, nullptr));
    EXPECT_FALSE(engine.m_bWaitingForLock);
    EXPECT_EQ(engine.GetIncomingMessages().Size(), 0u);
    EXPECT_EQ(engine.m_nLockRequests, 0u);
    EXPECT_TRUE(engine.LockDatabase("save"));
    EXPECT_EQ(engine.IsDatabaseLocked(3), 1);
    EXPECT_TRUE(engine.UnlockDatabase());
    EXPECT_EQ(engine.IsDatabaseLocked(1), 0);
    engine.CloseDB();
    std::filesystem::remove_all(folder);
}

}  // namespace
