// What the R3D source needs beside its SDK calls: the image radius of a RED
// recording format, the decoding of a lens data packet into frame metadata,
// and the search for the stored timecode that answers a requested one; and,
// for both sources, the day a request belongs to when a source runs across
// midnight.
#pragma once

#include "MetadataCopy/Metadata.hpp"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace MetadataCopy {

class MetadataSourceHelper {
public:
    MetadataSourceHelper() = delete;

    /// Half the diagonal, in millimetres, of the format of the recording-format
    /// database whose pixel size equals the clip resolution; 0 when the
    /// database knows no such camera or format. Never throws.
    static float imageRadius(const Camera& camera, const ClipResolution& clipResolution);

    /// Decodes a packet cut out of a frame's lens text: "z" is the short
    /// (24-byte) kind, "Z" the long (42-byte) kind. Any other type code is a
    /// programming error and aborts. Throws `Exception` with "Source does not
    /// contain valid Telvar metadata." when the payload is not a list of
    /// exactly that many two-digit hexadecimal bytes.
    static FrameMetadata frameMetadataForRawSubmetadata(const RawSubmetadata& rawSubmetadata);

    /// Six unsigned shading and six signed distortion values, big-endian, each
    /// divided by 10; the six image heights are fixed by the packet kind.
    static FrameMetadata frameMetadataForOdRawSubmetadata(std::vector<unsigned char> bytes);

    /// Seven 10-bit image heights, seven unsigned shading and seven signed
    /// distortion values, big-endian, each divided by 10.
    static FrameMetadata frameMetadataForOd1RawSubmetadata(std::vector<unsigned char> bytes);

    /// Whether a request at position `request` of its day, before the first
    /// frame (`start`) of a source that runs across midnight up to `end`
    /// (past `dayLength`, counted on from the start's day), is meant for the
    /// following day: when, taken one day later, it falls inside the source,
    /// or past its end but nearer to the end than to the start (the part of
    /// the day that the source leaves out is split in the middle). All in one
    /// unit, seconds or frames. Example: a source from 23:00 to 25:00, in
    /// hours: 00:30 gives true (24:30), 11:00 true, 13:00 and 22:00 false.
    static bool isOnTheFollowingDay(std::uint64_t request, std::uint64_t start, std::uint64_t end,
                                    std::uint64_t dayLength);

    /// The index of the element equal to `timecode`, else of the greatest one
    /// before it, else 0. `timecodes` must be ascending and not empty.
    /// Example: stored 10:00:00:10, :20, :30; the request 10:00:00:25 gives 1,
    /// 10:00:00:05 gives 0. Defined in MetadataSourceHelperImpl.hpp.
    template <typename T>
    static std::size_t indexOfClosestTimecode(const std::vector<T>& timecodes, const T& timecode);

private:
    template <typename T>
    static std::size_t indexOfClosestTimecode(const std::vector<T>& timecodes, const T& timecode,
                                              int lo, int hi, int& indexOfClosest);
};

} // namespace MetadataCopy
