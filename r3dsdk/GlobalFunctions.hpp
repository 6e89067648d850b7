// The layer's free functions: 3D LUTs, output-transform tables, the expected
// side-car path and the camera matrices of a clip. Like the clip operations
// they require a successful InitializeSdk; only the checks stated below are
// made before the decoder library is called.
#pragma once

#include "Enumerations.hpp"

#include <cstddef>
#include <string>

namespace R3DSDK {

class Clip;
struct ColorMatrices;
struct ImageProcessingSettings;

std::string ExpectedRmdPath(const char* path);

void* Load3DLut(const char* lutPath, const char* name);
int Unload3DLut(void** lut);
const char* Get3DLutPath(void* lut);
std::size_t Get3DLutEdgeLength(void* lut);

/// 5 without calling the library when `path` is null.
int SaveRWGLog3G10ToOutputTransform3DLut(const char* path, int size, ImageColorSpace colorSpace,
                                         ImageGammaCurve gammaCurve, ToneMap toneMap,
                                         RollOff rollOff, unsigned int flags);
/// False without calling the library when `lut` is null.
bool CreateRWGLog3G10ToOutputTransform3DLut(float* lut, int size, ImageColorSpace colorSpace,
                                            ImageGammaCurve gammaCurve, ToneMap toneMap,
                                            RollOff rollOff, unsigned int flags);
/// False without calling the library when either table is null.
bool CreateRWGLog3G10ToOutputTransformLuts(float* lut3D, int size3D, float* lut1D, int size1D,
                                           int flags1D, ImageColorSpace colorSpace,
                                           ImageGammaCurve gammaCurve, ToneMap toneMap,
                                           RollOff rollOff, unsigned int flags);

/// The matrices of the clip as a whole.
int GetCameraMatrices(const Clip& clip, const ImageProcessingSettings& settings,
                      ColorMatrices& matrices);
int GetCameraMatrices(const Clip& clip, std::size_t frame, const ImageProcessingSettings& settings,
                      ColorMatrices& matrices);

/// False only for the pixel types RBHF and RBHA with settings whose field at
/// offset 12 is 3 or more and whose field at offset 316 is 0; true otherwise,
/// also for null settings. Calls nothing.
bool InternalCheckSettings(VideoPixelType pixelType, const ImageProcessingSettings* settings);

} // namespace R3DSDK
