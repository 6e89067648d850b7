// Feeds arbitrary payload text to the lens data packet decoder. A payload is
// accepted exactly when its leading run of two-hex-digit pieces between "/"
// holds the packet kind's byte count (any other piece ends the bytes, so that
// garbage never becomes lens values), and every decoded value lies in the
// range its encoding allows.
//
// Input layout: one byte whose lowest bit chooses the short ("z") or the long
// ("Z") packet kind, then the payload text.
#include "FuzzCheck.hpp"

#include "Exception/Exception.hpp"
#include "MetadataCopy/Sources/MetadataSourceHelper.hpp"

#include <cctype>
#include <string>
#include <vector>

namespace {

// The bytes the decoder reads: the pieces up to the first that is not two
// hexadecimal digits.
std::size_t leadingByteCount(const std::string& payload) {
    std::size_t count = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = payload.find('/', start);
        const std::size_t length = (end == std::string::npos ? payload.size() : end) - start;
        if (length != 2 || !std::isxdigit(static_cast<unsigned char>(payload[start])) ||
            !std::isxdigit(static_cast<unsigned char>(payload[start + 1]))) {
            return count;
        }
        ++count;
        if (end == std::string::npos) {
            return count;
        }
        start = end + 1;
    }
}

bool allWithin(const std::vector<float>& values, float low, float high) {
    for (const float value : values) {
        if (!(value >= low && value <= high)) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const bool longKind = (FuzzInput::takeByte(data, size) & 1u) != 0;
    MetadataCopy::RawSubmetadata packet;
    packet.typeCode = longKind ? "Z" : "z";
    packet.separator = "/";
    packet.hexPayload.assign(reinterpret_cast<const char*>(data), size);

    const std::size_t expectedBytes = longKind ? 42 : 24;
    const std::size_t points = longKind ? 7 : 6;
    MetadataCopy::FrameMetadata frame;
    try {
        frame = MetadataCopy::MetadataSourceHelper::frameMetadataForRawSubmetadata(packet);
    } catch (const Exception& exception) {
        FUZZ_CHECK(std::string(exception.what()) ==
                   "Source does not contain valid Telvar metadata.");
        FUZZ_CHECK(leadingByteCount(packet.hexPayload) != expectedBytes);
        return 0;
    }
    FUZZ_CHECK(leadingByteCount(packet.hexPayload) == expectedBytes);

    const auto& values = frame.interpolationPoints;
    FUZZ_CHECK(values.heights.size() == points);
    FUZZ_CHECK(values.shading.size() == points);
    FUZZ_CHECK(values.radialDistortion.size() == points);
    FUZZ_CHECK(allWithin(values.heights, 0.0f, longKind ? 102.3f : 21.4f));
    FUZZ_CHECK(allWithin(values.shading, 0.0f, 6553.5f));
    FUZZ_CHECK(allWithin(values.radialDistortion, -3276.8f, 3276.7f));
    return 0;
}
