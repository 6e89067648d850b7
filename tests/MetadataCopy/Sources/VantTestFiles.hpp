// VANT lens-correction texts for tests: a complete header whose entries a
// test may change, and rows whose shading values mark which row answered.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace VantTestFiles {

/// Clip 1920 x 1080 on a 24 mm wide sensor, camera "Maker" "Model 7", 25 fps.
inline const std::map<std::string, std::string> defaultHeader = {
    {"lensManufacturer", "OKALU"},
    {"lensTypeName", "Telvar 50"},
    {"lensSerialNumber", "T-0042"},
    {"lensMinFocalLength", "50"},
    {"lensMaxFocalLength", "50"},
    {"cameraManufacturer", "Maker"},
    {"cameraModel", "Model 7"},
    {"sensorWidth", "24.0"},
    {"clipName", "A001C003"},
    {"videoFileName", "A001C003.mov"},
    {"clipDurationFrames", "400"},
    {"clipWidth", "1920"},
    {"clipHeight", "1080"},
    {"tcFps", "25"},
    {"tcDrop", "0"},
    {"enableLensShadingCorrection", "1"},
    {"shadingGamma", "1.0"},
    {"enableLensDistortionCorrection", "1"},
    {"distortionZoom", "1.0"}};

/// The values joined by ",".
inline std::string list(const std::vector<std::string>& values) {
    std::string text;
    for (const std::string& value : values) {
        text += (text.empty() ? "" : ",") + value;
    }
    return text;
}

/// A version 2 row whose six shading values all equal the marker, so that a
/// test can tell which row answered. Its distortion values are 0 to -5.
inline std::string row2(unsigned frame, const std::string& marker, const std::string& timecode) {
    return std::to_string(frame) + ";" + list(std::vector<std::string>(6, marker)) + ";" +
           list({"0", "-1", "-2", "-3", "-4", "-5"}) + ";a;b;c;d;e;" + timecode;
}

/// A whole file: the default header with the given entries changed, the
/// version line and a column line, then the rows.
inline std::string vantText(const std::vector<std::string>& rows,
                            const std::map<std::string, std::string>& changes = {},
                            const std::string& version = "2") {
    std::map<std::string, std::string> header = defaultHeader;
    for (const auto& change : changes) {
        header[change.first] = change.second;
    }
    std::string text = "HEADER_START\n";
    for (const auto& entry : header) {
        text += entry.first + ":=" + entry.second + "\n";
    }
    text += "HEADER_END\n# VANT Version " + version + "\nframe;shading;distortion;x\n";
    for (const std::string& row : rows) {
        text += row + "\n";
    }
    return text;
}

} // namespace VantTestFiles
