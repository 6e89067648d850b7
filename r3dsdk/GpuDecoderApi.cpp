#include "GpuDecoderApi.hpp"

// POSIX's own idiom for storing a looked-up address into a function pointer.
#define OKALU_ENTRY(entry) reinterpret_cast<void**>(&(entry)), #entry

namespace R3DSDK {

GpuDecoderApi::GpuDecoderApi() {
    GpuDecoderApi::Reset();
}

GpuDecoderApi::~GpuDecoderApi() = default;

const char* GpuDecoderApi::Name() const {
    return "GpuDecoderApi";
}

bool GpuDecoderApi::LoadSymbols(const DynamicLibrary* library) {
    return LookUp(library, OKALU_ENTRY(R3D_CGB), OKALU_ENTRY(R3D_CGA), OKALU_ENTRY(R3D_CGC),
                  OKALU_ENTRY(R3D_CGD), OKALU_ENTRY(R3D_CGE), OKALU_ENTRY(R3D_CGF),
                  OKALU_ENTRY(R3D_CGG));
}

void GpuDecoderApi::Reset() {
    R3D_CGB = nullptr;
    R3D_CGA = nullptr;
    R3D_CGC = nullptr;
    R3D_CGD = nullptr;
    R3D_CGE = nullptr;
    R3D_CGF = nullptr;
    R3D_CGG = nullptr;
    loaded = false;
}

} // namespace R3DSDK
