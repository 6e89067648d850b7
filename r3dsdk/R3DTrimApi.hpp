// The trimming entries.
// Filled from one loaded library by LoadSymbols; every entry is null until then.
#pragma once

#include "DynamicApi.hpp"

namespace R3DSDK {

class R3DTrimApi : public DynamicApi {
public:
    static constexpr unsigned int EntryCount = 4;

    R3DTrimApi();
    ~R3DTrimApi() override;

    const char* Name() const override;
    bool LoadSymbols(const DynamicLibrary* library) override;
    void Reset() override;

    // 0: no operation of the client calls it.
    Entry R3D_JAA;
    // 1: no operation of the client calls it.
    Entry R3D_JAB;
    // 2: no operation of the client calls it.
    Entry R3D_JAC;
    // 3: no operation of the client calls it.
    Entry R3D_JAD;
};

} // namespace R3DSDK
