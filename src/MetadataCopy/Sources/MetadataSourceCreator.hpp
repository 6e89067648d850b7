// Turns the list of source files found on the command line into the one
// source of a copy run, chosen by file extension.
#pragma once

#include "MetadataCopy/Sources/MetadataSource.hpp"

#include <memory>
#include <string>
#include <vector>

namespace MetadataCopy {

class MetadataSourceCreator {
public:
    MetadataSourceCreator() = delete;

    /// A VANT source for one ".vant" file, an R3D source for one ".r3d" file
    /// (extensions compared in lower case). Refuses any other list with an
    /// Exception before any file is read; the concrete source's own failures
    /// pass unchanged. An empty list is a programming error.
    static std::shared_ptr<MetadataSource> create(const std::vector<std::string>& filePaths);
};

} // namespace MetadataCopy
