#include "Support/LogCapture.hpp"

#include "KeyValueStore.hpp"
#include "Log.hpp"

#include <gtest/gtest.h>

using R3DSDKTest::LogCapture;

namespace {

struct LevelCase {
    const char* description;
    bool storeKeyZero;
    unsigned long long level;
    const char* expected;
};

class LogLevelTest : public testing::TestWithParam<LevelCase> {};

TEST_P(LogLevelTest, PrintsOnlyAtLevel255WithoutAddingALineEnd) {
    const LevelCase& levelCase = GetParam();
    LogCapture capture;
    capture.store.Reset();
    if (levelCase.storeKeyZero) {
        capture.store.AddUint64(0, levelCase.level);
    }
    R3DSDK::LOG("[LOAD PATH ] %s %d", "dir", 7);
    EXPECT_EQ(capture.finish(), levelCase.expected) << levelCase.description;
}

INSTANTIATE_TEST_SUITE_P(Levels, LogLevelTest,
                         testing::Values(LevelCase{"255", true, 255, "[LOAD PATH ] dir 7"},
                                         LevelCase{"254", true, 254, ""},
                                         LevelCase{"256", true, 256, ""},
                                         LevelCase{"0", true, 0, ""},
                                         LevelCase{"no key 0", false, 0, ""}));

TEST(LogTest, WithoutStoreFollowsTheFallbackLevel) {
    LogCapture capture;
    R3DSDK::g_keyValueStore = nullptr;
    R3DSDK::g_logLevel = 0;
    R3DSDK::LOG("silent\n");
    R3DSDK::g_logLevel = 255;
    R3DSDK::LOG("loud %u\n", 3u);
    EXPECT_EQ(capture.finish(), "loud 3\n");
}

TEST(LogTest, StoreOverridesTheFallbackLevel) {
    LogCapture capture(0);
    R3DSDK::g_logLevel = 255;
    R3DSDK::LOG("silent\n");
    EXPECT_EQ(capture.finish(), "");
}

} // namespace
