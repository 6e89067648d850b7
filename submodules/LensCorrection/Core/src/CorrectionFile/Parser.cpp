#include "CorrectionFile/Parser.hpp"

#include <boost/algorithm/string/predicate.hpp>
#include <boost/lexical_cast.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <sstream>
#include <utility>
#include <vector>

namespace CorrectionFile {

namespace {

// Every key is required; they are tested for presence and converted in this
// order, so the first missing one is the one reported.
const std::vector<std::string> mandatoryKeys = {"lensManufacturer",
                                                "lensTypeName",
                                                "lensSerialNumber",
                                                "lensMinFocalLength",
                                                "lensMaxFocalLength",
                                                "cameraManufacturer",
                                                "cameraModel",
                                                "sensorWidth",
                                                "clipName",
                                                "videoFileName",
                                                "clipDurationFrames",
                                                "clipWidth",
                                                "clipHeight",
                                                "tcFps",
                                                "tcDrop",
                                                "enableLensShadingCorrection",
                                                "shadingGamma",
                                                "enableLensDistortionCorrection",
                                                "distortionZoom"};

// Version 2 files carry no image heights; all their rows are sampled here.
const std::vector<std::string> version2ImageRadiusPositions = {"0.0",  "5.0",  "10.0",
                                                               "15.0", "18.0", "21.4"};

// Carriage returns are dropped wherever they stand, so CR LF files read like
// LF files and a stray CR inside a key does not split it from its name.
// Deliberate, do not change: it always returns true, since dropping carriage
// returns cannot fail; getLine passes the result on as "a line was read", so
// anything else would end the parse early.
bool removeNewline(std::string& line) {
    line.erase(std::remove(line.begin(), line.end(), '\r'), line.end());
    return true;
}

bool getLine(std::istringstream& stream, std::string& line) {
    if (!std::getline(stream, line, '\n')) {
        return false;
    }
    return removeNewline(line);
}

// Reads lines, counting each, until one is accepted; false when the text
// ends first. The header start, the version line and the body start are each
// the first line of their kind.
template <typename Accepted>
bool skipToLine(std::istringstream& stream, std::string& line, unsigned int& lineNumber,
                Accepted accepted) {
    while (getLine(stream, line)) {
        ++lineNumber;
        if (accepted(line)) {
            return true;
        }
    }
    return false;
}

// Splits at every separator, left to right, but makes at most maxPieces
// pieces: the last one then holds the unsplit rest. Every caller needs only
// a fixed number of pieces and whether there are more, so a line of millions
// of separators costs no more than a short one.
std::vector<std::string> split(const std::string& text, const std::string& separator,
                               std::size_t maxPieces) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    while (pieces.size() + 1 < maxPieces) {
        const std::size_t end = text.find(separator, start);
        if (end == std::string::npos) {
            break;
        }
        pieces.emplace_back(text, start, end - start);
        start = end + separator.size();
    }
    pieces.emplace_back(text, start);
    return pieces;
}

// Neither key nor value is trimmed: a blank before ":=" belongs to the key.
bool headerEntryForLine(const std::string& line, std::pair<std::string, std::string>& entry) {
    std::vector<std::string> pieces = split(line, ":=", 3);
    if (pieces.size() != 2) {
        return false;
    }
    entry.first = std::move(pieces[0]);
    entry.second = std::move(pieces[1]);
    return true;
}

// Optional header values: one that does not convert is stored as 0 or false.
template <typename Value> Value convertedOrZero(const std::string& text) {
    try {
        return boost::lexical_cast<Value>(text);
    } catch (const boost::bad_lexical_cast&) {
        return Value();
    }
}

// A size in pixels. The conversion to unsigned takes "-8192" for 2^32 - 8192, a size that no
// clip has: a leading minus converts to 0, as a value that does not convert does.
unsigned int pixelSizeOrZero(const std::string& text) {
    return !text.empty() && text[0] == '-' ? 0u : convertedOrZero<unsigned int>(text);
}

bool isPercentage(float value) {
    return value >= 0.0f && value <= 100.0f;
}

bool isSignedPercentage(float value) {
    return std::fabs(value) <= 100.0f;
}

bool isPlainDecimal(const std::string& text) {
    std::size_t position = !text.empty() && text[0] == '-' ? 1 : 0;
    bool digitSeen = false;
    bool pointSeen = false;
    for (; position < text.size(); ++position) {
        const char character = text[position];
        if (character >= '0' && character <= '9') {
            digitSeen = true;
        } else if (character == '.' && !pointSeen) {
            pointSeen = true;
        } else {
            return false;
        }
    }
    return digitSeen;
}

// Rows hold most of a file's numbers, and Boost's float conversion goes
// through a locale-aware stream, which dominates the parse time. Plain
// decimal texts ("-12.5") are converted with std::from_chars instead: both
// round correctly, so the value is the same. Everything else (exponents,
// "nan", blanks, values out of range) is left to Boost, which decides what
// it accepts.
float toFloat(const std::string& text) {
#if defined(__cpp_lib_to_chars)
    if (isPlainDecimal(text)) {
        float value = 0.0f;
        const char* const end = text.data() + text.size();
        const std::from_chars_result result = std::from_chars(text.data(), end, value);
        if (result.ec == std::errc() && result.ptr == end) {
            return value;
        }
    }
#endif
    return boost::lexical_cast<float>(text);
}

bool appendConverted(const std::vector<std::string>& texts, std::vector<float>& values) {
    values.reserve(texts.size());
    try {
        for (const std::string& text : texts) {
            values.push_back(toFloat(text));
        }
    } catch (const boost::bad_lexical_cast&) {
        return false;
    }
    return true;
}

// A row: frame number; the image heights (version 3 only); shading values;
// distortion values; five unread fields; the timecode; anything further.
bool bodyEntryForLine(const std::string& line, bool isVersion3, CorrectionData::Frame& frame) {
    const std::size_t firstListField = isVersion3 ? 1 : 0;
    const std::size_t timecodeField = firstListField + 8;
    const std::size_t listLength = isVersion3 ? 7 : 6;
    // Fields after the timecode are not read: one extra piece shows whether
    // there are any, without splitting them.
    const std::vector<std::string> fields = split(line, ";", timecodeField + 2);
    if (fields.size() <= timecodeField) {
        return false;
    }

    int number = 0;
    try {
        number = boost::lexical_cast<int>(fields[0]);
    } catch (const boost::bad_lexical_cast&) {
        return false;
    }
    if (number < 0) {
        return false;
    }

    // One piece more than a list may have tells a list that is too long.
    const std::vector<std::string> positions =
        isVersion3 ? split(fields[1], ",", listLength + 1) : version2ImageRadiusPositions;
    if (positions.size() != listLength) {
        return false;
    }
    const std::vector<std::string> shading = split(fields[firstListField + 1], ",", listLength + 1);
    if (shading.size() != listLength) {
        return false;
    }
    const std::vector<std::string> distortion =
        split(fields[firstListField + 2], ",", listLength + 1);
    if (distortion.size() != listLength) {
        return false;
    }

    CorrectionData::Frame row;
    row.number = static_cast<std::uint32_t>(number);
    auto& points = row.interpolationPoints;
    if (!appendConverted(positions, points.imageRadiusPositions) ||
        !appendConverted(shading, points.shadingValues) ||
        !appendConverted(distortion, points.radialDistortionValues)) {
        return false;
    }
    // NaN fails every comparison and infinities lie outside, so both fail.
    if (!std::all_of(points.imageRadiusPositions.begin(), points.imageRadiusPositions.end(),
                     isPercentage) ||
        !std::all_of(points.shadingValues.begin(), points.shadingValues.end(), isPercentage) ||
        !std::all_of(points.radialDistortionValues.begin(), points.radialDistortionValues.end(),
                     isSignedPercentage)) {
        return false;
    }

    row.timecode = fields[timecodeField];
    std::replace(row.timecode.begin(), row.timecode.end(), '.', ':');
    frame = std::move(row);
    return true;
}

} // namespace

