#include "MetadataCopy/Sources/R3DMetadataSource.hpp"

#include "Exception/Exception.hpp"
#include "MetadataCopy/DoubleRate.hpp"
#include "MetadataCopy/Sources/ClipTimeline.hpp"
#include "MetadataCopy/Sources/MetadataSourceHelper.hpp"
#include "R3DSDK.hpp"
#include "Timecode/InvalidTimecodeException.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace MetadataCopy {

namespace {

// Where a packet's payload lies in a frame's lens text: the text spells
// each byte as two hexadecimal digits plus one separator, so byte k starts
// at character 3k.
struct PacketLayout {
    const char* prefix;
    std::size_t minimumTextLength;
    std::size_t firstPayloadByte;
    std::size_t payloadByteCount;
    const char* typeCode;
};

const PacketLayout packetLayouts[] = {
    {"7A", 110, 11, 24, "z"},
    {"5A", 209, 26, 42, "Z"},
};

RawSubmetadata rawTlvSubmetadata(const std::string& lensText) {
    const std::string prefix = lensText.size() < 2 ? std::string() : lensText.substr(0, 2);
    for (const PacketLayout& layout : packetLayouts) {
        if (prefix == layout.prefix && lensText.size() >= layout.minimumTextLength) {
            RawSubmetadata rawSubmetadata;
            rawSubmetadata.typeCode = layout.typeCode;
            rawSubmetadata.hexPayload =
                lensText.substr(layout.firstPayloadByte * 3, layout.payloadByteCount * 3 - 1);
            rawSubmetadata.separator = "/";
            return rawSubmetadata;
        }
    }
    return RawSubmetadata();
}

// Renumbers the frame field of a clip's timecode text, such as 01:00:00:12 or
// 01:00:00.12, by the double-rate rule; the separator "." then becomes ":",
// as the timecode constructor reads it.
void modifyTimecodeString(std::string& text) {
    const std::size_t length = text.size();
    if (length < 3) {
        // No frame field with a separator before it: the timecode
        // constructor refuses the text as it stands.
        return;
    }
    const auto code = [&text](std::size_t index) {
        return static_cast<unsigned int>(static_cast<unsigned char>(text[index]));
    };
    // Unsigned throughout, so that a frame field that is not two digits
    // still gives defined arithmetic; the timecode constructor judges the
    // text that comes out.
    const unsigned int field = 10u * (code(length - 2) - 48u) + (code(length - 1) - 48u);
    const unsigned int frame = DoubleRate::frameNumber(field, text[length - 3] == ':');
    text[length - 2] = static_cast<char>(48u + frame / 10u);
    text[length - 1] = static_cast<char>(48u + frame % 10u);
    std::replace(text.begin(), text.end(), '.', ':');
}

void modifyTimecodeStringIfNeeded(float fps, std::string& text) {
    if (DoubleRate::appliesTo(fps)) {
        modifyTimecodeString(text);
    }
}

// The frame numbers that one second of the clip's timecodes holds, after the
// double-rate renumbering (59.94 gives 2 x 30, 23.976 gives 24); 0 for a rate
// that is not a positive number a clip could run at.
std::uint32_t framesPerSecond(float fps) {
    const double rate = static_cast<double>(fps);
    if (!(rate > 0.0 && rate <= 1000.0)) {
        return 0;
    }
    return DoubleRate::appliesTo(fps) ? 2u * static_cast<std::uint32_t>(std::ceil(rate / 2.0))
                                      : static_cast<std::uint32_t>(std::ceil(rate));
}

// A clip's lens data, one entry per run of frames that carry the same packet,
// and every frame in clip order with its timecode, if valid, and the run in
// force at it; frames before the first packet belong to the first run.
struct ClipFrames {
    std::vector<RawSubmetadata> runs;
    std::vector<ClipTimeline::Frame> frames;
    std::uint32_t framesPerSecond = 0;
};

// A frame without a valid timecode is passed over, also where it starts a
// run: it answers by its place among its neighbours. Only a clip without any
// valid timecode is refused, by the timecode of its first run.
ClipFrames allRawTlvMetadata(std::shared_ptr<R3DSDK::Clip> clip) {
    ClipFrames result;
    const float fps = clip->MetadataItemAsFloat(R3DSDK::RMD_FRAMERATE);
    const std::uint64_t frameCount = clip->VideoFrameCount();
    result.framesPerSecond = framesPerSecond(fps);
    result.frames.reserve(static_cast<std::size_t>(frameCount));
    bool anyTimecode = false;
    std::exception_ptr firstRunRefusal;
    for (std::uint64_t frame = 0; frame < frameCount; ++frame) {
        R3DSDK::Metadata frameMetadata;
        clip->GetFrameMetadata(frameMetadata, static_cast<std::size_t>(frame));
        RawSubmetadata raw = rawTlvSubmetadata(
            frameMetadata.MetadataItemAsString(R3DSDK::RMD_LENS_OKALU_TELVAR_DYNAMIC));
        std::string timecodeText =
            frameMetadata.MetadataItemAsString(R3DSDK::RMD_FRAME_ABSOLUTE_TIMECODE);
        modifyTimecodeStringIfNeeded(fps, timecodeText);
        std::vector<RawSubmetadata>& runs = result.runs;
        const bool startsRun =
            !raw.hexPayload.empty() && (runs.empty() || runs.back().typeCode != raw.typeCode ||
                                        runs.back().hexPayload != raw.hexPayload);
        if (startsRun) {
            runs.push_back(std::move(raw));
        }
        ClipTimeline::Frame clipFrame{std::nullopt, runs.empty() ? 0 : runs.size() - 1};
        // Most frames without a timecode have no text at all, which is not
        // worth an exception unless the clip may be refused by it.
        if (!timecodeText.empty() || startsRun) {
            try {
                clipFrame.timecode.emplace(timecodeText.c_str(), 0.0f);
                anyTimecode = true;
            } catch (const Timecode::InvalidTimecodeException&) {
                if (startsRun && !firstRunRefusal) {
                    firstRunRefusal = std::current_exception();
                }
            }
        }
        result.frames.push_back(std::move(clipFrame));
    }
    if (!anyTimecode && firstRunRefusal) {
        std::rethrow_exception(firstRunRefusal);
    }
    return result;
}

} // namespace

