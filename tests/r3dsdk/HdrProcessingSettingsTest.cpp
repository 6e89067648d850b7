#include "StandinTestSupport.hpp"

#include "HdrProcessingSettings.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

using R3DSDKTest::bytesAt;

TEST(HdrProcessingSettings, DefaultsSitAtTheirByteOffsets) {
    const R3DSDK::HdrProcessingSettings s;
    EXPECT_EQ(bytesAt<std::uint32_t>(s, 0), 1u);
    EXPECT_EQ(bytesAt<std::uint32_t>(s, 4), 16u);
    EXPECT_EQ(bytesAt<std::uint32_t>(s, 8), 0x48445253u);
    EXPECT_EQ(bytesAt<float>(s, 12), 0.0f);
}

TEST(HdrProcessingSettings, CheckBoundsClampsOnlyTheBias) {
    struct Case {
        float bias, expected;
    };
    const Case cases[] = {{-3.0f, -1.0f}, {1.5f, 1.0f}, {0.25f, 0.25f}, {-1.0f, -1.0f}};
    for (const Case& c : cases) {
        R3DSDK::HdrProcessingSettings s;
        s.Bias = c.bias;
        s.BlendAlgorithm = 7;
        s.CheckBounds();
        EXPECT_EQ(s.Bias, c.expected) << c.bias;
        EXPECT_EQ(s.BlendAlgorithm, 7u);
    }

    R3DSDK::HdrProcessingSettings s;
    s.Bias = std::numeric_limits<float>::quiet_NaN();
    s.CheckBounds();
    EXPECT_TRUE(std::isnan(s.Bias));
}
