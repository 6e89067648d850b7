// A manufacturer that the recording-format database does not know.
#pragma once

#include "Exception/Exception.hpp"

#include <string>

namespace RecordingFormatDatabase {

class CameraManufacturerNotFoundException : public Exception {
public:
    /// `manufacturer` is named in the details as the caller spelled it.
    explicit CameraManufacturerNotFoundException(std::string manufacturer);
};

} // namespace RecordingFormatDatabase
