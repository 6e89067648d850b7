// The enumerated values that the client layer passes to the decoder library
// inside its settings records and as arguments. Their numbers are shared with
// the library, so every enumeration has a fixed underlying type and explicit
// values.
#pragma once

#include <cstdint>

namespace R3DSDK {

enum ImageGammaCurve : std::uint32_t {
    ImageGammaLinear = 0,
    ImageGammaRec709 = 1,
    ImageGammaREDspace = 2,
    ImageGammaREDlog = 3,
    ImageGammaPDlog685 = 4,
    ImageGammaPDlog985 = 5,
    ImageGammaREDgamma = 7,
    ImageGammaSRGB = 8,
    ImageGammaREDlogFilm = 9,
    ImageGammaREDgamma2 = 10,
    ImageGammaREDgamma3 = 11,
    ImageGammaREDgamma4 = 12,
    ImageGammaHDR2084 = 14,
    ImageGammaBT1886 = 15,
    ImageGammaLog3G12 = 16,
    ImageGammaLog3G10 = 18,
};

enum ImageColorSpace : std::uint32_t {
    ImageColorCameraRGB = 0,
    ImageColorRec709 = 1,
    ImageColorREDspace = 2,
    ImageColorREDcolor = 3,
    ImageColorSRGB = 4,
    ImageColorAdobe1998 = 5,
    ImageColorREDcolor2 = 6,
    ImageColorREDcolor3 = 8,
    ImageColorDRAGONcolor = 9,
    ImageColorREDcolor4 = 11,
    ImageColorDRAGONcolor2 = 12,
    ImageColorRec2020 = 13,
    ImageColorREDWideGamutRGB = 15,
    ImageColorDCIP3 = 16,
    ImageColorProPhotoRGB = 17,
};

enum ImagePipelineMode : std::uint32_t {
    ImagePipelinePrimaryRawDevelopment = 0,
    ImagePipelineFullGradedOutput = 1,
};

enum RollOff : std::uint32_t {
    RollOffNone = 0,
    RollOffHard = 1,
    RollOffMedium = 2,
    RollOffSoft = 3,
    RollOffVerySoft = 4,
};

enum ToneMap : std::uint32_t {
    ToneMapLow = 0,
    ToneMapMedium = 1,
    ToneMapHigh = 2,
    ToneMapNone = 3,
};

enum HdrBlendAlgorithm : std::uint32_t {
    HdrBlendSimple = 0x48445253,
    HdrBlendMagicMotion = 0x4844524D,
};

// Values that only the decoder library interprets: the client passes them on
// unchanged, so they have a fixed width and no names of their own.
enum HdrMode : std::uint32_t {};
enum CreateStatus : std::uint32_t {};

// Pixel layouts of decoded frames, named by their four-character codes. Only
// the two whose settings InternalCheckSettings looks at are named here.
enum VideoPixelType : std::uint32_t {
    VideoPixelTypeRBHF = 0x52424846,
    VideoPixelTypeRBHA = 0x52424841,
};

} // namespace R3DSDK
