#include "MetadataCopy/Destinations/ReplacementFileStream.hpp"

#include "Exception/Exception.hpp"
#include "Support/ExrFixtures.hpp"

#include <boost/filesystem/operations.hpp>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
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

TEST(ReplacementFileStreamTest, AFileInUseAtTheTemporaryNameStaysAndLeftoversGo) {
    struct Case {
        const char* name;
        // What stands at a.exr.tmp: another process's locked file, the original itself (as
        // another run's exchange leaves it), or a leftover nobody locks.
        bool locked;
        bool original;
        bool inUse;
    };
    for (const Case& found :
         {Case{"locked", true, false, true}, Case{"the original", false, true, true},
          Case{"leftover", false, false, false}}) {
        ExrFixtures::TemporaryDirectory directory;
        const std::string path = directory.file("a.exr");
        ExrFixtures::writeFileBytes(path, "old content");
        if (found.original) {
            ASSERT_EQ(::link(path.c_str(), (path + ".tmp").c_str()), 0);
        } else {
            ExrFixtures::writeFileBytes(path + ".tmp", "other content");
        }
        // Another opening of the file stands for another process's lock.
        const int other = ::open((path + ".tmp").c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_TRUE(!found.locked || ::flock(other, LOCK_EX | LOCK_NB) == 0);
        const int original = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);

        const OpenDirectory opened(directory.path().string());
        try {
            ReplacementFileStream stream(opened.descriptor, "a.exr", original);
            writeText(stream, "new");
            stream.commit();
            EXPECT_FALSE(found.inUse) << found.name << " was removed";
            EXPECT_EQ(ExrFixtures::readFileBytes(path), "new") << found.name;
            EXPECT_FALSE(exists(path + ".tmp")) << found.name;
        } catch (const Exception& exception) {
            EXPECT_TRUE(found.inUse) << found.name;
            EXPECT_STREQ(exception.what(), "File is being written by another process.");
            EXPECT_EQ(ExrFixtures::readFileBytes(path + ".tmp"),
                      found.original ? "old content" : "other content")
                << found.name;
        }
        ::close(original);
        ::close(other);
    }
}

} // namespace
