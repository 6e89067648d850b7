#include "MetadataCopy/Sources/R3DMetadataSource.hpp"

#include "Exception/Exception.hpp"
#include "MetadataCopy/DoubleRate.hpp"
#include "MetadataCopy/Sources/MetadataSourceHelper.hpp"
#include "MetadataCopy/Sources/MetadataSourceHelperImpl.hpp"
#include "R3DSDK.hpp"
#include "Timecode/InvalidTimecodeException.hpp"

#include <algorithm>
#include <cmath>
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

std::uint64_t secondCount(const Timecode::Timecode& timecode) {
    return static_cast<std::uint64_t>(timecode.hours) * 3600u + timecode.minutes * 60u +
           timecode.seconds;
}

const std::uint64_t secondsPerDay = 24u * 3600u;

// How far a clip's timecodes may move on at its wrap past midnight: no
// further than the clip is long, its number of frames plus one second.
struct ClipLength {
    std::uint64_t frames = 0;
    // The frame numbers that one second of the clip's timecodes holds, after
    // the double-rate renumbering; 0 when the clip gives no rate to count with.
    std::uint64_t framesPerSecond = 0;

    ClipLength(float fps, std::uint64_t frameCount) : frames(frameCount) {
        const double rate = static_cast<double>(fps);
        // Only a rate whose ceiling fits in 32 bits, as in timecode arithmetic;
        // a NaN fails both comparisons.
        if (rate > 0.0 && rate < 4294967296.0) {
            // At double rate one frame field holds two frames, each field
            // counting at the base rate: 59.94 gives 2 x 30, 31 gives 2 x 16.
            framesPerSecond = DoubleRate::appliesTo(fps)
                                  ? 2u * static_cast<std::uint64_t>(std::ceil(rate / 2.0))
                                  : static_cast<std::uint64_t>(std::ceil(rate));
        }
    }

    // Whether `after`, counted on the following day, lies no further after
    // `before` than the clip is long. With the clip's rate both are counted in
    // frames, the frame fields taken as they stand, so that the bound is as
    // tight as the clip: one second per frame would take a fall of an hour for
    // the wrap in any clip of some 82800 frames (under an hour of footage at
    // 24 frames per second). Without a rate (one of 0, negative, not a number
    // or too large to count with) the frame fields cannot be weighed: then only
    // whole seconds are compared, against one second per frame, the slowest
    // rate a clip is taken to run at. That bound never refuses a true wrap,
    // since frame fields below the rate shift the distance by less than a
    // second, and still takes a fall of hours for a glitch unless the clip
    // holds nearly a day's worth of frames.
    bool reachesAcrossMidnight(const Timecode::Timecode& before,
                               const Timecode::Timecode& after) const {
        const std::uint64_t beforeSeconds = secondCount(before);
        const std::uint64_t afterSeconds = secondCount(after) + secondsPerDay;
        if (afterSeconds < beforeSeconds ||
            (afterSeconds == beforeSeconds && after.frames < before.frames)) {
            return false;
        }
        const std::uint64_t seconds = afterSeconds - beforeSeconds;
        if (framesPerSecond == 0) {
            return seconds <= saturatingSum(frames, 1u);
        }
        // seconds x rate + after's frames <= frames + rate + before's frames,
        // without letting the product overflow.
        const std::uint64_t limit =
            saturatingSum(saturatingSum(frames, framesPerSecond), before.frames);
        return seconds <= limit / framesPerSecond &&
               after.frames <= limit - seconds * framesPerSecond;
    }

    static std::uint64_t saturatingSum(std::uint64_t a, std::uint64_t b) {
        return a > std::numeric_limits<std::uint64_t>::max() - b
                   ? std::numeric_limits<std::uint64_t>::max()
                   : a + b;
    }
};

// Where the timecodes of a clip's frames wrap past midnight, watched frame by
// frame. A fall wraps when the timecode after it, counted on the following
// day, lies within the clip's length after the last valid one before it; any
// other fall (a re-jam, a glitch) leaves the timecodes as stored.
struct TimecodeFalls {
    explicit TimecodeFalls(ClipLength clipLength) : length(clipLength) {}

    ClipLength length;
    std::size_t wraps = 0;
    // For the last wrap: how many runs of lens data start before its frame.
    std::size_t runsBefore = 0;
    // The greatest hours from the last wrap on.
    std::uint32_t greatestHours = 0;
    // The timecode of the last frame that has one.
    std::optional<Timecode::Timecode> last;

