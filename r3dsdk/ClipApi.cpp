#include "ClipApi.hpp"

// POSIX's own idiom for storing a looked-up address into a function pointer.
#define OKALU_ENTRY(entry) reinterpret_cast<void**>(&(entry)), #entry

namespace R3DSDK {

ClipApi::ClipApi() {
    ClipApi::Reset();
}

ClipApi::~ClipApi() = default;

const char* ClipApi::Name() const {
    return "ClipApi";
}

bool ClipApi::LoadSymbols(const DynamicLibrary* library) {
    return LookUp(
        library, OKALU_ENTRY(R3D_AAB), OKALU_ENTRY(R3D_AAC), OKALU_ENTRY(R3D_AAA),
        OKALU_ENTRY(R3D_AAD), OKALU_ENTRY(R3D_AAE), OKALU_ENTRY(R3D_AAF), OKALU_ENTRY(R3D_AAG),
        OKALU_ENTRY(R3D_ACK), OKALU_ENTRY(R3D_AAH), OKALU_ENTRY(R3D_AAI), OKALU_ENTRY(R3D_AAJ),
        OKALU_ENTRY(R3D_AAK), OKALU_ENTRY(R3D_AAL), OKALU_ENTRY(R3D_AAM), OKALU_ENTRY(R3D_AAN),
        OKALU_ENTRY(R3D_AAO), OKALU_ENTRY(R3D_AAP), OKALU_ENTRY(R3D_AAQ), OKALU_ENTRY(R3D_AAR),
        OKALU_ENTRY(R3D_AAS), OKALU_ENTRY(R3D_AAT), OKALU_ENTRY(R3D_AAU), OKALU_ENTRY(R3D_AAV),
        OKALU_ENTRY(R3D_AAW), OKALU_ENTRY(R3D_AAX), OKALU_ENTRY(R3D_AAY), OKALU_ENTRY(R3D_AAZ),
        OKALU_ENTRY(R3D_ABA), OKALU_ENTRY(R3D_ABB), OKALU_ENTRY(R3D_ABC), OKALU_ENTRY(R3D_ABD),
        OKALU_ENTRY(R3D_ABE), OKALU_ENTRY(R3D_ABF), OKALU_ENTRY(R3D_ABG), OKALU_ENTRY(R3D_ABH),
        OKALU_ENTRY(R3D_ABI), OKALU_ENTRY(R3D_ABJ), OKALU_ENTRY(R3D_ABK), OKALU_ENTRY(R3D_ABL),
        OKALU_ENTRY(R3D_ABM), OKALU_ENTRY(R3D_ABN), OKALU_ENTRY(R3D_ABO), OKALU_ENTRY(R3D_ABP),
        OKALU_ENTRY(R3D_ABQ), OKALU_ENTRY(R3D_ABR), OKALU_ENTRY(R3D_ABS), OKALU_ENTRY(R3D_ABT),
        OKALU_ENTRY(R3D_ABU), OKALU_ENTRY(R3D_ABV), OKALU_ENTRY(R3D_ABW), OKALU_ENTRY(R3D_ABX),
        OKALU_ENTRY(R3D_ADB), OKALU_ENTRY(R3D_ABY), OKALU_ENTRY(R3D_ABZ), OKALU_ENTRY(R3D_ACA),
        OKALU_ENTRY(R3D_ACC), OKALU_ENTRY(R3D_ACF), OKALU_ENTRY(R3D_ACG), OKALU_ENTRY(R3D_ACH),
        OKALU_ENTRY(R3D_ACI), OKALU_ENTRY(R3D_ACL), OKALU_ENTRY(R3D_ACM), OKALU_ENTRY(R3D_ACJ),
        OKALU_ENTRY(R3D_ACN), OKALU_ENTRY(R3D_ACO), OKALU_ENTRY(R3D_ACP), OKALU_ENTRY(R3D_ACQ),
        OKALU_ENTRY(R3D_ACR), OKALU_ENTRY(R3D_ADC));
}

void ClipApi::Reset() {
    R3D_AAB = nullptr;
    R3D_AAC = nullptr;
    R3D_AAA = nullptr;
    R3D_AAD = nullptr;
    R3D_AAE = nullptr;
    R3D_AAF = nullptr;
    R3D_AAG = nullptr;
    R3D_ACK = nullptr;
    R3D_AAH = nullptr;
    R3D_AAI = nullptr;
    R3D_AAJ = nullptr;
    R3D_AAK = nullptr;
    R3D_AAL = nullptr;
    R3D_AAM = nullptr;
    R3D_AAN = nullptr;
    R3D_AAO = nullptr;
    R3D_AAP = nullptr;
    R3D_AAQ = nullptr;
    R3D_AAR = nullptr;
    R3D_AAS = nullptr;
    R3D_AAT = nullptr;
    R3D_AAU = nullptr;
    R3D_AAV = nullptr;
    R3D_AAW = nullptr;
    R3D_AAX = nullptr;
    R3D_AAY = nullptr;
    R3D_AAZ = nullptr;
    R3D_ABA = nullptr;
    R3D_ABB = nullptr;
    R3D_ABC = nullptr;
    R3D_ABD = nullptr;
    R3D_ABE = nullptr;
    R3D_ABF = nullptr;
    R3D_ABG = nullptr;
    R3D_ABH = nullptr;
    R3D_ABI = nullptr;
    R3D_ABJ = nullptr;
    R3D_ABK = nullptr;
    R3D_ABL = nullptr;
    R3D_ABM = nullptr;
    R3D_ABN = nullptr;
    R3D_ABO = nullptr;
    R3D_ABP = nullptr;
    R3D_ABQ = nullptr;
    R3D_ABR = nullptr;
    R3D_ABS = nullptr;
    R3D_ABT = nullptr;
    R3D_ABU = nullptr;
    R3D_ABV = nullptr;
    R3D_ABW = nullptr;
    R3D_ABX = nullptr;
    R3D_ADB = nullptr;
    R3D_ABY = nullptr;
    R3D_ABZ = nullptr;
    R3D_ACA = nullptr;
    R3D_ACC = nullptr;
    R3D_ACF = nullptr;
    R3D_ACG = nullptr;
    R3D_ACH = nullptr;
    R3D_ACI = nullptr;
    R3D_ACL = nullptr;
    R3D_ACM = nullptr;
    R3D_ACJ = nullptr;
    R3D_ACN = nullptr;
    R3D_ACO = nullptr;
    R3D_ACP = nullptr;
    R3D_ACQ = nullptr;
    R3D_ACR = nullptr;
    R3D_ADC = nullptr;
    loaded = false;
}

} // namespace R3DSDK
