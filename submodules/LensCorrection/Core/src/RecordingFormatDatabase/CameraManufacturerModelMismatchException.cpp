#include "RecordingFormatDatabase/CameraManufacturerModelMismatchException.hpp"

#include <sstream>

namespace RecordingFormatDatabase {

CameraManufacturerModelMismatchException::CameraManufacturerModelMismatchException(
    std::string manufacturer, std::string model)
    : Exception("Camera manufacturer and model could not be found in the recording format "
                "database.") {
    std::stringstream stream;
    stream << "Camera Manufacturer: \"" << manufacturer << "\"" << std::endl
           << "Camera Model: \"" << model << "\"";
    details = stream.str();
}

} // namespace RecordingFormatDatabase
