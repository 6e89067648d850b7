// The permitted ranges, defaults and enumerated values of
// ImageProcessingSettings, published so that a host can build its controls
// from the same numbers that CheckBounds enforces.
#pragma once

#include "Enumerations.hpp"

#include <cstddef>
#include <cstdint>

namespace R3DSDK {
namespace ImageProcessingLimits {

inline constexpr float KelvinMin = 1700.0f;
inline constexpr float KelvinMax = 100000.0f;
inline constexpr float KelvinDefault = 5600.0f;

inline constexpr float TintMin = -100.0f;
inline constexpr float TintMax = 100.0f;
inline constexpr float TintDefault = 0.0f;

inline constexpr float ExposureMin = -7.0f;
inline constexpr float ExposureMax = 7.0f;
inline constexpr float ExposureDefault = 0.0f;

inline constexpr float GainsMin = 0.0f;
inline constexpr float GainsMax = 10.0f;
inline constexpr float GainsDefault = 1.0f;

inline constexpr float SaturationMin = 0.0f;
inline constexpr float SaturationMax = 4.0f;
inline constexpr float SaturationDefault = 1.0f;

inline constexpr float ContrastMin = -1.0f;
inline constexpr float ContrastMax = 1.0f;
inline constexpr float ContrastDefault = 0.0f;

inline constexpr float BrightnessMin = -10.0f;
inline constexpr float BrightnessMax = 10.0f;
inline constexpr float BrightnessDefault = 0.0f;

inline constexpr float DRXMin = 0.0f;
inline constexpr float DRXMax = 1.0f;
inline constexpr float DRXDefault = 0.0f;

inline constexpr float ShadowMin = -2.0f;
inline constexpr float ShadowMax = 2.0f;
inline constexpr float ShadowDefault = 0.0f;

inline constexpr float FLUTMin = -8.0f;
inline constexpr float FLUTMax = 8.0f;
inline constexpr float FLUTDefault = 0.0f;

inline constexpr float LggLiftMin = -1.0f;
inline constexpr float LggLiftMax = 1.0f;
inline constexpr float LggLiftDefault = 0.0f;

inline constexpr float LggGammaMin = 0.0f;
inline constexpr float LggGammaMax = 4.0f;
inline constexpr float LggGammaDefault = 1.0f;

inline constexpr float LggGainMin = 0.0f;
inline constexpr float LggGainMax = 2.0f;
inline constexpr float LggGainDefault = 1.0f;

inline constexpr std::uint64_t CustomPDLogBlackPointMin = 0;
inline constexpr std::uint64_t CustomPDLogBlackPointMax = 511;
inline constexpr std::uint64_t CustomPDLogBlackPointDefault = 95;

inline constexpr std::uint64_t CustomPDLogWhitePointMin = 512;
inline constexpr std::uint64_t CustomPDLogWhitePointMax = 1023;
inline constexpr std::uint64_t CustomPDLogWhitePointDefault = 685;

inline constexpr float CustomPDLogGammaMin = 0.0f;
inline constexpr float CustomPDLogGammaMax = 2.2f;
inline constexpr float CustomPDLogGammaDefault = 0.6f;

inline constexpr float ExposureAdjustMin = -8.0f;
inline constexpr float ExposureAdjustMax = 8.0f;
inline constexpr float ExposureAdjustDefault = 0.0f;

inline constexpr std::uint32_t HdrPeakNitsMin = 100;
inline constexpr std::uint32_t HdrPeakNitsMax = 10000;
inline constexpr std::uint32_t HdrPeakNitsDefault = 10000;

inline constexpr float CdlSlopeMin = 0.0f;
inline constexpr float CdlSlopeMax = 2.0f;
inline constexpr float CdlSlopeDefault = 1.0f;

inline constexpr float CdlOffsetMin = -1.0f;
inline constexpr float CdlOffsetMax = 1.0f;
inline constexpr float CdlOffsetDefault = 0.0f;

inline constexpr float CdlPowerMin = 0.0f;
inline constexpr float CdlPowerMax = 4.0f;
inline constexpr float CdlPowerDefault = 1.0f;

inline constexpr std::size_t ISOCount = 22;
inline constexpr std::int64_t ISODefault = 320;
inline constexpr std::int64_t ISOList[ISOCount] = {
    50,  80,   100,  125,  160,  200,  250,  320,  400,  500,  640,
    800, 1000, 1280, 1600, 2000, 2500, 3200, 4000, 5000, 6400, 12800,
};

// The enumerated settings: the permitted values in display order, the
// default, and a label per value in the same order.

inline constexpr std::size_t GammaCurveCount = 16;
inline constexpr ImageGammaCurve GammaCurveMap[GammaCurveCount] = {
    ImageGammaREDgamma4,  ImageGammaREDgamma3, ImageGammaREDgamma2, ImageGammaREDgamma,
    ImageGammaREDlogFilm, ImageGammaLinear,    ImageGammaRec709,    ImageGammaSRGB,
    ImageGammaHDR2084,    ImageGammaBT1886,    ImageGammaLog3G12,   ImageGammaLog3G10,
    ImageGammaPDlog685,   ImageGammaPDlog985,  ImageGammaREDspace,  ImageGammaREDlog,
};
inline constexpr ImageGammaCurve GammaCurveDefault = ImageGammaBT1886;
inline constexpr const char* GammaCurveLabels[GammaCurveCount] = {
    "REDgamma4", "REDgamma3", "REDgamma2", "REDgamma", "REDlogFilm", "Linear",
    "Rec.709",   "sRGB",      "HDR-2084",  "BT.1886",  "Log 3G12",   "Log 3G10",
    "PDlog 685", "PDlog 985", "REDspace",  "REDlog",
};

inline constexpr std::size_t ColorSpaceCount = 15;
inline constexpr ImageColorSpace ColorSpaceMap[ColorSpaceCount] = {
    ImageColorDRAGONcolor2,    ImageColorDRAGONcolor, ImageColorREDcolor4,
    ImageColorREDcolor3,       ImageColorREDcolor2,   ImageColorREDcolor,
    ImageColorREDWideGamutRGB, ImageColorRec2020,     ImageColorDCIP3,
    ImageColorRec709,          ImageColorSRGB,        ImageColorProPhotoRGB,
    ImageColorAdobe1998,       ImageColorCameraRGB,   ImageColorREDspace,
};
inline constexpr ImageColorSpace ColorSpaceDefault = ImageColorRec709;
inline constexpr const char* ColorSpaceLabels[ColorSpaceCount] = {
    "DRAGONcolor2", "DRAGONcolor",     "REDcolor4",  "REDcolor3", "REDcolor2",
    "REDcolor",     "REDWideGamutRGB", "Rec.2020",   "DCI-P3",    "Rec.709",
    "sRGB",         "ProPhoto RGB",    "Adobe 1998", "CameraRGB", "REDspace",
};

inline constexpr std::size_t ImagePipelineModeCount = 2;
inline constexpr ImagePipelineMode ImagePipelineModeMap[ImagePipelineModeCount] = {
    ImagePipelinePrimaryRawDevelopment,
    ImagePipelineFullGradedOutput,
};
inline constexpr ImagePipelineMode ImagePipelineModeDefault = ImagePipelineFullGradedOutput;
inline constexpr const char* ImagePipelineModeLabels[ImagePipelineModeCount] = {
    "Primary Raw Development",
    "Full Graded Output",
};

inline constexpr std::size_t HighlightRollOffCount = 5;
inline constexpr RollOff HighlightRollOffMap[HighlightRollOffCount] = {
    RollOffVerySoft, RollOffSoft, RollOffMedium, RollOffHard, RollOffNone,
};
inline constexpr RollOff HighlightRollOffDefault = RollOffSoft;
inline constexpr const char* HighlightRollOffLabels[HighlightRollOffCount] = {
    "Very Soft", "Soft", "Medium", "Hard", "None",
};

inline constexpr std::size_t OutputToneMapCount = 4;
inline constexpr ToneMap OutputToneMapMap[OutputToneMapCount] = {
    ToneMapLow,
    ToneMapMedium,
    ToneMapHigh,
    ToneMapNone,
};
inline constexpr ToneMap OutputToneMapDefault = ToneMapMedium;
inline constexpr const char* OutputToneMapLabels[OutputToneMapCount] = {
    "Low",
    "Medium",
    "High",
    "None",
};

} // namespace ImageProcessingLimits
} // namespace R3DSDK
