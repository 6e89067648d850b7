// The CUDA accelerator's entries, loaded only when the SDK is started with
// its option bit. The client never calls them itself, so they stay untyped.
#pragma once

#include "AcceleratorApi.hpp"
#include "LibraryContract.hpp"

namespace R3DSDK {

class REDCudaAPI : public AcceleratorApi<REDCudaAPI, 9, OptionCuda> {
public:
    // The names the library exports, in lookup order.
    static const char* const EntryNames[EntryCount];

    const char* Name() const override;
};

} // namespace R3DSDK
