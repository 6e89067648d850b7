#include "MetadataCopy/Sources/MetadataSourceCreator.hpp"

#include "Assertion/Assertion.hpp"
#include "Exception/Exception.hpp"
#include "MetadataCopy/Sources/R3DMetadataSource.hpp"
#include "MetadataCopy/Sources/VantMetadataSource.hpp"

#include <boost/algorithm/string/case_conv.hpp>
#include <boost/filesystem/path.hpp>

#include <locale>
#include <set>

namespace MetadataCopy {

namespace {

const char* const vantExtension = ".vant";
const char* const r3dExtension = ".r3d";

std::set<std::string> fileExtensionSet(const std::vector<std::string>& filePaths) {
    std::set<std::string> extensions;
    for (const std::string& filePath : filePaths) {
        extensions.insert(boost::algorithm::to_lower_copy(
            boost::filesystem::path(filePath).extension().string(), std::locale()));
    }
    return extensions;
}

void checkFilePathsAndThrowIfNeeded(const std::vector<std::string>& filePaths) {
    const std::set<std::string> extensions = fileExtensionSet(filePaths);
    if (extensions.size() >= 2) {
        throw Exception("Sources cannot be of different types.");
    }
    const std::string& extension = *extensions.begin();
    if (extension == vantExtension) {
        if (filePaths.size() > 1) {
            throw Exception("Source cannot consist of multiple vant files.");
        }
        return;
    }
    if (extension == r3dExtension) {
        if (filePaths.size() > 1) {
            throw Exception(
                "Source cannot consist of multiple R3D files. Please select only one if the "
                "footage is split into multiple parts and the other parts contained in the same "
                "directory will be used automatically.");
        }
        return;
    }
    throw Exception("Source cannot be created with unsupported type.");
}

} // namespace

std::shared_ptr<MetadataSource>
MetadataSourceCreator::create(const std::vector<std::string>& filePaths) {
    OKALU_ASSERT(filePaths.size());
    checkFilePathsAndThrowIfNeeded(filePaths);

    const std::string extension = *fileExtensionSet(filePaths).begin();
    std::shared_ptr<MetadataSource> source;
    if (extension == vantExtension) {
        source = std::make_shared<VantMetadataSource>(filePaths.front());
    } else if (extension == r3dExtension) {
        source = std::make_shared<R3DMetadataSource>(filePaths.front());
    }
    OKALU_ASSERT(source);
    return source;
}

} // namespace MetadataCopy
