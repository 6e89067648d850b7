#include "GlobalApi.hpp"

// POSIX's own idiom for storing a looked-up address into a function pointer.
#define OKALU_ENTRY(entry) reinterpret_cast<void**>(&(entry)), #entry

namespace R3DSDK {

GlobalApi::GlobalApi() {
    GlobalApi::Reset();
}

GlobalApi::~GlobalApi() = default;

const char* GlobalApi::Name() const {
    return "GlobalApi";
}

bool GlobalApi::LoadSymbols(const DynamicLibrary* library) {
    return LookUp(library, OKALU_ENTRY(R3D_HAA), OKALU_ENTRY(R3D_HAC), OKALU_ENTRY(R3D_HAB),
                  OKALU_ENTRY(R3D_HAD), OKALU_ENTRY(R3D_HAE), OKALU_ENTRY(R3D_HAF),
                  OKALU_ENTRY(R3D_HAG), OKALU_ENTRY(R3D_HAH), OKALU_ENTRY(R3D_HAI));
}

void GlobalApi::Reset() {
    R3D_HAA = nullptr;
    R3D_HAC = nullptr;
    R3D_HAB = nullptr;
    R3D_HAD = nullptr;
    R3D_HAE = nullptr;
    R3D_HAF = nullptr;
    R3D_HAG = nullptr;
    R3D_HAH = nullptr;
    R3D_HAI = nullptr;
    loaded = false;
}

} // namespace R3DSDK
