// The clip wrappers against entry-point tables filled with fakes, which record
// what the wrappers pass to the decoder library.
#include "StandinTestSupport.hpp"

#include "IStringTransfer.hpp"
#include "R3DSDK.hpp"

#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace {

struct Recorded {
    int calls = 0;
    const char* entry = "";
    void* handle = nullptr;
    void* otherHandle = nullptr;
    std::size_t first = 0;
    std::size_t second = 0;
    std::size_t third = 0;
    const void* pointer = nullptr;
    R3DSDK::VideoDecodeJob job;
    std::uint32_t words[2] = {};
};

Recorded recorded;
void* const clipHandle = reinterpret_cast<void*>(0xC11B);
void* const metadataHandle = reinterpret_cast<void*>(0x3E7A);
const char* storedText = nullptr; // what the fake text entries store; null: nothing
bool textEntryResult = true;

void note(const char* entry, void* handle) {
    ++recorded.calls;
    recorded.entry = entry;
    recorded.handle = handle;
}

void* openClip(const char* path) {
    note("AAC", nullptr);
    recorded.pointer = path;
    return std::strcmp(path, "none") == 0 ? nullptr : clipHandle;
}
void releaseClip(void* clip) {
    note("AAA", clip);
}
int decode(void* clip, std::size_t track, std::size_t frame, R3DSDK::VideoDecodeJob* job) {
    note("AAM", clip);
    recorded.first = track;
    recorded.second = frame;
    recorded.pointer = job;
    recorded.job = *job;
    return 0;
}
int frameMetadata(void* clip, void* metadata, std::size_t frame) {
    note("ABG", clip);
    recorded.otherHandle = metadata;
    recorded.first = frame;
    return 0;
}
int frameMetadataSince(void* clip, void* metadata, std::size_t frame, void* previous, bool*) {
    note("ACF", clip);
    recorded.otherHandle = metadata;
    recorded.first = frame;
    recorded.pointer = previous;
    return 0;
}
bool clipText(void* clip, const char*, R3DSDK::IStringTransfer* transfer) {
    note("ABM", clip);
    if (storedText != nullptr) {
        transfer->Store(storedText);
    }
    return textEntryResult;
}
bool rmdXmp(void* clip, R3DSDK::IStringTransfer* transfer) {
    return clipText(clip, nullptr, transfer);
}
int fileList(void* clip, std::size_t index, R3DSDK::IStringTransfer* transfer) {
    recorded.first = index;
    return clipText(clip, nullptr, transfer) ? 0 : 3;
}
int matrices(void* clip, std::size_t frame, const R3DSDK::ImageProcessingSettings&,
             R3DSDK::ColorMatrices&) {
    note("ADB", clip);
    recorded.first = frame;
    return 0;
}
bool videoOffset(void* clip, std::size_t file, std::size_t track, std::size_t frame,
                 unsigned long long&, unsigned long long&) {
    note("ACA", clip);
    recorded.first = file;
    recorded.second = track;
    recorded.third = frame;
    return true;
}
void* newMetadata(void* object) {
    note("BAB", nullptr);
    recorded.pointer = object;
    std::memcpy(recorded.words, object, sizeof recorded.words);
    return metadataHandle;
}
void* noMetadata(void*) {
    note("BAB", nullptr);
    return nullptr;
}
void releaseMetadata(void* metadata) {
    note("BAA", metadata);
}
bool metadataText(void* metadata, const char*, R3DSDK::IStringTransfer* transfer) {
    note("BAH", metadata);
    if (storedText != nullptr) {
        transfer->Store(storedText);
    }
    return storedText != nullptr;
}
bool lut(float*, int, float*, int, int, R3DSDK::ImageColorSpace, R3DSDK::ImageGammaCurve,
         R3DSDK::ToneMap, R3DSDK::RollOff, unsigned int) {
    note("HAF", nullptr);
    return true;
}
int saveLut(const char*, int, R3DSDK::ImageColorSpace, R3DSDK::ImageGammaCurve, R3DSDK::ToneMap,
            R3DSDK::RollOff, unsigned int) {
    note("HAE", nullptr);
    return 0;
}

class ClipTest : public ::testing::Test {
protected:
    void SetUp() override {
        recorded = Recorded();
        storedText = nullptr;
        textEntryResult = true;
        clipApi.R3D_AAC = openClip;
        clipApi.R3D_AAA = releaseClip;
        clipApi.R3D_AAM = decode;
        clipApi.R3D_ABG = frameMetadata;
        clipApi.R3D_ACF = frameMetadataSince;
        clipApi.R3D_ABM = clipText;
        clipApi.R3D_ABX = rmdXmp;
        clipApi.R3D_ACM = fileList;
        clipApi.R3D_ADB = matrices;
        clipApi.R3D_ACA = videoOffset;
        metadataApi.R3D_BAB = newMetadata;
        metadataApi.R3D_BAA = releaseMetadata;
        metadataApi.R3D_BAH = metadataText;
        tables.global.R3D_HAF = lut;
        tables.global.R3D_HAE = saveLut;
    }

