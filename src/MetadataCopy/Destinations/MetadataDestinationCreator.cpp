#include "MetadataCopy/Destinations/MetadataDestinationCreator.hpp"

#include "Assertion/Assertion.hpp"
#include "Exception/Exception.hpp"
#include "MetadataCopy/Destinations/ExrMetadataDestination.hpp"

#include <boost/algorithm/string/case_conv.hpp>
#include <boost/filesystem/path.hpp>

#include <algorithm>
#include <cstdlib>
#include <locale>
#include <map>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <utility>

namespace MetadataCopy {

namespace {

std::set<std::string> fileExtensionSet(const std::vector<std::string>& filePaths) {
    std::set<std::string> extensions;
    for (const std::string& filePath : filePaths) {
        extensions.insert(boost::algorithm::to_lower_copy(
            boost::filesystem::path(filePath).extension().string(), std::locale()));
    }
    return extensions;
}

bool holdsOnlySupportedTypes(const std::vector<std::string>& filePaths) {
    for (const std::string& extension : fileExtensionSet(filePaths)) {
        if (extension != ".exr") {
            return false;
        }
    }
    return true;
}

void checkFilePathsAndThrowIfNeeded(const std::vector<std::string>& filePaths) {
    if (!holdsOnlySupportedTypes(filePaths)) {
        throw Exception("Destination cannot be created with unsupported type.");
    }
}

// The directory entry that a rewrite through the path replaces: the final
// target's directory (device and inode, so that one directory reached by two
// paths, as through a bind mount, is one) and its name.
struct DirectoryEntry {
    dev_t directoryDevice;
    ino_t directoryInode;
    std::string name;

    bool operator==(const DirectoryEntry& other) const {
        return directoryDevice == other.directoryDevice && directoryInode == other.directoryInode &&
               name == other.name;
    }
};

std::optional<DirectoryEntry> entryReplacedThrough(const std::string& path) {
    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                               &std::free);
    if (resolved == nullptr) {
        return std::nullopt;
    }
    const std::string target = resolved.get();
    // An absolute path: there is a "/" at least at its start.
    const std::string::size_type slash = target.rfind('/');
    const std::string directory = slash == 0 ? "/" : target.substr(0, slash);
    struct stat status;
    if (::stat(directory.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return DirectoryEntry{status.st_dev, status.st_ino, target.substr(slash + 1)};
}

} // namespace

std::vector<std::shared_ptr<MetadataDestination>>
MetadataDestinationCreator::create(const std::vector<std::string>& filePaths) {
    OKALU_ASSERT(filePaths.size());
    checkFilePathsAndThrowIfNeeded(filePaths);

    std::vector<std::shared_ptr<MetadataDestination>> destinations;
    destinations.reserve(filePaths.size());
    for (const std::string& filePath : filePaths) {
        destinations.push_back(std::make_shared<ExrMetadataDestination>(filePath));
    }
    return destinations;
}

std::vector<std::string>
MetadataDestinationCreator::withoutRepeatedFrames(const std::vector<std::string>& filePaths) {
    if (!holdsOnlySupportedTypes(filePaths)) {
        return filePaths;
    }
    std::vector<std::string> kept;
    kept.reserve(filePaths.size());
    // For each file, where in kept its namings stand. One status per path:
    // the entries are only resolved for a file named more than once.
    std::map<std::pair<dev_t, ino_t>, std::vector<std::size_t>> namings;
    for (const std::string& filePath : filePaths) {
        struct stat status;
        if (::stat(filePath.c_str(), &status) != 0) {
            kept.push_back(filePath);
            continue;
        }
        std::vector<std::size_t>& earlier = namings[{status.st_dev, status.st_ino}];
        if (!earlier.empty()) {
            const std::optional<DirectoryEntry> entry = entryReplacedThrough(filePath);
            const auto isSameEntry = [&](std::size_t index) {
                return entry && entryReplacedThrough(kept[index]) == entry;
            };
            if (std::any_of(earlier.begin(), earlier.end(), isSameEntry)) {
                continue;
            }
        }
        earlier.push_back(kept.size());
        kept.push_back(filePath);
    }
    return kept;
}

} // namespace MetadataCopy
