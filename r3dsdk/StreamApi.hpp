// The stream readers' entries.
// Filled from one loaded library by LoadSymbols; every entry is null until then.
#pragma once

#include "DynamicApi.hpp"

namespace R3DSDK {

class StreamApi : public DynamicApi {
public:
    static constexpr unsigned int EntryCount = 22;

    StreamApi();
    ~StreamApi() override;

    const char* Name() const override;
    bool LoadSymbols(const DynamicLibrary* library) override;
    void Reset() override;

    // 0: no operation of the client calls it.
    Entry R3D_EAB;
    // 1: no operation of the client calls it.
    Entry R3D_EAA;
    // 2: no operation of the client calls it.
    Entry R3D_FAB;
    // 3: no operation of the client calls it.
    Entry R3D_FAA;
    // 4: no operation of the client calls it.
    Entry R3D_GAB;
    // 5: no operation of the client calls it.
    Entry R3D_GAA;
    // 6: no operation of the client calls it.
    Entry R3D_IAB;
    // 7: no operation of the client calls it.
    Entry R3D_IAA;
    // 8: no operation of the client calls it.
    Entry R3D_EAC;
    // 9: no operation of the client calls it.
    Entry R3D_FAC;
    // 10: no operation of the client calls it.
    Entry R3D_FAD;
    // 11: no operation of the client calls it.
    Entry R3D_FAE;
    // 12: no operation of the client calls it.
    Entry R3D_FAF;
    // 13: no operation of the client calls it.
    Entry R3D_FAH;
    // 14: no operation of the client calls it.
    Entry R3D_GAE;
    // 15: no operation of the client calls it.
    Entry R3D_GAF;
    // 16: no operation of the client calls it.
    Entry R3D_IAC;
    // 17: no operation of the client calls it.
    Entry R3D_IAD;
    // 18: no operation of the client calls it.
    Entry R3D_ICB;
    // 19: no operation of the client calls it.
    Entry R3D_ICA;
    // 20: no operation of the client calls it.
    Entry R3D_ICC;
    // 21: no operation of the client calls it.
    Entry R3D_ICD;
};

} // namespace R3DSDK
