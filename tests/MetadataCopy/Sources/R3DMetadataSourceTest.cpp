#include "MetadataCopy/Sources/R3DMetadataSource.hpp"

#include "Exception/Exception.hpp"
#include "Sources/R3DTestClips.hpp"
#include "Support/ExrFixtures.hpp"
#include "Timecode/InvalidTimecodeException.hpp"
#include "Timecode/Timecode.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace R3DTestClips;
using MetadataCopy::R3DMetadataSource;

class R3DMetadataSourceTest : public StartedSdkTest {
protected:
    std::string writeClip(const Clip& clip, const std::string& name = "A001_C001.R3D") {
        const std::string path = directory.file(name);
        ExrFixtures::writeFileBytes(path, clipText(clip));
        return path;
    }

    std::string constructionFailure(const std::string& path) {
        try {
            R3DMetadataSource source(path);
        } catch (const Exception& exception) {
            return exception.what();
        }
        return "(constructed)";
    }

    ExrFixtures::TemporaryDirectory directory;
};

/// The first shading value of the lens data that answers the request, in the
/// tenths that the test packets are written in.
float shadingAt(const R3DMetadataSource& source, const std::string& timecode) {
    const MetadataCopy::Metadata metadata =
        source.metadata(Timecode::Timecode(timecode.c_str(), 0.0f));
    return metadata.frameMetadata.interpolationPoints.shading.at(0) * 10.0f;
}

struct Request {
    std::string timecode;
    float shading;
};

void expectAnswers(const R3DMetadataSource& source, const std::vector<Request>& requests) {
    for (const Request& request : requests) {
        SCOPED_TRACE(request.timecode);
        EXPECT_FLOAT_EQ(request.shading, shadingAt(source, request.timecode));
    }
}

/// Frames that each carry lens data of their own, shading 100 + their place
/// in the clip, so that an answer names the frame it came from.
std::vector<Frame> numbered(const std::vector<const char*>& timecodes) {
    std::vector<Frame> frames;
    for (const char* timecode : timecodes) {
        frames.push_back({timecode, shortPacket(100 + static_cast<unsigned int>(frames.size()))});
    }
    return frames;
}

TEST_F(R3DMetadataSourceTest, KeepsTheFramesWhereTheLensDataChanges) {
    const std::string a = shortPacket(11), b = shortPacket(22);
    // Frames that are not kept may carry no timecode.
    const struct {
        const char* name;
        std::vector<Frame> frames;
        std::vector<Request> requests;
    } cases[] = {
        {"A A B A",
         {{"01:00:00:00", a}, {"-", a}, {"01:00:00:02", b}, {"01:00:00:03", a}},
         {{"00:59:59:00", 11},
          {"01:00:00:00", 11},
          {"01:00:00:01", 11},
          {"01:00:00:02", 22},
          {"01:00:00:03", 11},
          {"02:00:00:00", 11}}},
        {"A none A B",
         {{"01:00:00:00", a}, {"-", ""}, {"-", a}, {"01:00:00:03", b}},
         {{"01:00:00:02", 11}, {"01:00:00:03", 22}}},
        {"none none A",
         {{"-", ""}, {"-", ""}, {"01:00:00:02", a}},
         {{"01:00:00:00", 11}, {"01:00:00:05", 11}}},
        {"A A A", {{"01:00:00:00", a}, {"-", a}, {"-", a}}, {{"00:00:00:00", 11}}},
        // A frame without a timecode that starts a run answers by its place,
        // and its lens data stays in force.
        {"A B(untimed) B",
         {{"01:00:00:00", a}, {"-", b}, {"01:00:00:02", b}},
         {{"00:59:00:00", 11},
          {"01:00:00:00", 11},
          {"01:00:00:01", 22},
          {"01:00:00:02", 22},
          {"01:00:05:00", 22}}},
        {"A(untimed) B B(untimed) A(untimed)",
         {{"bad", a}, {"01:00:00:01", b}, {"-", ""}, {"-", a}},
         {{"01:00:00:00", 11},
          {"00:00:00:00", 11},
          {"01:00:00:01", 22},
          {"01:00:00:02", 22},
          {"01:00:00:03", 11},
          {"01:00:00:04", 11}}},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        Clip clip;
        clip.frames = testCase.frames;
        const R3DMetadataSource source(writeClip(clip));
        expectAnswers(source, testCase.requests);
    }
}

