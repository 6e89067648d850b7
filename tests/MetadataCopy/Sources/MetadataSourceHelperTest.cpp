#include "MetadataCopy/Sources/MetadataSourceHelper.hpp"
#include "MetadataCopy/Sources/MetadataSourceHelperImpl.hpp"

#include "Exception/Exception.hpp"
#include "Timecode/Timecode.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using MetadataCopy::FrameMetadata;
using MetadataCopy::MetadataSourceHelper;
using MetadataCopy::RawSubmetadata;

// The payload text of a packet: two hexadecimal digits per byte, joined by "/".
std::string hexText(const std::vector<unsigned int>& bytes) {
    std::string text;
    for (unsigned int byte : bytes) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02X", byte);
        if (!text.empty()) {
            text += "/";
        }
        text += digits;
    }
    return text;
}

RawSubmetadata packet(const std::string& typeCode, const std::string& hexPayload) {
    RawSubmetadata raw;
    raw.typeCode = typeCode;
    raw.hexPayload = hexPayload;
    raw.separator = "/";
    return raw;
}

void expectInvalidTelvarMetadata(const RawSubmetadata& raw) {
    try {
        MetadataSourceHelper::frameMetadataForRawSubmetadata(raw);
        FAIL() << "accepted the payload \"" << raw.hexPayload << "\"";
    } catch (const Exception& exception) {
        EXPECT_STREQ("Source does not contain valid Telvar metadata.", exception.what());
    }
}

TEST(MetadataSourceHelperShortPacket, DecodesBigEndianShadingAndSignedDistortion) {
    std::vector<unsigned int> bytes(24, 0);
    bytes[0] = 0x03, bytes[1] = 0xE8;   // 1000
    bytes[2] = 0xFF, bytes[3] = 0xFF;   // largest unsigned value
    bytes[10] = 0x00, bytes[11] = 0x01; // last shading value
    bytes[12] = 0xFF, bytes[13] = 0x38; // -200
    bytes[14] = 0x80, bytes[15] = 0x00; // most negative
    bytes[16] = 0x7F, bytes[17] = 0xFF; // most positive
    bytes[22] = 0x00, bytes[23] = 0x0A; // last distortion value

    std::string payload = hexText(bytes);
    payload.replace(3, 2, "e8"); // digits in either case
    const FrameMetadata decoded =
        MetadataSourceHelper::frameMetadataForRawSubmetadata(packet("z", payload));
    const auto& points = decoded.interpolationPoints;

    EXPECT_EQ((std::vector<float>{100.0f, 6553.5f, 0.0f, 0.0f, 0.0f, 0.1f}), points.shading);
    EXPECT_EQ((std::vector<float>{-20.0f, -3276.8f, 3276.7f, 0.0f, 0.0f, 1.0f}),
              points.radialDistortion);
    EXPECT_EQ((std::vector<float>{0.0f, 5.0f, 10.0f, 15.0f, 18.0f, 21.4f}), points.heights);
}

TEST(MetadataSourceHelperLongPacket, DecodesTenBitHeightsShadingAndDistortion) {
    std::vector<unsigned int> bytes(42, 0);
    bytes[0] = 0x1F, bytes[1] = 0x7F;   // upper bits of both bytes are ignored: 1023
    bytes[2] = 0x03, bytes[3] = 0x20;   // 224
    bytes[12] = 0xF0, bytes[13] = 0xC0; // nothing but ignored bits
    bytes[14] = 0x03, bytes[15] = 0xE8; // 1000
    bytes[26] = 0x12, bytes[27] = 0x34; // last shading value
    bytes[28] = 0xFF, bytes[29] = 0x38; // -200
    bytes[40] = 0x00, bytes[41] = 0x05; // last distortion value

    const FrameMetadata decoded =
        MetadataSourceHelper::frameMetadataForRawSubmetadata(packet("Z", hexText(bytes)));
    const auto& points = decoded.interpolationPoints;

    EXPECT_EQ((std::vector<float>{102.3f, 22.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f}), points.heights);
    EXPECT_EQ((std::vector<float>{100.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 466.0f}), points.shading);
    EXPECT_EQ((std::vector<float>{-20.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.5f}),
              points.radialDistortion);
}