void Parser::parse(const std::string& text, CorrectionData::Content& content) const {
    CorrectionData::Content parsed;
    parseHeader(text, parsed.header);
    parseBody(text, parsed.frames);
    // Moving cannot fail, so the caller's content is either replaced whole
    // or, when a pass threw, not touched at all.
    content = std::move(parsed);
}

void Parser::parseHeader(const std::string& text, CorrectionData::Header& header) const {
    std::istringstream stream(text);
    std::string line;
    unsigned int lineNumber = 0;

    if (!skipToLine(stream, line, lineNumber,
                    [](const std::string& candidate) { return candidate == "HEADER_START"; })) {
        throw InvalidFormatException("Header start could not be found.");
    }

    std::map<std::string, std::string> entries;
    bool endFound = false;
    while (getLine(stream, line)) {
        ++lineNumber;
        if (line == "HEADER_END") {
            endFound = true;
            break;
        }
        if (line.empty()) {
            continue;
        }
        std::pair<std::string, std::string> entry;
        if (!headerEntryForLine(line, entry)) {
            throw InvalidFormatException(lineNumber, line);
        }
        entries.insert(std::move(entry)); // the first occurrence of a key wins
    }
    if (!endFound) {
        throw InvalidFormatException("Header end could not be found.");
    }

    for (const std::string& key : mandatoryKeys) {
        if (entries.find(key) == entries.end()) {
            std::stringstream reason;
            reason << "Header entry with key \"" << key << "\" was not found." << std::endl;
            throw InvalidFormatException(reason.str());
        }
    }
    const auto value = [&entries](const char* key) -> const std::string& {
        return entries.find(key)->second;
    };

    header.lens.manufacturer = value("lensManufacturer");
    header.lens.typeName = value("lensTypeName");
    header.lens.serialNumber = value("lensSerialNumber");
    // Focal lengths keep their low 16 bits, as the field holds no more.
    header.lens.minFocalLength =
        static_cast<std::uint16_t>(convertedOrZero<unsigned int>(value("lensMinFocalLength")));
    header.lens.maxFocalLength =
        static_cast<std::uint16_t>(convertedOrZero<unsigned int>(value("lensMaxFocalLength")));
    header.camera.manufacturer = value("cameraManufacturer");
    header.camera.model = value("cameraModel");
    header.sensor.width = convertedOrZero<float>(value("sensorWidth"));
    header.clip.name = value("clipName");
    if (value("videoFileName").empty()) {
        throw InvalidFormatException(
            "Header entry with key \"videoFileName\" does not have a value.");
    }
    header.clip.videoFileName = value("videoFileName");
    header.clip.durationFrames = convertedOrZero<unsigned int>(value("clipDurationFrames"));
    header.clip.width = pixelSizeOrZero(value("clipWidth"));
    header.clip.height = pixelSizeOrZero(value("clipHeight"));
    try {
        const float fps = boost::lexical_cast<float>(value("tcFps"));
        // Timecodes are counted at this rate: it must be a finite number
        // above 0 (the float conversion also accepts "nan" and "inf").
        if (!(fps > 0.0f) || std::isinf(fps)) {
            throw boost::bad_lexical_cast();
        }
        header.timecode.fps = fps;
    } catch (const boost::bad_lexical_cast&) {
        throw InvalidFormatException(
            "Header entry with key \"tcFps\" does not have a valid value.");
    }
    header.timecode.drop = convertedOrZero<bool>(value("tcDrop"));
    header.shading.enable = convertedOrZero<bool>(value("enableLensShadingCorrection"));
    header.shading.gamma = convertedOrZero<float>(value("shadingGamma"));
    header.distortion.enable = convertedOrZero<bool>(value("enableLensDistortionCorrection"));
    header.distortion.zoom = convertedOrZero<float>(value("distortionZoom"));
}

