// The Metal accelerator's entries, loaded only when the SDK is started with
// its option bit. The client never calls them itself, so they stay untyped.
#pragma once

#include "AcceleratorApi.hpp"
#include "LibraryContract.hpp"

namespace R3DSDK {

class REDMetalAPI : public AcceleratorApi<REDMetalAPI, 12, OptionMetal> {
public:
    // The names the library exports, in lookup order.
    static const char* const EntryNames[EntryCount];

    const char* Name() const override;
};

// The Metal table is made on the heap; DeleteREDMetalAPI does nothing for null.
REDMetalAPI* NewREDMetalAPI();
void DeleteREDMetalAPI(REDMetalAPI* api);

} // namespace R3DSDK
