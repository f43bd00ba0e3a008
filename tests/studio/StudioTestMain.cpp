// The suite's entry point: leaves without running exit handlers once every result is written,
// since the window layer's application object must not be destroyed after Qt's own statics.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::fflush(nullptr);
    std::_Exit(result);
}
