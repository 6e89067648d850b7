#include "Assertion/Assertion.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

// The suites are built like the tool, with NDEBUG in optimised builds: these
// deaths also show that the check does not depend on it.
TEST(AssertionDeathTest, AFailedCheckNamesItsPlaceAndExpressionOrPrintsItsOwnMessage) {
    EXPECT_DEATH(OKALU_ASSERT(1 + 1 == 3),
                 "AssertionTest\\.cpp:[0-9]+: Assertion `1 \\+ 1 == 3' failed\\.\n");
    const unsigned int policy = 7;
    EXPECT_DEATH(OKALU_ASSERT_MESSAGE(policy < 3, "Unknown thing " + std::to_string(policy)),
                 "^Unknown thing 7\n$");
}

TEST(AssertionTest, AHoldingCheckGoesOnWithoutBuildingItsMessage) {
    int messagesBuilt = 0;
    const auto message = [&messagesBuilt] {
        ++messagesBuilt;
        return std::string("never shown");
    };
    OKALU_ASSERT(1 + 1 == 2);
    OKALU_ASSERT_MESSAGE(messagesBuilt == 0, message());
    EXPECT_EQ(messagesBuilt, 0);
}

} // namespace
