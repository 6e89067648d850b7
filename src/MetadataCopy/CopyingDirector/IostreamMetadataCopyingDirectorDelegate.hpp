// The delegate that shows a copy run on the console: one progress line per
// destination, overwritten in place by its result line, and a summary line.
// It answers the overwrite question from the options, asking on standard
// input when they say so, and stops the run after a failure when asked to.
#pragma once

#include "MetadataCopy/CopyingDirector/MetadataCopyingDirectorDelegate.hpp"
#include "MetadataCopy/Options.hpp"

#include <cstdint>
#include <string>

namespace MetadataCopy {

class IostreamMetadataCopyingDirectorDelegate : public MetadataCopyingDirectorDelegate {
public:
    explicit IostreamMetadataCopyingDirectorDelegate(const Options& options);
    ~IostreamMetadataCopyingDirectorDelegate() override;

    void didStart(unsigned int numberOfDestinations) override;
    void didFinish() override;
    void didAbort() override;
    void didFail() override;
    void didStartCopying(const MetadataDestination& destination) override;
    /// Policy 2 asks on standard input; only "y" or "Y" as the first
    /// non-blank character is a yes, and exactly that character is consumed,
    /// so the rest of a typed line answers the following questions.
    bool shouldOverwriteExistingMetadata(const MetadataDestination& destination) override;
    void didFinishCopying(const MetadataDestination& destination) override;
    void didSkipCopying(const MetadataDestination& destination) override;
    bool didFailCopying(const MetadataDestination& destination,
                        const std::string& message) override;

    /// Percentage of the run's destinations dealt with before the current
    /// one, truncated: 1 of 3 gives 33, 6 of 7 gives 85. Needs a run of at
    /// least one destination.
    std::uint32_t currentProgress() const;

private:
    Options options;
    std::uint32_t numberOfFiles = 0;
    std::uint32_t numberOfCopiedFiles = 0;
    std::uint32_t numberOfSkippedFiles = 0;
    std::uint32_t numberOfFailedFiles = 0;
};

} // namespace MetadataCopy
