// A wildcard run as a user runs it, over a folder of frames some of whose names hold line breaks.
#include "ToolProcess.hpp"

#include "Sources/VantTestFiles.hpp"
#include "Support/ExrFixtures.hpp"

#include <OpenEXR/ImfTimeCode.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(WildcardLineBreakTest, AStarReachesFramesWhoseNamesHoldLineBreaks) {
    ExrFixtures::TemporaryDirectory directory;
    ExrFixtures::writeFileBytes(
        directory.file("clip.vant"),
        VantTestFiles::vantText({VantTestFiles::row2(0, "1", "01:00:00:00")}));
    std::vector<std::string> names = {"frame\n8.exr", "frame\r9.exr"};
    for (int frame = 1; frame <= 7; ++frame) {
        names.push_back("frame-" + std::to_string(frame) + ".exr");
    }
    for (const std::string& name : names) {
        ExrFixtures::ExrFileSpec spec;
        spec.timeCode = Imf::TimeCode(1, 0, 0, 0);
        ExrFixtures::writeScanLineExr(directory.file(name), spec);
    }

    ToolInvocation invocation;
    invocation.arguments = {"-s", "clip.vant", "-d", "*.exr"};
    invocation.workingDirectory = directory.path().string();
    invocation.decoderLibraryDirectory = STANDIN_DIRECTORY;
    const ToolResult result = runTool(invocation);

    const std::string found = "1 source file was found.\n9 destination files were found.\n";
    const std::string completed = "Completed!\n";
    ASSERT_GE(result.output.size(), found.size() + completed.size()) << result.output;
    EXPECT_EQ(result.output.substr(0, found.size()), found) << result.output;
    EXPECT_EQ(result.output.substr(result.output.size() - completed.size()), completed);
    EXPECT_EQ(result.errors, "");
    EXPECT_EQ(result.exitStatus, 0);
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(ExrFixtures::readStringAttribute(directory.file(name),
                                                     ExrFixtures::lensCorrectionAttributeName));
    }
}

} // namespace
