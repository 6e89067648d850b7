#include "MetadataCopy/CopyingDirector/IostreamMetadataCopyingDirectorDelegate.hpp"

#include "Assertion/Assertion.hpp"
#include "MetadataCopy/Destinations/MetadataDestination.hpp"
#include "MetadataCopy/Interruption.hpp"

#include <cctype>
#include <iostream>
#include <string>

namespace MetadataCopy {

IostreamMetadataCopyingDirectorDelegate::IostreamMetadataCopyingDirectorDelegate(
    const Options& options)
    : options(options) {}

IostreamMetadataCopyingDirectorDelegate::~IostreamMetadataCopyingDirectorDelegate() = default;

void IostreamMetadataCopyingDirectorDelegate::didStart(unsigned int numberOfDestinations) {
    numberOfFiles = numberOfDestinations;
    numberOfCopiedFiles = 0;
    numberOfSkippedFiles = 0;
    numberOfFailedFiles = 0;
}

void IostreamMetadataCopyingDirectorDelegate::didFinish() {
    std::cout << (numberOfCopiedFiles != 0 ? "Completed" : "Nothing to do");
    if (numberOfFailedFiles != 0) {
        std::cout << " with " << numberOfFailedFiles << " error";
        if (numberOfFailedFiles > 1) {
            std::cout << "s";
        }
    }
    std::cout << "!\n";
}

void IostreamMetadataCopyingDirectorDelegate::didAbort() {
    std::cout << "Aborted by the user!\n";
}

void IostreamMetadataCopyingDirectorDelegate::didFail() {
    std::cout << "Aborted!\n";
}

void IostreamMetadataCopyingDirectorDelegate::didStartCopying(
    const MetadataDestination& destination) {
    // No line end: the result line of this destination overwrites it, so it
    // is flushed by hand to be seen while the file is being written.
    std::cout << currentProgress() << "% [Copying to \"" << destination.fileName() << "\" ...]"
              << std::flush;
}

bool IostreamMetadataCopyingDirectorDelegate::shouldOverwriteExistingMetadata(
    const MetadataDestination& destination) {
    switch (options.overwritePolicy) {
    case 0:
        return true;
    case 1:
        return false;
    case 2: {
        std::cout << "\rWould you like to overwrite existing metadata in \""
                  << destination.fileName() << "\" [y/n]? ";
        // Nothing is written while the question waits, so an interrupt ends the run there and
        // then, not after the answer; the question is flushed before.
        const bool yes = Interruption::endingAtOnce(
            [] {
                char answer = 0;
                return static_cast<bool>(std::cin >> answer) &&
                       std::tolower(static_cast<unsigned char>(answer)) == 'y';
            },
            true);
        if (yes) {
            didStartCopying(destination);
            return true;
        }
        return false;
    }
    default:
        // The command line only makes 0, 1 and 2: any other value is a programming error.
        OKALU_ASSERT_MESSAGE(false,
                             "Unknown overwrite policy " + std::to_string(options.overwritePolicy));
    }
}

void IostreamMetadataCopyingDirectorDelegate::didFinishCopying(
    const MetadataDestination& destination) {
    std::cout << "\r  OK: Successfully copied to \"" << destination.fileName() << "\".\n";
    ++numberOfCopiedFiles;
}

void IostreamMetadataCopyingDirectorDelegate::didSkipCopying(
    const MetadataDestination& destination) {
    std::cout << "\r  OK: Metadata already exists in \"" << destination.fileName() << "\".\n";
    ++numberOfSkippedFiles;
}

bool IostreamMetadataCopyingDirectorDelegate::didFailCopying(const MetadataDestination& destination,
                                                             const std::string& message) {
    std::cout << "\r ERR: Failed to copy to \"" << destination.fileName() << "\".";
    if (!message.empty()) {
        std::cout << " (" << message << ")";
    }
    std::cout << "\n";
    ++numberOfFailedFiles;
    return options.abortOnFirstError;
}

std::uint32_t IostreamMetadataCopyingDirectorDelegate::currentProgress() const {
    if (numberOfFiles == 0) {
        return 0; // no run, or a run without destinations: nothing to divide
    }
    const std::uint32_t done = numberOfCopiedFiles + numberOfSkippedFiles + numberOfFailedFiles;
    // Single precision on purpose: the shown figures are those of float
    // arithmetic (1 of 3 shows 33, 2 of 3 shows 66).
    const float share = static_cast<float>(done) / static_cast<float>(numberOfFiles);
    const float percentage = share * 100.0f;
    return static_cast<std::uint32_t>(percentage);
}

} // namespace MetadataCopy
