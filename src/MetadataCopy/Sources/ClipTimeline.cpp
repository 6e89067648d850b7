#include "MetadataCopy/Sources/ClipTimeline.hpp"

#include <algorithm>
#include <utility>

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

// A position in seconds, frames as a fraction of a second: only to judge how
// far frames advance, never to match them.
double secondsOf(const Position& position, std::uint32_t framesPerSecond) {
    return static_cast<double>(position.seconds) +
           static_cast<double>(position.frames) /
               static_cast<double>(framesPerSecond == 0 ? 100 : framesPerSecond);
}

// How far the clip's timecodes advance per place, as most of its
// neighbouring frames show it: the median of the forward steps, which a
// few glitches do not move. 0 where nothing advances.
double typicalAdvancePerPlace(const std::vector<Position>& positions,
                              const std::vector<std::size_t>& places,
                              std::uint32_t framesPerSecond) {
    std::vector<double> steps;
    steps.reserve(positions.size());
    for (std::size_t index = 1; index < positions.size(); ++index) {
        const double step = secondsOf(positions[index], framesPerSecond) -
                            secondsOf(positions[index - 1], framesPerSecond);
        if (step > 0.0) {
            steps.push_back(step / static_cast<double>(places[index] - places[index - 1]));
        }
    }
    if (steps.empty()) {
        return 0.0;
    }
    const auto middle = steps.begin() + static_cast<std::ptrdiff_t>(steps.size() / 2);
    std::nth_element(steps.begin(), middle, steps.end());
    return *middle;
}

// The longest non-decreasing run of a clip's placed frames, and the part of it
// that makes the timeline.
struct LongestRun {
    // The whole run, in order; the timeline is frames[first, last).
    std::vector<std::size_t> frames;
    std::size_t first = 0;
    std::size_t last = 0;
};

// A step no longer than this never jumps away from the rest, whatever the
// clip's usual advance: a pause, a change of interval or a ramp of a real
// clip stays within it, while a glitch is mostly hours off.
constexpr double longestStepOfARealClip = 10.0 * 60.0;

// Places each position after the first within 12 hours of the reference, and
// returns the longest non-decreasing run of all.
// Patience sorting (n log n): ends[l] is the position that ends the lowest
// run of length l + 1 so far, so ends.back() ends a longest run, the lowest
// of them. The reference is that end. It changes only when a position
// extends that run or ends one as long lower down, so a glitch below it
// never becomes the reference; nor does one above it that jumps away from
// the frame before it on its run: further than the clip advances in the
// places between (twice the typical advance per place, plus a second) and
// further than 10 minutes. So a burst of glitches cannot walk the reference
// onto another day, one 12-hour step at a time, while a clip whose cadence
// changes keeps it moving.
LongestRun placeAlongLongestRun(std::vector<Position>& positions,
                                const std::vector<std::size_t>& places,
                                std::uint32_t framesPerSecond) {
    const double advancePerPlace = typicalAdvancePerPlace(positions, places, framesPerSecond);
    const auto continues = [&](std::size_t before, std::size_t after) {
        const double step = secondsOf(positions[after], framesPerSecond) -
                            secondsOf(positions[before], framesPerSecond);
        return step <= longestStepOfARealClip ||
               step <= 2.0 * advancePerPlace * static_cast<double>(places[after] - places[before]) +
                           1.0;
    };
    const std::size_t none = positions.size();
    std::vector<std::size_t> ends;
    std::vector<std::size_t> previous(positions.size(), none);
    std::size_t reference = 0;
    for (std::size_t index = 0; index < positions.size(); ++index) {
        if (!ends.empty()) {
            positions[index] = placedAfter(positions[reference], positions[index]);
        }
        const auto place = std::upper_bound(ends.begin(), ends.end(), positions[index],
                                            [&positions](const Position& value, std::size_t end) {
                                                return value < positions[end];
                                            });
        if (place != ends.begin()) {
            previous[index] = *(place - 1);
        }
        const bool endsLongestRun =
            static_cast<std::size_t>(place - ends.begin()) + 1 >= ends.size();
        if (place == ends.end()) {
            ends.push_back(index);
        } else {
            *place = index;
        }
        if (endsLongestRun && (previous[index] == none || continues(previous[index], index))) {
            reference = index;
        }
    }
    std::vector<std::size_t> run;
    for (std::size_t index = ends.empty() ? none : ends.back(); index != none;
         index = previous[index]) {
        run.push_back(index);
    }
    std::reverse(run.begin(), run.end());
    // A glitch at either end of the run, a jump away from the rest, is left
    // off it, so that the ends are counted out from real frames: the end
    // frame itself, or the one next to it where the end continues the rest
    // without it. One frame at most at each end, so that no stretch of real
    // frames is ever lost with a glitch.
    std::size_t first = 0;
    std::size_t last = run.size();
    if (last - first >= 2 && !continues(run[first], run[first + 1])) {
        if (last - first >= 3 && continues(run[first], run[first + 2])) {
            run[first + 1] = run[first];
        }
        ++first;
    }
    if (last - first >= 2 && !continues(run[last - 2], run[last - 1])) {
        if (last - first >= 3 && continues(run[last - 3], run[last - 1])) {
            run[last - 2] = run[last - 1];
        }
        --last;
    }
    // Only inner elements were overwritten: the run's own ends stay.
    return LongestRun{std::move(run), first, last};
}

