// The accelerator tables' entries, exported only by the variant that offers
// them, so that the default stand-in shows that a library without them still
// starts when no accelerator is asked for.
#include "StandinConfig.hpp"

#ifdef OKALU_STANDIN_ACCELERATOR_ENTRIES

// REDCLAPI
OKALU_EXPORT int f585a2652ebcceea93f3b3a07ca123ae6() {
    return StubFailure;
}
OKALU_EXPORT int f069b4a4d8feb8ba8b6889943085c77be() {
    return StubFailure;
}
OKALU_EXPORT int fd28f5a6d1911e9157c866827d9c1bcf4() {
    return StubFailure;
}
OKALU_EXPORT int fc0f68fe9bab984cd7825935161f5d9db() {
    return StubFailure;
}
OKALU_EXPORT int f0d9721785b36953f45246386331a7b1e() {
    return StubFailure;
}
OKALU_EXPORT int faff2c40814668b345d7037f88d80394b() {
    return StubFailure;
}
OKALU_EXPORT int ff6d220d7e8697262b33aaa14eafdb1e3() {
    return StubFailure;
}
OKALU_EXPORT int f72566bcbcd6242d88d8325301ad4ef5c() {
    return StubFailure;
}
OKALU_EXPORT int fb0f3cf6b927b138875e6a532d4d2b2c4() {
    return StubFailure;
}

// REDCUDAAPI
OKALU_EXPORT int fa3d942ce5e28c52edfdd8a15bc6c5bb2() {
    return StubFailure;
}
OKALU_EXPORT int f5f6fe32356045e7b9ae5dcc8f10cd3f1() {
    return StubFailure;
}
OKALU_EXPORT int fadf181828d7a5d3f804098fc974badf2() {
    return StubFailure;
}
OKALU_EXPORT int faaf94dee59e5f337a71b10a6b73305b6() {
    return StubFailure;
}
OKALU_EXPORT int f39c6791728662f4cdd4fa4fe1115fe94() {
    return StubFailure;
}
OKALU_EXPORT int f0e43814114fe2c2006c0aaceea7645a6() {
    return StubFailure;
}
OKALU_EXPORT int f227d466bdf954632e5e6fbf8f276b20e() {
    return StubFailure;
}
OKALU_EXPORT int f58b72bf788080d575e628d7be98a9344() {
    return StubFailure;
}
OKALU_EXPORT int fece87bab364482e30dfe7c6578d8950d() {
    return StubFailure;
}

// R3DDECODERAPI
OKALU_EXPORT int ffb2f34cad5a0b58aaa9283472f761e5f() {
    return StubFailure;
}
OKALU_EXPORT int fc8f9402b6b8eaf52bc0eb00725423a52() {
    return StubFailure;
}
OKALU_EXPORT int f42bb26fe8cdd8533745d13bd16860b16() {
    return StubFailure;
}
OKALU_EXPORT int feeb51f775ab17d9e4184d4013cc04997() {
    return StubFailure;
}
OKALU_EXPORT int f576742e0afadf0bfe3d55408e168bb67() {
    return StubFailure;
}
OKALU_EXPORT int f15afdae73e951c95b1092b4aad8618de() {
    return StubFailure;
}
OKALU_EXPORT int f2fc3f3870b6165ae88e9bbcfd615d2d0() {
    return StubFailure;
}
OKALU_EXPORT int f1b0be1fc63efcd579d1f7a6eed908f53() {
    return StubFailure;
}
OKALU_EXPORT int f44ee40ba562a4a1a73c5e977cb5aa02f() {
    return StubFailure;
}
OKALU_EXPORT int f5a71bc82e336ddbced1acd209b977899() {
    return StubFailure;
}
OKALU_EXPORT int fb7ef5e0df694de5f3899e9a5aea299fb() {
    return StubFailure;
}
OKALU_EXPORT int fe9ed12386cbdebcde569b3b2085cbdda() {
    return StubFailure;
}
OKALU_EXPORT int f9e17f33d9de08525119eff54f7eede69() {
    return StubFailure;
}
OKALU_EXPORT int f1eff36880e4667facc88f10346c69c86() {
    return StubFailure;
}
OKALU_EXPORT int f521db4aa1506fa25156fa8748db1aa8c() {
    return StubFailure;
}
OKALU_EXPORT int fe8686c613b30e747bdbf0f8b1bfea17b() {
    return StubFailure;
}
OKALU_EXPORT int fcc944f7c0dd7fe6fd343341f12215bb4() {
    return StubFailure;
}
OKALU_EXPORT int fc6b3e204093078d89dda5494719555da() {
    return StubFailure;
}

// REDMetalAPI
OKALU_EXPORT int f9fc2facdda474c1767b5d41973c48c4c() {
    return StubFailure;
}
OKALU_EXPORT int f900c180c7fb4cd72a200558ea6f1abae() {
    return StubFailure;
}
OKALU_EXPORT int fb609807f488dda43c0536c532d500bb4() {
    return StubFailure;
}
OKALU_EXPORT int fb51a8d915caafe87d9b4dc72e93777ef() {
    return StubFailure;
}
OKALU_EXPORT int fd36a2f367a9117a2f58a86ba52aa44a6() {
    return StubFailure;
}
OKALU_EXPORT int fe2891bad26f3924f299c3a0cb2e1b640() {
    return StubFailure;
}
OKALU_EXPORT int fe8399ee391e3ec77f69842380a905eb9() {
    return StubFailure;
}
OKALU_EXPORT int f72f045780822ed7142ea370c6442bde3() {
    return StubFailure;
}
OKALU_EXPORT int f70cc239d58e995392d56e39743f0d3ee() {
    return StubFailure;
}
OKALU_EXPORT int f81f570d45cb8be0f56a7d9d3ef19ef16() {
    return StubFailure;
}
OKALU_EXPORT int f04b6fdc741d4251030351aa31f644d68() {
    return StubFailure;
}
OKALU_EXPORT int f059a42852b5cfb237d384d50f5179f26() {
    return StubFailure;
}

#endif