TEST_F(R3DMetadataSourceTest, CountsAPacketOnlyFromItsFullLength) {
    const std::string shortText = shortPacket(22);
    const std::string longText = lensText(payload(false, 22, -5));
    const struct {
        const char* name;
        std::string lensData;
        bool isPacket;
    } cases[] = {
        {"7A of 110", shortText, true},
        {"7A of 109", shortText.substr(0, 109), false},
        {"7A of 111", shortText + "/", true},
        {"5A of 209", longText, true},
        {"5A of 208", longText.substr(0, 208), false},
        {"7a of 110", "7a" + shortText.substr(2), false},
        {"5A of 110", "5A" + shortText.substr(2), false},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        Clip clip;
        clip.frames = {{"01:00:00:00", shortPacket(11)}, {"01:00:00:01", testCase.lensData}};
        const R3DMetadataSource source(writeClip(clip));
        EXPECT_FLOAT_EQ(testCase.isPacket ? 22.0f : 11.0f, shadingAt(source, "01:00:00:01"));
    }
}

// Above 30 and up to 60 frames per second the clip numbers both fields of a
// frame alike and tells them apart by "." and ":"; the source counts fields.
TEST_F(R3DMetadataSourceTest, DoublesTheFrameNumbersOfDoubleRateClips) {
    const std::string a = shortPacket(11), b = shortPacket(22);
    const struct {
        const char* framerate;
        std::vector<Frame> frames;
        std::vector<Request> requests;
    } cases[] = {
        {"50",
         {{"10:00:00.24", a}, {"10:00:00:24", b}},
         {{"10:00:00:48", 11}, {"10:00:00:49", 22}, {"10:00:00:50", 22}}},
        {"60",
         {{"10:00:00.10", a}, {"10:00:00:10", b}},
         {{"10:00:00:20", 11}, {"10:00:00:21", 22}, {"10:00:00:11", 11}}},
        {"30",
         {{"10:00:00:24", a}, {"10:00:00:25", b}},
         {{"10:00:00:24", 11}, {"10:00:00:25", 22}, {"10:00:00:49", 22}}},
        {"120", {{"10:00:00:24", a}, {"10:00:00:25", b}}, {{"10:00:00:25", 22}}},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.framerate);
        Clip clip;
        clip.framerate = testCase.framerate;
        clip.frames = testCase.frames;
        const R3DMetadataSource source(writeClip(clip));
        expectAnswers(source, testCase.requests);
    }
}

/// An ordinary clip of six frames, each with lens data of its own, that
/// passes from hh:59:59 into the next hour (at 23, midnight) at one rate:
/// each frame answers its own timecode, a request an hour before the clip its
/// first frame and one an hour after it its last.
struct OrdinaryClip {
    std::vector<Frame> frames;
    std::vector<Request> requests;
};

OrdinaryClip ordinaryClip(const std::string& framerate, unsigned int framesPerSecond,
                          unsigned int hours) {
    const bool doubleRate = std::stof(framerate) > 30.0f;
    // hh:59:59 plus frames, so that the clip passes a minute and an hour too.
    const unsigned int second = (hours * 60 + 59) * 60 + 59;
    const auto clock = [](unsigned int total, const char* format, unsigned int field) {
        char text[64];
        std::snprintf(text, sizeof text, format, total / 3600 % 24, total / 60 % 60, total % 60,
                      field);
        return std::string(text);
    };
    OrdinaryClip clip;
    clip.requests.push_back({clock(second - 3600, "%02u:%02u:%02u:%02u", 0), 100});
    for (unsigned int place = 0; place < 6; ++place) {
        const unsigned int number = framesPerSecond - 3 + place;
        const unsigned int total = second + number / framesPerSecond;
        const unsigned int frame = number % framesPerSecond;
        clip.frames.push_back(
            {clock(total,
                   doubleRate && frame % 2 == 0 ? "%02u:%02u:%02u.%02u" : "%02u:%02u:%02u:%02u",
                   doubleRate ? frame / 2 : frame),
             shortPacket(100 + place)});
        clip.requests.push_back(
            {clock(total, "%02u:%02u:%02u:%02u", frame), 100.0f + static_cast<float>(place)});
    }
    clip.requests.push_back({clock(second + 3600, "%02u:%02u:%02u:%02u", 0), 105});
    return clip;
}

