// Text clips read end to end: the client layer started on the stand-in
// decoder library, clips opened and read through R3DSDK::Clip and Metadata.
#include "Support/Standin.hpp"

#include "R3DSDK.hpp"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

const std::string shortPacket =
    "7A/00/01/02/03/04/05/06/07/08/09/0A/0B/0C/0D/0E/0F/10/11/12/13/14/15/16/17/18/19/1A/1B/1C/"
    "1D/1E/1F/20/21/22/23";

class TextClipTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(R3DSDK::InitializeSdk(R3DSDKTest::standinDirectory("default").c_str(), 0), 0);
        char pattern[] = "/tmp/okalu-clip-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        directory = pattern;
    }
    void TearDown() override {
        for (const std::string& file : written) {
            std::remove(file.c_str());
        }
        rmdir(directory.c_str());
        R3DSDK::FinalizeSdk();
    }

    std::string write(const std::string& name, const std::string& content) {
        const std::string path = directory + "/" + name;
        std::ofstream(path, std::ios::binary) << content;
        written.push_back(path);
        return path;
    }

    std::string directory;
    std::vector<std::string> written;
};

std::string frameItem(const R3DSDK::Clip& clip, std::size_t frame, const char* key) {
    R3DSDK::Metadata metadata;
    clip.GetFrameMetadata(metadata, frame);
    return metadata.MetadataItemAsString(key);
}

// The highest resident memory of this process so far, in bytes.
long peakResidentBytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
#ifdef __APPLE__
    return usage.ru_maxrss;
#else
    return usage.ru_maxrss * 1024L;
#endif
}

} // namespace

TEST_F(TextClipTest, ReadsClipItemsFramesAndFrameItems) {
    const std::string path = write("A001.r3d", "OKALU-TAFE TEXT CLIP 1\r\n"
                                               "# written by a test\r\n"
                                               "\r\n"
                                               "image_width = 8192\r\n"
                                               "image_height=4320\r\n"
                                               "  camera_model =  V-RAPTOR 8K VV  \r\n"
                                               "framerate = 59.94\r\n"
                                               "frame 01:00:00.12 " +
                                                   shortPacket +
                                                   "\r\n"
                                                   "frame\t01:00:00:13\r\n"
                                                   "camera_model_id = 2\r\n"
                                                   "frame - 5A 01 02\r\n");
    const auto clip = std::make_shared<R3DSDK::Clip>(path.c_str());
    ASSERT_EQ(clip->Status(), 0);
    EXPECT_EQ(clip->MetadataItemAsInt(R3DSDK::RMD_IMAGE_WIDTH), 8192u);
    EXPECT_EQ(clip->MetadataItemAsInt(R3DSDK::RMD_IMAGE_HEIGHT), 4320u);
    EXPECT_EQ(clip->MetadataItemAsString(R3DSDK::RMD_CAMERA_MODEL), "V-RAPTOR 8K VV");
    EXPECT_FLOAT_EQ(clip->MetadataItemAsFloat(R3DSDK::RMD_FRAMERATE), 59.94f);
    EXPECT_EQ(clip->MetadataItemAsInt("camera_model_id"), 2u);
    // Absent items, and items asked for as another kind, read as nothing.
    EXPECT_EQ(clip->MetadataItemAsString("lens_model"), "");
    EXPECT_EQ(clip->MetadataItemAsInt(R3DSDK::RMD_CAMERA_MODEL), 0u);
    EXPECT_EQ(clip->MetadataItemAsInt(R3DSDK::RMD_FRAMERATE), 0u);

    ASSERT_EQ(clip->VideoFrameCount(), 3u);
    EXPECT_EQ(frameItem(*clip, 0, R3DSDK::RMD_FRAME_ABSOLUTE_TIMECODE), "01:00:00.12");
    EXPECT_EQ(frameItem(*clip, 0, R3DSDK::RMD_LENS_OKALU_TELVAR_DYNAMIC), shortPacket);
    EXPECT_EQ(frameItem(*clip, 1, R3DSDK::RMD_FRAME_ABSOLUTE_TIMECODE), "01:00:00:13");
    EXPECT_EQ(frameItem(*clip, 1, R3DSDK::RMD_LENS_OKALU_TELVAR_DYNAMIC), "");
    EXPECT_EQ(frameItem(*clip, 2, R3DSDK::RMD_FRAME_ABSOLUTE_TIMECODE), "");
    EXPECT_EQ(frameItem(*clip, 2, R3DSDK::RMD_LENS_OKALU_TELVAR_DYNAMIC), "5A 01 02");

    // One metadata object refilled frame by frame; a frame past the end
    // fails and leaves nothing of the frame before.
    R3DSDK::Metadata metadata;
    EXPECT_EQ(clip->GetFrameMetadata(metadata, 0), 0);
    EXPECT_NE(clip->GetFrameMetadata(metadata, 3), 0);
    EXPECT_EQ(metadata.MetadataItemAsString(R3DSDK::RMD_LENS_OKALU_TELVAR_DYNAMIC), "");
}

