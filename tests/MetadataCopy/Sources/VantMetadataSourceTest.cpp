#include "MetadataCopy/Sources/VantMetadataSource.hpp"

#include "Exception/Exception.hpp"
#include "Sources/VantTestFiles.hpp"
#include "Support/ExrFixtures.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using MetadataCopy::VantMetadataSource;
using VantTestFiles::row2;
using VantTestFiles::vantText;

namespace {

Timecode::Timecode at(const char* text) {
    return Timecode::Timecode(text, 0.0f);
}

class VantMetadataSourceTest : public ::testing::Test {
protected:
    std::shared_ptr<VantMetadataSource> sourceFor(const std::string& text) {
        const std::string path = directory.file("clip.vant");
        ExrFixtures::writeFileBytes(path, text);
        return std::make_shared<VantMetadataSource>(path);
    }

    // The what() text of the Exception thrown by the call; fails the test
    // when nothing, or something else, is thrown.
    template <typename Call> std::string failureOf(Call call) {
        try {
            call();
        } catch (const Exception& exception) {
            return exception.what();
        }
        ADD_FAILURE() << "no Exception thrown";
        return "";
    }

    ExrFixtures::TemporaryDirectory directory;
};

TEST_F(VantMetadataSourceTest, RowInForceIsTheLastOneNotAfterTheTimecode) {
    auto source =
        sourceFor(vantText({row2(100, "10", "01:00:00:00"), row2(200, "20", "01.00.04.00")}));

    struct Case {
        const char* timecode;
        float shading;
    };
    const Case cases[] = {
        {"01:00:00:00", 10.0f}, // n = 100
        {"01:00:03:24", 10.0f}, // n = 199
        {"01:00:04:00", 20.0f}, // n = 200
        {"02:00:00:00", 20.0f}, // past the last row
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.timecode);
        const MetadataCopy::Metadata metadata = source->metadata(at(c.timecode));
        EXPECT_EQ(metadata.frameMetadata.interpolationPoints.shading,
                  std::vector<float>(6, c.shading));
    }

    EXPECT_EQ(failureOf([&] { source->metadata(at("00:59:59:24")); }),
              "No metadata available for timecode 00:59:59:24.");
    // A refused timecode leaves the source usable.
    EXPECT_EQ(source->metadata(at("01:00:00:01")).frameMetadata.interpolationPoints.shading,
              std::vector<float>(6, 10.0f));
}

TEST_F(VantMetadataSourceTest, FractionalRateCountsWholeFramesPerSecond) {
    // At 23.976 a second of timecode is 24 frames, so 00:00:01:00 is frame 24.
    auto source = sourceFor(vantText({row2(0, "1", "00:00:00:00"), row2(24, "2", "00:00:01:00")},
                                     {{"tcFps", "23.976"}}));

    EXPECT_EQ(source->metadata(at("00:00:00:23")).frameMetadata.interpolationPoints.shading,
              std::vector<float>(6, 1.0f));
    EXPECT_EQ(source->metadata(at("00:00:01:00")).frameMetadata.interpolationPoints.shading,
              std::vector<float>(6, 2.0f));
}