/// A clip at 24 frames a second recorded from `start` (frames after
/// midnight, on into the next day) with the given steps in frames between its
/// frames, each with lens data of its own; the frame at `glitchPlace`, if any,
/// carries `glitch` instead of its moment. Requests: a minute before the clip,
/// each frame's moment, the middle of each step and the moment before the
/// next frame, the glitch's timecode, and 10 minutes after the clip; each
/// expects the frame recorded then.
OrdinaryClip cadenceClip(unsigned long start, const std::vector<unsigned long>& steps,
                         std::size_t glitchPlace = SIZE_MAX, const char* glitch = "") {
    const auto clock = [](unsigned long frames) {
        frames %= 24ul * 3600 * 24;
        char text[16];
        std::snprintf(text, sizeof text, "%02lu:%02lu:%02lu:%02lu", frames / 86400,
                      frames / 1440 % 60, frames / 24 % 60, frames % 24);
        return std::string(text);
    };
    OrdinaryClip clip;
    clip.requests.push_back({clock(start + 24ul * 3600 * 24 - 1440), 100});
    unsigned long moment = start;
    for (std::size_t place = 0; place <= steps.size(); ++place) {
        const float shading = 100.0f + static_cast<float>(place);
        clip.frames.push_back(
            {place == glitchPlace ? glitch : clock(moment), shortPacket(100 + place)});
        clip.requests.push_back({clock(moment), shading});
        if (place < steps.size()) {
            clip.requests.push_back({clock(moment + steps[place] / 2), shading});
            clip.requests.push_back({clock(moment + steps[place] - 1), shading});
            moment += steps[place];
        }
    }
    if (glitchPlace < clip.frames.size()) {
        clip.requests.push_back({glitch, 100.0f + static_cast<float>(glitchPlace)});
    }
    clip.requests.push_back({clock(moment + 14400), 100.0f + static_cast<float>(steps.size())});
    return clip;
}

/// `count` steps of `frames` frames each, after `steps`.
std::vector<unsigned long> repeated(std::vector<unsigned long> steps, std::size_t count,
                                    unsigned long frames) {
    steps.insert(steps.end(), count, frames);
    return steps;
}

