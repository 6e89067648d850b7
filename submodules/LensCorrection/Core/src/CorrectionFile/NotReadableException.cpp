#include "CorrectionFile/NotReadableException.hpp"

#include <sstream>

namespace CorrectionFile {

NotReadableException::NotReadableException(const std::string& filePath)
    : Exception("Correction file could not be read."), filePath(filePath) {
    std::stringstream stream;
    stream << "File Path: \"" << this->filePath << "\"";
    details = stream.str();
}

} // namespace CorrectionFile