// Drop-frame counting (with "tcDrop" at a rate that rounds to 30 or 60, the
// first labels of every minute but each tenth name no frame) and files whose
// rows or clip ("clipDurationFrames") pass 24:00:00:00, which run on as one
// clip: before such a file, or nearer its start than its end, nothing
// answers; after it, its last row.
TEST_F(VantMetadataSourceTest, DropFrameAndMidnightCountOnlyTheFramesThatExist) {
    const std::vector<std::string> laterRows = {row2(1, "1", "x"), row2(2, "1", "x"),
                                                row2(3, "1", "x"), row2(5, "1", "x")};
    const struct {
        const char* fps;
        const char* drop;
        std::vector<std::string> rows;
        std::vector<std::pair<const char*, int>> requests; // -1: refused
        const char* clipDurationFrames = "0";
    } cases[] = {
        {"29.97",
         "1",
         {row2(0, "1", "01:00:59:29")},
         {{"01:01:00:02", 1}, {"01:01:00:03", 2}, {"01:01:00:01", -1}}},
        {"29.97", "1", {row2(0, "1", "01:09:59:29")}, {{"01:10:00:00", 1}, {"01:10:00:02", 3}}},
        {"59.94", "1", {row2(0, "1", "01:00:59:59")}, {{"01:01:00:04", 1}, {"01:01:00:05", 2}}},
        {"59.94", "1", {row2(0, "1", "01:19:59:59")}, {{"01:20:00:00", 1}, {"01:20:00:04", 5}}},
        {"29.97", "0", {row2(0, "1", "01:00:59:29")}, {{"01:01:00:02", 3}}},
        {"25", "1", {row2(0, "1", "01:00:59:24")}, {{"01:01:00:00", 1}, {"01:01:00:02", 3}}},
        {"25",
         "0",
         {row2(0, "1", "23:59:59:23")},
         {{"23:59:59:24", 1},
          {"00:00:00:00", 2},
          {"00:00:00:02", 3},
          {"00:00:00:03", 5},
          {"00:00:05:00", 5},
          {"11:00:00:00", 5},
          {"13:00:00:00", -1},
          {"23:59:00:00", -1}}},
        {"29.97", "1", {row2(0, "1", "23:59:59:28")}, {{"00:00:00:00", 2}, {"23:59:59:27", -1}}},
        {"25", "0", {row2(0, "1", "23:59:59:18")}, {{"23:59:59:23", 5}, {"00:00:00:00", -1}}},
        {"24",
         "0",
         {row2(0, "1", "23:59:59:00"), row2(12, "1", "x")},
         {{"00:00:00:05", 12}, {"11:59:00:00", 12}, {"12:01:00:00", -1}},
         "48"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.fps) + " drop " + c.drop + " " + c.rows.front());
        std::vector<std::string> rows = c.rows;
        rows.insert(rows.end(), laterRows.begin(), laterRows.end());
        auto source = sourceFor(vantText(
            rows,
            {{"tcFps", c.fps}, {"tcDrop", c.drop}, {"clipDurationFrames", c.clipDurationFrames}}));
        for (const auto& request : c.requests) {
            if (request.second < 0) {
                EXPECT_THROW(source->frameData(at(request.first)), Exception) << request.first;
            } else {
                EXPECT_EQ(source->frameData(at(request.first)).number, unsigned(request.second))
                    << request.first;
            }
        }
    }
}

TEST_F(VantMetadataSourceTest, FramesAreCountedFromTheLowestRowsTimecodeAndNumber) {
    // Rows written out of order; the lowest frame number gives the origin.
    auto source = sourceFor(vantText({row2(530, "3", "10:00:01:05"), row2(500, "1", "10:00:00:00"),
                                      row2(510, "2", "99:99:99:99")}));

    EXPECT_EQ(source->frameData(at("10:00:00:09")).number, 500u);
    EXPECT_EQ(source->frameData(at("10:00:00:10")).number, 510u);
    EXPECT_EQ(source->frameData(at("10:00:01:04")).number, 510u);
    EXPECT_EQ(source->frameData(at("10:00:01:05")).number, 530u);
}

TEST_F(VantMetadataSourceTest, FrameNumberBeyondThirtyTwoBitsIsPastTheLastRow) {
    // 12 hours at 50000 frames per second plus the row's own number exceed
    // 2^32; a wrapped sum would point before the row and fail the request.
    auto source =
        sourceFor(vantText({row2(2147483647u, "1", "00:00:00:00")}, {{"tcFps", "50000"}}));
    EXPECT_EQ(source->frameData(at("12:00:00:00")).number, 2147483647u);
}

TEST_F(VantMetadataSourceTest, MetadataCombinesHeaderAndTheRowsThreeLists) {
    const std::string row = "7;0,10,20,30,40,50,60.5;100,99,98,97,96,95,94.25;"
                            "0,-0.5,-1,-1.5,-2,-2.5,-3;a;b;c;d;e;00:00:10:00";
    auto source = sourceFor(vantText({row}, {}, "3"));

    const MetadataCopy::Metadata metadata = source->metadata(at("00:00:10:00"));
    const auto& recordingFormat = metadata.headerMetadata.recordingFormat;
    EXPECT_EQ(recordingFormat.camera.manufacturer, "Maker");
    EXPECT_EQ(recordingFormat.camera.model, "Model 7");
    EXPECT_EQ(recordingFormat.clipResolution.width, 1920u);
    EXPECT_EQ(recordingFormat.clipResolution.height, 1080u);
    const auto& points = metadata.frameMetadata.interpolationPoints;
    EXPECT_EQ(points.heights, (std::vector<float>{0, 10, 20, 30, 40, 50, 60.5f}));
    EXPECT_EQ(points.shading, (std::vector<float>{100, 99, 98, 97, 96, 95, 94.25f}));
    EXPECT_EQ(points.radialDistortion, (std::vector<float>{0, -0.5f, -1, -1.5f, -2, -2.5f, -3}));
}

