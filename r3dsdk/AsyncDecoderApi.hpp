// The asynchronous decoder's entries.
// Filled from one loaded library by LoadSymbols; every entry is null until then.
#pragma once

#include "DynamicApi.hpp"

namespace R3DSDK {

class AsyncDecoderApi : public DynamicApi {
public:
    static constexpr unsigned int EntryCount = 8;

    AsyncDecoderApi();
    ~AsyncDecoderApi() override;

    const char* Name() const override;
    bool LoadSymbols(const DynamicLibrary* library) override;
    void Reset() override;

    // 0: no operation of the client calls it.
    Entry R3D_CAB;
    // 1: no operation of the client calls it.
    Entry R3D_CAA;
    // 2: no operation of the client calls it.
    Entry R3D_CAC;
    // 3: no operation of the client calls it.
    Entry R3D_CAH;
    // 4: no operation of the client calls it.
    Entry R3D_CAD;
    // 5: no operation of the client calls it.
    Entry R3D_CAE;
    // 6: no operation of the client calls it.
    Entry R3D_CAF;
    // 7: no operation of the client calls it.
    Entry R3D_CAG;
};

} // namespace R3DSDK
