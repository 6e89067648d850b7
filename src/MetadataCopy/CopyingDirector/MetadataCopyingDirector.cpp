#include "MetadataCopy/CopyingDirector/MetadataCopyingDirector.hpp"

#include "MetadataCopy/Destinations/MetadataDestination.hpp"
#include "MetadataCopy/Metadata.hpp"
#include "MetadataCopy/Sources/MetadataSource.hpp"
#include "Timecode/Timecode.hpp"

#include <exception>
#include <string>
#include <utility>

namespace MetadataCopy {

MetadataCopyingDirector::MetadataCopyingDirector(
    std::unique_ptr<MetadataCopyingDirectorDelegate> delegate)
    : delegate(std::move(delegate)), abortRequested(false) {}

MetadataCopyingDirector::~MetadataCopyingDirector() = default;

void MetadataCopyingDirector::copy(
    const std::shared_ptr<MetadataSource>& source,
    const std::vector<std::shared_ptr<MetadataDestination>>& destinations) {
    delegate->didStart(static_cast<unsigned int>(destinations.size()));

    for (const std::shared_ptr<MetadataDestination>& destination : destinations) {
        // Tested only here, between destinations, so that the file being
        // written is always finished before the run stops. Clearing it lets a
        // later run start afresh.
        if (abortRequested.exchange(false)) {
            delegate->didAbort();
            return;
        }

        try {
            delegate->didStartCopying(*destination);

            if (destination->doesMetadataEntryExist() &&
                !delegate->shouldOverwriteExistingMetadata(*destination)) {
                delegate->didSkipCopying(*destination);
                continue;
            }

            const Timecode::Timecode timecode = destination->timecode();
            const Metadata metadata = source->metadata(timecode);
            destination->writeMetadata(metadata);

            delegate->didFinishCopying(*destination);
        } catch (const std::exception& exception) {
            if (delegate->didFailCopying(*destination, std::string(exception.what()))) {
                delegate->didFail();
                return;
            }
        }
    }

    delegate->didFinish();
}

void MetadataCopyingDirector::abort() {
    abortRequested.store(true);
}

} // namespace MetadataCopy
