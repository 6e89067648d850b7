#include "MetadataCopy/Sources/VantMetadataSource.hpp"

#include "CorrectionFile/Parser.hpp"
#include "CorrectionFile/Reader.hpp"
#include "Exception/Exception.hpp"
#include "MetadataCopy/Sources/MetadataSourceHelper.hpp"
#include "Timecode/InvalidTimecodeException.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace MetadataCopy {

namespace {

// Half the diagonal of a sensor of the given width whose height follows from
// the clip's aspect ratio. Single precision throughout, so that the written
// radius matches what the lens maker's plug-ins compute from the same file.
// Nothing is tested here: a height of 0 gives half the sensor width, a width
// and height of 0 give NaN; the constructor refuses such a format.
float imageRadiusForSensorWidth(float sensorWidth, std::uint32_t width, std::uint32_t height) {
    const float aspect = static_cast<float>(width) / static_cast<float>(height);
    const float sensorHeight = sensorWidth / aspect;
    return std::sqrt(std::pow(sensorWidth, 2.0f) + std::pow(sensorHeight, 2.0f)) / 2.0f;
}

// The request as the file counts it. A file whose first row's timecode plus
// the frames up to its last frame passes 24:00:00:00 runs on across midnight,
// so that its later frames lie at 24:00:00:00 and after: a request before the
// first row is then taken 24 hours later when it belongs to the following
// day. Every other request, and every request to another file, stays as it
// is.
Timecode::Timecode requestAcrossMidnight(const Timecode::Timecode& request,
                                         const Timecode::Timecode& start,
                                         std::uint32_t lastFrameOffset, bool dropFrame) {
    try {
        const Timecode::Timecode midnight("00:00:00:00", start.fps);
        const std::uint64_t dayLength =
            Timecode::difference(Timecode::Timecode("24:00:00:00", start.fps), midnight, dropFrame);
        const std::uint64_t first = Timecode::difference(start, midnight, dropFrame);
        const std::uint64_t last = first + lastFrameOffset;
        if (last < dayLength || !(request < start) ||
            request.hours > std::numeric_limits<std::uint32_t>::max() - 24u) {
            return request;
        }
        if (MetadataSourceHelper::isOnTheFollowingDay(
                Timecode::difference(request, midnight, dropFrame), first, last, dayLength)) {
            Timecode::Timecode nextDay = request;
            nextDay.hours += 24u;
            return nextDay;
        }
    } catch (const Timecode::InvalidTimecodeException&) {
        // A request that cannot be counted is refused by the caller's own
        // count, as before.
    }
    return request;
}

} // namespace

VantMetadataSource::VantMetadataSource(const std::string& filePath) {
    std::string text;
    // The core's own failure texts name details the user cannot act on here;
    // one plain message per stage is what the console shows.
    try {
        CorrectionFile::Reader().readFile(filePath, text);
    } catch (...) {
        throw Exception("Source could not be read.");
    }
    try {
        CorrectionFile::Parser().parse(text, correctionContent);
    } catch (...) {
        throw Exception("Source could not be parsed.");
    }

    const CorrectionData::Header& header = correctionContent.header;
    RecordingFormat& recordingFormat = headerMetadata.recordingFormat;
    recordingFormat.camera.manufacturer = header.camera.manufacturer;
    recordingFormat.camera.model = header.camera.model;
    recordingFormat.clipResolution.width = header.clip.width;
    recordingFormat.clipResolution.height = header.clip.height;
    recordingFormat.imageRadius =
        imageRadiusForSensorWidth(header.sensor.width, header.clip.width, header.clip.height);
    // The parser gives 0 for a value that does not convert (a decimal comma,
    // a number beyond float) and for a pixel size below zero; a sensor width
    // below zero would still give a positive radius. A radius made from any
    // of them would be written into every frame. Refused before any frame is
    // touched, as an R3D clip without a known format is.
    if (!(header.sensor.width > 0.0f) || header.clip.width == 0 || header.clip.height == 0 ||
        !std::isfinite(recordingFormat.imageRadius) || !(recordingFormat.imageRadius > 0.0f)) {
        throw Exception("Recording format of source is unknown.");
    }
}

Metadata VantMetadataSource::metadata(const Timecode::Timecode& timecode) const {
    Metadata result;
    result.headerMetadata = headerMetadata;
    try {
        const CorrectionData::Frame frame = frameData(timecode);
        result.frameMetadata.interpolationPoints.heights =
            frame.interpolationPoints.imageRadiusPositions;
        result.frameMetadata.interpolationPoints.shading = frame.interpolationPoints.shadingValues;
        result.frameMetadata.interpolationPoints.radialDistortion =
            frame.interpolationPoints.radialDistortionValues;
    } catch (...) {
        throw Exception("No metadata available for timecode " + timecode.string(false) + ".");
    }
    return result;
}

CorrectionData::Frame VantMetadataSource::frameData(const Timecode::Timecode& timecode) const {
    const auto& frames = correctionContent.frames;
    if (frames.empty()) {
        throw Exception("");
    }
    std::uint64_t frameNumber = 0;
    try {
        const CorrectionData::Frame first = frames.begin()->second;
        const auto& timecodeHeader = correctionContent.header.timecode;
        const Timecode::Timecode start(first.timecode.c_str(), timecodeHeader.fps);
        // The clip may run on past its last row, which then holds until the
        // clip's last frame; both count in the rows' numbering.
        const std::uint32_t clipFrames = correctionContent.header.clip.durationFrames;
        const std::uint32_t lastFrame =
            std::max(frames.rbegin()->first, clipFrames == 0 ? 0u : clipFrames - 1);
        const Timecode::Timecode request = requestAcrossMidnight(
            timecode, start, lastFrame - frames.begin()->first, timecodeHeader.drop);
        // Summed in 64 bits: a wrap-around would silently pick an early row
        // for a timecode far past the last one.
        frameNumber =
            static_cast<std::uint64_t>(Timecode::difference(request, start, timecodeHeader.drop)) +
            first.number;
    } catch (...) {
        throw Exception("");
    }
    // Row numbers fit in 31 bits, so any larger frame lies past the last row.
    const std::uint64_t largest = std::numeric_limits<std::uint32_t>::max();
    return frameData(static_cast<std::uint32_t>(frameNumber < largest ? frameNumber : largest));
}

CorrectionData::Frame VantMetadataSource::frameData(std::uint32_t frameNumber) const {
    const auto& frames = correctionContent.frames;
    if (frames.empty() || frameNumber < frames.begin()->first) {
        throw Exception("");
    }
    // The row with the greatest frame number not above the requested one; a
    // request past the last row gets the last row.
    auto row = frames.upper_bound(frameNumber);
    --row;
    return row->second;
}

} // namespace MetadataCopy
