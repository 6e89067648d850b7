#include "Support/SampleMetadata.hpp"

namespace SampleMetadata {

MetadataCopy::Metadata weaponFrame() {
    MetadataCopy::Metadata metadata;
    auto& format = metadata.headerMetadata.recordingFormat;
    format.imageRadius = 23.153194f;
    format.clipResolution = {8192, 4320};
    format.camera = {"RED", "WEAPON 8K VV"};
    auto& points = metadata.frameMetadata.interpolationPoints;
    points.heights = {0, 5, 10, 15, 18, 21.4f};
    points.shading = {1, 0.98f, 0.95f, 0.9f, 0.85f, 0.8f};
    points.radialDistortion = {0, -0.1f, -0.25f, -0.5f, -0.8f, -1.2345678f};
    return metadata;
}

} // namespace SampleMetadata
