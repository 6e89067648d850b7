// Stand-in clips for the R3D source's tests: the text clip format that the
// stand-in decoder library reads, lens data packets spelled as a camera
// writes them, and a started SDK for the suites that open clips.
#pragma once

#include "R3DSDK.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace R3DTestClips {

/// The payload bytes of a short packet whose six shading values are all
/// `shading` and whose six distortion values are all `distortion` (raw
/// tenths, two's complement for negative ones).
inline std::vector<unsigned int> shortPayload(unsigned int shading, int distortion) {
    std::vector<unsigned int> bytes;
    const unsigned int word = static_cast<unsigned int>(distortion) & 0xFFFFu;
    for (int point = 0; point < 6; ++point) {
        bytes.push_back(shading >> 8 & 0xFFu);
        bytes.push_back(shading & 0xFFu);
    }
    for (int point = 0; point < 6; ++point) {
        bytes.push_back(word >> 8);
        bytes.push_back(word & 0xFFu);
    }
    return bytes;
}

/// A long packet's payload: heights 0.0 to 60.0 in steps of 10, then shading
/// and distortion as for the short packet.
inline std::vector<unsigned int> longPayload(unsigned int shading, int distortion) {
    std::vector<unsigned int> bytes;
    for (unsigned int height = 0; height <= 600; height += 100) {
        bytes.push_back(height / 64);
        bytes.push_back(height % 64);
    }
    const std::vector<unsigned int> rest = shortPayload(shading, distortion);
    for (int point = 0; point < 7; ++point) {
        bytes.push_back(rest[0]);
        bytes.push_back(rest[1]);
    }
    for (int point = 0; point < 7; ++point) {
        bytes.push_back(rest[12]);
        bytes.push_back(rest[13]);
    }
    return bytes;
}

/// A frame's whole lens text: the packet's kind byte, filler bytes, the
/// payload at its place and filler after it, two digits per byte joined by
/// `separator`. A short packet gives 110 characters, a long one 209.
inline std::string lensText(const std::vector<unsigned int>& payload, char separator = '/') {
    const bool isShort = payload.size() == 24;
    const std::size_t byteCount = isShort ? 37 : 70;
    const std::size_t firstPayloadByte = isShort ? 11 : 26;
    std::string text;
    for (std::size_t index = 0; index < byteCount; ++index) {
        unsigned int byte = 0xA0u + static_cast<unsigned int>(index % 16);
        if (index == 0) {
            byte = isShort ? 0x7Au : 0x5Au;
        } else if (index >= firstPayloadByte && index - firstPayloadByte < payload.size()) {
            byte = payload[index - firstPayloadByte];
        }
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02X", byte & 0xFFu);
        if (index != 0) {
            text += separator;
        }
        text += digits;
    }
    return text;
}

inline std::string shortPacket(unsigned int shading, int distortion = 0) {
    return lensText(shortPayload(shading, distortion));
}

struct Frame {
    /// "-" for a frame without a timecode.
    std::string timecode;
    /// Empty for a frame without lens data.
    std::string lensData;
};

struct Clip {
    std::string cameraModel = "KOMODO 6K S35";
    unsigned int width = 6144;
    unsigned int height = 3240;
    std::string framerate = "23.976";
    std::vector<Frame> frames;
};

/// The clip in the stand-in's text clip format.
inline std::string clipText(const Clip& clip) {
    std::string text = "OKALU-TAFE TEXT CLIP 1\n";
    text += "image_width = " + std::to_string(clip.width) + "\n";
    text += "image_height = " + std::to_string(clip.height) + "\n";
    text += "camera_model = " + clip.cameraModel + "\n";
    text += "framerate = " + clip.framerate + "\n";
    for (const Frame& frame : clip.frames) {
        text += "frame " + frame.timecode;
        if (!frame.lensData.empty()) {
            text += " " + frame.lensData;
        }
        text += "\n";
    }
    return text;
}

/// Starts the SDK with the stand-in decoder library once per suite.
class StartedSdkTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        startStatus = R3DSDK::InitializeSdk(OKALU_STANDIN_DECODER_DIRECTORY, 0);
    }
    static void TearDownTestSuite() { R3DSDK::FinalizeSdk(); }
    void SetUp() override {
        ASSERT_EQ(0, startStatus) << "the stand-in decoder library in "
                                  << OKALU_STANDIN_DECODER_DIRECTORY << " did not start";
    }

private:
    static inline int startStatus = -1;
};

} // namespace R3DTestClips
