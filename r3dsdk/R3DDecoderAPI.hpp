// The decoder accelerator's entries, loaded only when the SDK is started with
// its option bit. The client never calls them itself, so they stay untyped.
#pragma once

#include "AcceleratorApi.hpp"
#include "LibraryContract.hpp"

// The names the library exports, in lookup order.
#define OKALU_R3D_DECODER_API_ENTRIES(ENTRY)                                                       \
    ENTRY(ffb2f34cad5a0b58aaa9283472f761e5f)                                                       \
    ENTRY(fc8f9402b6b8eaf52bc0eb00725423a52)                                                       \
    ENTRY(f42bb26fe8cdd8533745d13bd16860b16)                                                       \
    ENTRY(feeb51f775ab17d9e4184d4013cc04997)                                                       \
    ENTRY(f576742e0afadf0bfe3d55408e168bb67)                                                       \
    ENTRY(f15afdae73e951c95b1092b4aad8618de)                                                       \
    ENTRY(f2fc3f3870b6165ae88e9bbcfd615d2d0)                                                       \
    ENTRY(f1b0be1fc63efcd579d1f7a6eed908f53)                                                       \
    ENTRY(f44ee40ba562a4a1a73c5e977cb5aa02f)                                                       \
    ENTRY(f5a71bc82e336ddbced1acd209b977899)                                                       \
    ENTRY(fb7ef5e0df694de5f3899e9a5aea299fb)                                                       \
    ENTRY(fe9ed12386cbdebcde569b3b2085cbdda)                                                       \
    ENTRY(f9e17f33d9de08525119eff54f7eede69)                                                       \
    ENTRY(f1eff36880e4667facc88f10346c69c86)                                                       \
    ENTRY(f521db4aa1506fa25156fa8748db1aa8c)                                                       \
    ENTRY(fe8686c613b30e747bdbf0f8b1bfea17b)                                                       \
    ENTRY(fcc944f7c0dd7fe6fd343341f12215bb4)                                                       \
    ENTRY(fc6b3e204093078d89dda5494719555da)

namespace R3DSDK {

class R3DDecoderAPI : public AcceleratorApi<R3DDecoderAPI, 18, OptionDecoder> {
public:
    static constexpr const char* EntryNames[EntryCount] = {
        OKALU_R3D_DECODER_API_ENTRIES(OKALU_ACCELERATOR_ENTRY_NAME)};

    const char* Name() const override { return "R3DDECODERAPI"; }
};

} // namespace R3DSDK
