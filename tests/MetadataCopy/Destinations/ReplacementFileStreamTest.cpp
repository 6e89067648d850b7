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

// OpenEXR goes back to fill in the table of chunk offsets; any write may overwrite earlier ones or
// leave a hole, and the commit must still take the file for what was written. Pieces from one
// byte to more than two of the 64 KiB blocks that the writes are gathered into overwrite bytes
// both passed to the file and still gathered.
TEST(ReplacementFileStreamTest, OverwritesAndHolesAreCommittedAsWritten) {
    ExrFixtures::TemporaryDirectory directory;
    const std::string path = directory.file("a.exr");
    ExrFixtures::writeFileBytes(path, "old content");
    std::mt19937 random(7);
    std::string expected;
    const OpenDirectory opened(directory.path().string());
    ReplacementFileStream stream(opened.descriptor, "a.exr");
    for (int write = 0; write < 400; ++write) {
        std::uint64_t position = expected.size();
        if (write % 3 == 1 && !expected.empty()) {
            position = random() % expected.size(); // back into what was written
        } else if (write % 50 == 0) {
            position += random() % 3000; // beyond the end: a hole
        }
        stream.seekp(position);
        std::string bytes(1 + random() % (write % 10 == 0 ? 140000 : 300), '\0');
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

bool makesUnnamedFiles(const std::string& directory) {
#ifdef O_TMPFILE
    const int descriptor = ::open(directory.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (descriptor >= 0) {
        ::close(descriptor);
        return true;
    }
#endif
    static_cast<void>(directory);
    return false;
}

// Written without a name, the new file cannot be reached by another program; one that writes
// "a.exr.tmp" meanwhile writes a file of its own, which stays, and the rewrite fails.
TEST(ReplacementFileStreamTest, WithoutANameUntilCommittedAnotherProgramsFileAtTheNameStays) {
    ExrFixtures::TemporaryDirectory directory;
    if (!makesUnnamedFiles(directory.path().string())) {
        GTEST_SKIP() << "the file system under the test directory makes no file without a name";
    }
    const std::string path = directory.file("a.exr");
    ExrFixtures::writeFileBytes(path, "old content");
    const OpenDirectory opened(directory.path().string());
    ReplacementFileStream stream(opened.descriptor, "a.exr");
    writeText(stream, "new text, written in full");
    stream.flushToDisk();
    EXPECT_FALSE(exists(path + ".tmp"));
    ExrFixtures::writeFileBytes(path + ".tmp", "render");
    try {
        stream.commit();
        FAIL() << "the commit succeeded";
    } catch (const Exception& exception) {
        EXPECT_STREQ(exception.what(), "File is being written by another process.");
    }
    EXPECT_EQ(ExrFixtures::readFileBytes(path), "old content");
    EXPECT_EQ(ExrFixtures::readFileBytes(path + ".tmp"), "render");
}

} // namespace
