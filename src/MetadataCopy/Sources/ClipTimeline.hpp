// Where each frame of a camera clip lies in time, and which frame's lens data
// answers a requested timecode: time-of-day timecodes wrap at midnight, and a
// glitched, stale or re-jammed timecode on one frame must not move the rest.
#pragma once

#include "Timecode/Timecode.hpp"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace MetadataCopy {

class ClipTimeline {
public:
    /// A frame with a valid timecode, and the index of the lens data in force
    /// at it (the caller's own numbering).
    struct Frame {
        Timecode::Timecode timecode;
        std::size_t lensData;
    };

    /// An empty timeline, to be replaced before its first lookup.
    ClipTimeline() = default;

    /// Places the frames, given in clip order. Unless the timecodes never
    /// fall, each one lies on the day that puts it within 12 hours of the one
    /// before it (the first on its own day): a fall of more than 12 hours is
    /// midnight, a forward jump of more than 12 hours lands on the day before.
    /// Distances are whole seconds; at exactly 12 hours the frame fields
    /// decide (12 hours back to a lower frame field is more than 12 hours),
    /// and exactly 12 hours with equal fields keeps the day.
    /// The timeline is then the longest run of frames, in clip order, whose
    /// placed timecodes never fall; the others answer only their own timecode.
    /// Example: 23:59:59:22, 23:59:59:23, 00:00:00:00, 23:59:59:23, 00:00:00:02
    /// lie at 23:59:59:22, 23:59:59:23, 24:00:00:00, 23:59:59:23, 24:00:00:02.
    /// framesPerSecond is the number of frame numbers in one second of the
    /// timecodes, 0 where the clip gives no usable rate. Never throws but for
    /// memory.
    explicit ClipTimeline(const std::vector<Frame>& frames, std::uint32_t framesPerSecond = 0);

    /// The lens data that answers a request: that of the first frame whose
    /// placed timecode is the request (a timeline frame before any other),
    /// else that of the latest timeline frame before it, else that of the
    /// timeline's first frame. Where frames off the timeline stand between
    /// two neighbours on it whose timecodes lie exactly as many frames apart
    /// as their places in the clip, the timecodes between them are counted
    /// out frame by frame, so that a frame whose own timecode a glitch
    /// replaced still answers it. When the timeline
    /// reaches past 24:00:00:00 or before 00:00:00:00, the request is taken
    /// on the day where it lies within the timeline; outside it, on the day
    /// where it lies nearer to the timeline (a tie goes before the start).
    /// Requires at least one frame. Never throws.
    std::size_t lensData(const Timecode::Timecode& request) const;

    /// A timecode counted from 00:00:00:00 of the first frame's day; frames
    /// are compared as numbers, unscaled by any rate, as Timecode compares them.
    struct Position {
        std::int64_t seconds = 0;
        std::uint32_t frames = 0;
    };

private:
    std::size_t placeBetweenNeighbours(std::size_t before, const Position& request) const;
    bool frameDistance(const Position& from, const Position& to, std::uint64_t& distance) const;

    // The timeline's frames, ascending (equal neighbours allowed).
    std::vector<Position> timelinePositions;
    std::vector<std::size_t> timelineLensData;
    // For each timeline frame its place among the frames, and the lens data
    // of every frame in clip order.
    std::vector<std::size_t> timelinePlaces;
    std::vector<std::size_t> clipLensData;
    std::uint32_t framesPerSecond = 0;
    // Every frame, ordered by position and then by clip order, for the
    // frames whose own timecode is requested.
    std::vector<Position> framePositions;
    std::vector<std::size_t> frameLensData;
    bool acrossMidnight = false;
};

bool operator==(const ClipTimeline::Position& lhs, const ClipTimeline::Position& rhs);
bool operator<(const ClipTimeline::Position& lhs, const ClipTimeline::Position& rhs);

} // namespace MetadataCopy
