// The source for an R3D camera clip: the clip's recording format and the lens
// data of every frame where it changes, read once through the R3D SDK while
// the source is constructed.
#pragma once

#include "MetadataCopy/Metadata.hpp"
#include "MetadataCopy/Sources/MetadataSource.hpp"
#include "Timecode/Timecode.hpp"

#include <optional>
#include <string>
#include <vector>

namespace MetadataCopy {

class R3DMetadataSource : public MetadataSource {
public:
    /// Opens the clip at filePath, reads everything it needs and closes it
    /// again. Requires a started R3D SDK. Throws Exception ("Source could not
    /// be loaded.", "Recording format of source is unknown.", "Source does not
    /// contain valid Telvar metadata.", "Source does not contain any Telvar
    /// metadata.") or the exception of a frame timecode that is not valid.
    explicit R3DMetadataSource(const std::string& filePath);

    /// The header metadata and the lens data of the kept frame whose timecode
    /// equals the request, else of the latest one before it, else of the
    /// first one. A clip that runs across midnight counts on past 24:00:00:00,
    /// and a request before its first frame that belongs to the following day
    /// is looked up 24 hours later. Never throws for a timecode of rate 0.
    Metadata metadata(const Timecode::Timecode& timecode) const override;

private:
    HeaderMetadata headerMetadata;
    // Kept frames in clip order; element i of both lists belongs together,
    // and both hold at least one element once constructed.
    std::vector<Timecode::Timecode> timecodes;
    std::vector<FrameMetadata> frameMetadatas;
    // Only for a clip that runs across midnight: the timecode of its last
    // frame that has one, counted on past 24:00:00:00 like the kept ones
    // after the wrap.
    std::optional<Timecode::Timecode> endAcrossMidnight;
};

} // namespace MetadataCopy
