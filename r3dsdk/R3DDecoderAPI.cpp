#include "R3DDecoderAPI.hpp"

namespace R3DSDK {

const char* const R3DDecoderAPI::EntryNames[R3DDecoderAPI::EntryCount] = {
    "ffb2f34cad5a0b58aaa9283472f761e5f", "fc8f9402b6b8eaf52bc0eb00725423a52",
    "f42bb26fe8cdd8533745d13bd16860b16", "feeb51f775ab17d9e4184d4013cc04997",
    "f576742e0afadf0bfe3d55408e168bb67", "f15afdae73e951c95b1092b4aad8618de",
    "f2fc3f3870b6165ae88e9bbcfd615d2d0", "f1b0be1fc63efcd579d1f7a6eed908f53",
    "f44ee40ba562a4a1a73c5e977cb5aa02f", "f5a71bc82e336ddbced1acd209b977899",
    "fb7ef5e0df694de5f3899e9a5aea299fb", "fe9ed12386cbdebcde569b3b2085cbdda",
    "f9e17f33d9de08525119eff54f7eede69", "f1eff36880e4667facc88f10346c69c86",
    "f521db4aa1506fa25156fa8748db1aa8c", "fe8686c613b30e747bdbf0f8b1bfea17b",
    "fcc944f7c0dd7fe6fd343341f12215bb4", "fc6b3e204093078d89dda5494719555da"};

const char* R3DDecoderAPI::Name() const {
    return "R3DDECODERAPI";
}

} // namespace R3DSDK
