// The compiled-in recording-format table: one row per format of a digital
// cinema camera, eight ";"-separated fields (manufacturer, model, sensor,
// format name, width and height in millimetres, width and height in pixels).
// The rows are written by tools/recording-formats/generate.py.
#pragma once

#include <array>
#include <string>

namespace RecordingFormatDatabase {

extern const std::array<std::string, 2971> recordingFormatsCsvStringArray;

} // namespace RecordingFormatDatabase
