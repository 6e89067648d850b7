// The trimming entries.
// No operation of the client calls these entries, so they stay untyped.
#pragma once

#include "DynamicApi.hpp"

#define OKALU_R3D_TRIM_API_ENTRIES(ENTRY)                                                          \
    ENTRY(R3D_JAA, void())                                                                         \
    ENTRY(R3D_JAB, void())                                                                         \
    ENTRY(R3D_JAC, void())                                                                         \
    ENTRY(R3D_JAD, void())

namespace R3DSDK {

class R3DTrimApi : public DynamicApi {
public:
    OKALU_ENTRY_TABLE(R3DTrimApi, OKALU_R3D_TRIM_API_ENTRIES)
};

} // namespace R3DSDK