// A fall of more than 12 hours is midnight, whatever the clip's length or
// rate: before the clip, or nearer its start than its end, is its first
// entry; after it, its last. The frame that holds the wrap need not be kept
// nor carry lens data, and a last frame without a timecode leaves the clip's
// end to the frame before it. A shorter fall or a forward jump (a glitch, a
// stale or re-jammed timecode, a zeroed one) leaves the rest of the clip
// where it is: each frame placed within 12 hours of the end of the longest
// run before it. Every frame answers the timecode it carries, however far off
// it lies, and a glitched or untimed frame the moment of its place where its
// timeline neighbours lie a whole number of frames per place apart, or where
// the timeline's ends count out to it.
TEST_F(R3DMetadataSourceTest, ClipsAcrossMidnightRunOnIntoTheNextDay) {
    const std::string a = shortPacket(11), b = shortPacket(22), c = shortPacket(33);
    const std::string d = shortPacket(44), e = shortPacket(55);
    const std::vector<Frame> glitch = {{"10:00:00:00", a}, {"10:00:00:01", b}, {"09:00:00:00", b},
                                       {"10:00:00:03", c}, {"10:00:00:04", d}, {"10:00:00:05", e}};
    const std::vector<Request> glitchRequests = {{"10:00:00:04", 44}, {"10:00:00:05", 55}};
    const auto p = [](unsigned int place) { return shortPacket(100 + place); };
    struct ClipCase {
        std::string framerate;
        std::vector<Frame> frames;
        std::vector<Request> requests;
    };
    std::vector<ClipCase> cases = {
        {"24",
         {{"23:59:59:22", a}, {"23:59:59:23", b}, {"00:00:00:00", b}, {"00:00:00:01", c}},
         {{"23:59:59:23", 22},
          {"00:00:00:01", 33},
          {"00:00:05:00", 33},
          {"11:00:00:00", 33},
          {"13:00:00:00", 11},
          {"23:59:00:00", 11}}},
        {"24",
         {{"23:59:59:22", a}, {"23:59:59:23", b}, {"-", b}, {"00:00:00:01", b}},
         {{"00:00:00:01", 22}}},
        {"59.94",
         {{"23:59:59.29", a}, {"23:59:59:29", b}, {"00:00:00.00", c}},
         {{"23:59:59:59", 22}, {"00:00:00:01", 33}}},
        {"24", {{"23:59:59:22", a}, {"23:59:59:23", b}}, {{"00:00:00:01", 11}}},
        {"24",
         {{"23:59:59:22", ""},
          {"23:59:59:23", ""},
          {"00:00:00:00", a},
          {"00:00:00:01", a},
          {"00:00:00:02", b}},
         {{"23:59:59:23", 11}, {"00:00:00:01", 11}, {"00:00:00:02", 22}}},
        {"24",
         {{"23:59:59:22", a}, {"23:59:59:23", b}, {"00:00:00:00", b}, {"-", b}},
         {{"00:00:00:00", 22}}},
        {"24",
         {{"10:00:00:10", a},
          {"10:00:00:20", b},
          {"10:00:00:05", c},
          {"10:00:00:30", a},
          {"10:00:00:01", b}},
         {{"10:00:00:20", 22}, {"10:00:00:05", 33}}},
        {"24", glitch, glitchRequests},
        // A glitch that starts a run of lens data.
        {"24",
         {{"10:00:00:00", a},
          {"10:00:00:01", b},
          {"09:00:00:00", c},
          {"10:00:00:03", c},
          {"10:00:00:04", d}},
         {{"10:00:00:01", 22}, {"10:00:00:02", 33}, {"10:00:00:03", 33}, {"10:00:00:04", 44}}},
        {"0", glitch, glitchRequests},
        {"1e30", glitch, glitchRequests},
        {"24",
         {{"23:59:59:20", a},
          {"23:59:59:21", b},
          {"22:59:59:22", b},
          {"23:59:59:23", c},
          {"00:00:00:00", d},
          {"00:00:00:01", e}},
         {{"23:59:59:23", 33}, {"00:00:00:00", 44}, {"00:00:00:01", 55}}},
        {"24", {{"23:59:59:00", a}, {"00:00:00:02", b}}, {{"00:00:00:02", 22}}},
        {"24", {{"23:59:59:00", a}, {"00:00:00:03", b}}, {{"00:00:00:03", 22}}},
        {"0", {{"23:59:59:00", a}, {"00:00:00:03", b}}, {{"00:00:00:03", 22}}},
        {"59.94", {{"23:59:58.15", a}, {"00:00:00.00", b}}, {{"00:00:00:00", 22}}},
        // A frame every 2 seconds.
        {"24",
         {{"23:59:56:00", a}, {"23:59:58:00", b}, {"00:00:00:00", c}, {"00:00:02:00", d}},
         {{"23:59:57:00", 11}, {"23:59:58:00", 22}, {"00:00:01:00", 33}, {"00:00:02:00", 44}}},
        // A stale timecode after the wrap; the first frame at 23:59:59:23 answers it.
        {"24",
         {{"23:59:59:22", a},
          {"23:59:59:23", b},
          {"00:00:00:00", c},
          {"23:59:59:23", d},
          {"00:00:00:02", e}},
         {{"23:59:59:23", 22}, {"00:00:00:00", 33}, {"00:00:00:02", 55}, {"00:00:10:00", 55}}},
        // Re-jammed before the wrap, and hours forward after it.
        {"24",
         {{"23:59:59:23", a}, {"03:00:00:00", b}, {"00:00:00:00", c}, {"00:00:00:01", d}},
         {{"23:59:59:23", 11}, {"03:00:00:00", 22}, {"00:00:00:00", 33}, {"00:00:05:00", 44}}},
        {"24",
         {{"23:59:59:22", a},
          {"23:59:59:23", b},
          {"00:00:00:00", c},
          {"04:00:00:01", d},
          {"00:00:00:02", e}},
         {{"00:00:00:01", 44}, {"04:00:00:01", 44}, {"00:00:30:00", 55}, {"05:00:00:00", 55}}},
        // Exactly 12 hours forward keeps the day; neither a jump of 13 hours
        // forward nor a zeroed timecode is midnight.
        {"24",
         {{"10:00:00:00", a}, {"22:00:00:00", b}, {"10:00:00:02", c}},
         {{"22:00:00:00", 22}, {"10:00:00:01", 22}}},
        {"24",
         {{"10:00:00:00", a},
          {"10:00:00:01", b},
          {"23:00:00:02", c},
          {"10:00:00:03", d},
          {"10:00:00:04", e}},
         {{"09:00:00:00", 11}, {"10:00:00:02", 33}, {"10:00:00:03", 44}, {"11:00:00:00", 55}}},
        {"24",
         {{"13:00:00:00", a},
          {"13:00:00:01", b},
          {"00:00:00:00", c},
          {"13:00:00:03", d},
          {"13:00:00:04", e}},
         {{"12:00:00:00", 11}, {"13:00:00:02", 33}, {"13:00:00:03", 44}, {"14:00:00:00", 55}}},
        // Counted across a second only at a known rate; a gap not filled
        // exactly by the frames between is not counted out.
        {"24",
         {{"10:00:00:22", a}, {"10:00:00:23", b}, {"03:00:00:00", c}, {"10:00:01:01", c}},
         {{"10:00:01:00", 33}}},
        {"0",
         {{"10:00:00:22", a}, {"10:00:00:23", b}, {"03:00:00:00", c}, {"10:00:01:01", c}},
         {{"10:00:01:00", 22}}},
        {"24",
         {{"10:00:00:00", a}, {"10:00:00:01", a}, {"09:00:00:00", b}, {"10:00:00:04", c}},
         {{"10:00:00:02", 11}, {"10:00:00:03", 11}}},
        // Counted at a whole step: 4 frames over 2 places, 2 frames a place.
        {"24",
         {{"10:00:00:00", a}, {"10:00:00:01", a}, {"09:00:00:00", b}, {"10:00:00:05", c}},
         {{"10:00:00:02", 11}, {"10:00:00:03", 22}, {"10:00:00:04", 22}}},
        // A zeroed timecode before the wrap leaves 00:00:00:00 to its owner.
        {"24",
         {{"23:59:59:21", a},
          {"00:00:00:00", b},
          {"23:59:59:23", c},
          {"00:00:00:00", d},
          {"00:00:00:01", e}},
         {{"23:59:59:23", 33}, {"00:00:00:00", 44}, {"00:00:00:01", 55}}},
        // A glitch more than 12 hours off answers the timecode it carries,
        // though placed on another day.
        {"24",
         numbered({"14:00:00:00", "00:00:00:00", "14:00:00:02"}),
         {{"13:59:59:23", 100},
          {"14:00:00:00", 100},
          {"00:00:00:00", 101},
          {"14:00:00:01", 101},
          {"14:00:00:02", 102},
          {"14:00:00:03", 102}}},
        {"24",
         numbered({"01:00:00:00", "01:00:00:01", "14:00:00:00", "01:00:00:03", "01:00:00:04"}),
         {{"01:00:00:00", 100},
          {"01:00:00:01", 101},
          {"14:00:00:00", 102},
          {"01:00:00:02", 102},
          {"01:00:00:03", 103},
          {"01:00:00:04", 104}}},
        {"24",
         numbered({"23:59:59:22", "23:59:59:23", "00:00:00:00", "00:00:00:01", "23:58:00:02",
                   "23:58:00:03", "23:58:00:04", "23:58:00:05", "23:58:00:06"}),
         {{"23:59:59:22", 100},
          {"23:59:59:23", 101},
          {"00:00:00:00", 102},
          {"00:00:00:01", 103},
          {"23:58:00:02", 104},
          {"23:58:00:03", 105},
          {"23:58:00:04", 106},
          {"23:58:00:05", 107},
          {"23:58:00:06", 108}}},
        // Two glitches in a row, a glitch in an hourly time-lapse, one a
        // frame more than 12 hours forward: the rest keeps its timecodes.
        {"24",
         numbered({"13:33:03:00", "13:33:03:01", "19:27:35:02", "06:03:27:19", "13:33:03:04",
                   "13:33:03:05", "13:33:03:06"}),
         {{"13:33:03:00", 100},
          {"13:33:03:01", 101},
          {"19:27:35:02", 102},
          {"06:03:27:19", 103},
          {"13:33:03:04", 104},
          {"13:33:03:05", 105},
          {"13:33:03:06", 106}}},
        {"24",
         numbered({"03:10:00:00", "04:10:00:00", "05:10:00:00", "06:10:00:00", "19:00:00:00",
                   "08:10:00:00", "09:10:00:00", "10:10:00:00", "11:10:00:00"}),
         {{"03:10:00:00", 100},
          {"04:10:00:00", 101},
          {"05:10:00:00", 102},
          {"06:10:00:00", 103},
          {"19:00:00:00", 104},
          {"07:10:00:00", 104},
          {"08:10:00:00", 105},
          {"09:10:00:00", 106},
          {"10:10:00:00", 107},
          {"11:10:00:00", 108},
          {"12:00:00:00", 108}}},
        {"24",
         numbered({"10:00:00:00", "22:00:00:01", "10:00:00:02", "10:00:00:03"}),
         {{"09:59:59:23", 100},
          {"10:00:00:00", 100},
          {"22:00:00:01", 101},
          {"10:00:00:01", 101},
          {"10:00:00:02", 102},
          {"10:00:00:03", 103},
          {"10:00:00:05", 103}}},
        // A burst whose frames each lie within 12 hours of the one before
        // does not carry the rest onto the next day; it is counted out.
        {"24",
         numbered({"06:17:59:22", "06:17:59:23", "06:18:00:00", "21:07:22:08", "15:38:33:03",
                   "21:25:20:17", "06:18:00:04", "06:18:00:05", "06:18:00:06", "06:18:00:07"}),
         {{"06:17:59:21", 100},
          {"06:18:00:00", 102},
          {"06:18:00:01", 103},
          {"06:18:00:02", 104},
          {"06:18:00:03", 105},
          {"15:38:33:03", 104},
          {"06:18:00:04", 106},
          {"06:18:00:07", 109},
          {"06:18:00:08", 109}}},
        // Glitches at an interval clip's start, each below the one before:
        // counted out from the first real frames, 10 seconds a place.
        {"25",
         numbered({"17:52:39:21", "16:39:03:07", "10:18:30:06", "09:57:41:07", "17:53:19:21",
                   "17:53:29:21", "17:53:39:21", "17:53:49:21"}),
         {{"17:52:30:00", 100},
          {"17:52:39:21", 100},
          {"17:52:49:21", 101},
          {"17:52:59:21", 102},
          {"17:53:09:21", 103},
          {"17:53:19:21", 104},
          {"17:53:59:21", 107}}},
        // A glitch that ends the run lower than the frame it replaced is left
        // off it where the frame after it continues the rest.
        {"24",
         numbered({"20:31:53:03", "21:31:53:03", "22:31:53:03", "23:31:53:03", "00:31:53:03",
                   "23:34:29:07", "02:31:53:03"}),
         {{"23:31:53:03", 103},
          {"00:31:53:03", 104},
          {"23:34:29:07", 105},
          {"01:31:53:03", 105},
          {"02:31:53:03", 106},
          {"03:31:53:03", 106}}},
        // A frame without a timecode is counted as a place.
        {"24",
         {{"12:00:00:00", p(0)},
          {"12:00:00:01", p(1)},
          {"-", ""},
          {"05:00:00:03", p(2)},
          {"12:00:00:04", p(3)}},
         {{"12:00:00:02", 101}, {"12:00:00:03", 102}, {"05:00:00:03", 102}, {"12:00:00:04", 103}}},
        // A glitch at the clip's first or last frame is counted from the
        // timeline's ends.
        {"24",
         numbered({"00:00:00:00", "14:00:00:01", "14:00:00:02", "13:00:00:00", "14:00:00:04"}),
         {{"00:00:00:00", 100},
          {"14:00:00:00", 100},
          {"14:00:00:01", 101},
          {"14:00:00:02", 102},
          {"14:00:00:03", 103},
          {"13:00:00:00", 103},
          {"14:00:00:04", 104},
          {"14:00:01:00", 104}}},
        {"24",
         numbered({"10:00:00:00", "10:00:00:01", "10:00:00:02", "00:00:00:00"}),
         {{"10:00:00:02", 102}, {"10:00:00:03", 103}, {"00:00:00:00", 103}, {"10:00:00:04", 103}}},
        // A last frame glitched hours past midnight still takes the clip
        // across it.
        {"24",
         numbered({"23:59:59:20", "23:59:59:21", "23:59:59:22", "23:59:59:23", "05:40:12:01"}),
         {{"23:59:59:19", 100},
          {"23:59:59:23", 103},
          {"00:00:00:00", 104},
          {"00:00:00:01", 104},
          {"05:40:12:01", 104}}},
        // A frame every 10 seconds, one glitched: 240 frames a place.
        {"24",
         numbered({"10:00:00:00", "10:00:10:00", "10:00:20:00", "19:01:02:03", "10:00:40:00",
                   "10:00:50:00"}),
         {{"10:00:20:00", 102},
          {"10:00:29:23", 102},
          {"10:00:30:00", 103},
          {"10:00:35:00", 103},
          {"19:01:02:03", 103},
          {"10:00:40:00", 104},
          {"10:00:55:00", 105}}},
        // A first timecode that repeats: before the clip is its first frame.
        {"24",
         numbered({"14:00:00:00", "14:00:00:00", "14:00:00:02"}),
         {{"13:59:59:23", 100},
          {"13:00:00:00", 100},
          {"14:00:00:00", 100},
          {"14:00:00:01", 101},
          {"14:00:00:02", 102}}},
        // A glitch at double rate, placed on the day before.
        {"59.94",
         numbered({"10:00:00.28", "10:00:00:28", "23:00:00.00", "10:00:00:29", "10:00:01.00"}),
         {{"10:00:00:56", 100},
          {"10:00:00:57", 101},
          {"10:00:00:58", 102},
          {"23:00:00:00", 102},
          {"10:00:00:59", 103},
          {"10:00:01:00", 104}}},
        // At 29.97 the labels 00 and 01 of most minutes name no frame; a
        // glitch after such a minute boundary is counted out, 2 labels a place.
        {"29.97",
         numbered({"10:00:59:28", "10:00:59:29", "07:00:00:00", "10:01:00:03", "10:01:00:04"}),
         {{"10:00:59:28", 100},
          {"10:00:59:29", 101},
          {"10:01:00:02", 102},
          {"07:00:00:00", 102},
          {"10:01:00:03", 103},
          {"10:01:00:04", 104}}},
    };
    const struct {
        const char* framerate;
        unsigned int framesPerSecond;
    } rates[] = {{"23.976", 24}, {"24", 24}, {"25", 25},    {"29.97", 30}, {"30", 30},
                 {"48", 48},     {"50", 50}, {"59.94", 60}, {"60", 60}};
    for (const auto& rate : rates) {
        for (const unsigned int hours : {9u, 23u}) {
            const OrdinaryClip clip = ordinaryClip(rate.framerate, rate.framesPerSecond, hours);
            cases.push_back({rate.framerate, clip.frames, clip.requests});
        }
    }
    // Clips whose cadence changes, each with a glitch and without: a pause
    // before the last frame, an interval switch either way (across midnight
    // from 1 second to 60), a ramp from every frame to one in 2 seconds, and
    // a switch from 2 seconds to about 60 that runs on for 19 hours, across
    // midnight. Every frame stays on the timeline and keeps its moments.
    const unsigned long hour = 24ul * 3600;
    const std::vector<unsigned long> pause = repeated(repeated({}, 5, 240), 1, 1440);
    const std::vector<unsigned long> upward = repeated(repeated({}, 29, 24), 8, 1440);
    std::vector<unsigned long> downwardSwitch = repeated(repeated({}, 4, 1440), 29, 24);
    std::vector<unsigned long> ramp = repeated({}, 10, 1);
    ramp.insert(ramp.end(), {2, 3, 4, 6, 8, 12, 16, 24, 32, 40});
    ramp = repeated(ramp, 5, 48);
    std::vector<unsigned long> longSwitch = repeated({}, 1477, 48);
    for (unsigned int place = 0; place < 1165; ++place) {
        longSwitch.push_back(1416 + 24 * (place % 3));
    }
    // A zeroed timecode hours before a 17-hour clip across midnight must not
    // stretch it over a day.
    const std::vector<unsigned long> fiveMinutes = repeated(repeated({}, 200, 7200), 30, 24);
    for (const OrdinaryClip& clip :
         {cadenceClip(10 * hour, pause, 3, "03:00:00:00"), cadenceClip(10 * hour, pause),
          cadenceClip(24 * hour - 15 * 24, upward, 12, "03:17:41:13"),
          cadenceClip(24 * hour - 15 * 24, upward),
          cadenceClip(10 * hour, downwardSwitch, 20, "03:17:41:13"),
          cadenceClip(10 * hour, downwardSwitch), cadenceClip(10 * hour, ramp, 5, "03:17:41:13"),
          cadenceClip(10 * hour, ramp), cadenceClip(9 * hour, longSwitch, 700, "03:17:41:13"),
          cadenceClip(9 * hour, longSwitch),
          cadenceClip(10 * hour + 23 * 1440, fiveMinutes, 1, "00:00:00:00")}) {
        cases.push_back({"24", clip.frames, clip.requests});
    }
    // 600 frames at 24 fps with a two-frame burst in the middle: every frame
    // answers its own timecode, the burst's frames the moments of their places.
    ClipCase burst{"24", {}, {{"09:59:59:23", 100}, {"10:00:25:00", 699}}};
    for (unsigned int place = 0; place < 600; ++place) {
        char timecode[16];
        std::snprintf(timecode, sizeof timecode, "10:00:%02u:%02u", place / 24 % 60, place % 24);
        burst.requests.push_back({timecode, 100.0f + static_cast<float>(place)});
        burst.frames.push_back({place == 300   ? "21:13:07:11"
                                : place == 301 ? "03:44:19:02"
                                               : timecode,
                                p(place)});
    }
    burst.requests.push_back({"21:13:07:11", 400});
    burst.requests.push_back({"03:44:19:02", 401});
    cases.push_back(burst);
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.frames.front().timecode + " at " + testCase.framerate);
        Clip clip;
        clip.framerate = testCase.framerate;
        clip.frames = testCase.frames;
        expectAnswers(R3DMetadataSource(writeClip(clip)), testCase.requests);
    }
}

