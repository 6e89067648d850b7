#include "MetadataCopy/Destinations/ReplacementFileStream.hpp"

#include "Exception/Exception.hpp"
#include "Support/ExrFixtures.hpp"

#include <boost/filesystem/operations.hpp>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <random>
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

// How many bytes a stream keeps in memory for its comparison: all of them, none (a checksum from
// the start), or some (a checksum from the middle of the writes on).
class ReplacementFileStreamKeptTest : public ::testing::TestWithParam<std::uint64_t> {};

INSTANTIATE_TEST_SUITE_P(KeptOrChecksummed, ReplacementFileStreamKeptTest,
                         ::testing::Values(ReplacementFileStream::defaultKeptBytes, 0, 1 << 20));

// OpenEXR goes back to fill in the table of chunk offsets; any write may overwrite earlier ones or
// leave a hole. The copy or the checksum kept while writing must still match the file read back,
// or the commit would refuse every such file as written into by another program.
TEST_P(ReplacementFileStreamKeptTest, OverwritesAndHolesAreReadBackAsWritten) {
    ExrFixtures::TemporaryDirectory directory;
    const std::string path = directory.file("a.exr");
    ExrFixtures::writeFileBytes(path, "old content");
    std::mt19937 random(7);
    std::string expected;
    const OpenDirectory opened(directory.path().string());
    ReplacementFileStream stream(opened.descriptor, "a.exr", -1, GetParam());
    for (int write = 0; write < 400; ++write) {
        std::uint64_t position = expected.size();
        if (write % 3 == 1 && !expected.empty()) {
            position = random() % expected.size(); // back into what was written
        } else if (write % 50 == 0) {
            position += random() % 3000; // beyond the end: a hole
        }
        stream.seekp(position);
        std::string bytes(1 + random() % (write % 10 == 0 ? 90000 : 300), '\0');
        for (char& byte : bytes) {
            byte = static_cast<char>(random());
        }
        writeText(stream, bytes);
        if (expected.size() < position + bytes.size()) {
            expected.resize(position + bytes.size(), '\0');
        }
        expected.replace(position, bytes.size(), bytes);
    }
    ASSERT_NO_THROW(stream.commit());
    EXPECT_TRUE(ExrFixtures::readFileBytes(path) == expected);
}

TEST_P(ReplacementFileStreamKeptTest, AFileWrittenIntoByAnotherProgramDoesNotTakeTheNamesPlace) {
    ExrFixtures::TemporaryDirectory directory;
    const std::string path = directory.file("a.exr");
    ExrFixtures::writeFileBytes(path, "old content");
    const OpenDirectory opened(directory.path().string());
    ReplacementFileStream stream(opened.descriptor, "a.exr", -1, GetParam());
    writeText(stream, "new text, written in full");
    stream.flushToDisk();
    // As a renderer that writes its own "a.exr.tmp" without a lock: same length, other bytes.
    const int other = ::open((path + ".tmp").c_str(), O_WRONLY);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::pwrite(other, "render", 6, 4), 6);
    ::close(other);
    try {
        stream.commit();
        FAIL() << "the commit succeeded";
    } catch (const Exception& exception) {
        EXPECT_STREQ(exception.what(), "File is being written by another process.");
    }
    EXPECT_EQ(ExrFixtures::readFileBytes(path), "old content");
    EXPECT_FALSE(exists(path + ".tmp"));
}

} // namespace
