// The stand-in's entries of the global, decoder, board, stream and trim
// tables. The client calls none of them on its road: they only have to exist.
#include "StandinConfig.hpp"

#include "GlobalApi.hpp"
#include "IStringTransfer.hpp"

#include <cstddef>

using std::size_t;
using namespace R3DSDK;

OKALU_EXPORT void* R3D_HAA(const char*, const char*) {
    return nullptr;
}
OKALU_SAME_FORM(GlobalApi, R3D_HAA);
OKALU_EXPORT int R3D_HAC(void**) {
    return StubFailure;
}
OKALU_SAME_FORM(GlobalApi, R3D_HAC);
OKALU_EXPORT const char* R3D_HAB(void*) {
    return nullptr;
}
OKALU_SAME_FORM(GlobalApi, R3D_HAB);
OKALU_EXPORT std::size_t R3D_HAD(void*) {
    return 0;
}
OKALU_SAME_FORM(GlobalApi, R3D_HAD);
OKALU_EXPORT int R3D_HAE(const char*, int, ImageColorSpace, ImageGammaCurve, ToneMap, RollOff,
                         unsigned int) {
    return StubFailure;
}
OKALU_SAME_FORM(GlobalApi, R3D_HAE);
OKALU_EXPORT bool R3D_HAF(float*, int, float*, int, int, ImageColorSpace, ImageGammaCurve, ToneMap,
                          RollOff, unsigned int) {
    return false;
}
OKALU_SAME_FORM(GlobalApi, R3D_HAF);
OKALU_EXPORT bool R3D_HAG(const char*, IStringTransfer*) {
    return false;
}
OKALU_SAME_FORM(GlobalApi, R3D_HAG);
OKALU_EXPORT int R3D_HAH() {
    return StubFailure;
}
OKALU_EXPORT int R3D_HAI() {
    return StubFailure;
}

OKALU_EXPORT int R3D_CAB() {
    return StubFailure;
}
OKALU_EXPORT int R3D_CAA() {
    return StubFailure;
}
OKALU_EXPORT int R3D_CAC() {
    return StubFailure;
}
OKALU_EXPORT int R3D_CAH() {
    return StubFailure;
}
OKALU_EXPORT int R3D_CAD() {
    return StubFailure;
}
OKALU_EXPORT int R3D_CAE() {
    return StubFailure;
}
OKALU_EXPORT int R3D_CAF() {
    return StubFailure;
}
OKALU_EXPORT int R3D_CAG() {
    return StubFailure;
}

OKALU_EXPORT int R3D_CGB() {
    return StubFailure;
}
OKALU_EXPORT int R3D_CGA() {
    return StubFailure;
}
OKALU_EXPORT int R3D_CGC() {
    return StubFailure;
}
OKALU_EXPORT int R3D_CGD() {
    return StubFailure;
}
OKALU_EXPORT int R3D_CGE() {
    return StubFailure;
}
OKALU_EXPORT int R3D_CGF() {
    return StubFailure;
}
OKALU_EXPORT int R3D_CGG() {
    return StubFailure;
}

OKALU_EXPORT int R3D_DAB() {
    return StubFailure;
}
OKALU_EXPORT int R3D_DAA() {
    return StubFailure;
}
OKALU_EXPORT int R3D_DAC() {
    return StubFailure;
}
OKALU_EXPORT int R3D_DAE() {
    return StubFailure;
}
OKALU_EXPORT int R3D_DAF() {
    return StubFailure;
}
OKALU_EXPORT int R3D_DAG() {
    return StubFailure;
}
OKALU_EXPORT int R3D_DAH() {
    return StubFailure;
}
OKALU_EXPORT int R3D_DAK() {
    return StubFailure;
}
OKALU_EXPORT int R3D_DAL() {
    return StubFailure;
}
OKALU_EXPORT int R3D_DAM() {
    return StubFailure;
}
OKALU_EXPORT int R3D_DAN() {
    return StubFailure;
}
OKALU_EXPORT int R3D_DAO() {
    return StubFailure;
}
OKALU_EXPORT int R3D_DAP() {
    return StubFailure;
}

OKALU_EXPORT int R3D_EAB() {
    return StubFailure;
}
OKALU_EXPORT int R3D_EAA() {
    return StubFailure;
}
OKALU_EXPORT int R3D_FAB() {
    return StubFailure;
}
OKALU_EXPORT int R3D_FAA() {
    return StubFailure;
}
OKALU_EXPORT int R3D_GAB() {
    return StubFailure;
}
OKALU_EXPORT int R3D_GAA() {
    return StubFailure;
}
OKALU_EXPORT int R3D_IAB() {
    return StubFailure;
}
OKALU_EXPORT int R3D_IAA() {
    return StubFailure;
}
OKALU_EXPORT int R3D_EAC() {
    return StubFailure;
}
OKALU_EXPORT int R3D_FAC() {
    return StubFailure;
}
OKALU_EXPORT int R3D_FAD() {
    return StubFailure;
}
OKALU_EXPORT int R3D_FAE() {
    return StubFailure;
}
OKALU_EXPORT int R3D_FAF() {
    return StubFailure;
}
OKALU_EXPORT int R3D_FAH() {
    return StubFailure;
}
OKALU_EXPORT int R3D_GAE() {
    return StubFailure;
}
OKALU_EXPORT int R3D_GAF() {
    return StubFailure;
}
OKALU_EXPORT int R3D_IAC() {
    return StubFailure;
}
OKALU_EXPORT int R3D_IAD() {
    return StubFailure;
}
OKALU_EXPORT int R3D_ICB() {
    return StubFailure;
}
OKALU_EXPORT int R3D_ICA() {
    return StubFailure;
}
OKALU_EXPORT int R3D_ICC() {
    return StubFailure;
}
OKALU_EXPORT int R3D_ICD() {
    return StubFailure;
}

OKALU_EXPORT int R3D_JAA() {
    return StubFailure;
}
OKALU_EXPORT int R3D_JAB() {
    return StubFailure;
}
OKALU_EXPORT int R3D_JAC() {
    return StubFailure;
}
OKALU_EXPORT int R3D_JAD() {
    return StubFailure;
}
