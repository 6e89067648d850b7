// The CUDA accelerator's entries, loaded only when the SDK is started with
// the option bit 1. The client never calls them itself, so they stay untyped.
#pragma once

#include "AcceleratorApi.hpp"

namespace R3DSDK {

class REDCudaAPI : public AcceleratorApi<REDCudaAPI, 9, 1> {
public:
    // The names the library exports, in lookup order.
    static const char* const EntryNames[EntryCount];

    const char* Name() const override;
};

} // namespace R3DSDK
