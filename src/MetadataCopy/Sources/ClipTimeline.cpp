#include "MetadataCopy/Sources/ClipTimeline.hpp"

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

// Places each position after the first within 12 hours of the end of the
// longest non-decreasing run among those placed before it, and returns the
// indices of the longest run of all, in order. Patience sorting (n log n):
// ends[l] is the position that ends the lowest run of length l + 1 so far,
// so ends.back() ends a longest run, the lowest of them. It changes only when
// a position extends that run or ends one as long lower down; a glitch below
// it starts a shorter run and never becomes the reference.
std::vector<std::size_t> placeAlongLongestRun(std::vector<Position>& positions) {
    const std::size_t none = positions.size();
    std::vector<std::size_t> ends;
    std::vector<std::size_t> previous(positions.size(), none);
    for (std::size_t index = 0; index < positions.size(); ++index) {
        if (!ends.empty()) {
            positions[index] = placedAfter(positions[ends.back()], positions[index]);
        }
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
    // The frames with a timecode: where each lies, and its place in the clip.
    std::vector<Position> positions;
    std::vector<std::size_t> places;
    clipLensData.reserve(frames.size());
    for (std::size_t place = 0; place < frames.size(); ++place) {
        const Frame& frame = frames[place];
        clipLensData.push_back(frame.lensData);
        if (frame.timecode) {
            positions.push_back(storedPosition(*frame.timecode));
            places.push_back(place);
        }
    }

    // Timecodes that never fall are taken as they are, whatever they jump by.
    if (std::is_sorted(positions.begin(), positions.end())) {
        timelinePositions = std::move(positions);
        timelinePlaces = std::move(places);
        return;
    }

    std::vector<Position> placed = positions;
    const std::vector<std::size_t> timeline = placeAlongLongestRun(placed);
    std::vector<bool> onTimeline(placed.size(), false);
    timelinePositions.reserve(timeline.size());
    timelinePlaces.reserve(timeline.size());
    for (const std::size_t index : timeline) {
        timelinePositions.push_back(placed[index]);
        timelinePlaces.push_back(places[index]);
        onTimeline[index] = true;
    }
    acrossMidnight =
        !timelinePositions.empty() && (timelinePositions.front().seconds < 0 ||
                                       timelinePositions.back().seconds >= secondsPerDay);

    std::vector<std::size_t> order(placed.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&placed](std::size_t lhs, std::size_t rhs) {
        return placed[lhs] < placed[rhs] || (placed[lhs] == placed[rhs] && lhs < rhs);
    });
    placedPositions.reserve(order.size());
    placedPlaces.reserve(order.size());
    for (const std::size_t index : order) {
        placedPositions.push_back(placed[index]);
        placedPlaces.push_back(places[index]);
    }

    std::sort(order.begin(), order.end(),
              [&positions, &onTimeline](std::size_t lhs, std::size_t rhs) {
                  if (!(positions[lhs] == positions[rhs])) {
                      return positions[lhs] < positions[rhs];
                  }
                  return onTimeline[lhs] != onTimeline[rhs] ? onTimeline[lhs] : lhs < rhs;
              });
    storedPositions.reserve(order.size());
    storedPlaces.reserve(order.size());
    for (const std::size_t index : order) {
        storedPositions.push_back(positions[index]);
        storedPlaces.push_back(places[index]);
    }
}

std::size_t ClipTimeline::lensData(const Timecode::Timecode& timecode) const {
    const Position stored = storedPosition(timecode);
    Position request = stored;
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
        return clipLensData[timelinePlaces[static_cast<std::size_t>(onTimeline -
                                                                    timelinePositions.begin())]];
    }
    const auto placed = std::lower_bound(placedPositions.begin(), placedPositions.end(), request);
    if (placed != placedPositions.end() && *placed == request) {
        return clipLensData[placedPlaces[static_cast<std::size_t>(placed -
                                                                  placedPositions.begin())]];
    }
    // A frame placed on another day than the timecode it carries (a glitch
    // more than 12 hours off) still answers that timecode, which its own
    // image carries too.
    const auto carried = std::lower_bound(storedPositions.begin(), storedPositions.end(), stored);
    if (carried != storedPositions.end() && *carried == stored) {
        return clipLensData[storedPlaces[static_cast<std::size_t>(carried -
                                                                  storedPositions.begin())]];
    }
    return clipLensData[placeOf(request)];
}

// The place in the clip whose frame was recorded at the request, where the
// timeline frames around it tell: counted out between two of them that lie
// a whole number of frames per place apart, and from the timeline's ends
// outwards. Otherwise the place of the timeline frame before the request,
// whose lens data is in force then, or the clip's first or last place.
std::size_t ClipTimeline::placeOf(const Position& request) const {
    const std::size_t after = static_cast<std::size_t>(
        std::upper_bound(timelinePositions.begin(), timelinePositions.end(), request) -
        timelinePositions.begin());
    std::uint64_t distance = 0;
    if (after == 0) {
        const std::size_t first = timelinePlaces.front();
        const bool counted = frameDistance(request, timelinePositions.front(), distance);
        return counted && distance <= first ? first - static_cast<std::size_t>(distance) : 0;
    }
    const std::size_t before = after - 1;
    const std::size_t from = timelinePlaces[before];
    if (after == timelinePositions.size()) {
        const std::size_t placesAfter = clipLensData.size() - 1 - from;
        const bool counted = frameDistance(timelinePositions[before], request, distance);
        return counted && distance <= placesAfter ? from + static_cast<std::size_t>(distance)
                                                  : clipLensData.size() - 1;
    }
    const std::uint64_t placesApart = timelinePlaces[after] - from;
    std::uint64_t span = 0;
    if (!frameDistance(timelinePositions[before], timelinePositions[after], span) ||
        span < placesApart || span % placesApart != 0 ||
        !frameDistance(timelinePositions[before], request, distance) || distance >= span) {
        return from;
    }
    return from + static_cast<std::size_t>(distance / (span / placesApart));
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
