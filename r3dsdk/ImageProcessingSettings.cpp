#include "ImageProcessingSettings.hpp"

#include "ImageProcessingLimits.hpp"

#include <cstring>

namespace R3DSDK {

namespace {

namespace Limits = ImageProcessingLimits;

// Comparisons with a NaN are false, so a value that is not a number passes
// through unchanged: the library decides what to make of it.
template <typename T> void clamp(T& value, T minimum, T maximum) {
    if (value < minimum) {
        value = minimum;
    } else if (value > maximum) {
        value = maximum;
    }
}

const ImageProcessingSettings::Curve identityCurve = {
    {{0.0f, 0.0f}, {0.25f, 0.25f}, {0.5f, 0.5f}, {0.75f, 0.75f}, {1.0f, 1.0f}}};

void checkCurve(ImageProcessingSettings::Curve& curve) {
    for (auto& point : curve.Points) {
        clamp(point.x, 0.0f, 1.0f);
        clamp(point.y, 0.0f, 1.0f);
    }
    for (std::size_t i = 1; i < 5; ++i) {
        if (!(curve.Points[i - 1].x < curve.Points[i].x)) {
            curve = identityCurve;
            return;
        }
    }
}

// The distance in unsigned arithmetic: the true difference of two 64-bit
// integers always fits there, while a signed subtraction could overflow for
// an ISO near the ends of the range.
std::uint64_t distance(std::int64_t a, std::int64_t b) {
    const auto ua = static_cast<std::uint64_t>(a);
    const auto ub = static_cast<std::uint64_t>(b);
    return a >= b ? ua - ub : ub - ua;
}

std::int64_t snapISO(std::int64_t iso) {
    std::size_t best = 0;
    std::uint64_t bestDistance = 1000000;
    for (std::size_t i = 0; i < Limits::ISOCount; ++i) {
        if (iso == Limits::ISOList[i]) {
            return iso;
        }
        const std::uint64_t d = distance(iso, Limits::ISOList[i]);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return Limits::ISOList[best];
}

} // namespace

ImageProcessingSettings::ImageProcessingSettings() : StructureVersion(5), StructureSize(400) {
    // The library may look at padding and reserved bytes, so they are zeroed
    // as a whole before the defaults are set.
    auto* bytes = reinterpret_cast<unsigned char*>(this);
    std::memset(bytes + 8, 0, sizeof(ImageProcessingSettings) - 8);

    Field12 = 3;
    Kelvin = Limits::KelvinDefault;
    Tint = Limits::TintDefault;
    Exposure = Limits::ExposureDefault;
    for (float& gain : Gains) {
        gain = Limits::GainsDefault;
    }
    Saturation = Limits::SaturationDefault;
    Contrast = Limits::ContrastDefault;
    Brightness = Limits::BrightnessDefault;
    DRX = Limits::DRXDefault;
    ISO = Limits::ISODefault;
    GammaCurve = Limits::GammaCurveDefault;
    ColorSpace = Limits::ColorSpaceDefault;
    CustomPDLogBlackPoint = Limits::CustomPDLogBlackPointDefault;
    CustomPDLogWhitePoint = Limits::CustomPDLogWhitePointDefault;
    CustomPDLogGamma = Limits::CustomPDLogGammaDefault;
    FirstCurve = identityCurve;
    Field132 = 2;
    Shadow = Limits::ShadowDefault;
    FLUT = Limits::FLUTDefault;
    for (Curve& curve : FurtherCurves) {
        curve = identityCurve;
    }
    for (LiftGammaGain& lgg : Lgg) {
        lgg = {Limits::LggLiftDefault, Limits::LggGammaDefault, Limits::LggGainDefault};
    }
    Field316 = 1;
    ExposureAdjust = Limits::ExposureAdjustDefault;
    Field324 = 1.0f;
    for (Cdl& cdl : CdlValues) {
        cdl = {Limits::CdlSlopeDefault, Limits::CdlOffsetDefault, Limits::CdlPowerDefault};
    }
    Flag364 = true;
    Field380 = 1;
    Field384 = 3;
    HdrPeakNits = Limits::HdrPeakNitsDefault;
}

void ImageProcessingSettings::CheckBounds() {
    clamp(Kelvin, Limits::KelvinMin, Limits::KelvinMax);
    clamp(Tint, Limits::TintMin, Limits::TintMax);
    clamp(Exposure, Limits::ExposureMin, Limits::ExposureMax);
    for (float& gain : Gains) {
        clamp(gain, Limits::GainsMin, Limits::GainsMax);
    }
    clamp(Saturation, Limits::SaturationMin, Limits::SaturationMax);
    clamp(Contrast, Limits::ContrastMin, Limits::ContrastMax);
    clamp(Brightness, Limits::BrightnessMin, Limits::BrightnessMax);
    clamp(DRX, Limits::DRXMin, Limits::DRXMax);

    if (CustomPDLogBlackPoint > Limits::CustomPDLogBlackPointMax) {
        CustomPDLogBlackPoint = Limits::CustomPDLogBlackPointMax;
    }
    clamp(CustomPDLogWhitePoint, Limits::CustomPDLogWhitePointMin,
          Limits::CustomPDLogWhitePointMax);

    clamp(CustomPDLogGamma, Limits::CustomPDLogGammaMin, Limits::CustomPDLogGammaMax);
    clamp(Shadow, Limits::ShadowMin, Limits::ShadowMax);
    clamp(FLUT, Limits::FLUTMin, Limits::FLUTMax);
    for (LiftGammaGain& lgg : Lgg) {
        clamp(lgg.Lift, Limits::LggLiftMin, Limits::LggLiftMax);
        clamp(lgg.Gamma, Limits::LggGammaMin, Limits::LggGammaMax);
        clamp(lgg.Gain, Limits::LggGainMin, Limits::LggGainMax);
    }
    clamp(ExposureAdjust, Limits::ExposureAdjustMin, Limits::ExposureAdjustMax);
    clamp(HdrPeakNits, Limits::HdrPeakNitsMin, Limits::HdrPeakNitsMax);
    clamp(Field324, 0.0f, 4.0f);
    for (Cdl& cdl : CdlValues) {
        clamp(cdl.Slope, Limits::CdlSlopeMin, Limits::CdlSlopeMax);
        clamp(cdl.Offset, Limits::CdlOffsetMin, Limits::CdlOffsetMax);
        clamp(cdl.Power, Limits::CdlPowerMin, Limits::CdlPowerMax);
    }

    checkCurve(FirstCurve);
    for (Curve& curve : FurtherCurves) {
        checkCurve(curve);
    }

    if (Field12 != 3) {
        Flag392 = false;
    }

    ISO = snapISO(ISO);
}

} // namespace R3DSDK
