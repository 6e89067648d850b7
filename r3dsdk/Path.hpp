// The list of directories in which the SDK start-up looks for the decoder
// library: the install directory, "R3DSDKPATH" and every redirect, each at
// most once and at most ten in all, so that a redirect chain always ends.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace R3DSDK {

struct PathEntry {
    std::uint32_t idx;
    // 1 when added; then the status of the directory's probe (0 = usable)
    // and, once the directory was tried, of its trial.
    std::int32_t status;
    // The directory's library version and the oldest client version it
    // accepts; 0 until the library loaded.
    std::uint32_t major;
    std::uint32_t minor;
    std::uint32_t patch;
    std::uint32_t minimumMajor;
    std::uint32_t minimumMinor;
    std::uint32_t minimumPatch;
    // Always ends in a separator, so "/a" and "/a/" are one directory.
    std::string directory;
};

class Path {
public:
    static constexpr std::size_t MaximumEntries = 10;

    /// The new entry's idx; -1 when the list is full; -2 when the directory
    /// is already listed (compared byte for byte after the separator is
    /// added).
    int AddPath(const char* directory);

    std::vector<PathEntry>& Entries() { return entries; }
    const std::vector<PathEntry>& Entries() const { return entries; }

private:
    std::vector<PathEntry> entries;
};

} // namespace R3DSDK
