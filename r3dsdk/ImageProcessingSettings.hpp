// How the decoder library develops a frame. The library reads and writes this
// record by its byte layout (400 bytes, offsets fixed below), so the fields,
// their order and their padding must not change; fields without a name of
// meaning are the library's own and are only initialised and passed on.
#pragma once

#include <cstddef>
#include <cstdint>

namespace R3DSDK {

struct ImageProcessingSettings {
    struct CurvePoint {
        float x;
        float y;
    };

    // Five points with strictly increasing x, all coordinates in [0, 1].
    struct Curve {
        CurvePoint Points[5];
    };

    struct LiftGammaGain {
        float Lift;
        float Gamma;
        float Gain;
    };

    struct Cdl {
        float Slope;
        float Offset;
        float Power;
    };

    /// Every field at its default; the padding bytes are zero.
    ImageProcessingSettings();

    /// Pulls every checked field into its permitted range, in place. A float
    /// that is not a number is left as it is; a curve whose x values are not
    /// strictly increasing after clamping becomes the identity curve; the ISO
    /// snaps to the nearest entry of ImageProcessingLimits::ISOList (the lower
    /// one on a tie).
    void CheckBounds();

    std::uint32_t StructureVersion;
    std::uint32_t StructureSize;

    std::uint32_t Field8;
    // Flag392 may only be set while this holds 3.
    std::uint32_t Field12;

    float Kelvin;
    float Tint;
    float Exposure;
    float Gains[3];
    float Saturation;
    float Contrast;
    float Brightness;
    float DRX;

    std::int64_t ISO;
    std::uint32_t GammaCurve;
    std::uint32_t ColorSpace;

    std::uint64_t CustomPDLogBlackPoint;
    std::uint64_t CustomPDLogWhitePoint;
    float CustomPDLogGamma;

    Curve FirstCurve;

    std::uint32_t Field132;
    std::uint32_t Field136;
    std::uint32_t Field140;
    bool Flag144;
    std::uint32_t Field148;

    float Shadow;
    float FLUT;

    Curve FurtherCurves[3];

    LiftGammaGain Lgg[3];

    std::uint32_t Field316;
    float ExposureAdjust;
    float Field324;

    Cdl CdlValues[3];

    bool Flag364;
    unsigned char Padding365[3]; // keeps the next bytes at offset 368
    unsigned char Bytes368[12];
    std::uint32_t Field380;
    std::uint32_t Field384;
    std::uint32_t HdrPeakNits;
    bool Flag392;
};

static_assert(sizeof(ImageProcessingSettings) == 400, "layout shared with the decoder library");
static_assert(offsetof(ImageProcessingSettings, Kelvin) == 16, "layout");
static_assert(offsetof(ImageProcessingSettings, ISO) == 56, "layout");
static_assert(offsetof(ImageProcessingSettings, CustomPDLogBlackPoint) == 72, "layout");
static_assert(offsetof(ImageProcessingSettings, FirstCurve) == 92, "layout");
static_assert(offsetof(ImageProcessingSettings, Field132) == 132, "layout");
static_assert(offsetof(ImageProcessingSettings, Flag144) == 144, "layout");
static_assert(offsetof(ImageProcessingSettings, Field148) == 148, "layout");
static_assert(offsetof(ImageProcessingSettings, Shadow) == 152, "layout");
static_assert(offsetof(ImageProcessingSettings, FurtherCurves) == 160, "layout");
static_assert(offsetof(ImageProcessingSettings, Lgg) == 280, "layout");
static_assert(offsetof(ImageProcessingSettings, Field316) == 316, "layout");
static_assert(offsetof(ImageProcessingSettings, Field324) == 324, "layout");
static_assert(offsetof(ImageProcessingSettings, CdlValues) == 328, "layout");
static_assert(offsetof(ImageProcessingSettings, Flag364) == 364, "layout");
static_assert(offsetof(ImageProcessingSettings, Bytes368) == 368, "layout");
static_assert(offsetof(ImageProcessingSettings, Field380) == 380, "layout");
static_assert(offsetof(ImageProcessingSettings, HdrPeakNits) == 388, "layout");
static_assert(offsetof(ImageProcessingSettings, Flag392) == 392, "layout");

} // namespace R3DSDK
