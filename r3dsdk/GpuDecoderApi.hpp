// The GPU decoder's entries.
// Filled from one loaded library by LoadSymbols; every entry is null until then.
#pragma once

#include "DynamicApi.hpp"

namespace R3DSDK {

class GpuDecoderApi : public DynamicApi {
public:
    static constexpr unsigned int EntryCount = 7;

    GpuDecoderApi();
    ~GpuDecoderApi() override;

    const char* Name() const override;
    bool LoadSymbols(const DynamicLibrary* library) override;
    void Reset() override;

    // 0: no operation of the client calls it.
    Entry R3D_CGB;
    // 1: no operation of the client calls it.
    Entry R3D_CGA;
    // 2: no operation of the client calls it.
    Entry R3D_CGC;
    // 3: no operation of the client calls it.
    Entry R3D_CGD;
    // 4: no operation of the client calls it.
    Entry R3D_CGE;
    // 5: no operation of the client calls it.
    Entry R3D_CGF;
    // 6: no operation of the client calls it.
    Entry R3D_CGG;
};

} // namespace R3DSDK
