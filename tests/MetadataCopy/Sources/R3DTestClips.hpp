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

/// A packet's payload bytes: for a short packet (24 bytes) six shading
/// values, all `shading`, then six distortion values, all `distortion`; for a
/// long one (42 bytes) seven heights of 0 before seven of each. Values are raw
/// tenths, negative ones in two's complement.
inline std::vector<unsigned int> payload(bool isShort, unsigned int shading, int distortion) {
    const int points = isShort ? 6 : 7;
    std::vector<unsigned int> bytes(isShort ? 0 : 14, 0u);
    for (const unsigned int word :
         {shading & 0xFFFFu, static_cast<unsigned int>(distortion) & 0xFFFFu}) {
        for (int point = 0; point < points; ++point) {
            bytes.push_back(word >> 8);
            bytes.push_back(word & 0xFFu);
        }
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
    return lensText(payload(true, shading, distortion));
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
