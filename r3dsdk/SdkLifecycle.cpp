#include "SdkLifecycle.hpp"

#include "GlobalData.hpp"
#include "IKeyValueStore.hpp"
#include "LibraryContract.hpp"
#include "LibraryImport.hpp"
#include "Log.hpp"
#include "Status.hpp"
#include "Version.hpp"

#include <cstdlib>
#include <string>
#include <vector>

namespace R3DSDK {

namespace {

const char libraryFileName[] = "REDR3D.dylib";

// The current state: made with new by InitializeSdk, or the internal state of
// InitializeInternal; null when there is none.
GlobalData* g_globalData = nullptr;

// The state of InitializeInternal, once made: a static object, so FinalizeSdk
// unloads its libraries and withdraws it but never deletes it, and a later
// InitializeInternal can use it again.
GlobalData* g_internalState = nullptr;

std::string versionText;

GlobalData& internalState() {
    static GlobalData state;
    g_internalState = &state;
    return state;
}

const char* printable(const char* text) {
    return text != nullptr ? text : "(null)";
}

// Hands the decoder libraries the client's identity, the options and the
// first directory through the state's store, in the order they expect.
void storeClientValues(KeyValueStore& store, unsigned int options,
                       const std::string& firstDirectory) {
    store.AddUint64(StoreKeyLogLevel, g_logLevel);
    store.AddUint64(StoreKeyClientMajorVersion, ClientMajorVersion);
    store.AddUint64(StoreKeyClientMinorVersion, ClientMinorVersion);
    store.AddUint64(StoreKeyClientPatchVersion, ClientPatchVersion);
    store.AddPointer(StoreKeyClientBuildNumber, ClientBuildNumber);
    store.AddPointer(StoreKeyClientBuildDate, ClientBuildDate);
    store.AddPointer(StoreKeyClientVersionText, ClientVersionText);
    store.AddPointer(StoreKeyClientBuildFlavour, ClientBuildFlavour);
    store.AddUint64(StoreKeyOptions, options);
    store.AddPointer(StoreKeyFirstDirectory, firstDirectory.c_str());
    store.AddUint64(StoreKeyReserved, 0);
    store.AddUint64(StoreKeySkipVersionMatch, 0);
}

// Probes the given directory and then the one "R3DSDKPATH" names, with every
// redirect they lead to; the status of the given directory's probe.
int probeDirectories(const char* directory) {
    const int status = LoadPath(directory);
    const char* environmentPath = std::getenv("R3DSDKPATH");
    if (environmentPath != nullptr && environmentPath[0] != '\0') {
        LoadPath(environmentPath);
    }
    return status;
}

// The probed directories in the order they are tried: the newest library
// first (ComparePathVersions).
std::vector<PathEntry*> newestFirst(Path& paths) {
    std::vector<PathEntry*> candidates;
    for (PathEntry& entry : paths.Entries()) {
        candidates.push_back(&entry);
    }
    if (candidates.size() >= 2) {
        std::qsort(candidates.data(), candidates.size(), sizeof(PathEntry*), ComparePathVersions);
    }
    return candidates;
}

// Loads the decoder library of `directory` and the companions it names, fills
// the tables from them and initialises them all; the status of the first step
// that fails.
int startLibraries(GlobalData& state, const std::string& directory) {
    state.loader.UnloadAll();
    int status = state.loader.Load(directory + libraryFileName, DecoderLibraryId, 0);
    if (status != StatusSuccess) {
        return status;
    }

    LibraryImport imports;
    const int importsResult = state.loader.Library(0).GetDynamicImports(imports);
    if (importsResult != 0) {
        LOG("[WARN INT. ] unknown options: %X\n", static_cast<unsigned int>(importsResult));
    }
    status = state.loader.Load(directory, imports);
    if (status != StatusSuccess) {
        LOG("[FAIL LOAD ]\n");
        return status;
    }

    status = state.loader.LoadAllSymbols(g_apiTables, ApiTableCount);
    if (status != StatusSuccess) {
        return status;
    }
    return state.loader.InitializeAll();
}

} // namespace

int InitializeSdk(const char* directory, unsigned int options) {
    LOG("[INIT LIB  ] 0x%X at %s\n-%s\n", options, printable(directory), GetSdkVersion());
    if (directory == nullptr || directory[0] == '\0') {
        return StatusInvalidPath;
    }

    FinalizeSdk();
    g_globalData = new GlobalData();
    GlobalData& state = *g_globalData;
    // The libraries are told where the process first looked, whatever later
    // starts ask for.
    static const std::string firstDirectory = directory;
    storeClientValues(state.keyValueStore, options, firstDirectory);

    int error = probeDirectories(directory);
    const std::vector<PathEntry*> candidates = newestFirst(state.paths);
    const auto candidateCount = static_cast<unsigned int>(candidates.size());
    DumpPathStatus(candidates.data(), candidateCount);

    for (PathEntry* entry : candidates) {
        if (entry->status != StatusSuccess) {
            // A failed probe is the result only when nothing failed before.
            if (error == StatusSuccess) {
                error = entry->status;
            }
            continue;
        }
        entry->status = startLibraries(state, entry->directory);
        if (entry->status != StatusSuccess) {
            error = entry->status;
            continue;
        }
        state.selected = static_cast<std::int32_t>(entry->idx);
        DumpPathStatus(candidates.data(), candidateCount);
        LOG("-%s\n[OK INIT   ]\n", GetSdkVersion());
        return StatusSuccess;
    }

    DumpPathStatus(candidates.data(), candidateCount);
    FinalizeSdk();
    LOG("[FAIL INIT ] error %d\n", error);
    return error;
}

void FinalizeSdk() {
    if (g_globalData == nullptr) {
        return;
    }
    GlobalData* state = g_globalData;
    // No entry may outlive the library it points into.
    for (DynamicApi* table : g_apiTables) {
        if (table != nullptr) {
            table->Reset();
        }
    }
    state->loader.UnloadAll();
    g_globalData = nullptr;
    if (state == g_internalState) {
        state->selected = -1;
        state->Withdraw();
    } else {
        delete state;
    }
}

const char* GetSdkVersion() {
    versionText = ClientVersionText;
    if (g_globalData != nullptr) {
        const LibraryLoader& loader = g_globalData->loader;
        for (unsigned int slot = 0; slot < loader.Count(); ++slot) {
            versionText += ' ';
            versionText += loader.Library(slot).BuildName();
        }
        const auto& entries = g_globalData->paths.Entries();
        const std::int32_t selected = g_globalData->selected;
        if (selected >= 0 && static_cast<std::size_t>(selected) < entries.size()) {
            versionText += " [";
            versionText += entries[static_cast<std::size_t>(selected)].directory;
            versionText += "]";
        }
    }
    return versionText.c_str();
}

int InitializeInternal(InitializePhase phase, IKeyValueStore* store, const void** handles,
                       unsigned int count) {
    if (store == nullptr) {
        return StatusLibraryNotOpened;
    }
    GlobalData& state = internalState();
    // A state of InitializeSdk would otherwise keep its libraries loaded with
    // nothing left to unload them.
    if (g_globalData != nullptr && g_globalData != &state) {
        FinalizeSdk();
    }
    g_globalData = &state;
    state.Publish();
    g_keyValueStore = store;
    g_logLevel = static_cast<std::uint32_t>(store->GetUint64(StoreKeyLogLevel));

    const auto phaseNumber = static_cast<unsigned int>(phase);
    LOG("[INIT INT%u ]\n", phaseNumber);
    if (phase != InitializePhase::Phase1) {
        LOG("[OK INT%u   ]\n", phaseNumber);
        return StatusSuccess;
    }

    LOG("+%s\n", GetSdkVersion());
    state.loader.UnloadAll();
    int status = state.loader.Load(handles, count);
    if (status != StatusSuccess) {
        LOG("[FAIL LOAD ] %d\n", status);
        return status;
    }

    status = state.loader.LoadAllSymbols(g_apiTables, ApiTableCount);
    if (status != StatusSuccess) {
        return status;
    }
    LOG("+%s\n[OK INT%u   ]\n", GetSdkVersion(), 1u);
    return StatusSuccess;
}

int LoadPath(const char* directory) {
    LOG("[LOAD PATH ] %s\n", printable(directory));
    if (g_globalData == nullptr || directory == nullptr) {
        return StatusInvalidPath;
    }
    GlobalData& state = *g_globalData;
    const int idx = state.paths.AddPath(directory);
    if (idx < 0) {
        return StatusInternalLimit;
    }
    state.loader.UnloadAll();

    // Entries are addressed by index: probing a redirect adds to the list.
    auto entry = [&state, idx]() -> PathEntry& {
        return state.paths.Entries()[static_cast<std::size_t>(idx)];
    };
    const int status = state.loader.Load(entry().directory + libraryFileName, DecoderLibraryId, 0);
    entry().status = status;
    if (status != StatusSuccess) {
        return status;
    }

    const RedLibrary& library = state.loader.Library(0);
    entry().major = library.MajorVersion();
    entry().minor = library.MinorVersion();
    entry().patch = library.PatchVersion();
    entry().minimumMajor = library.MinimumMajorVersion();
    entry().minimumMinor = library.MinimumMinorVersion();
    entry().minimumPatch = library.MinimumPatchVersion();
    entry().status =
        state.loader.ValidateLibraryVersion(0) ? StatusSuccess : StatusVersionRuleFailed;

    // The text belongs to the library, which the probe of the redirect
    // unloads: keep a copy.
    const char* redirect = library.GetRedirectPath();
    if (redirect != nullptr && redirect[0] != '\0') {
        const std::string redirectDirectory = redirect;
        return LoadPath(redirectDirectory.c_str());
    }
    return entry().status;
}

int ComparePathVersions(const void* first, const void* second) {
    const PathEntry& a = **static_cast<PathEntry* const*>(first);
    const PathEntry& b = **static_cast<PathEntry* const*>(second);
    if (a.major != b.major) {
        return a.major > b.major ? -1 : 1;
    }
    if (a.minor != b.minor) {
        return a.minor > b.minor ? -1 : 1;
    }
    if (a.patch != b.patch) {
        return a.patch > b.patch ? -1 : 1;
    }
    return static_cast<int>(b.idx) - static_cast<int>(a.idx);
}

void DumpPathStatus(PathEntry* const* entries, unsigned int count) {
    LOG("----------------------\n");
    for (unsigned int i = 0; i < count; ++i) {
        const PathEntry& entry = *entries[i];
        LOG("%d: idx = %u, status = %d, version = ", static_cast<int>(i), entry.idx, entry.status);
        LOG("%u.%u.%u", entry.major, entry.minor, entry.patch);
        LOG(": %s\n", entry.directory.c_str());
    }
    LOG("----------------------\n");
}

} // namespace R3DSDK
