// The layer's application object for the whole suite, on Qt's offscreen platform.
#include "platform/ui/TestHooks.h"

#include <gtest/gtest.h>

namespace {

class UiEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ui::test::EnsureApplication(); }
};

const auto* const kUiEnvironment = ::testing::AddGlobalTestEnvironment(new UiEnvironment);

} // namespace
