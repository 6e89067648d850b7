// The OpenCL accelerator's entries, loaded only when the SDK is started with
// the option bit 2. The client never calls them itself, so they stay untyped.
#pragma once

#include "AcceleratorApi.hpp"

namespace R3DSDK {

class REDCLAPI : public AcceleratorApi<REDCLAPI, 9, 2> {
public:
    // The names the library exports, in lookup order.
    static const char* const EntryNames[EntryCount];

    const char* Name() const override;
};

} // namespace R3DSDK
