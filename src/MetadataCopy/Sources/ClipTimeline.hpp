// Where each frame of a camera clip lies in time, and which frame's lens data
// answers a requested timecode: time-of-day timecodes wrap at midnight, and a
// glitched, stale or re-jammed timecode on one frame must not move the rest,
// nor keep that frame from answering the timecode it carries.
#pragma once

#include "Timecode/Timecode.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace MetadataCopy {

class ClipTimeline {
public:
    /// A frame of the clip (one per place, in clip order): its timecode, none
    /// where it has no valid one, and the index of the lens data in force at
    /// it (the caller's own numbering).
    struct Frame {
        std::optional<Timecode::Timecode> timecode;
        std::size_t lensData;
    };

    /// An empty timeline, to be replaced before its first lookup.
    ClipTimeline() = default;

    /// Places the frames, given in clip order. Unless the timecodes never
    /// fall, the first frame with a timecode stands on its own day and each
    /// later one lies on the day that puts it within 12 hours of the end of
    /// the longest run so far (the frames, in clip order though not
    /// necessarily neighbours, whose placed timecodes never fall; of several
    /// such runs, the one that ends lowest). So a glitch below that end never
    /// becomes the reference, and one above it is replaced by the next real
    /// frame; nor does a frame become it that jumps away from the frame
    /// before it on its run: lies further from it than the clip advances in
    /// the places between (twice the median advance per place, plus a
    /// second) and further than 10 minutes. So a burst of glitches cannot
    /// carry the clip to another day one 12-hour step at a time, a pause, an
    /// interval switch or a ramp keeps the reference moving, and a fall of
    /// more than 12 hours is midnight. Distances are
    /// whole seconds; at exactly 12 hours the frame fields decide (12 hours
    /// back to a lower frame field is more than 12 hours), and exactly 12
    /// hours with equal fields keeps the day.
    /// Example: 23:59:59:22, 23:59:59:23, 00:00:00:00, 23:59:59:23, 00:00:00:02
    /// lie at 23:59:59:22, 23:59:59:23, 24:00:00:00, 23:59:59:23, 24:00:00:02.
    /// The timeline is then the longest run of all, less at most one frame at
    /// each end that jumps away from the rest (the same measure): the end
    /// frame, or the one next to it where the end continues the rest without
    /// it. Its frames answer the time between them.
    /// framesPerSecond is the number of frame numbers in one second of the
    /// timecodes, 0 where the clip gives no usable rate. Never throws but for
    /// memory.
    explicit ClipTimeline(const std::vector<Frame>& frames, std::uint32_t framesPerSecond = 0);

    /// The lens data that answers a request, the first of:
    /// - a timeline frame placed at the request;
    /// - the first frame in the clip placed there;
    /// - a frame that carries the request as its own timecode, wherever it
    ///   was placed (a timeline frame first, else the first in the clip);
    /// - between two timeline frames that lie exactly k x (their places
    ///   apart) frames apart, for a whole k of at least 1, the frame j places
    ///   after the first for a request j x k to j x k + k - 1 frames after it,
    ///   frames without a timecode counted too (frames with a glitched
    ///   timecode, or none, answer the moment they were recorded at);
    ///   otherwise the lens data in force at the timeline frame before it;
    /// - d frames before the timeline, the frame d places before its first
    ///   frame, else the clip's first frame; d frames after it, the frame d
    ///   places after its last frame, else the clip's last frame. Where the
    ///   timeline's two frames at that end lie k frames a place apart, for a
    ///   whole k, each place holds k frames (d / k places, rounded up before
    ///   the timeline and down after it).
    /// Frames are counted within one second without a rate; across seconds
    /// only at the clip's rate and with frame fields below it, over at most
    /// a day. When the longest run, with the frames left off its ends,
    /// reaches past 24:00:00:00 or before 00:00:00:00, the request is placed
    /// on the day where it lies within that run; outside it, on the day where
    /// it lies nearer to it (a tie goes before the start). Where the run
    /// would so reach over a whole day, the frames left off its ends count
    /// instead where their places count out from the timeline's ends.
    /// Requires at least one frame with a timecode. Never throws.
    std::size_t lensData(const Timecode::Timecode& request) const;

    /// A timecode counted from 00:00:00:00 of the first frame's day; frames
    /// are compared as numbers, unscaled by any rate, as Timecode compares them.
    struct Position {
        std::int64_t seconds = 0;
        std::uint32_t frames = 0;
    };

private:
    std::size_t placeOf(const Position& request) const;
    std::uint64_t endStep(std::size_t index) const;
    bool frameDistance(const Position& from, const Position& to, std::uint64_t& distance) const;
    void movedByFrames(const Position& from, std::int64_t frames, Position& position) const;

    // The timeline's frames, ascending (equal neighbours allowed), and each
    // one's place in the clip.
    std::vector<Position> timelinePositions;
    std::vector<std::size_t> timelinePlaces;
    // The lens data in force at every place of the clip.
    std::vector<std::size_t> clipLensData;
    std::uint32_t framesPerSecond = 0;
    // Only for a clip whose timecodes fall, where frames lie off the
    // timeline: every frame with a timecode, by its placed timecode and then
    // clip order, and by the timecode it carries, a timeline frame before
    // others and then clip order. Elsewhere the timeline holds them all.
    std::vector<Position> placedPositions;
    std::vector<std::size_t> placedPlaces;
    std::vector<Position> storedPositions;
    std::vector<std::size_t> storedPlaces;
    // Where the whole longest run reaches, for the day of a request.
    Position reachStart;
    Position reachEnd;
    bool acrossMidnight = false;
};

bool operator==(const ClipTimeline::Position& lhs, const ClipTimeline::Position& rhs);
bool operator<(const ClipTimeline::Position& lhs, const ClipTimeline::Position& rhs);

} // namespace MetadataCopy
