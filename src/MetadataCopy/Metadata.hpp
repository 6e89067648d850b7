// The lens metadata that okalu-tafe copies into one image: the clip's
// recording format and the lens data of the matched frame. Plain values,
// copied freely; nothing here checks or enforces anything.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace MetadataCopy {

struct Camera {
    std::string manufacturer;
    std::string model;
};

struct ClipResolution {
    // Zero rather than indeterminate, so that a value that escapes a producer
    // before being assigned is at least reproducible.
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

/// The recording format as written into an image; not the recording-format
/// database's record of the same name.
struct RecordingFormat {
    /// Half the diagonal of the recorded sensor area, in millimetres.
    float imageRadius = 0.0f;
    Camera camera;
    ClipResolution clipResolution;
};

/// The per-clip part: the same for every frame of a source.
struct HeaderMetadata {
    RecordingFormat recordingFormat;
};

/// The per-frame part. Element i of the three lists describes the same
/// interpolation point; the lists are not required to have equal lengths.
struct FrameMetadata {
    struct {
        std::vector<float> heights;
        std::vector<float> shading;
        std::vector<float> radialDistortion;
    } interpolationPoints;
};

/// What is copied for one image.
struct Metadata {
    HeaderMetadata headerMetadata;
    FrameMetadata frameMetadata;
};

/// One raw lens data packet cut out of an R3D frame's lens text. An empty
/// hexPayload stands for a frame without a usable packet.
struct RawSubmetadata {
    /// "z" for a packet that begins with the byte "7A", "Z" for "5A".
    std::string typeCode;
    /// Two hexadecimal digits per byte, bytes separated by `separator`.
    std::string hexPayload;
    std::string separator;
};

} // namespace MetadataCopy
