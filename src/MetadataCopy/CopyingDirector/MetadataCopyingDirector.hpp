// Carries out one copy run over a list of destinations: for each one it decides
// whether to write (asking its delegate when the destination already holds the
// metadata), reads the destination's timecode, asks the source for the
// metadata at that timecode and has the destination write it. Everything that
// happens is told to the delegate.
#pragma once

#include "MetadataCopy/CopyingDirector/MetadataCopyingDirectorDelegate.hpp"

#include <atomic>
#include <memory>
#include <vector>

namespace MetadataCopy {

class MetadataDestination;
class MetadataSource;

class MetadataCopyingDirector {
public:
    explicit MetadataCopyingDirector(std::unique_ptr<MetadataCopyingDirectorDelegate> delegate);
    MetadataCopyingDirector(const MetadataCopyingDirector&) = delete;
    MetadataCopyingDirector& operator=(const MetadataCopyingDirector&) = delete;
    virtual ~MetadataCopyingDirector();

    /// One run. A failure at a destination (any std::exception) is handed to
    /// the delegate and counts for that destination only; the delegate's
    /// answer decides whether the run goes on. The run ends with exactly one
    /// of didFinish, didAbort or didFail.
    void copy(const std::shared_ptr<MetadataSource>& source,
              const std::vector<std::shared_ptr<MetadataDestination>>& destinations);

    /// Asks a running (or the next) copy to stop before its next destination.
    /// Safe to call from a signal handler: it only stores to a lock-free flag.
    void abort();

private:
    std::unique_ptr<MetadataCopyingDirectorDelegate> delegate;
    // Written by the interrupt handler, read between destinations; a lock-free
    // atomic is what a handler may touch without undefined behaviour.
    std::atomic<bool> abortRequested;
    static_assert(std::atomic<bool>::is_always_lock_free,
                  "the abort flag must be settable from a signal handler");
};

} // namespace MetadataCopy
