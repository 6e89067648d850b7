// Feeds arbitrary text to the VANT parser: it must either refuse the text
// with its own exception, leaving the caller's content untouched, or give
// content that keeps every promise the VANT source relies on.
#include "FuzzCheck.hpp"

#include "CorrectionData/Content.hpp"
#include "CorrectionFile/InvalidFormatException.hpp"
#include "CorrectionFile/Parser.hpp"

#include <climits>
#include <cmath>
#include <string>

namespace {

bool allWithin(const std::vector<float>& values, float low, float high) {
    for (const float value : values) {
        if (!(value >= low && value <= high)) {
            return false;
        }
    }
    return true;
}

void checkParsedContent(const CorrectionData::Content& content) {
    const CorrectionData::Header& header = content.header;
    FUZZ_CHECK(std::isfinite(header.timecode.fps) && header.timecode.fps > 0.0f);
    FUZZ_CHECK(!header.clip.videoFileName.empty());

    for (const auto& entry : content.frames) {
        const CorrectionData::Frame& frame = entry.second;
        FUZZ_CHECK(entry.first == frame.number);
        FUZZ_CHECK(frame.number <= static_cast<unsigned int>(INT_MAX));

        const auto& points = frame.interpolationPoints;
        const std::size_t count = points.imageRadiusPositions.size();
        FUZZ_CHECK(count == 6 || count == 7);
        FUZZ_CHECK(points.shadingValues.size() == count);
        FUZZ_CHECK(points.radialDistortionValues.size() == count);
        FUZZ_CHECK(allWithin(points.imageRadiusPositions, 0.0f, 100.0f));
        FUZZ_CHECK(allWithin(points.shadingValues, 0.0f, 100.0f));
        FUZZ_CHECK(allWithin(points.radialDistortionValues, -100.0f, 100.0f));
        FUZZ_CHECK(frame.timecode.find('.') == std::string::npos);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    // A content that already holds something, as when a caller reuses one.
    CorrectionData::Content content;
    content.header.clip.name = "earlier";
    content.frames[3].timecode = "01:00:00:03";

    try {
        CorrectionFile::Parser().parse(text, content);
    } catch (const CorrectionFile::InvalidFormatException& exception) {
        FUZZ_CHECK(std::string(exception.what()) ==
                   "Correction file could not be parsed due to an invalid format.");
        FUZZ_CHECK(content.header.clip.name == "earlier");
        FUZZ_CHECK(content.frames.size() == 1 && content.frames.count(3) == 1);
        FUZZ_CHECK(content.frames.at(3).timecode == "01:00:00:03");
        return 0;
    }
    checkParsedContent(content);
    return 0;
}