// A frame's position with its rank among frames of equal position.
using Key = std::pair<Position, std::size_t>;

bool keyBefore(const Key& lhs, const Key& rhs) {
    if (lhs.first.seconds != rhs.first.seconds) {
        return lhs.first.seconds < rhs.first.seconds;
    }
    return lhs.first.frames != rhs.first.frames ? lhs.first.frames < rhs.first.frames
                                                : lhs.second < rhs.second;
}

// Sorts keys that come in a clip's order, which are ascending runs apart from
// midnight and glitches: the runs are merged pairwise, n log(runs) rather
// than n log n.
void sortRuns(std::vector<Key>& keys) {
    std::vector<std::size_t> bounds = {0};
    for (std::size_t index = 1; index < keys.size(); ++index) {
        if (keyBefore(keys[index], keys[index - 1])) {
            bounds.push_back(index);
        }
    }
    bounds.push_back(keys.size());
    while (bounds.size() > 2) {
        std::vector<std::size_t> merged = {0};
        for (std::size_t run = 0; run + 1 < bounds.size(); run += 2) {
            const auto begin = keys.begin();
            if (run + 2 < bounds.size()) {
                std::inplace_merge(begin + static_cast<std::ptrdiff_t>(bounds[run]),
                                   begin + static_cast<std::ptrdiff_t>(bounds[run + 1]),
                                   begin + static_cast<std::ptrdiff_t>(bounds[run + 2]), keyBefore);
                merged.push_back(bounds[run + 2]);
            } else {
                merged.push_back(bounds[run + 1]);
            }
        }
        bounds = std::move(merged);
    }
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
    const LongestRun run = placeAlongLongestRun(placed, places, rate);
    std::vector<bool> onTimeline(placed.size(), false);
    timelinePositions.reserve(run.last - run.first);
    timelinePlaces.reserve(run.last - run.first);
    for (std::size_t element = run.first; element < run.last; ++element) {
        const std::size_t index = run.frames[element];
        timelinePositions.push_back(placed[index]);
        timelinePlaces.push_back(places[index]);
        onTimeline[index] = true;
    }
    // The day of a request is judged by the whole run, glitches at its ends
    // included: a last frame glitched past midnight still takes the clip
    // across it. But no clip reaches over a whole day: there a glitch hours
    // off has stretched it, and the frames left off its ends lie where their
    // places count out from the timeline, as they answer.
    if (!run.frames.empty()) {
        reachStart = placed[run.frames.front()];
        reachEnd = placed[run.frames.back()];
        if (reachEnd.seconds - reachStart.seconds >= secondsPerDay) {
            const std::size_t lastElement = timelinePositions.size() - 1;
            const std::uint64_t placesBefore = timelinePlaces.front() - places[run.frames.front()];
            const std::uint64_t placesAfter = places[run.frames.back()] - timelinePlaces.back();
            movedByFrames(timelinePositions.front(),
                          -static_cast<std::int64_t>(placesBefore * endStep(0)), reachStart);
            movedByFrames(timelinePositions.back(),
                          static_cast<std::int64_t>(
                              placesAfter * (lastElement == 0 ? 1 : endStep(lastElement - 1))),
                          reachEnd);
        }
        acrossMidnight = reachStart.seconds < 0 || reachEnd.seconds >= secondsPerDay;
    }

    // Sorted as whole keys rather than through an index, which would look
    // every comparison up elsewhere in memory.
    std::vector<Key> keys(placed.size());
    for (std::size_t index = 0; index < placed.size(); ++index) {
        keys[index] = {placed[index], index};
    }
    sortRuns(keys);
    placedPositions.reserve(keys.size());
    placedPlaces.reserve(keys.size());
    for (const auto& key : keys) {
        placedPositions.push_back(key.first);
        placedPlaces.push_back(places[key.second]);
    }

    // Among frames that carry one timecode, timeline frames rank first.
    for (std::size_t index = 0; index < positions.size(); ++index) {
        keys[index] = {positions[index], onTimeline[index] ? index : positions.size() + index};
    }
    sortRuns(keys);
    storedPositions.reserve(keys.size());
    storedPlaces.reserve(keys.size());
    for (const auto& key : keys) {
        storedPositions.push_back(key.first);
        storedPlaces.push_back(places[key.second % positions.size()]);
    }
}

