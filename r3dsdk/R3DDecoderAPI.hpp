// The decoder accelerator's entries, loaded only when the SDK is started with
// the option bit 4. The client never calls them itself, so they stay untyped.
#pragma once

#include "DynamicApi.hpp"

namespace R3DSDK {

class R3DDecoderAPI : public DynamicApi {
public:
    static constexpr unsigned int EntryCount = 18;
    // The names the library exports, in lookup order.
    static const char* const EntryNames[EntryCount];

    R3DDecoderAPI();
    ~R3DDecoderAPI() override;

    const char* Name() const override;
    unsigned int Options() const override;
    bool LoadSymbols(const DynamicLibrary* library) override;
    void Reset() override;

    Entry entries[EntryCount];
};

} // namespace R3DSDK
