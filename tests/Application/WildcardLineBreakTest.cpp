// A wildcard as a user gives it, over frames some of whose names hold line breaks.
#include "ToolProcess.hpp"

#include "Sources/VantTestFiles.hpp"
#include "Support/ExrFixtures.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(WildcardLineBreakTest, AStarReachesFramesWhoseNamesHoldLineBreaks) {
    ExrFixtures::TemporaryDirectory directory;
    ExrFixtures::writeFileBytes(
        directory.file("clip.vant"),
        VantTestFiles::vantText({VantTestFiles::row2(0, "1", "00:00:00:00")}));
    const std::string names[] = {"frame\n1.exr", "frame\r2.exr", "frame-3.exr"};
    for (const std::string& name : names) {
        ExrFixtures::writeScanLineExr(directory.file(name));
    }
    const ToolResult result = runTool({{"-s", "clip.vant", "-d", "*.exr"},
                                       directory.path().string(),
                                       STANDIN_DIRECTORY,
                                       "",
                                       false});
    EXPECT_EQ(result.output.find("3 destination files were found.\n"), 25u) << result.output;
    EXPECT_EQ(result.exitStatus, 0);
    for (const std::string& name : names) {
        EXPECT_TRUE(ExrFixtures::readStringAttribute(directory.file(name),
                                                     ExrFixtures::lensCorrectionAttributeName))
            << name;
    }
}

} // namespace
