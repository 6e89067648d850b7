// The record of one loaded vendor library: the decoder library or one of the
// companions it names. It opens the library, checks the entries every such
// library must export, runs initialisation phase 0, reads identity, versions
// and build names, and later runs the further phases and the finalisation.
// Status codes: 0 success; 1 the file does not open (or has no initialise
// entry); 7 a required entry is missing; else the library's own phase result.
#pragma once

#include <cstdint>
#include <string>

namespace R3DSDK {

class DynamicLibrary;
class IKeyValueStore;
class ILibraryImport;

enum class InitializePhase : std::uint32_t { Phase0 = 0, Phase1 = 1, Phase2 = 2 };

// The forms of the library's entries as the client calls them.
using LibraryNumberEntry = unsigned int (*)();
using LibraryTextEntry = const char* (*)();
using LibraryInitializeEntry = int (*)(InitializePhase phase, IKeyValueStore* store,
                                       const void** handles, unsigned int count);
using LibraryFinalizeEntry = int (*)();
using LibraryRedirectEntry = const char* (*)();
using LibraryImportsEntry = int (*)(ILibraryImport& list);

class RedLibrary {
public:
    static constexpr unsigned int BuildNameSize = 128;

    RedLibrary();
    // Unloads (and so finalises) a library still held.
    ~RedLibrary();
    RedLibrary(const RedLibrary&) = delete;
    RedLibrary& operator=(const RedLibrary&) = delete;

    // Loads the library file `path` and, with a store, runs phase 0.
    int Load(const std::string& path, IKeyValueStore* store);
    // Takes a handle opened by a host; it is never closed here and phase 0 is
    // not run.
    int Load(const void* handle);
    // The common second half of both, on the library already held.
    int Load(IKeyValueStore* store);
    // Finalises an initialised library, closes it and clears the record.
    void Unload();
    // Runs one initialisation phase; 1 when there is no initialise entry.
    int Initialize(InitializePhase phase, IKeyValueStore* store, const void** handles,
                   unsigned int count);
    // Writes identity, versions and build names to the log.
    void Log() const;
    // A further directory to search, or null.
    const char* GetRedirectPath() const;
    // -1 with no library; 0 when the library names no imports; else its result.
    int GetDynamicImports(ILibraryImport& list) const;

    std::uint32_t LibraryId() const { return libraryId; }
    std::uint32_t MajorVersion() const { return majorVersion; }
    std::uint32_t MinorVersion() const { return minorVersion; }
    std::uint32_t PatchVersion() const { return patchVersion; }
    std::uint32_t MinimumMajorVersion() const { return minimumMajorVersion; }
    std::uint32_t MinimumMinorVersion() const { return minimumMinorVersion; }
    std::uint32_t MinimumPatchVersion() const { return minimumPatchVersion; }
    std::uint32_t StaticMajorVersion() const { return staticMajorVersion; }
    std::uint32_t StaticMinorVersion() const { return staticMinorVersion; }
    std::uint32_t StaticPatchVersion() const { return staticPatchVersion; }
    const char* BuildName() const { return buildName; }
    const char* StaticBuildName() const { return staticBuildName; }
    // The library held, null when the record is empty.
    const DynamicLibrary* Library() const { return library; }
    bool Initialized() const { return initialized; }

private:
    void clear();

    std::uint32_t libraryId;
    std::uint32_t majorVersion;
    std::uint32_t minorVersion;
    std::uint32_t patchVersion;
    std::uint32_t minimumMajorVersion;
    std::uint32_t minimumMinorVersion;
    std::uint32_t minimumPatchVersion;
    std::uint32_t staticMajorVersion;
    std::uint32_t staticMinorVersion;
    std::uint32_t staticPatchVersion;
    char buildName[BuildNameSize];
    char staticBuildName[BuildNameSize];
    LibraryInitializeEntry initializeEntry;
    LibraryFinalizeEntry finalizeEntry;
    DynamicLibrary* library;
    bool initialized;
};

} // namespace R3DSDK
