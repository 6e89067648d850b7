#include "Support/LogCapture.hpp"

#include "Path.hpp"

#include <gtest/gtest.h>
#include <string>

using R3DSDK::Path;
using R3DSDKTest::LogCapture;

TEST(PathTest, AddsEachDirectoryOnceWithATrailingSeparator) {
    Path path;
    EXPECT_EQ(path.AddPath("/a"), 0);
    EXPECT_EQ(path.AddPath("/b\\"), 1);
    {
        LogCapture log;
        EXPECT_EQ(path.AddPath("/a/"), -2);
        EXPECT_EQ(log.finish(), "[FAIL INT. ] path '/a/' already exists at index 0\n");
    }
    // Case and spelling count: these are other directories.
    EXPECT_EQ(path.AddPath("/A"), 2);
    EXPECT_EQ(path.AddPath("/b/"), 3);

    const auto& entries = path.Entries();
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].directory, "/a/");
    EXPECT_EQ(entries[1].directory, "/b\\");
    EXPECT_EQ(entries[3].directory, "/b/");
    for (unsigned int i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].idx, i);
        EXPECT_EQ(entries[i].status, 1);
        EXPECT_EQ(entries[i].major, 0u);
    }
}

TEST(PathTest, RefusesAnEleventhDirectory) {
    Path path;
    for (int i = 0; i < 10; ++i) {
        ASSERT_EQ(path.AddPath(("/d" + std::to_string(i)).c_str()), i);
    }
    LogCapture log;
    EXPECT_EQ(path.AddPath("/d10"), -1);
    // The limit is tested before the duplicate.
    EXPECT_EQ(path.AddPath("/d0"), -1);
    EXPECT_EQ(log.finish(), "[FAIL INT. ] too many paths\n[FAIL INT. ] too many paths\n");
    EXPECT_EQ(path.Entries().size(), 10u);
}
