// What is known about digital cinema cameras: their manufacturers, models and
// the recording formats of each model. Callers hold this interface only, so the
// compiled-in table behind it stays private.
#pragma once

#include "RecordingFormatDatabase/RecordingFormat.hpp"

#include <map>
#include <string>
#include <vector>

namespace RecordingFormatDatabase {

class RecordingFormatDatabase {
public:
    virtual ~RecordingFormatDatabase();

    /// Replaces the contents of `manufacturers` with every known manufacturer.
    virtual void cameraManufacturers(std::vector<std::string>& manufacturers) = 0;

    /// Replaces the contents of `models` with the manufacturer's models.
    /// Throws CameraManufacturerNotFoundException, leaving `models` untouched.
    virtual void cameraModels(const std::string& manufacturer,
                              std::vector<std::string>& models) = 0;

    /// Replaces the contents of `formats` with the model's formats, keyed by
    /// their exact names. Throws CameraManufacturerNotFoundException or
    /// CameraManufacturerModelMismatchException, leaving `formats` untouched.
    virtual void recordingFormats(const std::string& manufacturer, const std::string& model,
                                  std::map<std::string, RecordingFormat>& formats) = 0;
};

} // namespace RecordingFormatDatabase
