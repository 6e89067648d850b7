#include "StandinTestSupport.hpp"

#include "ImageProcessingSettings.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <utility>

using R3DSDK::ImageProcessingSettings;
using R3DSDKTest::bytesAt;

namespace {

bool isIdentity(const ImageProcessingSettings::Curve& curve) {
    const float expected[5] = {0.0f, 0.25f, 0.5f, 0.75f, 1.0f};
    for (int i = 0; i < 5; ++i) {
        if (curve.Points[i].x != expected[i] || curve.Points[i].y != expected[i]) {
            return false;
        }
    }
    return true;
}

} // namespace

TEST(ImageProcessingSettings, DefaultsSitAtTheirByteOffsets) {
    const ImageProcessingSettings s;
    const std::pair<std::size_t, std::uint32_t> words[] = {
        {0, 5},   {4, 400}, {8, 0},   {12, 3},  {64, 15},     {68, 1},
        {132, 2}, {316, 1}, {380, 1}, {384, 3}, {388, 10000},
    };
    for (const auto& [offset, value] : words) {
        EXPECT_EQ(bytesAt<std::uint32_t>(s, offset), value) << offset;
    }
    const std::pair<std::size_t, float> floats[] = {
        {16, 5600.0f}, {28, 1.0f},   {36, 1.0f},  {40, 1.0f},  {88, 0.6f},  {100, 0.25f},
        {128, 1.0f},   {168, 0.25f}, {276, 1.0f}, {280, 0.0f}, {284, 1.0f}, {312, 1.0f},
        {324, 1.0f},   {328, 1.0f},  {332, 0.0f}, {360, 1.0f},
    };
    for (const auto& [offset, value] : floats) {
        EXPECT_EQ(bytesAt<float>(s, offset), value) << offset;
    }
    EXPECT_EQ(bytesAt<std::int64_t>(s, 56), 320);
    EXPECT_EQ(bytesAt<std::uint64_t>(s, 72), 95u);
    EXPECT_EQ(bytesAt<std::uint64_t>(s, 80), 685u);
    EXPECT_EQ(bytesAt<unsigned char>(s, 364), 1);
    // Flags, padding and reserved bytes reach the library zeroed.
    for (std::size_t offset : {144, 145, 147, 365, 367, 368, 379, 392, 393, 399}) {
        EXPECT_EQ(bytesAt<unsigned char>(s, offset), 0) << offset;
    }
}

TEST(ImageProcessingSettings, CheckBoundsLeavesDefaultsUnchanged) {
    ImageProcessingSettings checked;
    checked.CheckBounds();
    const ImageProcessingSettings defaults;
    EXPECT_EQ(std::memcmp(&checked, &defaults, sizeof defaults), 0);
}

TEST(ImageProcessingSettings, CheckBoundsClampsFloatsAndKeepsNaN) {
    ImageProcessingSettings s;
    s.Kelvin = 1000.0f;
    s.Tint = 250.0f;
    s.Exposure = std::numeric_limits<float>::quiet_NaN();
    s.Gains[2] = 11.0f;
    s.DRX = -0.5f;
    s.CustomPDLogGamma = 3.0f;
    s.Shadow = -5.0f;
    s.FLUT = 9.0f;
    s.Lgg[1] = {-2.0f, 5.0f, 3.0f};
    s.ExposureAdjust = -9.0f;
    s.Field324 = 4.5f;
    s.CdlValues[2] = {2.5f, -1.5f, -1.0f};
    s.HdrPeakNits = 50;

    s.CheckBounds();

    EXPECT_EQ(s.Kelvin, 1700.0f);
    EXPECT_EQ(s.Tint, 100.0f);
    EXPECT_TRUE(std::isnan(s.Exposure));
    EXPECT_EQ(s.Gains[2], 10.0f);
    EXPECT_EQ(s.DRX, 0.0f);
    EXPECT_EQ(s.CustomPDLogGamma, 2.2f);
    EXPECT_EQ(s.Shadow, -2.0f);
    EXPECT_EQ(s.FLUT, 8.0f);
    EXPECT_EQ(s.Lgg[1].Lift, -1.0f);
    EXPECT_EQ(s.Lgg[1].Gamma, 4.0f);
    EXPECT_EQ(s.Lgg[1].Gain, 2.0f);
    EXPECT_EQ(s.ExposureAdjust, -8.0f);
    EXPECT_EQ(s.Field324, 4.0f);
    EXPECT_EQ(s.CdlValues[2].Slope, 2.0f);
    EXPECT_EQ(s.CdlValues[2].Offset, -1.0f);
    EXPECT_EQ(s.CdlValues[2].Power, 0.0f);
    EXPECT_EQ(s.HdrPeakNits, 100u);

    s.HdrPeakNits = 20000;
    s.CheckBounds();
    EXPECT_EQ(s.HdrPeakNits, 10000u);
}

