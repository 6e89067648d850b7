#include "LibraryLoader.hpp"

#include "DynamicApi.hpp"
#include "DynamicLibrary.hpp"
#include "IKeyValueStore.hpp"
#include "ILibraryImport.hpp"
#include "LibraryContract.hpp"
#include "Log.hpp"
#include "Status.hpp"
#include "Version.hpp"

namespace R3DSDK {

namespace {

// The status codes of one kind of library: its file did not open; it, or a
// table taken from it, is invalid; its initialisation failed.
struct KindStatuses {
    int notOpened;
    int invalid;
    int initializeFailed;
};

// The kind is chosen by the first option bit set, in this order; the decoder
// bit comes last so that a library that is also an accelerator counts as that
// accelerator.
KindStatuses statusesOf(unsigned int options) {
    if (options & OptionCuda) {
        return {StatusCudaLibraryNotOpened, StatusCudaLibraryInvalid, StatusCudaInitializeFailed};
    }
    if (options & OptionREDCL) {
        return {StatusREDCLLibraryNotOpened, StatusREDCLLibraryInvalid,
                StatusREDCLInitializeFailed};
    }
    if (options & OptionMetal) {
        return {StatusMetalLibraryNotOpened, StatusMetalLibraryInvalid,
                StatusMetalInitializeFailed};
    }
    if (options & OptionDecoder) {
        return {StatusDecoderLibraryNotOpened, StatusDecoderLibraryInvalid,
                StatusDecoderInitializeFailed};
    }
    return {StatusCoreLibraryNotOpened, StatusCoreLibraryInvalid, StatusCoreInitializeFailed};
}

// A library record's own status becomes the status of the library's kind;
// any other value is the library's own phase-0 result and passes unchanged.
int mappedRecordStatus(int recordStatus, const KindStatuses& kind) {
    switch (recordStatus) {
    case StatusLibraryNotOpened:
        return kind.notOpened;
    case StatusCoreLibraryInvalid:
        return kind.invalid;
    case StatusCoreInitializeFailed:
        return kind.initializeFailed;
    default:
        return recordStatus;
    }
}

unsigned long long storedValue(unsigned long long key) {
    return g_keyValueStore != nullptr ? g_keyValueStore->GetUint64(key) : 0;
}

} // namespace

LibraryLoader::LibraryLoader() : handles{}, count(0) {}

int LibraryLoader::Load(const std::string& path, unsigned int id, unsigned int options) {
    if (path.empty()) {
        return StatusInvalidPath;
    }
    if (count >= MaximumLibraries) {
        // Deliberate, do not change: unlike every other log line this one has no
        // line end, so the next line follows it on the same line. The log is
        // established output that people and scripts compare, kept byte for byte.
        LOG("[FAIL INT. ] loading too many libraries");
        return StatusInternalLimit;
    }
    RedLibrary& library = libraries[count];
    const KindStatuses kind = statusesOf(options);
    const int recordStatus = library.Load(path, g_keyValueStore);
    if (recordStatus != StatusSuccess) {
        const int status = mappedRecordStatus(recordStatus, kind);
        LOG("[FAIL LOAD ] %d -> %d - %s\n", recordStatus, status, path.c_str());
        return status;
    }
    if (library.LibraryId() != id) {
        LOG("[FAIL ID   ] %08X\n", library.LibraryId());
        library.Unload();
        return kind.invalid;
    }
    LOG("[OK LOAD   ]\n");
    handles[count] = library.Library()->handle();
    ++count;
    return StatusSuccess;
}

int LibraryLoader::Load(const std::string& directory, const ILibraryImport& imports) {
    const unsigned int entries = imports.LibraryCount();
    for (unsigned int i = 0; i < entries; ++i) {
        const unsigned int slot = count;
        const int status = Load(directory + imports.LibraryFilename(i), imports.LibraryId(i),
                                imports.LibraryOptions(i));
        if (status != StatusSuccess) {
            return status;
        }
        if (!ValidateLibraryVersion(slot)) {
            return StatusVersionRuleFailed;
        }
    }
    return StatusSuccess;
}

int LibraryLoader::Load(const void** hostHandles, unsigned int hostCount) {
    if (hostCount > MaximumLibraries - count) {
        LOG("[FAIL INT. ] too many handles %u\n", hostCount);
        return StatusInternalLimit;
    }
    // A host that names handles but passes none has nothing to adopt.
    if (hostHandles == nullptr && hostCount != 0) {
        return StatusLibraryNotOpened;
    }
    for (unsigned int i = 0; i < hostCount; ++i) {
        const int status = libraries[count].Load(hostHandles[i]);
        if (status != StatusSuccess) {
            return status;
        }
        handles[count] = hostHandles[i];
        ++count;
    }
    return StatusSuccess;
}

bool LibraryLoader::ValidateLibraryVersion(unsigned int slot) const {
    const RedLibrary& library = libraries[slot];
    const unsigned int major = library.MajorVersion();
    const unsigned int minor = library.MinorVersion();
    if (!(major > MinimumLibraryMajorVersion ||
          (major == MinimumLibraryMajorVersion && minor >= MinimumLibraryMinorVersion))) {
        LOG("[FAIL VER  ] (%u) dynamic version below ", slot);
        LOG("%u.%u.%u\n", MinimumLibraryMajorVersion, MinimumLibraryMinorVersion, 0u);
        return false;
    }
    const unsigned int minimumMajor = library.MinimumMajorVersion();
    const unsigned int minimumMinor = library.MinimumMinorVersion();
    const unsigned int minimumPatch = library.MinimumPatchVersion();
    const bool acceptsClient =
        minimumMajor < ClientMajorVersion ||
        (minimumMajor == ClientMajorVersion &&
         (minimumMinor < ClientMinorVersion ||
          (minimumMinor == ClientMinorVersion && minimumPatch <= ClientPatchVersion)));
    if (!acceptsClient) {
        LOG("[FAIL VER  ] (%u) static version too old: ", slot);
        LOG("%u.%u.%u\n", ClientMajorVersion, ClientMinorVersion, ClientPatchVersion);
        return false;
    }
    return true;
}

int LibraryLoader::LoadAllSymbols(DynamicApi* const* tables, unsigned int tableCount) {
    const unsigned long long options = storedValue(StoreKeyOptions);
    const bool skipVersionMatch = storedValue(StoreKeySkipVersionMatch) == 1;
    bool versionRecorded = false;
    unsigned int recordedMajor = 0;
    unsigned int recordedMinor = 0;

    for (unsigned int t = 0; t < tableCount; ++t) {
        DynamicApi* table = tables[t];
        if (table == nullptr) {
            continue;
        }
        const unsigned int tableOptions = table->Options();
        if (tableOptions != 0 && (tableOptions & options) == 0) {
            LOG("[SKIP SYM  ] %s\n", table->Name());
            continue;
        }
        LOG("[LOAD SYM  ] %s\n", table->Name());
        table->Reset();

        const RedLibrary* provider = nullptr;
        for (unsigned int slot = 0; slot < count; ++slot) {
            if (table->LoadSymbols(libraries[slot].Library())) {
                provider = &libraries[slot];
                break;
            }
        }

        // A failing table gets the code of the accelerator it belongs to, in
        // the same bit order as a failing library.
        const int failure = statusesOf(tableOptions).invalid;
        if (provider == nullptr) {
            LOG("[FAIL SYM  ] %s\n", table->Name());
            for (unsigned int r = 0; r <= t; ++r) {
                if (tables[r] != nullptr) {
                    tables[r]->Reset();
                }
            }
            return failure;
        }
        if (skipVersionMatch) {
            LOG("[TEST  TEST] SKIPPING MATCH\n");
        } else if (!versionRecorded) {
            versionRecorded = true;
            recordedMajor = provider->MajorVersion();
            recordedMinor = provider->MinorVersion();
        } else if (provider->MajorVersion() != recordedMajor ||
                   provider->MinorVersion() != recordedMinor) {
            LOG("[FAIL MATCH] version ");
            LOG("%u.%u.%u\n", provider->MajorVersion(), provider->MinorVersion(),
                provider->PatchVersion());
            return failure;
        }
        LOG("[OK SYM    ] %s\n", table->Name());
    }
    return StatusSuccess;
}

int LibraryLoader::InitializeAll() {
    for (unsigned int phase = 1; phase <= 2; ++phase) {
        LOG("[INIT%u     ]\n", phase);
        for (unsigned int slot = 0; slot < count; ++slot) {
            const int result = libraries[slot].Initialize(static_cast<InitializePhase>(phase),
                                                          g_keyValueStore, handles, count);
            if (result != StatusSuccess) {
                LOG("[FAIL INIT%u] library %08X\n", phase, libraries[slot].LibraryId());
                return result;
            }
        }
        LOG("[OK INIT%u  ]\n", phase);
    }
    return StatusSuccess;
}

void LibraryLoader::UnloadAll() {
    while (count > 0) {
        --count;
        libraries[count].Unload();
        handles[count] = nullptr;
    }
}

} // namespace R3DSDK
