#include "Timecode/Timecode.hpp"

#include "Assertion/Assertion.hpp"

#include <boost/algorithm/string/finder.hpp>
#include <boost/algorithm/string/iter_find.hpp>
#include <boost/lexical_cast.hpp>

#include <cmath>
#include <iomanip>
#include <limits>
#include <sstream>
#include <vector>

namespace Timecode {

namespace {

constexpr std::uint64_t maximumUInt32 = std::numeric_limits<std::uint32_t>::max();

InvalidTimecodeException invalidTimecodeExceptionDueToInvalidFormat(const char* timecode,
                                                                    float fps) {
    return InvalidTimecodeException(
        "Timecode object could not be constructed due to invalid format.", timecode, fps);
}

InvalidTimecodeException invalidTimecodeExceptionDueToIncomparableTimecodes(const Timecode& lhs,
                                                                            const Timecode& rhs) {
    return InvalidTimecodeException("Timecode comparison could not be performed.", lhs.string(true),
                                    rhs.string(true));
}

InvalidTimecodeException
invalidTimecodeExceptionDueToInvalidTimecodesForSubstraction(const Timecode& lhs,
                                                             const Timecode& rhs) {
    return InvalidTimecodeException("Timecode subtraction could not be performed.",
                                    lhs.string(true), rhs.string(true));
}

InvalidTimecodeException invalidTimecodeExceptionDueToImpossibleAddition(const Timecode& timecode) {
    return InvalidTimecodeException("Timecode addition could not be performed.",
                                    timecode.string(false), timecode.fps);
}

// Frame counting needs a whole number of frames per second: the ceiling of
// the rate (23.976 counts as 24). Rates of 0, below 0, NaN, or beyond 32 bits
// have none, and dividing by them would be undefined.
bool wholeFrameRate(float fps, std::uint32_t& frameRate) {
    if (!(fps > 0.0f)) {
        return false;
    }
    const double ceiling = std::ceil(static_cast<double>(fps));
    if (!(ceiling <= static_cast<double>(maximumUInt32))) {
        return false;
    }
    frameRate = static_cast<std::uint32_t>(ceiling);
    return true;
}

// Counted in 64 bits so that large hours never wrap around.
std::uint64_t secondCount(const Timecode& timecode) {
    return static_cast<std::uint64_t>(timecode.hours) * 3600u +
           static_cast<std::uint64_t>(timecode.minutes) * 60u + timecode.seconds;
}

// The frame total at the given rate, or false when it does not fit in 32 bits.
bool frameTotal(const Timecode& timecode, std::uint32_t frameRate, std::uint32_t& total) {
    const std::uint64_t count = secondCount(timecode);
    if (count > (maximumUInt32 - timecode.frames) / frameRate) {
        return false;
    }
    total = static_cast<std::uint32_t>(count * frameRate + timecode.frames);
    return true;
}

// The rate at which drop-frame timecode counts its labels: 30 or 60 for a
// rate that rounds to it (29.97, 59.94), 0 where drop-frame counting does not
// apply.
std::uint32_t dropFrameRate(float fps, bool dropFrame) {
    if (!dropFrame || !(fps > 0.0f)) {
        return 0;
    }
    const double rounded = std::round(static_cast<double>(fps));
    return rounded == 30.0 ? 30u : rounded == 60.0 ? 60u : 0u;
}

// The drop-frame frame total at a drop-frame rate, or false when the label
// names no frame or the total does not fit in 32 bits.
bool dropFrameTotal(const Timecode& timecode, std::uint32_t frameRate, std::uint32_t& total) {
    // 2 labels at 30 frames per second, 4 at 60, in every minute but each tenth.
    const std::uint32_t dropped = frameRate / 15u;
    if (timecode.seconds == 0 && timecode.frames < dropped && timecode.minutes % 10 != 0) {
        return false;
    }
    std::uint32_t labels = 0;
    if (!frameTotal(timecode, frameRate, labels)) {
        return false;
    }
    const std::uint64_t minutes =
        static_cast<std::uint64_t>(timecode.hours) * 60u + timecode.minutes;
    total = static_cast<std::uint32_t>(labels - dropped * (minutes - minutes / 10u));
    return true;
}

} // namespace

Timecode::Timecode(const char* _timecode, float fps) : fps(fps) {
    OKALU_ASSERT(_timecode);

    const std::string text(_timecode);
    std::vector<std::string> pieces;
    boost::algorithm::iter_split(pieces, text, boost::algorithm::first_finder(":"));
    if (pieces.size() != 4) {
        throw invalidTimecodeExceptionDueToInvalidFormat(_timecode, fps);
    }

    try {
        hours = boost::lexical_cast<unsigned int>(pieces[0]);
        minutes = boost::lexical_cast<unsigned int>(pieces[1]);
        seconds = boost::lexical_cast<unsigned int>(pieces[2]);
        frames = boost::lexical_cast<unsigned int>(pieces[3]);
    } catch (const boost::bad_lexical_cast&) {
        throw invalidTimecodeExceptionDueToInvalidFormat(_timecode, fps);
    }

    const bool framesWithinRate = fps == 0.0f || fps > static_cast<float>(frames);
    if (minutes >= 60 || seconds >= 60 || !framesWithinRate) {
        throw invalidTimecodeExceptionDueToInvalidFormat(_timecode, fps);
    }
}

std::string Timecode::string(bool withFps) const {
    std::stringstream stream;
    stream << std::setfill('0') << std::setw(2) << hours << ":" << std::setw(2) << minutes << ":"
           << std::setw(2) << seconds << ":" << std::setw(2) << frames;
    if (withFps) {
        stream << "@";
        const double rate = fps;
        double wholePart = 0.0;
        if (std::isnan(rate) || std::modf(rate, &wholePart) != 0.0) {
            stream << std::fixed << std::setprecision(2) << rate;
        } else {
            stream << rate;
        }
    }
    return stream.str();
}

Timecode& Timecode::operator+=(const unsigned int& frameCount) {
    std::uint32_t frameRate = 0;
    if (!wholeFrameRate(fps, frameRate)) {
        throw invalidTimecodeExceptionDueToImpossibleAddition(*this);
    }

    // Carried digit by digit rather than through one frame total, so that no
    // intermediate product can overflow; the result is the same.
    const std::uint64_t frameSum = static_cast<std::uint64_t>(frames) + frameCount;
    const std::uint64_t totalSeconds = secondCount(*this) + frameSum / frameRate;
    const std::uint64_t newHours = totalSeconds / 3600u;
    if (newHours > maximumUInt32) {
        throw invalidTimecodeExceptionDueToImpossibleAddition(*this);
    }

    hours = static_cast<std::uint32_t>(newHours);
    minutes = static_cast<std::uint32_t>(totalSeconds % 3600u / 60u);
    seconds = static_cast<std::uint32_t>(totalSeconds % 60u);
    frames = static_cast<std::uint32_t>(frameSum % frameRate);
    return *this;
}

void Timecode::checkIfTimecodesAreComparableAndThrowIfNeeded(const Timecode& lhs,
                                                             const Timecode& rhs) {
    const bool sameRate = lhs.fps == rhs.fps;
    const bool exactlyOneRateGiven = (lhs.fps > 0.0f) != (rhs.fps > 0.0f);
    if (!sameRate && !exactlyOneRateGiven) {
        throw invalidTimecodeExceptionDueToIncomparableTimecodes(lhs, rhs);
    }
}

Timecode operator+(const Timecode& timecode, const unsigned int& frameCount) {
    Timecode result = timecode;
    result += frameCount;
    return result;
}

unsigned int operator-(const Timecode& lhs, const Timecode& rhs) {
    if (!(rhs.fps > 0.0f) || !(lhs.fps == rhs.fps || lhs.fps == 0.0f)) {
        throw invalidTimecodeExceptionDueToInvalidTimecodesForSubstraction(lhs, rhs);
    }
    std::uint32_t frameRate = 0;
    std::uint32_t lhsTotal = 0;
    std::uint32_t rhsTotal = 0;
    if (!wholeFrameRate(rhs.fps, frameRate) || !frameTotal(lhs, frameRate, lhsTotal) ||
        !frameTotal(rhs, frameRate, rhsTotal) || lhsTotal < rhsTotal) {
        throw invalidTimecodeExceptionDueToInvalidTimecodesForSubstraction(lhs, rhs);
    }
    return lhsTotal - rhsTotal;
}

unsigned int difference(const Timecode& lhs, const Timecode& rhs, bool dropFrame) {
    const std::uint32_t frameRate = dropFrameRate(rhs.fps, dropFrame);
    if (frameRate == 0) {
        return lhs - rhs;
    }
    std::uint32_t lhsTotal = 0;
    std::uint32_t rhsTotal = 0;
    if (!(lhs.fps == rhs.fps || lhs.fps == 0.0f) || !dropFrameTotal(lhs, frameRate, lhsTotal) ||
        !dropFrameTotal(rhs, frameRate, rhsTotal) || lhsTotal < rhsTotal) {
        throw invalidTimecodeExceptionDueToInvalidTimecodesForSubstraction(lhs, rhs);
    }
    return lhsTotal - rhsTotal;
}

bool operator==(const Timecode& lhs, const Timecode& rhs) {
    Timecode::checkIfTimecodesAreComparableAndThrowIfNeeded(lhs, rhs);
    return lhs.hours == rhs.hours && lhs.minutes == rhs.minutes && lhs.seconds == rhs.seconds &&
           lhs.frames == rhs.frames;
}

bool operator<(const Timecode& lhs, const Timecode& rhs) {
    Timecode::checkIfTimecodesAreComparableAndThrowIfNeeded(lhs, rhs);
    const std::uint64_t lhsSeconds = secondCount(lhs);
    const std::uint64_t rhsSeconds = secondCount(rhs);
    if (lhsSeconds != rhsSeconds) {
        return lhsSeconds < rhsSeconds;
    }
    return lhs.frames < rhs.frames;
}

} // namespace Timecode
