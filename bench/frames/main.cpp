// Writes numbered EXR frames that look like camera footage to a compressor:
// half RGBA, smooth image content with film grain in the low bits and a
// constant alpha, one "timeCode" per frame counting on at 24 frames per second
// from 01:00:00:00.
//
//   okalu-bench-frames DIRECTORY COUNT WIDTH HEIGHT [COMPRESSION [ATTRIBUTES]]
//
// COMPRESSION is piz (the default), zip or none. ATTRIBUTES (default 0) more
// attributes go into each header, alternately a string and a float, as a
// render that stores its settings in the header has them. The files are named
// frame-000000.exr, frame-000001.exr, ... and replace any of the same name.
#include <OpenEXR/ImfFloatAttribute.h>
#include <OpenEXR/ImfHeader.h>
#include <OpenEXR/ImfRgbaFile.h>
#include <OpenEXR/ImfStandardAttributes.h>
#include <OpenEXR/ImfStringAttribute.h>
#include <OpenEXR/ImfThreading.h>
#include <OpenEXR/ImfTimeCode.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

namespace {

// A cheap generator: the grain needs to look random to the compressor, not
// to a statistician.
struct XorShift {
    std::uint64_t state;
    std::uint32_t next() {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return static_cast<std::uint32_t>(state >> 32);
    }
    // Uniform in [-1, 1).
    float signedUnit() { return static_cast<float>(next()) / 2147483648.0f - 1.0f; }
};

Imf::Compression compressionNamed(const std::string& name) {
    if (name == "piz") {
        return Imf::PIZ_COMPRESSION;
    }
    if (name == "zip") {
        return Imf::ZIP_COMPRESSION;
    }
    if (name == "none") {
        return Imf::NO_COMPRESSION;
    }
    throw std::invalid_argument("unknown compression: " + name);
}

void writeFrame(const std::string& path, int index, int width, int height,
                Imf::Compression compression, int attributeCount, std::vector<Imf::Rgba>& pixels) {
    XorShift random{0x9E3779B97F4A7C15ull * static_cast<std::uint64_t>(index + 1)};
    const float phase = 0.05f * static_cast<float>(index);
    for (int y = 0; y < height; ++y) {
        const float vertical = 0.5f + 0.5f * std::sin(static_cast<float>(y) / 97.0f + phase);
        for (int x = 0; x < width; ++x) {
            const float horizontal = static_cast<float>(x) / static_cast<float>(width);
            const float base = 0.05f + 0.3f * horizontal * vertical;
            Imf::Rgba& pixel = pixels[static_cast<std::size_t>(y) * width + x];
            pixel.r = base * (1.0f + 0.04f * random.signedUnit());
            pixel.g = base * 0.9f * (1.0f + 0.04f * random.signedUnit());
            pixel.b = base * 0.7f * (1.0f + 0.04f * random.signedUnit());
            pixel.a = 1.0f;
        }
    }

    Imf::Header header(width, height);
    header.compression() = compression;
    const int frameNumber = index % 24;
    const int totalSeconds = index / 24;
    Imf::addTimeCode(header, Imf::TimeCode(1 + totalSeconds / 3600, (totalSeconds / 60) % 60,
                                           totalSeconds % 60, frameNumber));
    for (int attribute = 0; attribute < attributeCount; ++attribute) {
        char name[48];
        std::snprintf(name, sizeof name, "renderer/settings/value_%06d", attribute);
        if (attribute % 2 == 0) {
            header.insert(name, Imf::StringAttribute("setting " + std::to_string(attribute)));
        } else {
            header.insert(name, Imf::FloatAttribute(0.5f * static_cast<float>(attribute)));
        }
    }
    Imf::RgbaOutputFile file(path.c_str(), header, Imf::WRITE_RGBA);
    file.setFrameBuffer(pixels.data(), 1, static_cast<std::size_t>(width));
    file.writePixels(height);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 5 || argc > 7) {
        std::cerr << "usage: okalu-bench-frames DIRECTORY COUNT WIDTH HEIGHT [piz|zip|none "
                     "[ATTRIBUTES]]\n";
        return 2;
    }
    try {
        const std::string directory = argv[1];
        const int count = std::stoi(argv[2]);
        const int width = std::stoi(argv[3]);
        const int height = std::stoi(argv[4]);
        const Imf::Compression compression = compressionNamed(argc >= 6 ? argv[5] : "piz");
        const int attributeCount = argc == 7 ? std::stoi(argv[6]) : 0;
        // Compression dominates; the measured tool is single-threaded anyway.
        Imf::setGlobalThreadCount(static_cast<int>(std::thread::hardware_concurrency()));

        std::vector<Imf::Rgba> pixels(static_cast<std::size_t>(width) * height);
        for (int index = 0; index < count; ++index) {
            char name[32];
            std::snprintf(name, sizeof name, "/frame-%06d.exr", index);
            writeFrame(directory + name, index, width, height, compression, attributeCount, pixels);
        }
    } catch (const std::exception& exception) {
        std::cerr << "okalu-bench-frames: " << exception.what() << "\n";
        return 1;
    }
    return 0;
}
