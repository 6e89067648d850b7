// Raised when a lens-correction file cannot be read in full.
#pragma once

#include "Exception/Exception.hpp"

#include <string>

namespace CorrectionFile {

class NotReadableException : public Exception {
public:
    explicit NotReadableException(const std::string& filePath);

    std::string filePath; // as it was given to the reader
};

} // namespace CorrectionFile
