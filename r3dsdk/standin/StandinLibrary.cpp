// The stand-in's identity, versions, build names, initialisation, finalisation,
// redirect and import list: everything the client asks of a library before it
// fills its entry-point tables, and with it every entry that a test variant
// changes, since only this file is compiled per variant. The client's objects
// are used through the project's own interface declarations, so both sides
// agree on their slots.
#include "StandinCallCounts.hpp"
#include "StandinConfig.hpp"

#include "IKeyValueStore.hpp"
#include "ILibraryImport.hpp"
#include "LibraryContract.hpp"
#include "RedLibrary.hpp"

#include <cstdlib>
#include <cstring>

using namespace R3DSDK;

namespace {

StandinCallCounts callCounts = {};

#ifdef OKALU_STANDIN_LONG_BUILD_NAME
const char* longBuildName() {
    static char name[201];
    if (name[0] == '\0') {
        for (unsigned int i = 0; i < 200; ++i) {
            name[i] = static_cast<char>('a' + i % 26);
        }
    }
    return name;
}
#endif

const int phaseResults[3] = {OKALU_STANDIN_PHASE0_RESULT, OKALU_STANDIN_PHASE1_RESULT,
                             OKALU_STANDIN_PHASE2_RESULT};

} // namespace

// An identity or version entry, answering the variant's value in the form the
// library record calls it by.
#define OKALU_NUMBER_ENTRY(entry, value)                                                           \
    OKALU_EXPORT unsigned int entry() {                                                            \
        return value;                                                                              \
    }                                                                                              \
    OKALU_SAME_FORM_FREE(entry, LibraryNumberEntry);

OKALU_NUMBER_ENTRY(RED_LIB_ID, OKALU_STANDIN_LIB_ID)
OKALU_NUMBER_ENTRY(RED_LIB_MAJOR_VERSION, OKALU_STANDIN_MAJOR)
OKALU_NUMBER_ENTRY(RED_LIB_MINOR_VERSION, OKALU_STANDIN_MINOR)
OKALU_NUMBER_ENTRY(RED_LIB_PATCH_VERSION, OKALU_STANDIN_PATCH)
OKALU_NUMBER_ENTRY(RED_MINIMUM_MAJOR_VERSION, OKALU_STANDIN_MINIMUM_MAJOR)
OKALU_NUMBER_ENTRY(RED_MINIMUM_MINOR_VERSION, OKALU_STANDIN_MINIMUM_MINOR)
OKALU_NUMBER_ENTRY(RED_MINIMUM_PATCH_VERSION, OKALU_STANDIN_MINIMUM_PATCH)
OKALU_NUMBER_ENTRY(RED_STATICLIB_MAJOR_VERSION, OKALU_STANDIN_STATIC_MAJOR)
OKALU_NUMBER_ENTRY(RED_STATICLIB_MINOR_VERSION, OKALU_STANDIN_STATIC_MINOR)
OKALU_NUMBER_ENTRY(RED_STATICLIB_PATCH_VERSION, OKALU_STANDIN_STATIC_PATCH)

OKALU_EXPORT const char* RED_LIB_BUILD_NAME() {
#if defined(OKALU_STANDIN_NULL_BUILD_NAMES)
    return nullptr;
#elif defined(OKALU_STANDIN_LONG_BUILD_NAME)
    return longBuildName();
#else
    return OKALU_STANDIN_BUILD_NAME;
#endif
}

OKALU_EXPORT const char* RED_STATICLIB_BUILD_NAME() {
#if defined(OKALU_STANDIN_NULL_BUILD_NAMES)
    return nullptr;
#else
    return "R3DAPI " OKALU_STANDIN_TEXT(OKALU_STANDIN_STATIC_MAJOR) "." OKALU_STANDIN_TEXT(
        OKALU_STANDIN_STATIC_MINOR) "." OKALU_STANDIN_TEXT(OKALU_STANDIN_STATIC_PATCH) " stand-in";
#endif
}

OKALU_EXPORT int RED_LIB_INITIALIZE(InitializePhase phase, IKeyValueStore* store,
                                    const void** handles, unsigned int count) {
    (void)handles;
    const auto index = static_cast<unsigned int>(phase);
    if (index > 2) {
        return StubFailure;
    }
    ++callCounts.initialize[index];
    callCounts.lastHandleCount[index] = count;
#ifdef OKALU_STANDIN_VERBOSE_LOG
    if (phase == InitializePhase::Phase0 && store != nullptr) {
        store->AddUint64(StoreKeyLogLevel, LogLevelVerbose);
    }
#else
    (void)store;
#endif
    return phaseResults[index];
}
OKALU_SAME_FORM_FREE(RED_LIB_INITIALIZE, LibraryInitializeEntry);

#ifndef OKALU_STANDIN_OMIT_FINALIZE
OKALU_EXPORT int RED_LIB_FINALIZE() {
    ++callCounts.finalize;
    return 0;
}
OKALU_SAME_FORM_FREE(RED_LIB_FINALIZE, LibraryFinalizeEntry);
#endif

#ifdef OKALU_STANDIN_REDIRECT
OKALU_EXPORT const char* RED_REDIRECT() {
    return OKALU_STANDIN_REDIRECT;
}
OKALU_SAME_FORM_FREE(RED_REDIRECT, LibraryRedirectEntry);
#endif

#ifdef OKALU_STANDIN_IMPORTS
OKALU_EXPORT int RED_IMPORTS(ILibraryImport& list) {
    const char* entry = OKALU_STANDIN_IMPORTS;
    while (*entry != '\0') {
        const char* nameEnd = std::strchr(entry, ':');
        if (nameEnd == nullptr) {
            break;
        }
        char name[256] = {};
        const std::size_t length = static_cast<std::size_t>(nameEnd - entry);
        std::memcpy(name, entry, length < sizeof(name) - 1 ? length : sizeof(name) - 1);
        char* end = nullptr;
        const unsigned long id = std::strtoul(nameEnd + 1, &end, 16);
        const unsigned long options = std::strtoul(end + 1, &end, 10);
        list.AddLibrary(name, static_cast<unsigned int>(id), static_cast<unsigned int>(options));
        entry = *end == ',' ? end + 1 : end;
    }
    return OKALU_STANDIN_IMPORTS_RESULT;
}
OKALU_SAME_FORM_FREE(RED_IMPORTS, LibraryImportsEntry);
#endif

#ifndef OKALU_STANDIN_OMIT_CLIP_ENTRY
OKALU_EXPORT bool R3D_ACK(void*) {
    return false;
}
#endif

OKALU_EXPORT const StandinCallCounts* okalu_standin_call_counts() {
    return &callCounts;
}
