// A frame that okalu-tafe rewrites, met by what happens around it on shared storage: a second
// run over the same frame, a run killed half-way, a new render put in the frame's place, and
// frames reached through symbolic links. Each run is the built program as a child process,
// stopped with SIGSTOP while its temporary file is being written.
#include "ToolProcess.hpp"

#include "Sources/VantTestFiles.hpp"
#include "Support/ExrFixtures.hpp"

#include <boost/filesystem.hpp>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace fs = boost::filesystem;

namespace {

std::string failed(const std::string& name, const std::string& message) {
    return "\r ERR: Failed to copy to \"" + name + "\". (" + message + ")\n";
}

class RewriteSafetyTest : public ::testing::Test {
protected:
    void SetUp() override {
        ExrFixtures::writeFileBytes(
            path("clip.vant"),
            VantTestFiles::vantText({VantTestFiles::row2(0, "1", "01:00:00:00")}));
    }

    std::string path(const std::string& name) const { return directory.file(name); }

    // 2048 x 1024 half RGBA, uncompressed: 16 MB, so that writing and flushing the temporary
    // file takes long enough to be caught at it.
    void writeLargeFrame(const std::string& name, unsigned int seed) const {
        ExrFixtures::ExrFileSpec spec;
        spec.width = 2048;
        spec.height = 1024;
        spec.compression = Imf::NO_COMPRESSION;
        spec.timeCode = Imf::TimeCode(1, 0, 0, 0);
        spec.seed = seed;
        ExrFixtures::writeScanLineExr(path(name), spec);
    }

    ToolInvocation invocation(const std::string& destination) const {
        ToolInvocation result;
        result.arguments = {"-s", "clip.vant", "-d", destination};
        result.workingDirectory = directory.path().string();
        result.decoderLibraryDirectory = STANDIN_DIRECTORY;
        return result;
    }

    // Stops the tool while it writes the frame's temporary file: false when the run got past it
    // before it could be stopped.
    bool stopAtTemporaryFile(ToolProcess& tool, const std::string& name) const {
        const std::string temporaryPath = path(name + ".tmp");
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        struct stat status;
        while (::lstat(temporaryPath.c_str(), &status) != 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(50));
        }
        return tool.stop() && ::lstat(temporaryPath.c_str(), &status) == 0;
    }

    std::vector<std::string> temporaryFiles(const fs::path& where) const {
        std::vector<std::string> names;
        for (fs::directory_iterator entry(where), end; entry != end; ++entry) {
            if (entry->path().extension() == ".tmp") {
                names.push_back(entry->path().filename().string());
            }
        }
        return names;
    }

    // Compared without printing 16 MB on a failure.
    bool holds(const std::string& name, const std::string& bytes) const {
        return ExrFixtures::readFileBytes(path(name)) == bytes;
    }

    ExrFixtures::TemporaryDirectory directory;
};

TEST_F(RewriteSafetyTest, ASecondRunRefusesAFrameInWorkAndAKilledRunLeavesItWhole) {
    writeLargeFrame("frame.exr", 1);
    fs::copy_file(path("frame.exr"), path("original.exr"));
    const std::string original = ExrFixtures::readFileBytes(path("frame.exr"));

    ToolProcess first(invocation("frame.exr"));
    ASSERT_TRUE(stopAtTemporaryFile(first, "frame.exr")) << "the run was not caught at work";
    struct stat temporaryBefore, temporaryAfter;
    ASSERT_EQ(::lstat(path("frame.exr.tmp").c_str(), &temporaryBefore), 0);

    const ToolResult second = runTool(invocation("frame.exr"));
    EXPECT_EQ(second.exitStatus, 1);
    EXPECT_NE(second.output.find(failed("frame.exr", "File is being written by another process.")),
              std::string::npos)
        << second.output;
    EXPECT_EQ(second.errors, "");
    // The first run's temporary file is still its own, the frame untouched.
    ASSERT_EQ(::lstat(path("frame.exr.tmp").c_str(), &temporaryAfter), 0);
    EXPECT_EQ(temporaryAfter.st_ino, temporaryBefore.st_ino);
    EXPECT_EQ(temporaryAfter.st_size, temporaryBefore.st_size);
    EXPECT_TRUE(holds("frame.exr", original));

    first.signal(SIGKILL);
    EXPECT_EQ(first.finish().terminatingSignal, SIGKILL);
    EXPECT_TRUE(holds("frame.exr", original));

    // The next run removes the killed run's leftover and rewrites the frame whole.
    const ToolResult third = runTool(invocation("frame.exr"));
    EXPECT_EQ(third.exitStatus, 0) << third.output;
    EXPECT_TRUE(ExrFixtures::readStringAttribute(path("frame.exr"),
                                                 ExrFixtures::lensCorrectionAttributeName));
    EXPECT_TRUE(ExrFixtures::rawChunks(path("frame.exr")) ==
                ExrFixtures::rawChunks(path("original.exr")));
    EXPECT_TRUE(temporaryFiles(directory.path()).empty());
}

TEST_F(RewriteSafetyTest, AFrameReplacedDuringARunKeepsTheNewerFile) {
    writeLargeFrame("frame.exr", 1);
    writeLargeFrame("newer.exr", 2);
    const std::string newer = ExrFixtures::readFileBytes(path("newer.exr"));

    ToolProcess tool(invocation("frame.exr"));
    ASSERT_TRUE(stopAtTemporaryFile(tool, "frame.exr")) << "the run was not caught at work";
    fs::rename(path("newer.exr"), path("frame.exr"));
    tool.signal(SIGCONT);
    const ToolResult result = tool.finish();

    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(
        result.output.find(failed("frame.exr", "Destination file changed during the rewrite.")),
        std::string::npos)
        << result.output;
    EXPECT_TRUE(holds("frame.exr", newer)) << "the older frame's rewrite replaced the newer";
    EXPECT_TRUE(temporaryFiles(directory.path()).empty());
}

TEST_F(RewriteSafetyTest, ALinkedFrameIsRewrittenWhereTheLinksLeadAndTheLinksStay) {
    fs::create_directories(directory.path() / "links");
    fs::create_directories(directory.path() / "store");
    ExrFixtures::ExrFileSpec spec;
    spec.timeCode = Imf::TimeCode(1, 0, 0, 0);
    ExrFixtures::writeScanLineExr(path("store/plate.exr"), spec);
    // A chain of two relative links, each taken against its own directory.
    fs::create_symlink("links/shot.exr", path("frame.exr"));
    fs::create_symlink("../store/plate.exr", path("links/shot.exr"));

    const ToolResult result = runTool(invocation("frame.exr"));
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_NE(result.output.find("\r  OK: Successfully copied to \"frame.exr\".\n"),
              std::string::npos)
        << result.output;
    EXPECT_TRUE(fs::is_symlink(path("frame.exr")));
    EXPECT_EQ(fs::read_symlink(path("frame.exr")), "links/shot.exr");
    EXPECT_EQ(fs::read_symlink(path("links/shot.exr")), "../store/plate.exr");
    EXPECT_TRUE(ExrFixtures::readStringAttribute(path("store/plate.exr"),
                                                 ExrFixtures::lensCorrectionAttributeName));
    for (const char* where : {"", "links", "store"}) {
        EXPECT_TRUE(temporaryFiles(directory.path() / where).empty()) << where;
    }
}

} // namespace
