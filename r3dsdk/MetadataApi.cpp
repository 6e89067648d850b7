#include "MetadataApi.hpp"

// POSIX's own idiom for storing a looked-up address into a function pointer.
#define OKALU_ENTRY(entry) reinterpret_cast<void**>(&(entry)), #entry

namespace R3DSDK {

MetadataApi::MetadataApi() {
    MetadataApi::Reset();
}

MetadataApi::~MetadataApi() = default;

const char* MetadataApi::Name() const {
    return "MetadataApi";
}

bool MetadataApi::LoadSymbols(const DynamicLibrary* library) {
    return LookUp(library, OKALU_ENTRY(R3D_BAB), OKALU_ENTRY(R3D_BAA), OKALU_ENTRY(R3D_BAC),
                  OKALU_ENTRY(R3D_BAD), OKALU_ENTRY(R3D_BAE), OKALU_ENTRY(R3D_BAF),
                  OKALU_ENTRY(R3D_BAG), OKALU_ENTRY(R3D_BAH), OKALU_ENTRY(R3D_BAI),
                  OKALU_ENTRY(R3D_BAJ), OKALU_ENTRY(R3D_BAK), OKALU_ENTRY(R3D_BAL),
                  OKALU_ENTRY(R3D_BAM));
}

void MetadataApi::Reset() {
    R3D_BAB = nullptr;
    R3D_BAA = nullptr;
    R3D_BAC = nullptr;
    R3D_BAD = nullptr;
    R3D_BAE = nullptr;
    R3D_BAF = nullptr;
    R3D_BAG = nullptr;
    R3D_BAH = nullptr;
    R3D_BAI = nullptr;
    R3D_BAJ = nullptr;
    R3D_BAK = nullptr;
    R3D_BAL = nullptr;
    R3D_BAM = nullptr;
    loaded = false;
}

} // namespace R3DSDK
