// The vendor libraries that one SDK start-up has loaded: the decoder library
// and the companions it lists. The loader loads and identifies them, checks
// their versions, resolves the entry-point tables from them and runs their two
// initialisation phases, turning every failure into a status code of the kind
// of library that failed (Status.hpp).
#pragma once

#include "RedLibrary.hpp"

#include <cstdint>
#include <string>

namespace R3DSDK {

class DynamicApi;
class ILibraryImport;

class LibraryLoader {
public:
    static constexpr unsigned int MaximumLibraries = 20;

    LibraryLoader();
    LibraryLoader(const LibraryLoader&) = delete;
    LibraryLoader& operator=(const LibraryLoader&) = delete;

    /// Loads the library at `path` into the next slot (running its phase 0
    /// with the current store) and checks that it identifies itself as `id`.
    /// `options` says which kind of library it is, and so which status a
    /// failure gets.
    int Load(const std::string& path, unsigned int id, unsigned int options);
    /// Loads every library of `imports` from `directory` (which ends in a
    /// separator) and checks each one's version. Libraries loaded before a
    /// failure stay loaded.
    int Load(const std::string& directory, const ILibraryImport& imports);
    /// Adopts handles that a host has opened; they are never closed here. 16
    /// past the limit of 20; 1 for a null array with a non-zero count.
    int Load(const void** handles, unsigned int count);

    /// The version rule on the library in `slot`: version 8.3 or newer, and
    /// accepting this client (8.4.0). Logs with the slot number.
    bool ValidateLibraryVersion(unsigned int slot) const;

    /// Fills each table from the first loaded library that supplies all of
    /// its entries; tables whose option bit was not asked for are skipped.
    int LoadAllSymbols(DynamicApi* const* tables, unsigned int count);

    /// Phase 1 for every loaded library, then phase 2 for every one.
    int InitializeAll();

    /// Unloads every library, last first (finalising initialised ones), and
    /// clears the handles and the count.
    void UnloadAll();

    unsigned int Count() const { return count; }
    const RedLibrary& Library(unsigned int slot) const { return libraries[slot]; }
    const void* const* Handles() const { return handles; }

private:
    RedLibrary libraries[MaximumLibraries];
    const void* handles[MaximumLibraries];
    std::uint32_t count;
};

} // namespace R3DSDK
