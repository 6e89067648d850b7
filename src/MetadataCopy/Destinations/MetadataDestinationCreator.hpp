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
};

} // namespace MetadataCopy
