// The RED ROCKET board's entries.
// No operation of the client calls these entries, so they stay untyped.
#pragma once

#include "DynamicApi.hpp"

#define OKALU_RED_ROCKET_API_ENTRIES(ENTRY)                                                        \
    ENTRY(R3D_DAB, void())                                                                         \
    ENTRY(R3D_DAA, void())                                                                         \
    ENTRY(R3D_DAC, void())                                                                         \
    ENTRY(R3D_DAE, void())                                                                         \
    ENTRY(R3D_DAF, void())                                                                         \
    ENTRY(R3D_DAG, void())                                                                         \
    ENTRY(R3D_DAH, void())                                                                         \
    ENTRY(R3D_DAK, void())                                                                         \
    ENTRY(R3D_DAL, void())                                                                         \
    ENTRY(R3D_DAM, void())                                                                         \
    ENTRY(R3D_DAN, void())                                                                         \
    ENTRY(R3D_DAO, void())                                                                         \
    ENTRY(R3D_DAP, void())

namespace R3DSDK {

class RedRocketApi : public DynamicApi {
public:
    OKALU_ENTRY_TABLE(RedRocketApi, OKALU_RED_ROCKET_API_ENTRIES)
};

} // namespace R3DSDK
