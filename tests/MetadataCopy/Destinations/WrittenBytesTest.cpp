#include "MetadataCopy/Destinations/WrittenBytes.hpp"

#include "Support/ExrFixtures.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <functional>
#include <random>
#include <string>
#include <unistd.h>

namespace {

using MetadataCopy::WrittenBytes;

// A file written at explicit positions, each write noted first, as the rewrite does.
class RecordedFile {
public:
    explicit RecordedFile(const std::string& path)
        : descriptor(::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600)) {}
    ~RecordedFile() { ::close(descriptor); }

    void write(std::uint64_t offset, const std::string& bytes) {
        ASSERT_TRUE(record.note(offset, bytes.data(), bytes.size(),
                                [this](char* target, std::uint64_t count, std::uint64_t at) {
                                    return ::pread(descriptor, target, count,
                                                   static_cast<off_t>(at)) ==
                                           static_cast<ssize_t>(count);
                                }));
        ASSERT_EQ(::pwrite(descriptor, bytes.data(), bytes.size(), static_cast<off_t>(offset)),
                  static_cast<ssize_t>(bytes.size()));
    }

    const int descriptor;
    WrittenBytes record;
};

std::string randomBytes(std::mt19937& random, std::size_t count) {
    std::string bytes(count, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(random());
    }
    return bytes;
}

// Any write may go back over earlier ones or leave a hole; the record must still match the file,
// or every rewrite would be refused as written into by another program.
TEST(WrittenBytesTest, OverwritesAndHolesMatchTheFileAsWritten) {
    ExrFixtures::TemporaryDirectory directory;
    RecordedFile file(directory.file("new"));
    std::mt19937 random(7);
    std::uint64_t length = 0;
    for (int write = 0; write < 400; ++write) {
        std::uint64_t position = length;
        if (write % 3 == 1 && length > 0) {
            position = random() % length; // back into what was written
        } else if (write % 50 == 0) {
            position += random() % 3000; // beyond the end: a hole
        }
        const std::string bytes =
            randomBytes(random, 1 + random() % (write % 10 == 0 ? 300000 : 300));
        file.write(position, bytes);
        length = std::max<std::uint64_t>(length, position + bytes.size());
    }
    EXPECT_EQ(file.record.length(), length);
    EXPECT_TRUE(file.record.isHeldBy(file.descriptor));
}

struct ChangedFile {
    std::string name;
    std::function<void(int descriptor)> change;
};

void PrintTo(const ChangedFile& changed, std::ostream* stream) {
    *stream << changed.name;
}

class WrittenBytesChangeTest : public ::testing::TestWithParam<ChangedFile> {};

// Laid out as OpenEXR writes: a header, a table of zeros, the chunks (more than a block read back
// at a time), then the table filled in entry by entry.
TEST_P(WrittenBytesChangeTest, AFileChangedAfterItsWritesDoesNotMatch) {
    ExrFixtures::TemporaryDirectory directory;
    RecordedFile file(directory.file("new"));
    std::mt19937 random(11);
    file.write(0, randomBytes(random, 1000));
    file.write(1000, std::string(800, '\0'));
    for (int chunk = 0; chunk < 100; ++chunk) {
        file.write(1800 + chunk * 3000, randomBytes(random, 3000));
    }
    for (int entry = 0; entry < 100; ++entry) {
        file.write(1000 + entry * 8, randomBytes(random, 8));
    }
    ASSERT_TRUE(file.record.isHeldBy(file.descriptor));
    GetParam().change(file.descriptor);
    EXPECT_FALSE(file.record.isHeldBy(file.descriptor));
}

void writeAt(int descriptor, std::uint64_t offset, const std::string& bytes) {
    ASSERT_EQ(::pwrite(descriptor, bytes.data(), bytes.size(), static_cast<off_t>(offset)),
              static_cast<ssize_t>(bytes.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Changes, WrittenBytesChangeTest,
    ::testing::Values(
        ChangedFile{"ByteOfAChunkChanged",
                    [](int descriptor) { writeAt(descriptor, 200000, "render"); }},
        ChangedFile{"ByteOfTheHeaderChanged",
                    [](int descriptor) { writeAt(descriptor, 3, "render"); }},
        ChangedFile{"EntryOfTheOverwrittenTableChanged",
                    [](int descriptor) { writeAt(descriptor, 1404, "render"); }},
        // The table as it was before it was filled in: what the hash took there.
        ChangedFile{"TableBackAsFirstWritten",
                    [](int descriptor) { writeAt(descriptor, 1000, std::string(800, '\0')); }},
        ChangedFile{"ByteAppended",
                    [](int descriptor) { writeAt(descriptor, 1800 + 300000, "x"); }},
        ChangedFile{"LastByteCutOff",
                    [](int descriptor) { ASSERT_EQ(::ftruncate(descriptor, 301799), 0); }}),
    [](const ::testing::TestParamInfo<ChangedFile>& info) { return info.param.name; });

} // namespace
