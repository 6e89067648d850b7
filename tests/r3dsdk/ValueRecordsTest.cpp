#include "StandinTestSupport.hpp"

#include "Marker.hpp"
#include "VideoDecodeJob.hpp"

#include <gtest/gtest.h>

#include <cstdint>

using R3DSDKTest::bytesAt;

TEST(ValueRecords, MarkerAndDecodeJobDefaultsSitAtTheirByteOffsets) {
    const R3DSDK::Marker marker;
    EXPECT_EQ(bytesAt<std::uint32_t>(marker, 0), 1u);
    EXPECT_EQ(bytesAt<std::uint32_t>(marker, 4), 32u);
    EXPECT_EQ(bytesAt<std::int32_t>(marker, 8), -1);
    EXPECT_EQ(bytesAt<std::uint64_t>(marker, 16), 0u);
    EXPECT_EQ(bytesAt<std::uint64_t>(marker, 24), 0u);

    const R3DSDK::VideoDecodeJob job;
    EXPECT_EQ(bytesAt<std::uint32_t>(job, 0), 2u);
    EXPECT_EQ(bytesAt<std::uint32_t>(job, 4), 72u);
    for (std::size_t offset = 8; offset < 72; offset += 8) {
        EXPECT_EQ(bytesAt<std::uint64_t>(job, offset), 0u) << offset;
    }
}
