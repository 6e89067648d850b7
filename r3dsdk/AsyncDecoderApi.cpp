#include "AsyncDecoderApi.hpp"

// POSIX's own idiom for storing a looked-up address into a function pointer.
#define OKALU_ENTRY(entry) reinterpret_cast<void**>(&(entry)), #entry

namespace R3DSDK {

AsyncDecoderApi::AsyncDecoderApi() {
    AsyncDecoderApi::Reset();
}

AsyncDecoderApi::~AsyncDecoderApi() = default;

const char* AsyncDecoderApi::Name() const {
    return "AsyncDecoderApi";
}

bool AsyncDecoderApi::LoadSymbols(const DynamicLibrary* library) {
    return LookUp(library, OKALU_ENTRY(R3D_CAB), OKALU_ENTRY(R3D_CAA), OKALU_ENTRY(R3D_CAC),
                  OKALU_ENTRY(R3D_CAH), OKALU_ENTRY(R3D_CAD), OKALU_ENTRY(R3D_CAE),
                  OKALU_ENTRY(R3D_CAF), OKALU_ENTRY(R3D_CAG));
}

void AsyncDecoderApi::Reset() {
    R3D_CAB = nullptr;
    R3D_CAA = nullptr;
    R3D_CAC = nullptr;
    R3D_CAH = nullptr;
    R3D_CAD = nullptr;
    R3D_CAE = nullptr;
    R3D_CAF = nullptr;
    R3D_CAG = nullptr;
    loaded = false;
}

} // namespace R3DSDK
