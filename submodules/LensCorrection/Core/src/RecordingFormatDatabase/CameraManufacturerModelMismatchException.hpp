// A model that the recording-format database does not know for a known
// manufacturer.
#pragma once

#include "Exception/Exception.hpp"

#include <string>

namespace RecordingFormatDatabase {

class CameraManufacturerModelMismatchException : public Exception {
public:
    /// Both are named in the details as the caller spelled them.
    CameraManufacturerModelMismatchException(std::string manufacturer, std::string model);
};

} // namespace RecordingFormatDatabase
