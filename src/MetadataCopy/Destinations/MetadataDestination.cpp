// The creator text lives here, reached only through the two static functions.
#include "MetadataCopy/Destinations/MetadataDestination.hpp"

namespace MetadataCopy {

namespace {
std::string creator;
} // namespace

std::string MetadataDestination::metadataCreator() {
    return creator;
}

void MetadataDestination::setMetadataCreator(const std::string& newCreator) {
    creator = newCreator;
}

} // namespace MetadataCopy
