#include "TextClip.hpp"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace StandIn {

namespace {

const char magicLine[] = "OKALU-TAFE TEXT CLIP 1";

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string trimmed(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

// The characters up to the first blank.
std::size_t firstWordLength(const std::string& text) {
    std::size_t length = 0;
    while (length < text.size() && !isBlank(text[length])) {
        ++length;
    }
    return length;
}

bool parseUnsigned32(const std::string& text, std::uint32_t& value) {
    if (text.empty() || text.size() > 10) {
        return false;
    }
    std::uint64_t result = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        result = result * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (result > std::numeric_limits<std::uint32_t>::max()) {
        return false;
    }
    value = static_cast<std::uint32_t>(result);
    return true;
}

bool parseFloat(const std::string& text, float& value) {
    if (text.empty() || isBlank(text[0])) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const float result = std::strtof(text.c_str(), &end);
    if (errno != 0 || end != text.c_str() + text.size() || !std::isfinite(result)) {
        return false;
    }
    value = result;
    return true;
}

// The items that the R3D source reads as numbers must hold numbers, so that a
// mistyped test clip is refused instead of read as a zero.
bool validItemValue(const std::string& key, const std::string& value) {
    std::uint32_t integer = 0;
    float number = 0.0f;
    if (key == "image_width" || key == "image_height" || key == "camera_model_id") {
        return parseUnsigned32(value, integer);
    }
    if (key == "framerate") {
        return parseFloat(value, number);
    }
    return true;
}

// The longest first line that can still be the format line: the line itself and the carriage
// return of a CRLF file.
constexpr std::size_t firstLineLimit = std::char_traits<char>::length(magicLine) + 1;

// Reads line 1 and, only when it is the format line, the rest of the file into `rest`, so that
// a file that is no text clip (a real camera clip of many gigabytes, say) costs no more than its
// first few bytes. stdio reports a read error for a directory, where a stream would only report
// an empty file.
int readFile(std::FILE* file, std::string& rest) {
    std::string line;
    int character = EOF;
    while ((character = std::getc(file)) != EOF && character != '\n') {
        if (line.size() == firstLineLimit) {
            return TextClip::StatusNotAClip;
        }
        line.push_back(static_cast<char>(character));
    }
    if (std::ferror(file) != 0) {
        return TextClip::StatusCannotOpen;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    if (line != magicLine) {
        return TextClip::StatusNotAClip;
    }

    char buffer[65536];
    std::size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        rest.append(buffer, read);
    }
    return std::ferror(file) != 0 ? TextClip::StatusCannotOpen : TextClip::StatusOk;
}

} // namespace

TextClip::TextClip(const char* path) {
    if (path == nullptr) {
        return;
    }
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return;
    }
    std::string rest;
    clipStatus = readFile(file, rest);
    std::fclose(file);
    if (clipStatus == StatusOk) {
        clipStatus = parse(rest);
    }
    if (clipStatus != StatusOk) {
        items.clear();
        frames.clear();
    }
}

int TextClip::parse(const std::string& content) {
    std::size_t position = 0;
    while (position < content.size()) {
        std::size_t end = content.find('\n', position);
        if (end == std::string::npos) {
            end = content.size();
        }
        std::string line = content.substr(position, end - position);
        position = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }

        const std::string text = trimmed(line);
        if (text.empty() || text[0] == '#') {
            continue;
        }

        const std::size_t tokenEnd = firstWordLength(text);
        if (text.compare(0, tokenEnd, "frame") == 0) {
            const std::string rest = trimmed(text.substr(tokenEnd));
            const std::size_t timecodeEnd = firstWordLength(rest);
            if (timecodeEnd == 0) {
                return StatusInvalidLine;
            }
            Frame frame;
            const std::string timecode = rest.substr(0, timecodeEnd);
            if (timecode != "-") {
                frame.absoluteTimecode = timecode;
            }
            frame.lensData = trimmed(rest.substr(timecodeEnd));
            frames.push_back(std::move(frame));
            continue;
        }

        const std::size_t equals = text.find('=');
        if (equals == std::string::npos) {
            return StatusInvalidLine;
        }
        const std::string key = trimmed(text.substr(0, equals));
        const std::string value = trimmed(text.substr(equals + 1));
        const bool keyHasBlank = std::find_if(key.begin(), key.end(), isBlank) != key.end();
        if (key.empty() || keyHasBlank || items.count(key) != 0 || !validItemValue(key, value)) {
            return StatusInvalidLine;
        }
        items.emplace(key, value);
    }
    return StatusOk;
}

const char* TextClip::itemAsString(const char* key) const {
    if (key == nullptr) {
        return nullptr;
    }
    const auto found = items.find(key);
    return found == items.end() ? nullptr : found->second.c_str();
}

std::uint32_t TextClip::itemAsInt(const char* key) const {
    const char* text = itemAsString(key);
    std::uint32_t value = 0;
    return text != nullptr && parseUnsigned32(text, value) ? value : 0;
}

float TextClip::itemAsFloat(const char* key) const {
    const char* text = itemAsString(key);
    float value = 0.0f;
    return text != nullptr && parseFloat(text, value) ? value : 0.0f;
}

const TextClip::Frame* TextClip::frame(std::size_t index) const {
    return index < frames.size() ? &frames[index] : nullptr;
}

} // namespace StandIn
