// The Metal accelerator's entries, loaded only when the SDK is started with
// the option bit 8. The client never calls them itself, so they stay untyped.
#pragma once

#include "AcceleratorApi.hpp"

namespace R3DSDK {

class REDMetalAPI : public AcceleratorApi<REDMetalAPI, 12, 8> {
public:
    // The names the library exports, in lookup order.
    static const char* const EntryNames[EntryCount];

    const char* Name() const override;
};

// The Metal table is made on the heap; DeleteREDMetalAPI does nothing for null.
REDMetalAPI* NewREDMetalAPI();
void DeleteREDMetalAPI(REDMetalAPI* api);

} // namespace R3DSDK
