// Raised for every malformed lens-correction text. The message is always the
// same; the reason, or the offending line and its number, are in the details.
#pragma once

#include "Exception/Exception.hpp"

#include <cstdint>
#include <string>

namespace CorrectionFile {

class InvalidFormatException : public Exception {
public:
    /// A failure that concerns no single line: line number 0, no content.
    explicit InvalidFormatException(const std::string& reason);

    /// A bad line, numbered from 1 at the top of the text, without its
    /// carriage returns.
    InvalidFormatException(unsigned int lineNumber, const std::string& lineContent);

    std::uint32_t lineNumber;
    std::string lineContent;
};

} // namespace CorrectionFile
