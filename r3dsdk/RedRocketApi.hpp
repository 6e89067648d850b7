// The RED ROCKET board's entries.
// Filled from one loaded library by LoadSymbols; every entry is null until then.
#pragma once

#include "DynamicApi.hpp"

namespace R3DSDK {

class RedRocketApi : public DynamicApi {
public:
    static constexpr unsigned int EntryCount = 13;

    RedRocketApi();
    ~RedRocketApi() override;

    const char* Name() const override;
    bool LoadSymbols(const DynamicLibrary* library) override;
    void Reset() override;

    // 0: no operation of the client calls it.
    Entry R3D_DAB;
    // 1: no operation of the client calls it.
    Entry R3D_DAA;
    // 2: no operation of the client calls it.
    Entry R3D_DAC;
    // 3: no operation of the client calls it.
    Entry R3D_DAE;
    // 4: no operation of the client calls it.
    Entry R3D_DAF;
    // 5: no operation of the client calls it.
    Entry R3D_DAG;
    // 6: no operation of the client calls it.
    Entry R3D_DAH;
    // 7: no operation of the client calls it.
    Entry R3D_DAK;
    // 8: no operation of the client calls it.
    Entry R3D_DAL;
    // 9: no operation of the client calls it.
    Entry R3D_DAM;
    // 10: no operation of the client calls it.
    Entry R3D_DAN;
    // 11: no operation of the client calls it.
    Entry R3D_DAO;
    // 12: no operation of the client calls it.
    Entry R3D_DAP;
};

} // namespace R3DSDK
