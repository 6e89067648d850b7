// The OpenCL accelerator's entries, loaded only when the SDK is started with
// its option bit. The client never calls them itself, so they stay untyped.
#pragma once

#include "AcceleratorApi.hpp"
#include "LibraryContract.hpp"

// The names the library exports, in lookup order.
#define OKALU_REDCL_API_ENTRIES(ENTRY)                                                             \
    ENTRY(f585a2652ebcceea93f3b3a07ca123ae6)                                                       \
    ENTRY(f069b4a4d8feb8ba8b6889943085c77be)                                                       \
    ENTRY(fd28f5a6d1911e9157c866827d9c1bcf4)                                                       \
    ENTRY(fc0f68fe9bab984cd7825935161f5d9db)                                                       \
    ENTRY(f0d9721785b36953f45246386331a7b1e)                                                       \
    ENTRY(faff2c40814668b345d7037f88d80394b)                                                       \
    ENTRY(ff6d220d7e8697262b33aaa14eafdb1e3)                                                       \
    ENTRY(f72566bcbcd6242d88d8325301ad4ef5c)                                                       \
    ENTRY(fb0f3cf6b927b138875e6a532d4d2b2c4)

namespace R3DSDK {

class REDCLAPI : public AcceleratorApi<REDCLAPI, 9, OptionREDCL> {
public:
    static constexpr const char* EntryNames[EntryCount] = {
        OKALU_REDCL_API_ENTRIES(OKALU_ACCELERATOR_ENTRY_NAME)};

    const char* Name() const override { return "REDCLAPI"; }
};

} // namespace R3DSDK