R3DMetadataSource::R3DMetadataSource(const std::string& filePath) {
    std::shared_ptr<R3DSDK::Clip> clip = std::make_shared<R3DSDK::Clip>(filePath.c_str());
    if (clip->Status() != 0) {
        throw Exception("Source could not be loaded.");
    }

    RecordingFormat& recordingFormat = headerMetadata.recordingFormat;
    recordingFormat.clipResolution.width =
        static_cast<std::uint32_t>(clip->MetadataItemAsInt(R3DSDK::RMD_IMAGE_WIDTH));
    recordingFormat.clipResolution.height =
        static_cast<std::uint32_t>(clip->MetadataItemAsInt(R3DSDK::RMD_IMAGE_HEIGHT));
    recordingFormat.camera.manufacturer = "RED";
    recordingFormat.camera.model = clip->MetadataItemAsString(R3DSDK::RMD_CAMERA_MODEL);

    // Looked up before any frame is read, so that an unknown format fails
    // fast even on a long clip.
    // A clip without a size (0) is refused whatever the table holds.
    recordingFormat.imageRadius =
        MetadataSourceHelper::imageRadius(recordingFormat.camera, recordingFormat.clipResolution);
    if (recordingFormat.clipResolution.width == 0 || recordingFormat.clipResolution.height == 0 ||
        !std::isfinite(recordingFormat.imageRadius) || !(recordingFormat.imageRadius > 0.0f)) {
        throw Exception("Recording format of source is unknown.");
    }

    const ClipFrames clipFrames = allRawTlvMetadata(clip);
    frameMetadatas.reserve(clipFrames.runs.size());
    for (const RawSubmetadata& raw : clipFrames.runs) {
        frameMetadatas.push_back(MetadataSourceHelper::frameMetadataForRawSubmetadata(raw));
    }
    if (frameMetadatas.empty()) {
        throw Exception("Source does not contain any Telvar metadata.");
    }
    timeline = ClipTimeline(clipFrames.frames, clipFrames.framesPerSecond);
}

Metadata R3DMetadataSource::metadata(const Timecode::Timecode& timecode) const {
    Metadata result;
    result.headerMetadata = headerMetadata;
    result.frameMetadata = frameMetadatas[timeline.lensData(timecode)];
    return result;
}

} // namespace MetadataCopy
