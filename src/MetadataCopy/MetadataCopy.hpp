#pragma once

#include "MetadataCopy/CopyingDirector/MetadataCopyingDirector.hpp"
#include "MetadataCopy/Options.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace MetadataCopy {

/// One copy run from the SOURCE and DESTINATION arguments as the user gave them to the summary
/// line, shown on the console.
class MetadataCopy {
public:
    MetadataCopy(const std::vector<std::string>& sources,
                 const std::vector<std::string>& destinations, const Options& options);
    MetadataCopy(const MetadataCopy&) = delete;
    MetadataCopy& operator=(const MetadataCopy&) = delete;

    /// Expands and counts the arguments, creates the source and the destinations and copies.
    /// Every failure of its own is printed; returns true only when every destination was copied
    /// or skipped. No source or destination file, a refused or unreadable source, a refused
    /// destination list, a failed destination and a stopped run all return false.
    ///
    /// Throws std::regex_error for an argument whose wildcard is no valid pattern.
    bool copy();

    /// Stops the run before its next destination. Safe to call from a signal handler.
    void abort();

private:
    std::vector<std::string> sources;
    std::vector<std::string> destinations;
    // Noted from the director's calls to its delegate, to tell a clean run from one that printed
    // failures.
    bool runFinished = false;
    std::uint32_t numberOfFailedDestinations = 0;
    MetadataCopyingDirector director;
};

} // namespace MetadataCopy