// An interval recording overnight: one frame a minute from 23:00 to 01:00,
// each with its own lens data.
TEST_F(R3DMetadataSourceTest, AnIntervalRecordingAcrossMidnightAnswersEachFrame) {
    Clip clip;
    // The hours the clip leaves out are split at 12:00, which goes before it.
    std::vector<Request> requests = {
        {"22:30:00:00", 1}, {"12:00:00:00", 1}, {"11:59:59:00", 121}, {"01:30:00:00", 121}};
    std::vector<std::string> timecodes;
    for (unsigned int minute = 0; minute <= 120; ++minute) {
        char timecode[12];
        std::snprintf(timecode, sizeof timecode, "%02u:%02u:00:00", (23 + minute / 60) % 24,
                      minute % 60);
        timecodes.push_back(timecode);
        clip.frames.push_back({timecode, shortPacket(minute + 1)});
    }
    for (unsigned int minute = 0; minute <= 120; ++minute) {
        requests.push_back({timecodes[minute], static_cast<float>(minute + 1)});
    }
    expectAnswers(R3DMetadataSource(writeClip(clip)), requests);
}

TEST_F(R3DMetadataSourceTest, RefusesFrameTimecodesThatAreNotValid) {
    const struct {
        const char* framerate;
        const char* timecode;
    } cases[] = {
        {"60", "10:00:00:50"}, // doubled, the frame field has three digits
        {"60", "12"},          // too short to hold a frame field
        {"30", "10:00:00.12"}, // "." is only read at double rate
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(std::string(testCase.framerate) + " " + testCase.timecode);
        Clip clip;
        clip.framerate = testCase.framerate;
        clip.frames = {{testCase.timecode, shortPacket(11)}};
        const std::string path = writeClip(clip);
        EXPECT_THROW(R3DMetadataSource source(path), Timecode::InvalidTimecodeException);
    }
}

