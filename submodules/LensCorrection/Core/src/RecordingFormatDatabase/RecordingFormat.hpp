// One recording format of a camera: the image area it reads on the sensor and
// the image size it records.
#pragma once

#include <cstdint>

namespace RecordingFormatDatabase {

struct RecordingFormat {
    float widthInMillimeters;
    float heightInMillimeters;
    std::uint32_t widthInPixels;
    std::uint32_t heightInPixels;
    /// Half the diagonal of the image area, in millimetres.
    float imageRadius;
};

} // namespace RecordingFormatDatabase
