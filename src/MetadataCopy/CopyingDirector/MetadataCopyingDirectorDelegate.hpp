// The copying director's observer: it is told everything that happens during a
// run, answers the overwrite question and decides whether a failure stops the
// run. The director knows nothing of how (or whether) this is shown.
#pragma once

#include <string>

namespace MetadataCopy {

class MetadataDestination;

class MetadataCopyingDirectorDelegate {
public:
    MetadataCopyingDirectorDelegate() = default;
    MetadataCopyingDirectorDelegate(const MetadataCopyingDirectorDelegate&) = delete;
    MetadataCopyingDirectorDelegate& operator=(const MetadataCopyingDirectorDelegate&) = delete;
    // The director owns its delegate through a pointer to this base.
    virtual ~MetadataCopyingDirectorDelegate();

    /// Once, before anything else, with the number of destinations.
    virtual void didStart(unsigned int numberOfDestinations) = 0;
    /// Once, after the last destination, unless the run stopped early.
    virtual void didFinish() = 0;
    /// The run stopped because an abort was requested.
    virtual void didAbort() = 0;
    /// The run stopped because didFailCopying asked it to.
    virtual void didFail() = 0;

    /// At the start of each destination.
    virtual void didStartCopying(const MetadataDestination& destination) = 0;
    /// Only for a destination that already holds the metadata; true = write anyway.
    virtual bool shouldOverwriteExistingMetadata(const MetadataDestination& destination) = 0;
    /// After a successful write.
    virtual void didFinishCopying(const MetadataDestination& destination) = 0;
    /// When existing metadata is left in place.
    virtual void didSkipCopying(const MetadataDestination& destination) = 0;
    /// When the work on a destination failed; true = stop the run.
    virtual bool didFailCopying(const MetadataDestination& destination,
                                const std::string& message) = 0;
};

} // namespace MetadataCopy
