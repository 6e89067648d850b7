#include "MetadataCopy/Destinations/MetadataDestinationCreator.hpp"

#include "Assertion/Assertion.hpp"
#include "Exception/Exception.hpp"
#include "MetadataCopy/Destinations/ExrMetadataDestination.hpp"

#include <boost/algorithm/string/case_conv.hpp>
#include <boost/filesystem/path.hpp>

#include <locale>
#include <set>

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

void checkFilePathsAndThrowIfNeeded(const std::vector<std::string>& filePaths) {
    for (const std::string& extension : fileExtensionSet(filePaths)) {
        if (extension != ".exr") {
            throw Exception("Destination cannot be created with unsupported type.");
        }
    }
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

} // namespace MetadataCopy