TEST(ImageProcessingSettings, CheckBoundsLimitsThePDlogPoints) {
    struct Case {
        std::uint64_t black, white, expectedBlack, expectedWhite;
    };
    const Case cases[] = {
        {511, 300, 511, 512},
        {512, 1023, 511, 1023},
        {600, 1024, 511, 1023},
        {0, 512, 0, 512},
    };
    for (const Case& c : cases) {
        ImageProcessingSettings s;
        s.CustomPDLogBlackPoint = c.black;
        s.CustomPDLogWhitePoint = c.white;
        s.CheckBounds();
        EXPECT_EQ(s.CustomPDLogBlackPoint, c.expectedBlack) << c.black;
        EXPECT_EQ(s.CustomPDLogWhitePoint, c.expectedWhite) << c.white;
    }
}

TEST(ImageProcessingSettings, CheckBoundsSnapsTheISOToTheList) {
    struct Case {
        std::int64_t iso, expected;
    };
    const Case cases[] = {
        {320, 320},
        {330, 320},
        {360, 320}, // 40 from both 320 and 400: the lower entry wins
        {370, 400},
        {12800, 12800},
        {20000, 12800},
        {-100, 50},
        {1012799, 12800},
        {1012800, 50}, // a million or more from every entry
        {2000000, 50},
        {std::numeric_limits<std::int64_t>::max(), 50},
        {std::numeric_limits<std::int64_t>::min(), 50},
    };
    for (const Case& c : cases) {
        ImageProcessingSettings s;
        s.ISO = c.iso;
        s.CheckBounds();
        EXPECT_EQ(s.ISO, c.expected) << c.iso;
    }
}

TEST(ImageProcessingSettings, CheckBoundsRepairsCurves) {
    ImageProcessingSettings s;
    // x not strictly increasing: the whole curve becomes the identity.
    s.FirstCurve = {{{0.0f, 0.1f}, {0.5f, 0.2f}, {0.25f, 0.3f}, {0.75f, 0.4f}, {1.0f, 0.5f}}};
    // y out of range: only that value is clamped.
    s.FurtherCurves[0] = {{{0.0f, 0.0f}, {0.2f, 1.5f}, {0.4f, 0.4f}, {0.6f, -0.5f}, {1.0f, 1.0f}}};
    // Two x values clamp onto 1 and are then equal: identity.
    s.FurtherCurves[1] = {{{0.0f, 0.0f}, {0.2f, 0.2f}, {0.4f, 0.4f}, {1.0f, 0.6f}, {3.0f, 1.0f}}};
    // A NaN x can not be ordered: identity.
    s.FurtherCurves[2].Points[2].x = std::numeric_limits<float>::quiet_NaN();

    s.CheckBounds();

    EXPECT_TRUE(isIdentity(s.FirstCurve));
    EXPECT_EQ(s.FurtherCurves[0].Points[1].x, 0.2f);
    EXPECT_EQ(s.FurtherCurves[0].Points[1].y, 1.0f);
    EXPECT_EQ(s.FurtherCurves[0].Points[2].y, 0.4f);
    EXPECT_EQ(s.FurtherCurves[0].Points[3].y, 0.0f);
    EXPECT_TRUE(isIdentity(s.FurtherCurves[1]));
    EXPECT_TRUE(isIdentity(s.FurtherCurves[2]));
}

TEST(ImageProcessingSettings, CheckBoundsClearsTheFlagOutsideMode3) {
    ImageProcessingSettings s;
    s.Flag392 = true;
    s.CheckBounds();
    EXPECT_TRUE(s.Flag392);

    s.Field12 = 2;
    s.CheckBounds();
    EXPECT_FALSE(s.Flag392);
}
