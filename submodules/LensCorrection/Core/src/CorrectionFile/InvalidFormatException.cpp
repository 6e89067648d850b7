#include "CorrectionFile/InvalidFormatException.hpp"

#include <sstream>

namespace CorrectionFile {

namespace {
const char* const invalidFormatMessage =
    "Correction file could not be parsed due to an invalid format.";
} // namespace

InvalidFormatException::InvalidFormatException(const std::string& reason)
    : Exception(invalidFormatMessage), lineNumber(0) {
    std::stringstream stream;
    stream << "Reason: " << reason;
    details = stream.str();
}

InvalidFormatException::InvalidFormatException(unsigned int lineNumber,
                                               const std::string& lineContent)
    : Exception(invalidFormatMessage), lineNumber(lineNumber), lineContent(lineContent) {
    std::stringstream stream;
    stream << "Line Number: " << lineNumber << std::endl
           << "Line Content: \"" << lineContent << "\"";
    details = stream.str();
}

} // namespace CorrectionFile
