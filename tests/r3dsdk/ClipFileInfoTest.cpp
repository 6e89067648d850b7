// ClipFileInfo against a clip whose library answers are set by each test.
#include "StandinTestSupport.hpp"

#include "R3DSDK.hpp"

#include <cstring>
#include <gtest/gtest.h>

namespace {

struct FakeClip {
    int status = 0;
    unsigned int cameraModelId = 1;
    std::size_t files = 2;
    std::size_t headerSize = 0x1234;
    std::size_t audioHeaderSize = 64;
    bool known = true;
    unsigned long long offset = 10000;
    unsigned long long size = 5000;
    std::size_t channels = 2;
    int lookups = 0;
};

FakeClip fake;

void* openClip(const char*) {
    return &fake;
}
void releaseClip(void*) {}
int status(void*) {
    return fake.status;
}
std::size_t fileCount(void*) {
    return fake.files;
}
unsigned int intItem(void*, const char* key) {
    return std::strcmp(key, "camera_model_id") == 0 ? fake.cameraModelId : 0;
}
bool headerSizes(void*, std::size_t& header, std::size_t& audioHeader) {
    header = fake.headerSize;
    audioHeader = fake.audioHeaderSize;
    return true;
}
bool fileCounts(void*, std::size_t file, std::size_t& video, std::size_t& audio) {
    video = 100 + file;
    audio = 200 + file;
    return true;
}
bool videoOffset(void*, std::size_t, std::size_t, std::size_t, unsigned long long& offset,
                 unsigned long long& size) {
    ++fake.lookups;
    offset = fake.offset;
    size = fake.size;
    return fake.known;
}
bool audioOffset(void*, std::size_t, std::size_t, unsigned long long& offset,
                 unsigned long long& size) {
    ++fake.lookups;
    offset = fake.offset;
    size = fake.size;
    return fake.known;
}
std::size_t channels(void*) {
    return fake.channels;
}

class ClipFileInfoTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake = FakeClip();
        api.R3D_AAC = openClip;
        api.R3D_AAA = releaseClip;
        api.R3D_AAD = status;
        api.R3D_ABY = fileCount;
        api.R3D_ABK = intItem;
        api.R3D_ACJ = headerSizes;
        api.R3D_ABZ = fileCounts;
        api.R3D_ACA = videoOffset;
        api.R3D_ACC = audioOffset;
        api.R3D_AAY = channels;
    }

    R3DSDKTest::FakeTables tables;
    R3DSDK::ClipApi& api = tables.clip;
};

} // namespace

TEST_F(ClipFileInfoTest, AnUnusableClipGivesAnEmptyObject) {
    fake.status = 3;
    R3DSDK::Clip clip("A001.r3d");
    const R3DSDK::ClipFileInfo info(clip);

    EXPECT_EQ(info.R3DFileCount(), 0u);
    EXPECT_EQ(info.HeaderSize(), 0u);
    EXPECT_EQ(info.FileInfo(0), nullptr);
    R3DSDK::ClipFileInfo::VideoFrame frame{};
    R3DSDK::ClipFileInfo::AudioBlock block{};
    EXPECT_FALSE(info.VideoFrameInfo(0, 0, 0, &frame));
    EXPECT_FALSE(info.AudioBlockInfo(0, 0, &block));
    EXPECT_EQ(fake.lookups, 0);
}

TEST_F(ClipFileInfoTest, RecordsTheFilesAndTheHeaderSize) {
    R3DSDK::Clip clip("A001.r3d");
    const R3DSDK::ClipFileInfo info(clip);

    EXPECT_EQ(info.R3DFileCount(), 2u);
    EXPECT_EQ(info.HeaderSize(), 0x1234u);
    ASSERT_NE(info.FileInfo(1), nullptr);
    EXPECT_EQ(info.FileInfo(1)->videoCount, 101u);
    EXPECT_EQ(info.FileInfo(1)->audioCount, 201u);
    EXPECT_EQ(info.FileInfo(2), nullptr);
    EXPECT_FALSE(info.VideoFrameInfo(0, 0, 0, nullptr));
}

TEST_F(ClipFileInfoTest, RoundsSizesUpToPagesOnlyForPageAlignedCameras) {
    struct Case {
        unsigned int cameraModelId;
        unsigned long long size;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {2, 5000, 8192}, {1, 5000, 5000}, {2, 8192, 8192}, {0, 4097, 4097}, {3, 1, 4096},
    };
    for (const Case& c : cases) {
        fake.cameraModelId = c.cameraModelId;
        fake.size = c.size;
        R3DSDK::Clip clip("A001.r3d");
        const R3DSDK::ClipFileInfo info(clip);
        R3DSDK::ClipFileInfo::VideoFrame frame{};
        ASSERT_TRUE(info.VideoFrameInfo(0, 0, 3, &frame));
        EXPECT_EQ(frame.offset, 10000u);
        EXPECT_EQ(frame.size, c.expected) << c.cameraModelId << " " << c.size;
    }

    // A size that is negative as a signed 32-bit value clears the answer.
    fake.size = 0x80000000ull;
    R3DSDK::Clip clip("A001.r3d");
    const R3DSDK::ClipFileInfo info(clip);
    R3DSDK::ClipFileInfo::VideoFrame frame{77, 77};
    EXPECT_TRUE(info.VideoFrameInfo(0, 0, 3, &frame));
    EXPECT_EQ(frame.offset, 0u);
    EXPECT_EQ(frame.size, 0u);

    fake.known = false;
    EXPECT_FALSE(info.VideoFrameInfo(0, 0, 3, &frame));
}

TEST_F(ClipFileInfoTest, AudioBlocksIncludeTheirHeaderAndCountSamplesPerChannel) {
    fake.size = 4800;
    R3DSDK::Clip clip("A001.r3d");
    const R3DSDK::ClipFileInfo info(clip);
    R3DSDK::ClipFileInfo::AudioBlock block{};

    ASSERT_TRUE(info.AudioBlockInfo(0, 1, &block));
    EXPECT_EQ(block.offset, 10000u - 64u);
    EXPECT_EQ(block.size, 4800u + 64u);
    EXPECT_EQ(block.sampleCount, 4800u / 4u / 2u);

    // No channels: no samples, and no division by zero.
    fake.channels = 0;
    ASSERT_TRUE(info.AudioBlockInfo(0, 1, &block));
    EXPECT_EQ(block.size, 4864u);
    EXPECT_EQ(block.sampleCount, 0u);

    fake.size = 0x7FFFFFF0ull; // negative once the header is added
    block = {1, 1, 1};
    EXPECT_TRUE(info.AudioBlockInfo(0, 1, &block));
    EXPECT_EQ(block.offset, 0u);
    EXPECT_EQ(block.size, 0u);
    EXPECT_EQ(block.sampleCount, 0u);

    fake.cameraModelId = 2;
    fake.size = 4800;
    fake.channels = 1;
    R3DSDK::Clip alignedClip("A002.r3d");
    const R3DSDK::ClipFileInfo aligned(alignedClip);
    ASSERT_TRUE(aligned.AudioBlockInfo(0, 0, &block));
    EXPECT_EQ(block.size, 8192u);
    EXPECT_EQ(block.sampleCount, 1200u);
}
