#include "MetadataCopy/Metadata.hpp"

#include <gtest/gtest.h>

namespace {

using MetadataCopy::Metadata;
using MetadataCopy::RawSubmetadata;

TEST(MetadataTest, DefaultValuesAreEmptyAndZero) {
    const Metadata metadata;
    const auto& format = metadata.headerMetadata.recordingFormat;
    EXPECT_TRUE(format.camera.manufacturer.empty());
    EXPECT_TRUE(format.camera.model.empty());
    // Chosen to be zero so that a value that escapes unassigned is harmless
    // and reproducible.
    EXPECT_EQ(format.imageRadius, 0.0f);
    EXPECT_EQ(format.clipResolution.width, 0u);
    EXPECT_EQ(format.clipResolution.height, 0u);
    const auto& points = metadata.frameMetadata.interpolationPoints;
    EXPECT_TRUE(points.heights.empty());
    EXPECT_TRUE(points.shading.empty());
    EXPECT_TRUE(points.radialDistortion.empty());
    // An empty payload stands for a frame without a usable packet.
    EXPECT_TRUE(RawSubmetadata().hexPayload.empty());
}

} // namespace
