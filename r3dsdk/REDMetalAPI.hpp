// The Metal accelerator's entries, loaded only when the SDK is started with
// the option bit 8. The client never calls them itself, so they stay untyped.
#pragma once

#include "DynamicApi.hpp"

namespace R3DSDK {

class REDMetalAPI : public DynamicApi {
public:
    static constexpr unsigned int EntryCount = 12;
    // The names the library exports, in lookup order.
    static const char* const EntryNames[EntryCount];

    REDMetalAPI();
    ~REDMetalAPI() override;

    const char* Name() const override;
    unsigned int Options() const override;
    bool LoadSymbols(const DynamicLibrary* library) override;
    void Reset() override;

    Entry entries[EntryCount];
};

// The Metal table is made on the heap; DeleteREDMetalAPI does nothing for null.
REDMetalAPI* NewREDMetalAPI();
void DeleteREDMetalAPI(REDMetalAPI* api);

} // namespace R3DSDK
