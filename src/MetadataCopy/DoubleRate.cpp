#include "MetadataCopy/DoubleRate.hpp"

namespace MetadataCopy {
namespace DoubleRate {

bool appliesTo(float framesPerSecond) {
    return framesPerSecond > 30.0f && framesPerSecond <= 60.0f;
}

unsigned int frameNumber(unsigned int frameField, bool secondOfPair) {
    return 2u * frameField + (secondOfPair ? 1u : 0u);
}

} // namespace DoubleRate
} // namespace MetadataCopy
