// Free functions of the layer: 3D LUTs, output transforms, the expected sidecar path.
#pragma once

#include "DynamicApi.hpp"

#include <cstddef>

#include "Enumerations.hpp"

#define OKALU_GLOBAL_API_ENTRIES(ENTRY)                                                            \
    /* Load3DLut: loads a 3D LUT file; returns its handle. */                                      \
    ENTRY(R3D_HAA, void*(const char* lutPath, const char* name))                                   \
    /* Unload3DLut. */                                                                             \
    ENTRY(R3D_HAC, int(void** lut))                                                                \
    /* Get3DLutPath. */                                                                            \
    ENTRY(R3D_HAB, const char*(void* lut))                                                         \
    /* Get3DLutEdgeLength. */                                                                      \
    ENTRY(R3D_HAD, std::size_t(void* lut))                                                         \
    /* SaveRWGLog3G10ToOutputTransform3DLut. */                                                    \
    ENTRY(R3D_HAE,                                                                                 \
          int(const char* path, int size, ImageColorSpace colorSpace, ImageGammaCurve gammaCurve,  \
              ToneMap toneMap, RollOff rollOff, unsigned int flags))                               \
    /* CreateRWGLog3G10ToOutputTransformLuts and its 3D-only form. */                              \
    ENTRY(R3D_HAF, bool(float* lut, int size, float* lut1D, int size1D, int flags1D,               \
                        ImageColorSpace colorSpace, ImageGammaCurve gammaCurve, ToneMap toneMap,   \
                        RollOff rollOff, unsigned int flags))                                      \
    /* ExpectedRmdPath: stores the text into `transfer`. */                                        \
    ENTRY(R3D_HAG, bool(const char* path, IStringTransfer* transfer))                              \
    /* No operation of the client calls it. */                                                     \
    ENTRY(R3D_HAH, void())                                                                         \
    /* No operation of the client calls it. */                                                     \
    ENTRY(R3D_HAI, void())

namespace R3DSDK {

class IStringTransfer;

class GlobalApi : public DynamicApi {
public:
    OKALU_ENTRY_TABLE(GlobalApi, OKALU_GLOBAL_API_ENTRIES)
};

} // namespace R3DSDK
