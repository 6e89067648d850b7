#include "MetadataCopy/MetadataCopy.hpp"

#include "Exception/Exception.hpp"
#include "MetadataCopy/CopyingDirector/IostreamMetadataCopyingDirectorDelegate.hpp"
#include "MetadataCopy/Destinations/MetadataDestinationCreator.hpp"
#include "MetadataCopy/FileFinder.hpp"
#include "MetadataCopy/Interruption.hpp"
#include "MetadataCopy/Sources/MetadataSourceCreator.hpp"

#include <iostream>
#include <memory>
#include <utility>

namespace MetadataCopy {

namespace {

// Passes every call on to the console delegate and notes how the run ended, so that the run can
// report a failure to the shell without the console delegate knowing about exit statuses.
class OutcomeRecordingDelegate : public MetadataCopyingDirectorDelegate {
public:
    OutcomeRecordingDelegate(std::unique_ptr<MetadataCopyingDirectorDelegate> delegate,
                             bool& finished, std::uint32_t& numberOfFailedDestinations)
        : delegate(std::move(delegate)), finished(finished),
          numberOfFailedDestinations(numberOfFailedDestinations) {}

    void didStart(unsigned int numberOfDestinations) override {
        finished = false;
        numberOfFailedDestinations = 0;
        delegate->didStart(numberOfDestinations);
    }
    void didFinish() override {
        finished = true;
        delegate->didFinish();
    }
    void didAbort() override { delegate->didAbort(); }
    void didFail() override { delegate->didFail(); }
    void didStartCopying(const MetadataDestination& destination) override {
        delegate->didStartCopying(destination);
    }
    bool shouldOverwriteExistingMetadata(const MetadataDestination& destination) override {
        return delegate->shouldOverwriteExistingMetadata(destination);
    }
    void didFinishCopying(const MetadataDestination& destination) override {
        delegate->didFinishCopying(destination);
    }
    void didSkipCopying(const MetadataDestination& destination) override {
        delegate->didSkipCopying(destination);
    }
    bool didFailCopying(const MetadataDestination& destination,
                        const std::string& message) override {
        ++numberOfFailedDestinations;
        return delegate->didFailCopying(destination, message);
    }

private:
    std::unique_ptr<MetadataCopyingDirectorDelegate> delegate;
    bool& finished;
    std::uint32_t& numberOfFailedDestinations;
};

std::unique_ptr<MetadataCopyingDirectorDelegate> createIostreamDelegate(const Options& options) {
    return std::unique_ptr<MetadataCopyingDirectorDelegate>(
        new IostreamMetadataCopyingDirectorDelegate(options));
}

void printNumberOfExistingFiles(unsigned long count, const std::string& kind) {
    if (count > 0) {
        std::cout << count << " " << kind << " file" << (count > 1 ? "s were" : " was") << " found."
                  << "\n";
    } else {
        std::cout << "No " << kind << " file found.\nFailed!\n";
    }
}

} // namespace

MetadataCopy::MetadataCopy(const std::vector<std::string>& sources,
                           const std::vector<std::string>& destinations, const Options& options)
    : sources(sources), destinations(destinations),
      director(std::make_unique<OutcomeRecordingDelegate>(
          createIostreamDelegate(options), runFinished, numberOfFailedDestinations)) {}

bool MetadataCopy::copy() {
    // Until the first frame, each long step ends the process at once on an interrupt; the lines
    // between them are printed with the interrupt only noted, so that none is cut short, and the
    // next step (or the first frame) ends the run for it.
    const std::vector<std::string> sourceFiles =
        Interruption::endingAtOnce([this] { return FileFinder::find(sources); });
    printNumberOfExistingFiles(sourceFiles.size(), "source");
    if (sourceFiles.empty()) {
        return false;
    }

    // A frame named twice is counted and rewritten once.
    const std::vector<std::string> destinationFiles = Interruption::endingAtOnce([this] {
        return MetadataDestinationCreator::withoutRepeatedFrames(FileFinder::find(destinations));
    });
    printNumberOfExistingFiles(destinationFiles.size(), "destination");
    if (destinationFiles.empty()) {
        return false;
    }

    try {
        // The source is read in full before any destination object exists, so a refused
        // destination list is only reported after the source proved readable.
        const std::shared_ptr<MetadataSource> source = Interruption::endingAtOnce(
            [&sourceFiles] { return MetadataSourceCreator::create(sourceFiles); });
        const std::vector<std::shared_ptr<MetadataDestination>> destinationObjects =
            Interruption::endingAtOnce([&destinationFiles] {
                return MetadataDestinationCreator::create(destinationFiles);
            });
        director.copy(source, destinationObjects);
    } catch (const Exception& exception) {
        std::cout << exception.what() << "\n";
        return false;
    }
    return runFinished && numberOfFailedDestinations == 0;
}

void MetadataCopy::abort() {
    director.abort();
}

} // namespace MetadataCopy
