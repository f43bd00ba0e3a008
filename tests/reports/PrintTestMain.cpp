// The suite's entry point. The window layer's application object is a function-local static;
// destroying it at exit, after Qt's own statics, can crash, so the suite leaves without running
// exit handlers once every result is written.

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
