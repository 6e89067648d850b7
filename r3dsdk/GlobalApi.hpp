// Free functions of the layer: 3D LUTs, output transforms, the expected sidecar path.
// Filled from one loaded library by LoadSymbols; every entry is null until then.
#pragma once

#include "DynamicApi.hpp"

#include <cstddef>

#include "Enumerations.hpp"

namespace R3DSDK {

class IStringTransfer;

class GlobalApi : public DynamicApi {
public:
    static constexpr unsigned int EntryCount = 9;

    GlobalApi();
    ~GlobalApi() override;

    const char* Name() const override;
    bool LoadSymbols(const DynamicLibrary* library) override;
    void Reset() override;

    // 0: Load3DLut: loads a 3D LUT file; returns its handle.
    void* (*R3D_HAA)(const char* lutPath, const char* name);
    // 1: Unload3DLut.
    int (*R3D_HAC)(void** lut);
    // 2: Get3DLutPath.
    const char* (*R3D_HAB)(void* lut);
    // 3: Get3DLutEdgeLength.
    std::size_t (*R3D_HAD)(void* lut);
    // 4: SaveRWGLog3G10ToOutputTransform3DLut.
    int (*R3D_HAE)(const char* path, int size, ImageColorSpace colorSpace,
                   ImageGammaCurve gammaCurve, ToneMap toneMap, RollOff rollOff,
                   unsigned int flags);
    // 5: CreateRWGLog3G10ToOutputTransformLuts and its 3D-only form.
    bool (*R3D_HAF)(float* lut, int size, float* lut1D, int size1D, int flags1D,
                    ImageColorSpace colorSpace, ImageGammaCurve gammaCurve, ToneMap toneMap,
                    RollOff rollOff, unsigned int flags);
    // 6: ExpectedRmdPath: stores the text into `transfer`.
    bool (*R3D_HAG)(const char* path, IStringTransfer* transfer);
    // 7: no operation of the client calls it.
    Entry R3D_HAH;
    // 8: no operation of the client calls it.
    Entry R3D_HAI;
};

} // namespace R3DSDK
