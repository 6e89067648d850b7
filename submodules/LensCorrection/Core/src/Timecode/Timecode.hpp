// A timecode as the lens data is matched by: hours, minutes, seconds and
// frames plus the frame rate at which the text was read (0 meaning not given).
#pragma once

#include "Timecode/InvalidTimecodeException.hpp"

#include <cstdint>
#include <string>

namespace Timecode {

class Timecode {
public:
    /// Reads "H:M:S:F" (exactly four unsigned decimal numbers). Minutes and
    /// seconds must be below 60 and, unless fps is 0, frames below fps; a
    /// negative or NaN rate therefore refuses every text. Hours are unbounded.
    /// Throws InvalidTimecodeException; a null text is a programming error.
    Timecode(const char* _timecode, float fps);

    /// "HH:MM:SS:FF", each number at least two digits wide; with the flag,
    /// "@" and the rate follow (two decimals when it has a fraction:
    /// 23.976 gives "@23.98", 25 gives "@25").
    std::string string(bool withFps) const;

    /// Moves forward by the given number of frames at ceil(fps) frames per
    /// second (23.976 counts 24). Throws InvalidTimecodeException when the
    /// rate is not above 0 or too large, or the hours would not fit.
    Timecode& operator+=(const unsigned int& frameCount);

    /// Two timecodes are comparable when their rates are equal or exactly
    /// one of them is above 0 (25 and 0 are, 25 and 30 or 0 and -1 are not).
    static void checkIfTimecodesAreComparableAndThrowIfNeeded(const Timecode& lhs,
                                                              const Timecode& rhs);

    std::uint32_t hours;
    std::uint32_t minutes;
    std::uint32_t seconds;
    std::uint32_t frames;
    float fps;
};

/// A copy of the timecode moved forward by frameCount frames.
Timecode operator+(const Timecode& timecode, const unsigned int& frameCount);

/// Frames from rhs to lhs, both counted at ceil(rhs.fps) frames per second:
/// 10:00:01:00 minus 10:00:00:00 at 25 is 25. rhs must carry a rate above 0,
/// lhs the same rate or 0, lhs must not be earlier, and both frame totals
/// must fit in 32 bits; otherwise throws InvalidTimecodeException.
unsigned int operator-(const Timecode& lhs, const Timecode& rhs);

/// Frames from rhs to lhs as operator- counts them, except when dropFrame is
/// set and rhs's rate rounds to 30 or 60: then the frames are counted at that
/// rate by the drop-frame rule, under which the labels 00 and 01 (00 to 03 at
/// 60) of second 00 of every minute name no frame, except in every tenth
/// minute. At 29.97: 01:01:00:02 minus 01:00:59:29 is 1, 01:10:00:00 minus
/// 01:09:59:29 is 1, and a day has 2589408 frames. Throws
/// InvalidTimecodeException where operator- would, and when either side is a
/// label that names no frame.
unsigned int difference(const Timecode& lhs, const Timecode& rhs, bool dropFrame);

/// Same hours, minutes, seconds and frames; rates are not compared, but the
/// timecodes must be comparable (else throws InvalidTimecodeException).
bool operator==(const Timecode& lhs, const Timecode& rhs);

/// Ordered by the second count, then by frames alone, unscaled by any rate;
/// the timecodes must be comparable (else throws InvalidTimecodeException).
bool operator<(const Timecode& lhs, const Timecode& rhs);

} // namespace Timecode
