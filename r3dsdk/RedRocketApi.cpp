#include "RedRocketApi.hpp"

// POSIX's own idiom for storing a looked-up address into a function pointer.
#define OKALU_ENTRY(entry) reinterpret_cast<void**>(&(entry)), #entry

namespace R3DSDK {

RedRocketApi::RedRocketApi() {
    RedRocketApi::Reset();
}

RedRocketApi::~RedRocketApi() = default;

const char* RedRocketApi::Name() const {
    return "RedRocketApi";
}

bool RedRocketApi::LoadSymbols(const DynamicLibrary* library) {
    return LookUp(library, OKALU_ENTRY(R3D_DAB), OKALU_ENTRY(R3D_DAA), OKALU_ENTRY(R3D_DAC),
                  OKALU_ENTRY(R3D_DAE), OKALU_ENTRY(R3D_DAF), OKALU_ENTRY(R3D_DAG),
                  OKALU_ENTRY(R3D_DAH), OKALU_ENTRY(R3D_DAK), OKALU_ENTRY(R3D_DAL),
                  OKALU_ENTRY(R3D_DAM), OKALU_ENTRY(R3D_DAN), OKALU_ENTRY(R3D_DAO),
                  OKALU_ENTRY(R3D_DAP));
}

void RedRocketApi::Reset() {
    R3D_DAB = nullptr;
    R3D_DAA = nullptr;
    R3D_DAC = nullptr;
    R3D_DAE = nullptr;
    R3D_DAF = nullptr;
    R3D_DAG = nullptr;
    R3D_DAH = nullptr;
    R3D_DAK = nullptr;
    R3D_DAL = nullptr;
    R3D_DAM = nullptr;
    R3D_DAN = nullptr;
    R3D_DAO = nullptr;
    R3D_DAP = nullptr;
    loaded = false;
}

} // namespace R3DSDK