TEST_F(TextClipTest, AnUnreadableClipHasANonZeroStatusAndNothingElse) {
    struct Case {
        const char* name;
        bool exists;
        std::string content;
        int status;
    };
    const Case cases[] = {
        {"missing.r3d", false, "", 1},
        {"empty.r3d", true, "", 2},
        {"binary.r3d", true, std::string("RED2\0\1\2\n", 8), 2},
        {"lower.r3d", true, "okalu-tafe text clip 1\nimage_width = 8\n", 2},
        {"longer.r3d", true, "OKALU-TAFE TEXT CLIP 12\r\nimage_width = 8\n", 2},
        {"notime.r3d", true, "OKALU-TAFE TEXT CLIP 1\nimage_width = 8\nframe\n", 3},
        {"noequals.r3d", true, "OKALU-TAFE TEXT CLIP 1\nimage_width 8\n", 3},
        {"twice.r3d", true, "OKALU-TAFE TEXT CLIP 1\nframerate = 24\nframerate = 25\n", 3},
        {"width.r3d", true, "OKALU-TAFE TEXT CLIP 1\nimage_width = 8K\n", 3},
        {"huge.r3d", true, "OKALU-TAFE TEXT CLIP 1\nimage_height = 4294967296\n", 3},
        {"rate.r3d", true, "OKALU-TAFE TEXT CLIP 1\nframerate = fast\n", 3},
        {"blankkey.r3d", true, "OKALU-TAFE TEXT CLIP 1\ncamera model = X\n", 3},
    };
    for (const Case& c : cases) {
        const std::string path = c.exists ? write(c.name, c.content) : directory + "/" + c.name;
        R3DSDK::Clip clip(path.c_str());
        EXPECT_EQ(clip.Status(), c.status) << c.name;
        EXPECT_EQ(clip.VideoFrameCount(), 0u) << c.name;
        EXPECT_EQ(clip.MetadataItemAsInt(R3DSDK::RMD_IMAGE_WIDTH), 0u) << c.name;
    }

    R3DSDK::Clip directoryClip(directory.c_str());
    EXPECT_EQ(directoryClip.Status(), 1);
}

TEST_F(TextClipTest, AFileThatIsNoClipIsRefusedWithoutReadingItWhole) {
    // Sparse files of 256 MB, so they cost no disk: one with a first line that is not the format
    // line, one whose first line never ends. Read whole, either would raise the peak memory by
    // far more than the bound.
    const off_t size = 256L << 20;
    const long bound = 16L << 20;
    for (const std::string& start : {std::string("RED camera footage\n"), std::string()}) {
        SCOPED_TRACE(start);
        const std::string path = write("large.r3d", start);
        ASSERT_EQ(truncate(path.c_str(), size), 0);
        // In a child of its own, whose peak memory is not that of the tests before.
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const long before = peakResidentBytes();
            const int status = R3DSDK::Clip(path.c_str()).Status();
            _exit(status != 2 ? 1 : peakResidentBytes() - before > bound ? 2 : 0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_NE(WEXITSTATUS(status), 1) << "the file was not refused as no clip";
        EXPECT_NE(WEXITSTATUS(status), 2) << "the file was read whole";
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
}
