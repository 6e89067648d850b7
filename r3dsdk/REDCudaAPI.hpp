// The CUDA accelerator's entries, loaded only when the SDK is started with
// its option bit. The client never calls them itself, so they stay untyped.
#pragma once

#include "AcceleratorApi.hpp"
#include "LibraryContract.hpp"

// The names the library exports, in lookup order.
#define OKALU_RED_CUDA_API_ENTRIES(ENTRY)                                                          \
    ENTRY(fa3d942ce5e28c52edfdd8a15bc6c5bb2)                                                       \
    ENTRY(f5f6fe32356045e7b9ae5dcc8f10cd3f1)                                                       \
    ENTRY(fadf181828d7a5d3f804098fc974badf2)                                                       \
    ENTRY(faaf94dee59e5f337a71b10a6b73305b6)                                                       \
    ENTRY(f39c6791728662f4cdd4fa4fe1115fe94)                                                       \
    ENTRY(f0e43814114fe2c2006c0aaceea7645a6)                                                       \
    ENTRY(f227d466bdf954632e5e6fbf8f276b20e)                                                       \
    ENTRY(f58b72bf788080d575e628d7be98a9344)                                                       \
    ENTRY(fece87bab364482e30dfe7c6578d8950d)

namespace R3DSDK {

class REDCudaAPI : public AcceleratorApi<REDCudaAPI, 9, OptionCuda> {
public:
    static constexpr const char* EntryNames[EntryCount] = {
        OKALU_RED_CUDA_API_ENTRIES(OKALU_ACCELERATOR_ENTRY_NAME)};

    const char* Name() const override { return "REDCUDAAPI"; }
};

} // namespace R3DSDK