// Half the sensor diagonal, the sensor height following from the clip's
// aspect ratio.
TEST_F(VantMetadataSourceTest, ImageRadiusIsHalfTheSensorDiagonal) {
    struct Case {
        const char* width;
        const char* height;
        const char* sensorWidth;
        float radius;
    };
    const Case cases[] = {
        {"1920", "1080", "24.0", 13.76817f}, // sensor height 13.5
        {"4096", "4096", "10", 7.071068f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.width) + "x" + c.height);
        auto source = sourceFor(vantText(
            {row2(0, "1", "00:00:00:00")},
            {{"clipWidth", c.width}, {"clipHeight", c.height}, {"sensorWidth", c.sensorWidth}}));
        EXPECT_NEAR(source->metadata(at("00:00:00:00")).headerMetadata.recordingFormat.imageRadius,
                    c.radius, 1e-4f);
    }
}

// A header entry that the parser could not convert reads as 0, and a size
// below zero makes no more sense; no radius made from them may reach a frame.
TEST_F(VantMetadataSourceTest, FormatWithoutAnImageRadiusIsRefused) {
    const std::map<std::string, std::string> headers[] = {
        {{"sensorWidth", "40,96"}},
        {{"sensorWidth", "1e39"}},
        {{"sensorWidth", "0"}},
        {{"clipHeight", ""}},
        {{"clipHeight", "0"}},
        {{"clipWidth", "0"}},
        {{"clipWidth", "0"}, {"clipHeight", "0"}},
        // Sizes below zero, which an unsigned conversion would wrap around.
        {{"clipWidth", "-8192"}},
        {{"clipWidth", "-1"}},
        {{"clipHeight", "-4320"}},
        {{"sensorWidth", "-40.96"}},
        {{"sensorWidth", "-0"}},
        {{"sensorWidth", "nan"}},
    };
    for (const auto& header : headers) {
        SCOPED_TRACE(header.begin()->first + "=" + header.begin()->second);
        EXPECT_EQ(failureOf([&] { sourceFor(vantText({row2(0, "1", "00:00:00:00")}, header)); }),
                  "Recording format of source is unknown.");
    }
}

TEST_F(VantMetadataSourceTest, FileWithoutRowsLoadsButAnswersNoTimecode) {
    auto source = sourceFor(vantText({}));
    EXPECT_EQ(failureOf([&] { source->metadata(at("01:00:00:00")); }),
              "No metadata available for timecode 01:00:00:00.");
    EXPECT_EQ(failureOf([&] { source->frameData(0u); }), "");
}

TEST_F(VantMetadataSourceTest, InvalidFirstRowTimecodeFailsEveryRequest) {
    auto source = sourceFor(vantText({row2(0, "1", "1:00:00"), row2(10, "2", "01:00:00:10")}));
    EXPECT_EQ(failureOf([&] { source->metadata(at("01:00:00:10")); }),
              "No metadata available for timecode 01:00:00:10.");
    EXPECT_EQ(failureOf([&] { source->frameData(at("01:00:00:10")); }), "");
}

TEST_F(VantMetadataSourceTest, UnreadableOrMalformedFilesAreRefusedWithOneMessage) {
    EXPECT_EQ(failureOf([&] { VantMetadataSource(directory.file("missing.vant")); }),
              "Source could not be read.");
    EXPECT_EQ(failureOf([&] { VantMetadataSource(directory.path().string()); }),
              "Source could not be read.");

    const std::string malformed[] = {
        "",
        vantText({}, {{"tcFps", "0"}}),
        vantText({}, {}, "4"),
        vantText({row2(0, "101", "00:00:00:00")}),
        "HEADER_START\nlensManufacturer:=OKALU\nHEADER_END\n# VANT Version 2\nframe;\n",
    };
    for (const std::string& text : malformed) {
        SCOPED_TRACE(text);
        EXPECT_EQ(failureOf([&] { sourceFor(text); }), "Source could not be parsed.");
    }
}

} // namespace
