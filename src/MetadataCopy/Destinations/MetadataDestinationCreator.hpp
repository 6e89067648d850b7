// Turns the destination files found on the command line into destination
// objects, refusing the whole list when any of them is not an EXR file.
#pragma once

#include "MetadataCopy/Destinations/MetadataDestination.hpp"

#include <memory>
#include <string>
#include <vector>

namespace MetadataCopy {

class MetadataDestinationCreator {
public:
    /// One destination per path, in the given order, duplicates kept. Throws
    /// Exception "Destination cannot be created with unsupported type." when
    /// any path's extension is not ".exr" in any case; then nothing is made
    /// and no file is touched. An empty list is a programming error.
    static std::vector<std::shared_ptr<MetadataDestination>>
    create(const std::vector<std::string>& filePaths);

    /// The paths without those that name a frame named before in the list:
    /// the same file (device and inode) that a rewrite would replace under the
    /// same name in the same directory, whether named as "f.exr" and
    /// "./f.exr", matched by two patterns or reached through a symbolic link.
    /// A second pass over such a frame would take the first pass's work, and
    /// what it left at the temporary name, for a leftover. Hard links of a
    /// frame under other names stay, each rewritten under its own name, and
    /// so does a path that cannot be resolved now, which fails when its turn
    /// comes. A list that create refuses is returned as it is, to be refused
    /// as given. The first naming of a frame is kept, in the given order.
    static std::vector<std::string>
    withoutRepeatedFrames(const std::vector<std::string>& filePaths);
};

} // namespace MetadataCopy
