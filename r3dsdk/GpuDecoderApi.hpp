// The GPU decoder's entries.
// No operation of the client calls these entries, so they stay untyped.
#pragma once

#include "DynamicApi.hpp"

#define OKALU_GPU_DECODER_API_ENTRIES(ENTRY)                                                       \
    ENTRY(R3D_CGB, void())                                                                         \
    ENTRY(R3D_CGA, void())                                                                         \
    ENTRY(R3D_CGC, void())                                                                         \
    ENTRY(R3D_CGD, void())                                                                         \
    ENTRY(R3D_CGE, void())                                                                         \
    ENTRY(R3D_CGF, void())                                                                         \
    ENTRY(R3D_CGG, void())

namespace R3DSDK {

class GpuDecoderApi : public DynamicApi {
public:
    OKALU_ENTRY_TABLE(GpuDecoderApi, OKALU_GPU_DECODER_API_ENTRIES)
};

} // namespace R3DSDK
