// The permitted values of HdrProcessingSettings, published beside the
// record so that a host offers exactly what CheckBounds keeps.
#pragma once

#include "Enumerations.hpp"

#include <cstddef>

namespace R3DSDK {
namespace HdrProcessingLimits {

inline constexpr float BiasMin = -1.0f;
inline constexpr float BiasMax = 1.0f;
inline constexpr float BiasDefault = 0.0f;

inline constexpr std::size_t BlendAlgorithmCount = 2;
inline constexpr HdrBlendAlgorithm BlendAlgorithmMap[BlendAlgorithmCount] = {
    HdrBlendSimple,
    HdrBlendMagicMotion,
};
inline constexpr HdrBlendAlgorithm BlendAlgorithmDefault = HdrBlendSimple;
inline constexpr const char* BlendAlgorithmLabels[BlendAlgorithmCount] = {
    "Simple Blend",
    "Magic Motion",
};

} // namespace HdrProcessingLimits
} // namespace R3DSDK
