#include "GlobalFunctions.hpp"

#include "Clip.hpp"
#include "GlobalData.hpp"
#include "ImageProcessingSettings.hpp"
#include "StringTransfer.hpp"

namespace R3DSDK {

std::string ExpectedRmdPath(const char* path) {
    StringTransfer transfer;
    g_global->R3D_HAG(path, &transfer);
    return transfer.Retrieve();
}

void* Load3DLut(const char* lutPath, const char* name) {
    return g_global->R3D_HAA(lutPath, name);
}

int Unload3DLut(void** lut) {
    return g_global->R3D_HAC(lut);
}

const char* Get3DLutPath(void* lut) {
    return g_global->R3D_HAB(lut);
}

std::size_t Get3DLutEdgeLength(void* lut) {
    return g_global->R3D_HAD(lut);
}

int SaveRWGLog3G10ToOutputTransform3DLut(const char* path, int size, ImageColorSpace colorSpace,
                                         ImageGammaCurve gammaCurve, ToneMap toneMap,
                                         RollOff rollOff, unsigned int flags) {
    if (path == nullptr) {
        return 5;
    }
    return g_global->R3D_HAE(path, size, colorSpace, gammaCurve, toneMap, rollOff, flags);
}

bool CreateRWGLog3G10ToOutputTransform3DLut(float* lut, int size, ImageColorSpace colorSpace,
                                            ImageGammaCurve gammaCurve, ToneMap toneMap,
                                            RollOff rollOff, unsigned int flags) {
    if (lut == nullptr) {
        return false;
    }
    return g_global->R3D_HAF(lut, size, nullptr, 0, 0, colorSpace, gammaCurve, toneMap, rollOff,
                             flags);
}

bool CreateRWGLog3G10ToOutputTransformLuts(float* lut3D, int size3D, float* lut1D, int size1D,
                                           int flags1D, ImageColorSpace colorSpace,
                                           ImageGammaCurve gammaCurve, ToneMap toneMap,
                                           RollOff rollOff, unsigned int flags) {
    if (lut3D == nullptr || lut1D == nullptr) {
        return false;
    }
    return g_global->R3D_HAF(lut3D, size3D, lut1D, size1D, flags1D, colorSpace, gammaCurve, toneMap,
                             rollOff, flags);
}

int GetCameraMatrices(const Clip& clip, const ImageProcessingSettings& settings,
                      ColorMatrices& matrices) {
    return clip.GetCameraMatrices(settings, matrices);
}

int GetCameraMatrices(const Clip& clip, std::size_t frame, const ImageProcessingSettings& settings,
                      ColorMatrices& matrices) {
    return clip.GetCameraMatrices(frame, settings, matrices);
}

bool InternalCheckSettings(VideoPixelType pixelType, const ImageProcessingSettings* settings) {
    const bool fullGraded = pixelType == VideoPixelTypeRBHF || pixelType == VideoPixelTypeRBHA;
    if (!fullGraded || settings == nullptr) {
        return true;
    }
    const auto version = static_cast<std::int32_t>(settings->Field12);
    return !(version >= 3 && settings->Field316 == 0);
}

} // namespace R3DSDK
