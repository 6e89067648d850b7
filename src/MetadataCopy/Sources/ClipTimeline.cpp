#include "MetadataCopy/Sources/ClipTimeline.hpp"

#include "MetadataCopy/Sources/MetadataSourceHelper.hpp"
#include "MetadataCopy/Sources/MetadataSourceHelperImpl.hpp"

#include <algorithm>
#include <numeric>

namespace MetadataCopy {

namespace {

constexpr std::int64_t secondsPerDay = 24 * 3600;
constexpr std::int64_t halfDay = secondsPerDay / 2;

using Position = ClipTimeline::Position;

// Hours are unbounded but 32 bits wide, so that any timecode, moved by any
// number of days it can be moved by, fits in 64 signed bits.
Position storedPosition(const Timecode::Timecode& timecode) {
    Position position;
    position.seconds = static_cast<std::int64_t>(timecode.hours) * 3600 +
                       static_cast<std::int64_t>(timecode.minutes) * 60 + timecode.seconds;
    position.frames = timecode.frames;
    return position;
}

std::int64_t floorDivision(std::int64_t dividend, std::int64_t divisor) {
    const std::int64_t quotient = dividend / divisor;
    return dividend % divisor < 0 ? quotient - 1 : quotient;
}

Position movedByDays(Position position, std::int64_t days) {
    position.seconds += days * secondsPerDay;
    return position;
}

// The position on the day that puts `stored` within 12 hours of `last`.
// Exactly 12 hours either way keeps the day.
Position placedAfter(const Position& last, const Position& stored) {
    const std::int64_t distance = stored.seconds - last.seconds;
    // The day that brings the distance into [-12 h, +12 h).
    std::int64_t days = -floorDivision(distance + halfDay, secondsPerDay);
    if (distance + days * secondsPerDay == -halfDay &&
        (stored.frames < last.frames || (stored.frames == last.frames && days == -1))) {
        ++days;
    }
    return movedByDays(stored, days);
}

// The indices of a longest non-decreasing subsequence, in order: each
// position extends the longest run whose last element it does not fall below
// (patience sorting, n log n).
std::vector<std::size_t> longestNonDecreasingRun(const std::vector<Position>& positions) {
    const std::size_t none = positions.size();
    std::vector<std::size_t> ends;
    std::vector<std::size_t> previous(positions.size(), none);
    for (std::size_t index = 0; index < positions.size(); ++index) {
        const auto place = std::upper_bound(ends.begin(), ends.end(), positions[index],
                                            [&positions](const Position& value, std::size_t end) {
                                                return value < positions[end];
                                            });
        if (place != ends.begin()) {
            previous[index] = *(place - 1);
        }
        if (place == ends.end()) {
            ends.push_back(index);
        } else {
            *place = index;
        }
    }
    std::vector<std::size_t> run;
    for (std::size_t index = ends.empty() ? none : ends.back(); index != none;
         index = previous[index]) {
        run.push_back(index);
    }
    std::reverse(run.begin(), run.end());
    return run;
}

} // namespace

bool operator==(const Position& lhs, const Position& rhs) {
    return lhs.seconds == rhs.seconds && lhs.frames == rhs.frames;
}

bool operator<(const Position& lhs, const Position& rhs) {
    return lhs.seconds < rhs.seconds || (lhs.seconds == rhs.seconds && lhs.frames < rhs.frames);
}

ClipTimeline::ClipTimeline(const std::vector<Frame>& frames, std::uint32_t rate)
    : framesPerSecond(rate) {
    std::vector<Position> positions;
    positions.reserve(frames.size());
    for (const Frame& frame : frames) {
        positions.push_back(storedPosition(frame.timecode));
    }
    // Timecodes that never fall are taken as they are, whatever they jump by.
    const bool falls = !std::is_sorted(positions.begin(), positions.end());
    if (falls) {
        for (std::size_t index = 1; index < positions.size(); ++index) {
            positions[index] = placedAfter(positions[index - 1], positions[index]);
        }
    }

    std::vector<std::size_t> timeline;
    if (falls) {
        timeline = longestNonDecreasingRun(positions);
    } else {
        timeline.resize(positions.size());
        std::iota(timeline.begin(), timeline.end(), std::size_t{0});
    }
    for (const std::size_t index : timeline) {
        timelinePositions.push_back(positions[index]);
        timelineLensData.push_back(frames[index].lensData);
    }
    timelinePlaces = std::move(timeline);
    clipLensData.reserve(frames.size());
    for (const Frame& frame : frames) {
        clipLensData.push_back(frame.lensData);
    }
    acrossMidnight =
        !timelinePositions.empty() && (timelinePositions.front().seconds < 0 ||
                                       timelinePositions.back().seconds >= secondsPerDay);

    std::vector<std::size_t> order(positions.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&positions](std::size_t lhs, std::size_t rhs) {
        return positions[lhs] < positions[rhs];
    });
    framePositions.reserve(order.size());
    frameLensData.reserve(order.size());
    for (const std::size_t index : order) {
        framePositions.push_back(positions[index]);
        frameLensData.push_back(frames[index].lensData);
    }
}