    R3DSDKTest::FakeTables tables;
    R3DSDK::ClipApi& clipApi = tables.clip;
    R3DSDK::MetadataApi& metadataApi = tables.metadata;
};

} // namespace

TEST_F(ClipTest, ReleasesEachHandleOnceAndOnlyWhenThereIsOne) {
    {
        R3DSDK::Clip clip("/clips/A001.r3d");
        EXPECT_STREQ(static_cast<const char*>(recorded.pointer), "/clips/A001.r3d");
        recorded.calls = 0;
    }
    EXPECT_EQ(recorded.calls, 1);
    EXPECT_STREQ(recorded.entry, "AAA");
    EXPECT_EQ(recorded.handle, clipHandle);

    {
        R3DSDK::Metadata metadata;
        // The library sees the object with its two words already set.
        EXPECT_EQ(recorded.pointer, &metadata);
        EXPECT_EQ(recorded.words[0], 1u);
        EXPECT_EQ(recorded.words[1], 16u);
        recorded.calls = 0;
    }
    EXPECT_EQ(recorded.calls, 1);
    EXPECT_STREQ(recorded.entry, "BAA");
    EXPECT_EQ(recorded.handle, metadataHandle);

    {
        R3DSDK::Clip clip("none");
        metadataApi.R3D_BAB = noMetadata;
        R3DSDK::Metadata metadata;
        recorded.calls = 0;
    }
    EXPECT_EQ(recorded.calls, 0);
}

TEST_F(ClipTest, GetFrameMetadataUsesThePreviousFrameOnlyWhenItHasAHandle) {
    R3DSDK::Clip clip("/clips/A001.r3d");
    R3DSDK::Metadata current;
    R3DSDK::Metadata previous;
    metadataApi.R3D_BAB = noMetadata;
    R3DSDK::Metadata empty;

    clip.GetFrameMetadata(current, 7, nullptr, nullptr);
    EXPECT_STREQ(recorded.entry, "ABG");
    clip.GetFrameMetadata(current, 8, &empty, nullptr);
    EXPECT_STREQ(recorded.entry, "ABG");
    EXPECT_EQ(recorded.first, 8u);

    bool changed = false;
    clip.GetFrameMetadata(current, 9, &previous, &changed);
    EXPECT_STREQ(recorded.entry, "ACF");
    EXPECT_EQ(recorded.handle, clipHandle);
    EXPECT_EQ(recorded.otherHandle, metadataHandle);
    EXPECT_EQ(recorded.first, 9u);
    EXPECT_EQ(recorded.pointer, metadataHandle);
}

TEST_F(ClipTest, TextsComeBackThroughATransfer) {
    R3DSDK::Clip clip("/clips/A001.r3d");
    R3DSDK::Metadata metadata;

    EXPECT_EQ(clip.MetadataItemAsString("camera_model"), "");
    EXPECT_EQ(metadata.MetadataItemAsString("lens_okalu_telvar_dynamic"), "");
    storedText = "V-RAPTOR 8K VV";
    EXPECT_EQ(clip.MetadataItemAsString("camera_model"), "V-RAPTOR 8K VV");
    EXPECT_EQ(metadata.MetadataItemAsString("frame_absolute_timecode"), "V-RAPTOR 8K VV");
    EXPECT_EQ(recorded.handle, metadataHandle);

    // GetRmdXmp hands the text over only when the library says so; FileList
    // always does.
    std::string out = "kept";
    textEntryResult = false;
    EXPECT_FALSE(clip.GetRmdXmp(out));
    EXPECT_EQ(out, "kept");
    EXPECT_EQ(clip.FileList(2, out), 3);
    EXPECT_EQ(out, "V-RAPTOR 8K VV");
    textEntryResult = true;
    storedText = "<xmp/>";
    EXPECT_TRUE(clip.GetRmdXmp(out));
    EXPECT_EQ(out, "<xmp/>");
}

