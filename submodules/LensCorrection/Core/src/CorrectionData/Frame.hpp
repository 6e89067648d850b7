// One body row of a VANT lens-correction file: the lens data that holds from
// its frame number on, until the next row's frame number.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace CorrectionData {

struct Frame {
    std::uint32_t number = 0; // at most 2147483647: rows hold it as a signed number

    // Three lists of equal length (6 in a version 2 file, 7 in version 3):
    // the shading and distortion values are sampled at the image heights.
    struct {
        std::vector<float> imageRadiusPositions;   // 0 to 100
        std::vector<float> shadingValues;          // 0 to 100
        std::vector<float> radialDistortionValues; // -100 to 100
    } interpolationPoints;

    // As written in the file with every "." turned into ":"; its form is
    // checked only when it is made into a Timecode::Timecode.
    std::string timecode;
};

} // namespace CorrectionData
