// The CUDA accelerator's entries, loaded only when the SDK is started with
// the option bit 1. The client never calls them itself, so they stay untyped.
#pragma once

#include "DynamicApi.hpp"

namespace R3DSDK {

class REDCudaAPI : public DynamicApi {
public:
    static constexpr unsigned int EntryCount = 9;
    // The names the library exports, in lookup order.
    static const char* const EntryNames[EntryCount];

    REDCudaAPI();
    ~REDCudaAPI() override;

    const char* Name() const override;
    unsigned int Options() const override;
    bool LoadSymbols(const DynamicLibrary* library) override;
    void Reset() override;

    Entry entries[EntryCount];
};

} // namespace R3DSDK
