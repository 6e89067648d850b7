#include "RecordingFormatDatabase/CameraManufacturerNotFoundException.hpp"

#include <sstream>

namespace RecordingFormatDatabase {

CameraManufacturerNotFoundException::CameraManufacturerNotFoundException(std::string manufacturer)
    : Exception("Camera manufacturer could not be found in the recording format database.") {
    std::stringstream stream;
    stream << "Camera Manufacturer: \"" << manufacturer << "\"";
    details = stream.str();
}

} // namespace RecordingFormatDatabase
