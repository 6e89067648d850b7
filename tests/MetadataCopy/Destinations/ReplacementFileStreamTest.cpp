#include "MetadataCopy/Destinations/ReplacementFileStream.hpp"

#include "Exception/Exception.hpp"
#include "Support/ExrFixtures.hpp"

#include <boost/filesystem/operations.hpp>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

using MetadataCopy::ReplacementFileStream;

bool exists(const std::string& path) {
    boost::system::error_code error;
    return boost::filesystem::symlink_status(path, error).type() !=
           boost::filesystem::file_not_found;
}

// The directory that a stream works in, as the rewrite opens it.
struct OpenDirectory {
    explicit OpenDirectory(const std::string& path)
        : descriptor(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {}
    ~OpenDirectory() { ::close(descriptor); }
    const int descriptor;
};

void writeText(ReplacementFileStream& stream, const std::string& text) {
    stream.write(text.data(), static_cast<int>(text.size()));
}

TEST(ReplacementFileStreamTest, CommitReplacesTheFileWithWhatWasWritten) {
    ExrFixtures::TemporaryDirectory directory;
    const std::string path = directory.file("a.exr");
    ExrFixtures::writeFileBytes(path, "old content");

    const OpenDirectory opened(directory.path().string());
    ReplacementFileStream stream(opened.descriptor, "a.exr");
    EXPECT_EQ(stream.temporaryName(), "a.exr.tmp");
    writeText(stream, "new ????");
    EXPECT_EQ(stream.tellp(), 8u);
    stream.seekp(4);
    writeText(stream, "text");
    // Until the commit, the old file is untouched.
    EXPECT_EQ(ExrFixtures::readFileBytes(path), "old content");
    stream.commit();

    EXPECT_EQ(ExrFixtures::readFileBytes(path), "new text");
    EXPECT_FALSE(exists(path + ".tmp"));
}

TEST(ReplacementFileStreamTest, FailedRenameRemovesTheTemporaryFileAndLeavesTheDestination) {
    ExrFixtures::TemporaryDirectory directory;
    // A directory cannot be replaced by a file.
    const std::string path = directory.file("a.exr");
    boost::filesystem::create_directory(path);
    ExrFixtures::writeFileBytes(directory.file("a.exr/inside"), "kept");

    const OpenDirectory opened(directory.path().string());
    ReplacementFileStream stream(opened.descriptor, "a.exr");
    writeText(stream, "new");
    try {
        stream.commit();
        FAIL() << "the rename succeeded";
    } catch (const Exception& exception) {
        EXPECT_STREQ(exception.what(), "Temporary file could not be renamed.");
    }
    EXPECT_FALSE(exists(path + ".tmp"));
    EXPECT_EQ(ExrFixtures::readFileBytes(directory.file("a.exr/inside")), "kept");
}

} // namespace