std::size_t ClipTimeline::lensData(const Timecode::Timecode& timecode) const {
    const Position stored = storedPosition(timecode);
    Position request = stored;
    if (acrossMidnight) {
        const Position& start = reachStart;
        const Position& end = reachEnd;
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
        const std::uint64_t step = endStep(0);
        if (!frameDistance(request, timelinePositions.front(), distance)) {
            return 0;
        }
        const std::uint64_t placesBefore = (distance + step - 1) / step;
        return placesBefore <= first ? first - static_cast<std::size_t>(placesBefore) : 0;
    }
    const std::size_t before = after - 1;
    const std::size_t from = timelinePlaces[before];
    if (after == timelinePositions.size()) {
        const std::size_t placesAfter = clipLensData.size() - 1 - from;
        const std::uint64_t step = before == 0 ? 1 : endStep(before - 1);
        if (!frameDistance(timelinePositions[before], request, distance)) {
            return clipLensData.size() - 1;
        }
        return distance / step <= placesAfter ? from + static_cast<std::size_t>(distance / step)
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

// The frames per place between the timeline frame at `index` and the next,
// where they lie a whole number of frames per place apart (a frame every so
// many seconds), else 1: the step at which the frames beyond the timeline's
// ends are counted.
std::uint64_t ClipTimeline::endStep(std::size_t index) const {
    std::uint64_t span = 0;
    if (index + 1 >= timelinePositions.size() ||
        !frameDistance(timelinePositions[index], timelinePositions[index + 1], span)) {
        return 1;
    }
    const std::uint64_t placesApart = timelinePlaces[index + 1] - timelinePlaces[index];
    return span >= placesApart && span % placesApart == 0 ? span / placesApart : 1;
}

// The position `frames` frames from `from`, at the clip's rate: left as it is
// without a rate, or where the frame field lies beyond it.
void ClipTimeline::movedByFrames(const Position& from, std::int64_t frames,
                                 Position& position) const {
    if (frames == 0) {
        position = from;
        return;
    }
    if (framesPerSecond == 0 || from.frames >= framesPerSecond) {
        return;
    }
    const std::int64_t rate = framesPerSecond;
    const std::int64_t total = from.seconds * rate + from.frames + frames;
    position.seconds = floorDivision(total, rate);
    position.frames = static_cast<std::uint32_t>(total - position.seconds * rate);
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