TEST_F(R3DMetadataSourceTest, ExplainsEveryClipItRefuses) {
    const std::string loadFailure = "Source could not be loaded.";
    const std::string unknownFormat = "Recording format of source is unknown.";
    const std::string invalidPacket = "Source does not contain valid Telvar metadata.";
    const std::string noPacket = "Source does not contain any Telvar metadata.";

    Clip good;
    good.frames = {{"01:00:00:00", shortPacket(11)}};
    Clip unknownModel = good;
    unknownModel.cameraModel = "KOMODO 9K";
    Clip unknownSize = good;
    unknownSize.height = 3241;
    Clip noWidth = good;
    noWidth.width = 0;
    Clip noHeight = good;
    noHeight.height = 0;
    Clip unknownSizeWithoutPackets = unknownSize;
    unknownSizeWithoutPackets.frames = {{"-", ""}};
    Clip threeDigitPiece = good;
    threeDigitPiece.frames.push_back({"01:00:00:01", shortPacket(22)});
    threeDigitPiece.frames.back().lensData.insert(40, "0");
    threeDigitPiece.frames.back().lensData.pop_back();
    Clip otherSeparator = good;
    otherSeparator.frames = {{"01:00:00:00", lensText(payload(true, 11, 0), '-')}};
    Clip noLensData = good;
    noLensData.frames = {{"01:00:00:00", ""}, {"01:00:00:01", shortPacket(11).substr(0, 109)}};
    Clip noFrames = good;
    noFrames.frames.clear();

    const struct {
        const char* name;
        std::string text;
        std::string message;
    } cases[] = {
        {"not a clip", "a text file\n", loadFailure},
        {"unknown model", clipText(unknownModel), unknownFormat},
        {"unknown pixel size", clipText(unknownSize), unknownFormat},
        {"unknown size, no packets", clipText(unknownSizeWithoutPackets), unknownFormat},
        {"width 0", clipText(noWidth), unknownFormat},
        {"height 0", clipText(noHeight), unknownFormat},
        {"three-digit piece", clipText(threeDigitPiece), invalidPacket},
        {"other separator", clipText(otherSeparator), invalidPacket},
        {"no lens data", clipText(noLensData), noPacket},
        {"no frames", clipText(noFrames), noPacket},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        const std::string path = directory.file("clip.r3d");
        ExrFixtures::writeFileBytes(path, testCase.text);
        EXPECT_EQ(testCase.message, constructionFailure(path));
    }
    EXPECT_EQ(loadFailure, constructionFailure(directory.file("missing.r3d")));
}

} // namespace
