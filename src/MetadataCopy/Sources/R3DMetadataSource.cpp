#include "MetadataCopy/Sources/R3DMetadataSource.hpp"

#include "Exception/Exception.hpp"
#include "MetadataCopy/DoubleRate.hpp"
#include "MetadataCopy/Sources/MetadataSourceHelper.hpp"
#include "MetadataCopy/Sources/MetadataSourceHelperImpl.hpp"
#include "R3DSDK.hpp"
#include "Timecode/InvalidTimecodeException.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <utility>

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

// Every frame that starts a new run of lens data, with its timecode; frames
// without a packet neither end nor start a run.
std::vector<std::pair<Timecode::Timecode, RawSubmetadata>>
allRawTlvMetadata(std::shared_ptr<R3DSDK::Clip> clip) {
    std::vector<std::pair<Timecode::Timecode, RawSubmetadata>> result;
    const float fps = clip->MetadataItemAsFloat(R3DSDK::RMD_FRAMERATE);
    const std::uint64_t frameCount = clip->VideoFrameCount();
    for (std::uint64_t frame = 0; frame < frameCount; ++frame) {
        R3DSDK::Metadata frameMetadata;
        clip->GetFrameMetadata(frameMetadata, static_cast<std::size_t>(frame));
        RawSubmetadata raw = rawTlvSubmetadata(
            frameMetadata.MetadataItemAsString(R3DSDK::RMD_LENS_OKALU_TELVAR_DYNAMIC));
        if (raw.hexPayload.empty()) {
            continue;
        }
        if (!result.empty() && result.back().second.typeCode == raw.typeCode &&
            result.back().second.hexPayload == raw.hexPayload) {
            continue;
        }
        std::string timecodeText =
            frameMetadata.MetadataItemAsString(R3DSDK::RMD_FRAME_ABSOLUTE_TIMECODE);
        modifyTimecodeStringIfNeeded(fps, timecodeText);
        result.emplace_back(Timecode::Timecode(timecodeText.c_str(), 0.0f), std::move(raw));
    }
    return result;
}

// The timecode of the clip's last frame, read as a kept frame's is; none when
// the clip has no frame or that frame's timecode is missing or not valid.
std::optional<Timecode::Timecode> lastFrameTimecode(const std::shared_ptr<R3DSDK::Clip>& clip) {
    const std::uint64_t frameCount = clip->VideoFrameCount();
    if (frameCount == 0) {
        return std::nullopt;
    }
    R3DSDK::Metadata frameMetadata;
    clip->GetFrameMetadata(frameMetadata, static_cast<std::size_t>(frameCount - 1));
    std::string timecodeText =
        frameMetadata.MetadataItemAsString(R3DSDK::RMD_FRAME_ABSOLUTE_TIMECODE);
    modifyTimecodeStringIfNeeded(clip->MetadataItemAsFloat(R3DSDK::RMD_FRAMERATE), timecodeText);
    try {
        return Timecode::Timecode(timecodeText.c_str(), 0.0f);
    } catch (const Timecode::InvalidTimecodeException&) {
        return std::nullopt;
    }
}

// A clip that runs across midnight stores time-of-day timecodes that fall
// back once, at the wrap. From there on every kept timecode counts 24 hours
// later, so that the list ascends as the halving search needs. Returns the
// clip's end counted the same way, or nothing when the clip does not cross
// midnight. Timecodes that fall more than once are no continuous clip (they
// jump) and are left as stored.
std::optional<Timecode::Timecode>
continueAcrossMidnight(std::vector<Timecode::Timecode>& timecodes,
                       const std::optional<Timecode::Timecode>& lastFrame) {
    std::vector<Timecode::Timecode> sequence = timecodes;
    if (lastFrame) {
        sequence.push_back(*lastFrame);
    }
    std::size_t falls = 0;
    std::size_t wrap = 0;
    for (std::size_t index = 1; index < sequence.size(); ++index) {
        if (sequence[index] < sequence[index - 1]) {
            ++falls;
            wrap = index;
        }
    }
    const auto tooLate = [](const Timecode::Timecode& timecode) {
        return timecode.hours > std::numeric_limits<std::uint32_t>::max() - 24u;
    };
    if (falls != 1 || std::any_of(sequence.begin() + static_cast<std::ptrdiff_t>(wrap),
                                  sequence.end(), tooLate)) {
        return std::nullopt;
    }
    for (std::size_t index = wrap; index < sequence.size(); ++index) {
        sequence[index].hours += 24u;
    }
    std::copy_n(sequence.begin(), timecodes.size(), timecodes.begin());
    return sequence.back();
}

std::uint64_t secondCount(const Timecode::Timecode& timecode) {
    return static_cast<std::uint64_t>(timecode.hours) * 3600u + timecode.minutes * 60u +
           timecode.seconds;
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
    recordingFormat.imageRadius =
        MetadataSourceHelper::imageRadius(recordingFormat.camera, recordingFormat.clipResolution);
    if (recordingFormat.imageRadius == 0.0f) {
        throw Exception("Recording format of source is unknown.");
    }

    const auto rawPackets = allRawTlvMetadata(clip);
    timecodes.reserve(rawPackets.size());
    frameMetadatas.reserve(rawPackets.size());
    for (const auto& entry : rawPackets) {
        FrameMetadata decoded = MetadataSourceHelper::frameMetadataForRawSubmetadata(entry.second);
        timecodes.push_back(entry.first);
        frameMetadatas.push_back(std::move(decoded));
    }
    if (timecodes.empty()) {
        throw Exception("Source does not contain any Telvar metadata.");
    }
    endAcrossMidnight = continueAcrossMidnight(timecodes, lastFrameTimecode(clip));
}

Metadata R3DMetadataSource::metadata(const Timecode::Timecode& timecode) const {
    Metadata result;
    result.headerMetadata = headerMetadata;
    // Before a clip that runs across midnight, a request may belong to the
    // following day, where the clip's later frames now lie.
    Timecode::Timecode request = timecode;
    const std::uint64_t day = 24u * 3600u;
    if (endAcrossMidnight && timecode < timecodes.front() &&
        request.hours <= std::numeric_limits<std::uint32_t>::max() - 24u &&
        MetadataSourceHelper::isOnTheFollowingDay(secondCount(timecode),
                                                  secondCount(timecodes.front()),
                                                  secondCount(*endAcrossMidnight), day)) {
        request.hours += 24u;
    }
    const std::size_t index = MetadataSourceHelper::indexOfClosestTimecode(timecodes, request);
    result.frameMetadata = frameMetadatas[index];
    return result;
}

} // namespace MetadataCopy
