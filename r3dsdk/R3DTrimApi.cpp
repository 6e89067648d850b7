#include "R3DTrimApi.hpp"

// POSIX's own idiom for storing a looked-up address into a function pointer.
#define OKALU_ENTRY(entry) reinterpret_cast<void**>(&(entry)), #entry

namespace R3DSDK {

R3DTrimApi::R3DTrimApi() {
    R3DTrimApi::Reset();
}

R3DTrimApi::~R3DTrimApi() = default;

const char* R3DTrimApi::Name() const {
    return "R3DTrimApi";
}

bool R3DTrimApi::LoadSymbols(const DynamicLibrary* library) {
    return LookUp(library, OKALU_ENTRY(R3D_JAA), OKALU_ENTRY(R3D_JAB), OKALU_ENTRY(R3D_JAC),
                  OKALU_ENTRY(R3D_JAD));
}

void R3DTrimApi::Reset() {
    R3D_JAA = nullptr;
    R3D_JAB = nullptr;
    R3D_JAC = nullptr;
    R3D_JAD = nullptr;
    loaded = false;
}

} // namespace R3DSDK
