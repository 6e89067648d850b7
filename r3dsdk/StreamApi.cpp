#include "StreamApi.hpp"

// POSIX's own idiom for storing a looked-up address into a function pointer.
#define OKALU_ENTRY(entry) reinterpret_cast<void**>(&(entry)), #entry

namespace R3DSDK {

StreamApi::StreamApi() {
    StreamApi::Reset();
}

StreamApi::~StreamApi() = default;

const char* StreamApi::Name() const {
    return "StreamApi";
}

bool StreamApi::LoadSymbols(const DynamicLibrary* library) {
    return LookUp(
        library, OKALU_ENTRY(R3D_EAB), OKALU_ENTRY(R3D_EAA), OKALU_ENTRY(R3D_FAB),
        OKALU_ENTRY(R3D_FAA), OKALU_ENTRY(R3D_GAB), OKALU_ENTRY(R3D_GAA), OKALU_ENTRY(R3D_IAB),
        OKALU_ENTRY(R3D_IAA), OKALU_ENTRY(R3D_EAC), OKALU_ENTRY(R3D_FAC), OKALU_ENTRY(R3D_FAD),
        OKALU_ENTRY(R3D_FAE), OKALU_ENTRY(R3D_FAF), OKALU_ENTRY(R3D_FAH), OKALU_ENTRY(R3D_GAE),
        OKALU_ENTRY(R3D_GAF), OKALU_ENTRY(R3D_IAC), OKALU_ENTRY(R3D_IAD), OKALU_ENTRY(R3D_ICB),
        OKALU_ENTRY(R3D_ICA), OKALU_ENTRY(R3D_ICC), OKALU_ENTRY(R3D_ICD));
}

void StreamApi::Reset() {
    R3D_EAB = nullptr;
    R3D_EAA = nullptr;
    R3D_FAB = nullptr;
    R3D_FAA = nullptr;
    R3D_GAB = nullptr;
    R3D_GAA = nullptr;
    R3D_IAB = nullptr;
    R3D_IAA = nullptr;
    R3D_EAC = nullptr;
    R3D_FAC = nullptr;
    R3D_FAD = nullptr;
    R3D_FAE = nullptr;
    R3D_FAF = nullptr;
    R3D_FAH = nullptr;
    R3D_GAE = nullptr;
    R3D_GAF = nullptr;
    R3D_IAC = nullptr;
    R3D_IAD = nullptr;
    R3D_ICB = nullptr;
    R3D_ICA = nullptr;
    R3D_ICC = nullptr;
    R3D_ICD = nullptr;
    loaded = false;
}

} // namespace R3DSDK