TEST_F(ClipTest, FillsInTheArgumentsThatAShortFormLeavesOut) {
    R3DSDK::Clip clip("/clips/A001.r3d");
    R3DSDK::ImageProcessingSettings settings;
    alignas(8) unsigned char matrixStorage[256] = {};
    auto& matrices = reinterpret_cast<R3DSDK::ColorMatrices&>(matrixStorage);

    clip.GetCameraMatrices(settings, matrices);
    EXPECT_EQ(recorded.first, std::numeric_limits<std::size_t>::max());
    R3DSDK::GetCameraMatrices(clip, 12, settings, matrices);
    EXPECT_EQ(recorded.first, 12u);

    unsigned long long offset = 0;
    unsigned long long size = 0;
    clip.FileVideoOffsetAndSize(3, 5, offset, size);
    EXPECT_EQ(recorded.first, 3u);
    EXPECT_EQ(recorded.second, 0u);
    EXPECT_EQ(recorded.third, 5u);
}

TEST_F(ClipTest, DecodingPassesACopyOfTheJobWithTheExtensionResolved) {
    R3DSDK::Clip clip("/clips/A001.r3d");
    int target = 0;
    const void* extensionObject[2] = {nullptr, &target};
    R3DSDK::VideoDecodeJob job;
    job.Fields[0] = 0xABCD;
    job.Extension = extensionObject;

    clip.DecodeVideoFrame(4, job);
    EXPECT_STREQ(recorded.entry, "AAM");
    EXPECT_EQ(recorded.first, 0u);
    EXPECT_EQ(recorded.second, 4u);
    EXPECT_NE(recorded.pointer, &job);
    EXPECT_EQ(recorded.job.Fields[0], 0xABCDu);
    EXPECT_EQ(recorded.job.Extension, &target);
    EXPECT_EQ(job.Extension, extensionObject);

    job.Extension = nullptr;
    clip.VideoTrackDecodeFrame(1, 6, job);
    EXPECT_EQ(recorded.first, 1u);
    EXPECT_EQ(recorded.job.Extension, nullptr);
}

TEST_F(ClipTest, FreeFunctionsRefuseNullTablesWithoutCallingTheLibrary) {
    float table[8] = {};
    EXPECT_FALSE(R3DSDK::CreateRWGLog3G10ToOutputTransform3DLut(
        nullptr, 8, R3DSDK::ImageColorRec709, R3DSDK::ImageGammaBT1886, R3DSDK::ToneMapMedium,
        R3DSDK::RollOffSoft, 0));
    EXPECT_FALSE(R3DSDK::CreateRWGLog3G10ToOutputTransformLuts(
        table, 8, nullptr, 4, 0, R3DSDK::ImageColorRec709, R3DSDK::ImageGammaBT1886,
        R3DSDK::ToneMapMedium, R3DSDK::RollOffSoft, 0));
    EXPECT_EQ(R3DSDK::SaveRWGLog3G10ToOutputTransform3DLut(
                  nullptr, 8, R3DSDK::ImageColorRec709, R3DSDK::ImageGammaBT1886,
                  R3DSDK::ToneMapMedium, R3DSDK::RollOffSoft, 0),
              5);
    EXPECT_EQ(recorded.calls, 0);

    EXPECT_TRUE(R3DSDK::CreateRWGLog3G10ToOutputTransform3DLut(
        table, 8, R3DSDK::ImageColorRec709, R3DSDK::ImageGammaBT1886, R3DSDK::ToneMapMedium,
        R3DSDK::RollOffSoft, 0));
    EXPECT_EQ(recorded.calls, 1);
}

TEST(InternalCheckSettings, RefusesOnlyFullGradedPixelsWithoutTheNeededField) {
    R3DSDK::ImageProcessingSettings settings; // field 12 is 3, field 316 is 1
    R3DSDK::ImageProcessingSettings lacking;
    lacking.Field316 = 0;
    R3DSDK::ImageProcessingSettings older = lacking;
    older.Field12 = 2;
    R3DSDK::ImageProcessingSettings negative = lacking;
    negative.Field12 = 0xFFFFFFFF; // -1 as the signed field it is

    struct Case {
        R3DSDK::VideoPixelType type;
        const R3DSDK::ImageProcessingSettings* settings;
        bool expected;
    };
    const auto other = static_cast<R3DSDK::VideoPixelType>(0x12345678);
    const Case cases[] = {
        {R3DSDK::VideoPixelTypeRBHF, &lacking, false},
        {R3DSDK::VideoPixelTypeRBHA, &lacking, false},
        {R3DSDK::VideoPixelTypeRBHF, &settings, true},
        {R3DSDK::VideoPixelTypeRBHF, &older, true},
        {R3DSDK::VideoPixelTypeRBHF, &negative, true},
        {R3DSDK::VideoPixelTypeRBHF, nullptr, true},
        {other, &lacking, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(R3DSDK::InternalCheckSettings(c.type, c.settings), c.expected);
    }
}
