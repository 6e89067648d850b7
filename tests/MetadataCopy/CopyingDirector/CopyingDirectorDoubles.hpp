// Test doubles for the copying director: a source, destinations and a delegate
// that write every call into one shared journal, so that a test can check the
// order in which a run touches them.
#pragma once

#include "MetadataCopy/CopyingDirector/MetadataCopyingDirector.hpp"
#include "MetadataCopy/CopyingDirector/MetadataCopyingDirectorDelegate.hpp"
#include "MetadataCopy/Destinations/MetadataDestination.hpp"
#include "MetadataCopy/Sources/MetadataSource.hpp"

#include "Exception/Exception.hpp"

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace MetadataCopyTest {

using Journal = std::vector<std::string>;

/// Answers every timecode with frame metadata whose one height is the
/// timecode's frame number, unless the timecode is listed as failing.
class JournalingSource final : public MetadataCopy::MetadataSource {
public:
    explicit JournalingSource(Journal& journal) : journal(journal) {}

    MetadataCopy::Metadata metadata(const Timecode::Timecode& timecode) const override {
        journal.push_back("metadata " + timecode.string(false));
        if (failingTimecodes.count(timecode.string(false)) != 0) {
            throw Exception("No metadata here.");
        }
        MetadataCopy::Metadata result;
        result.headerMetadata.recordingFormat.camera.model = "model";
        result.frameMetadata.interpolationPoints.heights = {static_cast<float>(timecode.frames)};
        return result;
    }

    std::set<std::string> failingTimecodes;

private:
    Journal& journal;
};

/// Which step of a destination throws, if any.
enum class DestinationFault { none, exists, timecode, write, notStdException };

class JournalingDestination final : public MetadataCopy::MetadataDestination {
public:
    JournalingDestination(Journal& journal, std::string name, std::string timecodeText,
                          bool hasEntry = false, DestinationFault fault = DestinationFault::none)
        : journal(journal), name(std::move(name)), timecodeText(std::move(timecodeText)),
          hasEntry(hasEntry), fault(fault) {}

    std::string fileName() const override { return name; }

    Timecode::Timecode timecode() const override {
        journal.push_back("timecode " + name);
        if (fault == DestinationFault::timecode) {
            throw Exception("Timecode does not exist.");
        }
        return Timecode::Timecode(timecodeText.c_str(), 0.0f);
    }

    bool doesMetadataEntryExist() const override {
        journal.push_back("exists " + name);
        if (fault == DestinationFault::exists) {
            throw std::runtime_error("cannot open");
        }
        return hasEntry;
    }

    void writeMetadata(const MetadataCopy::Metadata& metadata) const override {
        journal.push_back("write " + name);
        if (fault == DestinationFault::write) {
            throw Exception("Temporary file could not be created.");
        }
        if (fault == DestinationFault::notStdException) {
            throw 42;
        }
        written.push_back(metadata);
    }

    mutable std::vector<MetadataCopy::Metadata> written;

private:
    Journal& journal;
    std::string name;
    std::string timecodeText;
    bool hasEntry;
    DestinationFault fault;
};

/// Records every callback. Answers the overwrite question and the failure
/// question from per-file tables (default: overwrite, go on), and can call a
/// hook after any journal entry, for instance to request an abort.
class JournalingDelegate final : public MetadataCopy::MetadataCopyingDirectorDelegate {
public:
    explicit JournalingDelegate(Journal& journal) : journal(journal) {}

    void didStart(unsigned int numberOfDestinations) override {
        note("didStart " + std::to_string(numberOfDestinations));
    }
    void didFinish() override { note("didFinish"); }
    void didAbort() override { note("didAbort"); }
    void didFail() override { note("didFail"); }
    void didStartCopying(const MetadataCopy::MetadataDestination& destination) override {
        note("start " + destination.fileName());
        if (throwOnStartOf == destination.fileName()) {
            throw std::logic_error("delegate refused");
        }
    }
    bool
    shouldOverwriteExistingMetadata(const MetadataCopy::MetadataDestination& destination) override {
        note("ask " + destination.fileName());
        auto answer = overwriteAnswers.find(destination.fileName());
        return answer == overwriteAnswers.end() || answer->second;
    }
    void didFinishCopying(const MetadataCopy::MetadataDestination& destination) override {
        note("copied " + destination.fileName());
    }
    void didSkipCopying(const MetadataCopy::MetadataDestination& destination) override {
        note("skipped " + destination.fileName());
    }
    bool didFailCopying(const MetadataCopy::MetadataDestination& destination,
                        const std::string& message) override {
        note("failed " + destination.fileName() + ": " + message);
        return stopOnFailure;
    }

    std::map<std::string, bool> overwriteAnswers;
    bool stopOnFailure = false;
    std::string throwOnStartOf;
    std::function<void(const std::string&)> afterNote;

private:
    void note(const std::string& entry) {
        journal.push_back(entry);
        if (afterNote) {
            afterNote(entry);
        }
    }

    Journal& journal;
};

} // namespace MetadataCopyTest
