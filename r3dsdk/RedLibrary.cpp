#include "RedLibrary.hpp"

#include "DynamicLibrary.hpp"
#include "ILibraryImport.hpp"
#include "Log.hpp"
#include "SafeStringCopy.hpp"
#include "Status.hpp"

namespace R3DSDK {

RedLibrary::RedLibrary() : library(nullptr) {
    clear();
}

RedLibrary::~RedLibrary() {
    Unload();
}

void RedLibrary::clear() {
    libraryId = 0;
    majorVersion = 0;
    minorVersion = 0;
    patchVersion = 0;
    minimumMajorVersion = 0;
    minimumMinorVersion = 0;
    minimumPatchVersion = 0;
    staticMajorVersion = 0;
    staticMinorVersion = 0;
    staticPatchVersion = 0;
    buildName[0] = '\0';
    staticBuildName[0] = '\0';
    initializeEntry = nullptr;
    finalizeEntry = nullptr;
    initialized = false;
}

int RedLibrary::Load(const std::string& path, IKeyValueStore* store) {
    Unload();
    LOG("[LOAD LIB  ] %s\n", path.c_str());
    std::string error;
    library = DynamicLibrary::load(path, error);
    if (library == nullptr) {
        LOG("[FAIL LOAD ] %s\n", error.c_str());
        return StatusLibraryNotOpened;
    }
    return Load(store);
}

int RedLibrary::Load(const void* handle) {
    Unload();
    library = DynamicLibrary::load(handle);
    return Load(static_cast<IKeyValueStore*>(nullptr));
}

int RedLibrary::Load(IKeyValueStore* store) {
    LibraryNumberEntry idEntry = nullptr;
    LibraryNumberEntry majorEntry = nullptr;
    LibraryNumberEntry minorEntry = nullptr;
    LibraryNumberEntry patchEntry = nullptr;
    LibraryNumberEntry minimumMajorEntry = nullptr;
    LibraryNumberEntry minimumMinorEntry = nullptr;
    LibraryNumberEntry minimumPatchEntry = nullptr;
    LibraryNumberEntry staticMajorEntry = nullptr;
    LibraryNumberEntry staticMinorEntry = nullptr;
    LibraryNumberEntry staticPatchEntry = nullptr;
    LibraryTextEntry buildNameEntry = nullptr;
    LibraryTextEntry staticBuildNameEntry = nullptr;

    // POSIX's own idiom for storing a looked-up address into a function pointer.
    const bool found =
        library != nullptr &&
        library->getSymbols(
            1, reinterpret_cast<void**>(&idEntry), "RED_LIB_ID",
            reinterpret_cast<void**>(&majorEntry), "RED_LIB_MAJOR_VERSION",
            reinterpret_cast<void**>(&minorEntry), "RED_LIB_MINOR_VERSION",
            reinterpret_cast<void**>(&patchEntry), "RED_LIB_PATCH_VERSION",
            reinterpret_cast<void**>(&minimumMajorEntry), "RED_MINIMUM_MAJOR_VERSION",
            reinterpret_cast<void**>(&minimumMinorEntry), "RED_MINIMUM_MINOR_VERSION",
            reinterpret_cast<void**>(&minimumPatchEntry), "RED_MINIMUM_PATCH_VERSION",
            reinterpret_cast<void**>(&staticMajorEntry), "RED_STATICLIB_MAJOR_VERSION",
            reinterpret_cast<void**>(&staticMinorEntry), "RED_STATICLIB_MINOR_VERSION",
            reinterpret_cast<void**>(&staticPatchEntry), "RED_STATICLIB_PATCH_VERSION",
            reinterpret_cast<void**>(&buildNameEntry), "RED_LIB_BUILD_NAME",
            reinterpret_cast<void**>(&staticBuildNameEntry), "RED_STATICLIB_BUILD_NAME",
            reinterpret_cast<void**>(&initializeEntry), "RED_LIB_INITIALIZE",
            reinterpret_cast<void**>(&finalizeEntry), "RED_LIB_FINALIZE", nullptr, nullptr);
    if (!found) {
        Unload();
        LOG("[FAIL SYM  ] API\n");
        return StatusCoreLibraryInvalid;
    }

    if (store != nullptr) {
        LOG("[INIT0     ]\n");
        const int result = Initialize(InitializePhase::Phase0, store, nullptr, 0);
        if (result != StatusSuccess) {
            // Phase 0 failed: the library must not be finalised.
            initialized = false;
            Unload();
            LOG("[FAIL INIT0] %d\n", result);
            return result;
        }
        LOG("[OK INIT0  ]\n");
    }

    libraryId = idEntry();
    majorVersion = majorEntry();
    minorVersion = minorEntry();
    patchVersion = patchEntry();
    staticMajorVersion = staticMajorEntry();
    staticMinorVersion = staticMinorEntry();
    staticPatchVersion = staticPatchEntry();
    minimumMajorVersion = minimumMajorEntry();
    minimumMinorVersion = minimumMinorEntry();
    minimumPatchVersion = minimumPatchEntry();

    // The names come from outside: keep at most what fits with its NUL.
    SafeStringCopy(buildName, BuildNameSize - 1, buildNameEntry());
    SafeStringCopy(staticBuildName, BuildNameSize - 1, staticBuildNameEntry());

    Log();
    return StatusSuccess;
}

void RedLibrary::Unload() {
    if (finalizeEntry != nullptr) {
        if (initialized) {
            LOG("[FINALIZE  ] %08X %s\n", libraryId, buildName);
            finalizeEntry();
        }
        finalizeEntry = nullptr;
    }
    if (library != nullptr) {
        if (libraryId != 0) {
            LOG("[UNLOAD LIB] %08X %s\n", libraryId, buildName);
        } else {
            LOG("[UNLOAD LIB]\n");
        }
        delete library;
        library = nullptr;
    }
    clear();
}

int RedLibrary::Initialize(InitializePhase phase, IKeyValueStore* store, const void** handles,
                           unsigned int count) {
    if (initializeEntry == nullptr) {
        return StatusLibraryNotOpened;
    }
    const int result = initializeEntry(phase, store, handles, count);
    initialized = true;
    return result;
}

void RedLibrary::Log() const {
    LOG("\tLibrary ID            : %08X\n", libraryId);
    LOG("\tVersion               : ");
    LOG("%u.%u.%u\n", majorVersion, minorVersion, patchVersion);
    LOG("\tMin static SDK version: ");
    LOG("%u.%u.%u\n", minimumMajorVersion, minimumMinorVersion, minimumPatchVersion);
    LOG("\tStatic lib in dyn ver : ");
    LOG("%u.%u.%u\n", staticMajorVersion, staticMinorVersion, staticPatchVersion);
    LOG("\tDynamic build name    : %s\n", buildName);
    LOG("\tStatic lib in dyn name: %s\n", staticBuildName);
}

const char* RedLibrary::GetRedirectPath() const {
    if (library == nullptr) {
        return nullptr;
    }
    LibraryRedirectEntry redirectEntry = nullptr;
    if (!library->getSymbol(false, reinterpret_cast<void**>(&redirectEntry), "RED_REDIRECT")) {
        return nullptr;
    }
    return redirectEntry();
}

int RedLibrary::GetDynamicImports(ILibraryImport& list) const {
    if (library == nullptr) {
        return -1;
    }
    LibraryImportsEntry importsEntry = nullptr;
    if (!library->getSymbol(false, reinterpret_cast<void**>(&importsEntry), "RED_IMPORTS")) {
        return 0;
    }
    return importsEntry(list);
}

} // namespace R3DSDK
