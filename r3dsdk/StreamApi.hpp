// The stream readers' entries.
// No operation of the client calls these entries, so they stay untyped.
#pragma once

#include "DynamicApi.hpp"

#define OKALU_STREAM_API_ENTRIES(ENTRY)                                                            \
    ENTRY(R3D_EAB, void())                                                                         \
    ENTRY(R3D_EAA, void())                                                                         \
    ENTRY(R3D_FAB, void())                                                                         \
    ENTRY(R3D_FAA, void())                                                                         \
    ENTRY(R3D_GAB, void())                                                                         \
    ENTRY(R3D_GAA, void())                                                                         \
    ENTRY(R3D_IAB, void())                                                                         \
    ENTRY(R3D_IAA, void())                                                                         \
    ENTRY(R3D_EAC, void())                                                                         \
    ENTRY(R3D_FAC, void())                                                                         \
    ENTRY(R3D_FAD, void())                                                                         \
    ENTRY(R3D_FAE, void())                                                                         \
    ENTRY(R3D_FAF, void())                                                                         \
    ENTRY(R3D_FAH, void())                                                                         \
    ENTRY(R3D_GAE, void())                                                                         \
    ENTRY(R3D_GAF, void())                                                                         \
    ENTRY(R3D_IAC, void())                                                                         \
    ENTRY(R3D_IAD, void())                                                                         \
    ENTRY(R3D_ICB, void())                                                                         \
    ENTRY(R3D_ICA, void())                                                                         \
    ENTRY(R3D_ICC, void())                                                                         \
    ENTRY(R3D_ICD, void())

namespace R3DSDK {

class StreamApi : public DynamicApi {
public:
    OKALU_ENTRY_TABLE(StreamApi, OKALU_STREAM_API_ENTRIES)
};

} // namespace R3DSDK
