#include "REDCLAPI.hpp"

namespace R3DSDK {

const char* const REDCLAPI::EntryNames[REDCLAPI::EntryCount] = {
    "f585a2652ebcceea93f3b3a07ca123ae6", "f069b4a4d8feb8ba8b6889943085c77be",
    "fd28f5a6d1911e9157c866827d9c1bcf4", "fc0f68fe9bab984cd7825935161f5d9db",
    "f0d9721785b36953f45246386331a7b1e", "faff2c40814668b345d7037f88d80394b",
    "ff6d220d7e8697262b33aaa14eafdb1e3", "f72566bcbcd6242d88d8325301ad4ef5c",
    "fb0f3cf6b927b138875e6a532d4d2b2c4"};

const char* REDCLAPI::Name() const {
    return "REDCLAPI";
}

} // namespace R3DSDK
