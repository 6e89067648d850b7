// The failure of every timecode operation: an invalid text, timecodes that
// cannot be compared, subtracted, or moved forward.
#pragma once

#include "Exception/Exception.hpp"

#include <string>

namespace Timecode {

class InvalidTimecodeException : public Exception {
public:
    /// Details: the offending text and the frame rate it was read at.
    InvalidTimecodeException(const std::string& message, const std::string& timecode, float fps);

    /// Details: both operands in their text form with the rate.
    InvalidTimecodeException(const std::string& message, const std::string& lhsTimecode,
                             const std::string& rhsTimecode);
};

} // namespace Timecode
