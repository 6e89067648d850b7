// The source for an R3D camera clip: the clip's recording format and the lens
// data of every frame where it changes, read once through the R3D SDK while
// the source is constructed.
#pragma once

#include "MetadataCopy/Metadata.hpp"
#include "MetadataCopy/Sources/ClipTimeline.hpp"
#include "MetadataCopy/Sources/MetadataSource.hpp"
#include "Timecode/Timecode.hpp"

#include <string>
#include <vector>

namespace MetadataCopy {

class R3DMetadataSource : public MetadataSource {
public:
    /// Opens the clip at filePath, reads everything it needs and closes it
    /// again. Requires a started R3D SDK. Throws Exception ("Source could not
    /// be loaded.", "Recording format of source is unknown.", "Source does not
    /// contain valid Telvar metadata.", "Source does not contain any Telvar
    /// metadata.") or, when no frame has a valid timecode, the exception of
    /// the first lens data's timecode.
    explicit R3DMetadataSource(const std::string& filePath);

    /// The header metadata and the lens data of the frame whose timecode is
    /// the request, else of the frame recorded then, as far as the clip's
    /// timeline tells, else the lens data in force then (see ClipTimeline,
    /// which also places a clip across midnight). Never throws for a
    /// timecode of rate 0.
    Metadata metadata(const Timecode::Timecode& timecode) const override;

private:
    HeaderMetadata headerMetadata;
    // One element per run of frames that carry the same lens data, in clip
    // order; at least one once constructed.
    std::vector<FrameMetadata> frameMetadatas;
    // Which element of frameMetadatas answers a request.
    ClipTimeline timeline;
};

} // namespace MetadataCopy