    void add(const Timecode::Timecode& timecode, std::size_t runsSoFar) {
        if (last && timecode < *last && length.reachesAcrossMidnight(*last, timecode)) {
            ++wraps;
            runsBefore = runsSoFar;
            greatestHours = 0;
        }
        greatestHours = std::max(greatestHours, timecode.hours);
        last = timecode;
    }
};

// Every frame that starts a new run of lens data, with its timecode; frames
// without a packet neither end nor start a run. The timecode of every frame
// goes to `falls`; a frame that starts no run may have none, or one that is
// not valid, and is then passed over.
std::vector<std::pair<Timecode::Timecode, RawSubmetadata>>
allRawTlvMetadata(std::shared_ptr<R3DSDK::Clip> clip, std::optional<TimecodeFalls>& falls) {
    std::vector<std::pair<Timecode::Timecode, RawSubmetadata>> result;
    const float fps = clip->MetadataItemAsFloat(R3DSDK::RMD_FRAMERATE);
    const std::uint64_t frameCount = clip->VideoFrameCount();
    falls.emplace(ClipLength(fps, frameCount));
    for (std::uint64_t frame = 0; frame < frameCount; ++frame) {
        R3DSDK::Metadata frameMetadata;
        clip->GetFrameMetadata(frameMetadata, static_cast<std::size_t>(frame));
        RawSubmetadata raw = rawTlvSubmetadata(
            frameMetadata.MetadataItemAsString(R3DSDK::RMD_LENS_OKALU_TELVAR_DYNAMIC));
        std::string timecodeText =
            frameMetadata.MetadataItemAsString(R3DSDK::RMD_FRAME_ABSOLUTE_TIMECODE);
        modifyTimecodeStringIfNeeded(fps, timecodeText);
        const bool startsRun = !raw.hexPayload.empty() &&
                               (result.empty() || result.back().second.typeCode != raw.typeCode ||
                                result.back().second.hexPayload != raw.hexPayload);
        if (startsRun) {
            result.emplace_back(Timecode::Timecode(timecodeText.c_str(), 0.0f), std::move(raw));
            falls->add(result.back().first, result.size() - 1);
        } else {
            try {
                falls->add(Timecode::Timecode(timecodeText.c_str(), 0.0f), result.size());
            } catch (const Timecode::InvalidTimecodeException&) {
                // A frame without a valid timecode takes no part in finding the wrap.
            }
        }
    }
    return result;
}

// A clip that runs across midnight has time-of-day timecodes that wrap once.
// From the frame of the wrap on every kept timecode counts 24 hours later, so
// that the list ascends as the halving search needs. Returns the clip's end
// (its last frame with a timecode) counted the same way, or nothing when the
// clip does not cross midnight. Timecodes that wrap more than once are no
// continuous clip (they jump) and are left as stored.
std::optional<Timecode::Timecode> continueAcrossMidnight(std::vector<Timecode::Timecode>& timecodes,
                                                         const TimecodeFalls& falls) {
    if (falls.wraps != 1 || falls.greatestHours > std::numeric_limits<std::uint32_t>::max() - 24u) {
        return std::nullopt;
    }
    for (std::size_t index = falls.runsBefore; index < timecodes.size(); ++index) {
        timecodes[index].hours += 24u;
    }
    Timecode::Timecode end = *falls.last;
    end.hours += 24u;
    return end;
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

    std::optional<TimecodeFalls> falls;
    const auto rawPackets = allRawTlvMetadata(clip, falls);
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
    endAcrossMidnight = continueAcrossMidnight(timecodes, *falls);
}

Metadata R3DMetadataSource::metadata(const Timecode::Timecode& timecode) const {
    Metadata result;
    result.headerMetadata = headerMetadata;
    // Before a clip that runs across midnight, a request may belong to the
    // following day, where the clip's later frames now lie.
    Timecode::Timecode request = timecode;
    if (endAcrossMidnight && timecode < timecodes.front() &&
        request.hours <= std::numeric_limits<std::uint32_t>::max() - 24u &&
        MetadataSourceHelper::isOnTheFollowingDay(secondCount(timecode),
                                                  secondCount(timecodes.front()),
                                                  secondCount(*endAcrossMidnight), secondsPerDay)) {
        request.hours += 24u;
    }
    const std::size_t index = MetadataSourceHelper::indexOfClosestTimecode(timecodes, request);
    result.frameMetadata = frameMetadatas[index];
    return result;
}

} // namespace MetadataCopy
