// The clip-wide entries of a VANT lens-correction file, grouped as the file
// groups them. Numbers and flags start at 0 and false; the parser sets all.
#pragma once

#include <cstdint>
#include <string>

namespace CorrectionData {

struct Header {
    struct {
        std::string manufacturer;
        std::string typeName;
        std::string serialNumber;
        std::uint16_t minFocalLength = 0;
        std::uint16_t maxFocalLength = 0;
    } lens;

    struct {
        std::string manufacturer;
        std::string model;
    } camera;

    struct {
        float width = 0.0f; // millimetres
    } sensor;

    struct {
        std::string name;
        std::string videoFileName; // never empty once parsed
        std::uint32_t durationFrames = 0;
        std::uint32_t width = 0;  // pixels
        std::uint32_t height = 0; // pixels
    } clip;

    struct {
        float fps = 0.0f; // above 0 and finite once parsed
        bool drop = false;
    } timecode;

    struct {
        bool enable = false;
        float gamma = 0.0f;
    } shading;

    struct {
        bool enable = false;
        float zoom = 0.0f;
    } distortion;
};

} // namespace CorrectionData
