#include "Timecode/InvalidTimecodeException.hpp"

#include <sstream>

namespace Timecode {

InvalidTimecodeException::InvalidTimecodeException(const std::string& message,
                                                   const std::string& timecode, float fps)
    : Exception(message) {
    std::stringstream stream;
    stream << "Timecode String: \"" << timecode << "\"" << std::endl
           << "Frames per Second: \"" << fps << "\"";
    details = stream.str();
}

InvalidTimecodeException::InvalidTimecodeException(const std::string& message,
                                                   const std::string& lhsTimecode,
                                                   const std::string& rhsTimecode)
    : Exception(message) {
    std::stringstream stream;
    stream << "Lhs Timecode: \"" << lhsTimecode << "\"" << std::endl
           << "Rhs Timecode: \"" << rhsTimecode << "\"";
    details = stream.str();
}

} // namespace Timecode
