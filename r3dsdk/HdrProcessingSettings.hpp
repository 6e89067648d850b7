// How the decoder library blends the two exposures of an HDR clip. Shared
// with the library by byte layout (16 bytes).
#pragma once

#include <cstddef>
#include <cstdint>

namespace R3DSDK {

struct HdrProcessingSettings {
    /// Version 1, size 16, simple blend, bias 0.
    HdrProcessingSettings();

    /// Clamps the bias into [-1, 1] (a bias that is not a number stays as it
    /// is). The blend algorithm is the library's to judge and is not checked.
    void CheckBounds();

    std::uint32_t StructureVersion;
    std::uint32_t StructureSize;
    std::uint32_t BlendAlgorithm;
    float Bias;
};

static_assert(sizeof(HdrProcessingSettings) == 16, "layout shared with the decoder library");
static_assert(offsetof(HdrProcessingSettings, BlendAlgorithm) == 8, "layout");
static_assert(offsetof(HdrProcessingSettings, Bias) == 12, "layout");

} // namespace R3DSDK