std::size_t ClipTimeline::lensData(const Timecode::Timecode& timecode) const {
    Position request = storedPosition(timecode);
    if (acrossMidnight) {
        const Position& start = timelinePositions.front();
        const Position& end = timelinePositions.back();
        // The first day on which the request is not before the start.
        std::int64_t days = -floorDivision(request.seconds - start.seconds, secondsPerDay);
        Position candidate = movedByDays(request, days);
        if (candidate < start) {
            candidate = movedByDays(request, ++days);
        }
        // Past the end it lies in the part of the day that the clip leaves
        // out, which is split in the middle, in seconds.
        const bool nearerTheStart =
            end < candidate &&
            candidate.seconds - end.seconds >= start.seconds + secondsPerDay - candidate.seconds;
        request = nearerTheStart ? movedByDays(candidate, -1) : candidate;
    }
    // A timeline frame of the requested timecode answers before any other
    // frame of it: a glitch that shares a timecode with its true owner must
    // not take that owner's request.
    const auto onTimeline =
        std::lower_bound(timelinePositions.begin(), timelinePositions.end(), request);
    if (onTimeline != timelinePositions.end() && *onTimeline == request) {
        return timelineLensData[static_cast<std::size_t>(onTimeline - timelinePositions.begin())];
    }
    const auto exact = std::lower_bound(framePositions.begin(), framePositions.end(), request);
    if (exact != framePositions.end() && *exact == request) {
        return frameLensData[static_cast<std::size_t>(exact - framePositions.begin())];
    }
    const std::size_t before =
        MetadataSourceHelper::indexOfClosestTimecode(timelinePositions, request);
    const std::size_t place = placeBetweenNeighbours(before, request);
    return place < clipLensData.size() ? clipLensData[place] : timelineLensData[before];
}

// The frame whose place in the clip the request has, counted from the
// timeline frame before it, where the frames between that one and the next
// on the timeline are off it (their own timecodes glitched, stale or re-jammed)
// and exactly fill the timecodes between the two. Otherwise no frame (a place
// past the clip's frames): the lens data in force on the timeline answers.
std::size_t ClipTimeline::placeBetweenNeighbours(std::size_t before,
                                                 const Position& request) const {
    const std::size_t none = clipLensData.size();
    if (before + 1 >= timelinePositions.size() || !(timelinePositions[before] < request) ||
        timelinePlaces[before + 1] - timelinePlaces[before] < 2) {
        return none;
    }
    std::uint64_t span = 0;
    std::uint64_t offset = 0;
    if (!frameDistance(timelinePositions[before], timelinePositions[before + 1], span) ||
        !frameDistance(timelinePositions[before], request, offset) ||
        span != timelinePlaces[before + 1] - timelinePlaces[before] || offset >= span) {
        return none;
    }
    return timelinePlaces[before] + static_cast<std::size_t>(offset);
}

// The number of frames from one position to a later one: within one second
// the difference of the frame fields, across seconds only at a known rate and
// with frame fields below it. False where it cannot be counted.
bool ClipTimeline::frameDistance(const Position& from, const Position& to,
                                 std::uint64_t& distance) const {
    if (from.seconds == to.seconds) {
        distance = to.frames - from.frames;
        return true;
    }
    // Further apart than a day, no frame count bridges the gap.
    if (framesPerSecond == 0 || from.frames >= framesPerSecond || to.frames >= framesPerSecond ||
        to.seconds - from.seconds > secondsPerDay) {
        return false;
    }
    distance = static_cast<std::uint64_t>(to.seconds - from.seconds) * framesPerSecond + to.frames -
               from.frames;
    return true;
}

} // namespace MetadataCopy