void Parser::parseBody(const std::string& text,
                       std::map<unsigned int, CorrectionData::Frame>& frames) const {
    std::istringstream stream(text);
    std::string line;
    unsigned int lineNumber = 0;

    const auto beginsWith = [](const char* prefix) {
        return [prefix](const std::string& candidate) {
            return boost::algorithm::starts_with(candidate, prefix);
        };
    };
    if (!skipToLine(stream, line, lineNumber, beginsWith("# VANT Version "))) {
        throw InvalidFormatException("Version could not be found.");
    }
    bool isVersion3 = false;
    if (line == "# VANT Version 3") {
        isVersion3 = true;
    } else if (line != "# VANT Version 2") {
        throw InvalidFormatException("Version is not supported.");
    }

    if (!skipToLine(stream, line, lineNumber, beginsWith("frame;"))) {
        throw InvalidFormatException("Body start could not be found.");
    }

    std::vector<CorrectionData::Frame> rows;
    while (getLine(stream, line)) {
        ++lineNumber;
        if (line.empty()) {
            continue;
        }
        CorrectionData::Frame frame;
        if (!bodyEntryForLine(line, isVersion3, frame)) {
            throw InvalidFormatException(lineNumber, line);
        }
        rows.push_back(std::move(frame));
    }

    // In file order, so that a later row with the same number replaces an
    // earlier one.
    for (CorrectionData::Frame& row : rows) {
        frames[row.number] = std::move(row);
    }
}

} // namespace CorrectionFile