TEST(MetadataSourceHelperPackets, RefusesPayloadsThatAreNotExactlyOnePacket) {
    const std::string shortPayload = hexText(std::vector<unsigned int>(24, 0x11));
    const std::string longPayload = hexText(std::vector<unsigned int>(42, 0x11));

    std::string threeCharacterSixthPiece = shortPayload;
    threeCharacterSixthPiece.insert(15, "1"); // piece 5 becomes "111"
    std::string notHexadecimal = shortPayload;
    notHexadecimal.replace(6, 2, "G1");
    std::string signedPiece = longPayload;
    signedPiece.replace(0, 2, "-1");
    std::string otherSeparator = shortPayload;
    for (char& character : otherSeparator) {
        character = character == '/' ? ' ' : character;
    }

    const std::vector<RawSubmetadata> invalid = {
        packet("z", threeCharacterSixthPiece),
        packet("z", notHexadecimal),
        packet("z", otherSeparator),
        packet("z", hexText(std::vector<unsigned int>(23, 0x11))),
        packet("z", hexText(std::vector<unsigned int>(25, 0x11))),
        packet("z", longPayload),
        packet("Z", shortPayload),
        packet("Z", signedPiece),
    };
    for (const RawSubmetadata& raw : invalid) {
        SCOPED_TRACE(raw.typeCode + " " + raw.hexPayload);
        expectInvalidTelvarMetadata(raw);
    }
}

// A plain reference for the search: the equal element, else the greatest one
// before the request, else the first.
std::size_t closestByWalking(const std::vector<int>& values, int request) {
    std::size_t best = 0;
    for (std::size_t index = 0; index < values.size(); ++index) {
        if (values[index] == request) {
            return index;
        }
        if (values[index] < request) {
            best = index;
        }
    }
    return best;
}

TEST(MetadataSourceHelperClosestTimecode, PicksEqualElseLatestEarlierElseFirstOfAnyLength) {
    const std::vector<Timecode::Timecode> stored = {
        Timecode::Timecode("10:00:00:10", 0.0f),
        Timecode::Timecode("10:00:00:20", 0.0f),
        Timecode::Timecode("10:00:00:30", 0.0f),
    };
    const struct {
        const char* request;
        std::size_t index;
    } cases[] = {
        {"10:00:00:20", 1}, {"10:00:00:25", 1}, {"10:00:00:05", 0}, {"10:00:00:35", 2},
        {"10:00:00:10", 0}, {"10:00:00:30", 2}, {"09:59:59:99", 0}, {"10:00:01:00", 2},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.request);
        EXPECT_EQ(testCase.index, MetadataSourceHelper::indexOfClosestTimecode(
                                      stored, Timecode::Timecode(testCase.request, 0.0f)));
        EXPECT_EQ(0u, MetadataSourceHelper::indexOfClosestTimecode(
                          std::vector<Timecode::Timecode>{stored[1]},
                          Timecode::Timecode(testCase.request, 0.0f)));
    }
}

TEST(MetadataSourceHelperClosestTimecode, AgreesWithAWalkForEveryLengthAndRequest) {
    for (int length = 1; length <= 33; ++length) {
        std::vector<int> values;
        for (int index = 0; index < length; ++index) {
            values.push_back(10 + 3 * index);
        }
        for (int request = 0; request <= 10 + 3 * length + 3; ++request) {
            ASSERT_EQ(closestByWalking(values, request),
                      MetadataSourceHelper::indexOfClosestTimecode(values, request))
                << "length " << length << ", request " << request;
        }
    }
}

} // namespace
