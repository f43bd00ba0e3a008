#include "platform/host/SingleInstance.h"

#include "TempFolder.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using host::SingleInstance;

TEST(SingleInstance, SecondHolderIsRefusedUntilRelease) {
    hosttest::TempFolder tmp;
    const char* old = std::getenv("XDG_RUNTIME_DIR");
    std::string saved = old ? old : "";
    setenv("XDG_RUNTIME_DIR", tmp.Path().c_str(), 1);
    EXPECT_EQ(SingleInstance::LockFolder(), tmp.Path());

    {
        SingleInstance first;
        ASSERT_TRUE(first.Acquire());
        SingleInstance second;
        EXPECT_FALSE(second.Acquire());
        EXPECT_FALSE(second.IsHeld());

        pid_t pid = fork();
        if (pid == 0) {
            // The child inherits nothing it could hold: a fresh lock attempt fails.
            SingleInstance other;
            _exit(other.Acquire() ? 1 : 0);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

        first.Release();
        EXPECT_TRUE(second.Acquire());
        SingleInstance otherName("OtherMutex");
        EXPECT_TRUE(otherName.Acquire());
    }
    SingleInstance again;
    EXPECT_TRUE(again.Acquire());  // released when the holder went away

    if (old) setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
    else unsetenv("XDG_RUNTIME_DIR");
}

TEST(SingleInstance, FallsBackToAPrivateTmpFolder) {
    const char* old = std::getenv("XDG_RUNTIME_DIR");
    std::string saved = old ? old : "";
    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(SingleInstance::LockFolder(), "/tmp/dorvalquintex-" + std::to_string(getuid()));
    if (old) setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
}

}  // namespace
