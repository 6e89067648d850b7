// The source for a VANT lens-correction file. The whole file is read and
// parsed once, on construction; a request maps the destination's timecode to a
// frame number and answers with the body row in force at that frame (a row
// holds from its frame number until the next row's; nothing is interpolated).
#pragma once

#include "CorrectionData/Content.hpp"
#include "CorrectionData/Frame.hpp"
#include "MetadataCopy/Metadata.hpp"
#include "MetadataCopy/Sources/MetadataSource.hpp"
#include "Timecode/Timecode.hpp"

#include <cstdint>
#include <string>

namespace MetadataCopy {

class VantMetadataSource final : public MetadataSource {
public:
    /// Reads and parses the file at filePath. Throws Exception with
    /// "Source could not be read." or "Source could not be parsed.", or with
    /// "Recording format of source is unknown." when the header gives no
    /// sensor width, clip width or clip height (0, as the parser gives a
    /// value that does not convert) or no finite image radius above 0.
    explicit VantMetadataSource(const std::string& filePath);

    /// The header metadata with the interpolation points of the row in force
    /// at the timecode. Throws Exception with "No metadata available for
    /// timecode HH:MM:SS:FF." when no row covers it.
    Metadata metadata(const Timecode::Timecode& timecode) const override;

    /// The row in force at the timecode, counting frames from the first row's
    /// timecode at the file's "tcFps", by the drop-frame rule when "tcDrop" is
    /// set and the rate rounds to 30 or 60. A file whose last frame, the later
    /// of its last row and its clip's last one ("clipDurationFrames" - 1),
    /// passes 24:00:00:00 runs on into the next day (see the source file).
    /// Throws Exception with an empty message.
    CorrectionData::Frame frameData(const Timecode::Timecode& timecode) const;

    /// The row with the greatest frame number not above frameNumber. Throws
    /// Exception with an empty message when there is none.
    CorrectionData::Frame frameData(std::uint32_t frameNumber) const;

private:
    CorrectionData::Content correctionContent;
    HeaderMetadata headerMetadata;
};

} // namespace MetadataCopy
