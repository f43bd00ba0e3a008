#pragma once
// Checks on running copies (tests/driver) for the multi-copy suites.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/DriverProcess.h"

// Another copy's notices reach `copy` in their own time: refreshes it (the timer's call; a refresh
// that finds another one running is tried again) and asks `query` until it answers `expected`,
// as a person looking at the screen would see it come; the failure tells the last answer.
::testing::AssertionResult SeesAfterRefresh(DriverProcess& copy, const std::string& query,
                                            const std::vector<std::string>& expected);
