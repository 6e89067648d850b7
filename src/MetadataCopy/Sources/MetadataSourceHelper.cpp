#include "MetadataCopy/Sources/MetadataSourceHelper.hpp"

#include "Assertion/Assertion.hpp"
#include "Exception/Exception.hpp"
#include "RecordingFormatDatabase/CsvStringBasedRecordingFormatDatabase.hpp"
#include "RecordingFormatDatabase/RecordingFormatDatabase.hpp"

#include <boost/algorithm/string/find_iterator.hpp>
#include <boost/algorithm/string/finder.hpp>
#include <boost/algorithm/string/split.hpp>
#include <boost/range/iterator_range.hpp>

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

namespace MetadataCopy {

namespace {

const char* const invalidTelvarMetadataMessage = "Source does not contain valid Telvar metadata.";

constexpr std::size_t shortPacketByteCount = 24;
constexpr std::size_t longPacketByteCount = 42;

bool isTwoDigitHexByte(const std::string& piece) {
    return piece.size() == 2 && std::isxdigit(static_cast<unsigned char>(piece[0])) &&
           std::isxdigit(static_cast<unsigned char>(piece[1]));
}

std::uint16_t unsigned16(const std::vector<unsigned char>& bytes, std::size_t index) {
    return static_cast<std::uint16_t>((bytes[index] << 8) | bytes[index + 1]);
}

std::int16_t signed16(const std::vector<unsigned char>& bytes, std::size_t index) {
    // Two's complement of the big-endian word, without relying on how the
    // compiler narrows an out-of-range unsigned value.
    const int value = unsigned16(bytes, index);
    return static_cast<std::int16_t>(value >= 0x8000 ? value - 0x10000 : value);
}

// The long packet stores each height in ten bits spread over two bytes; the
// other bits carry nothing that the lens data needs.
unsigned int tenBitHeight(const std::vector<unsigned char>& bytes, std::size_t index) {
    return (bytes[index] & 0x0Fu) * 64u + (bytes[index + 1] & 0x3Fu);
}

// Every packet value is stored in tenths, as `count` consecutive two-byte
// words from byte `first` on.
template <typename ReadWord>
void appendTenths(std::vector<float>& values, const std::vector<unsigned char>& bytes,
                  std::size_t first, std::size_t count, ReadWord readWord) {
    for (std::size_t point = 0; point < count; ++point) {
        values.push_back(static_cast<float>(readWord(bytes, first + 2 * point)) / 10.0f);
    }
}

} // namespace

float MetadataSourceHelper::imageRadius(const Camera& camera,
                                        const ClipResolution& clipResolution) {
    float result = 0.0f;
    try {
        RecordingFormatDatabase::RecordingFormatDatabase* database =
            RecordingFormatDatabase::CsvStringBasedRecordingFormatDatabase::sharedInstance();
        std::map<std::string, RecordingFormatDatabase::RecordingFormat> recordingFormats;
        database->recordingFormats(camera.manufacturer, camera.model, recordingFormats);
        for (const auto& entry : recordingFormats) {
            const RecordingFormatDatabase::RecordingFormat& format = entry.second;
            if (format.widthInPixels == clipResolution.width &&
                format.heightInPixels == clipResolution.height) {
                result = format.imageRadius;
                break;
            }
        }
    } catch (...) {
        // An unknown camera is an answer, not a failure: the caller reports
        // the radius 0 in its own words.
        result = 0.0f;
    }
    return result;
}

FrameMetadata
MetadataSourceHelper::frameMetadataForRawSubmetadata(const RawSubmetadata& rawSubmetadata) {
    std::vector<std::string> pieces;
    boost::algorithm::iter_split(pieces, rawSubmetadata.hexPayload,
                                 boost::algorithm::first_finder(rawSubmetadata.separator));

    // A malformed piece ends the byte list, so that the decoder sees too few
    // bytes and refuses the packet instead of copying made-up lens values.
    std::vector<unsigned char> bytes;
    bytes.reserve(pieces.size());
    for (const std::string& piece : pieces) {
        if (!isTwoDigitHexByte(piece)) {
            break;
        }
        bytes.push_back(
            static_cast<unsigned char>(std::strtoul(piece.c_str(), nullptr, 16) & 0xFFu));
    }

    if (rawSubmetadata.typeCode == "z") {
        return frameMetadataForOdRawSubmetadata(std::move(bytes));
    }
    if (rawSubmetadata.typeCode == "Z") {
        return frameMetadataForOd1RawSubmetadata(std::move(bytes));
    }
    OKALU_ASSERT(false);
}

FrameMetadata
MetadataSourceHelper::frameMetadataForOdRawSubmetadata(std::vector<unsigned char> bytes) {
    if (bytes.size() != shortPacketByteCount) {
        throw Exception(invalidTelvarMetadataMessage);
    }
    FrameMetadata frameMetadata;
    auto& points = frameMetadata.interpolationPoints;
    appendTenths(points.shading, bytes, 0, 6, unsigned16);
    appendTenths(points.radialDistortion, bytes, 12, 6, signed16);
    // The short packet has no room for heights: its points sit at fixed
    // image heights.
    points.heights.insert(points.heights.end(), {0.0f, 5.0f, 10.0f, 15.0f, 18.0f, 21.4f});
    return frameMetadata;
}

FrameMetadata
MetadataSourceHelper::frameMetadataForOd1RawSubmetadata(std::vector<unsigned char> bytes) {
    if (bytes.size() != longPacketByteCount) {
        throw Exception(invalidTelvarMetadataMessage);
    }
    FrameMetadata frameMetadata;
    auto& points = frameMetadata.interpolationPoints;
    appendTenths(points.heights, bytes, 0, 7, tenBitHeight);
    appendTenths(points.shading, bytes, 14, 7, unsigned16);
    appendTenths(points.radialDistortion, bytes, 28, 7, signed16);
    return frameMetadata;
}

bool MetadataSourceHelper::isOnTheFollowingDay(std::uint64_t request, std::uint64_t start,
                                               std::uint64_t end, std::uint64_t dayLength) {
    if (request >= start) {
        return false;
    }
    const std::uint64_t nextDay = request + dayLength;
    return nextDay <= end || nextDay - end < start - request;
}

} // namespace MetadataCopy
