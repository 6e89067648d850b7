// The asynchronous decoder's entries.
// No operation of the client calls these entries, so they stay untyped.
#pragma once

#include "DynamicApi.hpp"

#define OKALU_ASYNC_DECODER_API_ENTRIES(ENTRY)                                                     \
    ENTRY(R3D_CAB, void())                                                                         \
    ENTRY(R3D_CAA, void())                                                                         \
    ENTRY(R3D_CAC, void())                                                                         \
    ENTRY(R3D_CAH, void())                                                                         \
    ENTRY(R3D_CAD, void())                                                                         \
    ENTRY(R3D_CAE, void())                                                                         \
    ENTRY(R3D_CAF, void())                                                                         \
    ENTRY(R3D_CAG, void())

namespace R3DSDK {

class AsyncDecoderApi : public DynamicApi {
public:
    OKALU_ENTRY_TABLE(AsyncDecoderApi, OKALU_ASYNC_DECODER_API_ENTRIES)
};

} // namespace R3DSDK
