// A clip of the stand-in decoder library: the project's own small text clip
// format (ClipFormat.md beside this file), read whole when the clip is opened;
// a file whose first line is not the format line is refused after that line.
// Real R3D clips are binary and are refused with a non-zero status.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace StandIn {

class TextClip {
public:
    // Statuses of an opened clip; 0 is the only usable one.
    static constexpr int StatusOk = 0;
    static constexpr int StatusCannotOpen = 1;
    static constexpr int StatusNotAClip = 2;
    static constexpr int StatusInvalidLine = 3;

    struct Frame {
        // Both texts are empty when the frame does not carry the item.
        std::string absoluteTimecode;
        std::string lensData;
    };

    /// Reads the file at `path` (null counts as a file that does not open).
    /// Never throws for bad input: the result is in status().
    explicit TextClip(const char* path);

    int status() const { return clipStatus; }

    /// The clip item's text, or null when the clip has no such item.
    const char* itemAsString(const char* key) const;
    /// The item as a decimal unsigned 32-bit number; 0 when it is absent or
    /// holds anything else.
    std::uint32_t itemAsInt(const char* key) const;
    /// The item as a decimal number; 0 when it is absent or holds anything
    /// else.
    float itemAsFloat(const char* key) const;

    std::size_t frameCount() const { return frames.size(); }
    /// Null for a frame index at or beyond frameCount().
    const Frame* frame(std::size_t index) const;

private:
    // Reads the lines after the format line.
    int parse(const std::string& content);

    int clipStatus = StatusCannotOpen;
    std::map<std::string, std::string> items;
    std::vector<Frame> frames;
};

} // namespace StandIn
