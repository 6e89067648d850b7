#include "CopyingDirectorDoubles.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using MetadataCopy::MetadataCopyingDirector;
using MetadataCopy::MetadataDestination;
using namespace MetadataCopyTest;

namespace {

class MetadataCopyingDirectorTest : public ::testing::Test {
protected:
    MetadataCopyingDirectorTest() {
        auto owned = std::make_unique<JournalingDelegate>(journal);
        delegate = owned.get();
        director = std::make_unique<MetadataCopyingDirector>(std::move(owned));
        source = std::make_shared<JournalingSource>(journal);
    }

    std::shared_ptr<JournalingDestination> add(const std::string& name,
                                               const std::string& timecode = "01:00:00:00",
                                               bool hasEntry = false,
                                               DestinationFault fault = DestinationFault::none) {
        auto destination =
            std::make_shared<JournalingDestination>(journal, name, timecode, hasEntry, fault);
        destinations.push_back(destination);
        return destination;
    }

    void run() { director->copy(source, destinations); }

    // Requests an abort as soon as the journal receives the given entry.
    void abortAfter(const std::string& entry) {
        delegate->afterNote = [this, entry](const std::string& noted) {
            if (noted == entry) {
                director->abort();
            }
        };
    }

    Journal journal;
    JournalingDelegate* delegate = nullptr;
    std::unique_ptr<MetadataCopyingDirector> director;
    std::shared_ptr<JournalingSource> source;
    std::vector<std::shared_ptr<MetadataDestination>> destinations;
};

TEST_F(MetadataCopyingDirectorTest, CopiesOverwritesAndSkipsInListOrder) {
    auto fresh = add("a.exr", "01:00:00:05");
    auto overwritten = add("b.exr", "01:00:00:06", true);
    auto kept = add("c.exr", "01:00:00:07", true);
    delegate->overwriteAnswers["c.exr"] = false;

    run();

    const Journal expected = {
        "didStart 3",
        // No existing entry: the delegate is not asked.
        "start a.exr", "exists a.exr", "timecode a.exr", "metadata 01:00:00:05", "write a.exr",
        "copied a.exr", "start b.exr", "exists b.exr", "ask b.exr", "timecode b.exr",
        "metadata 01:00:00:06", "write b.exr", "copied b.exr",
        // A skipped file is neither read for its timecode nor written.
        "start c.exr", "exists c.exr", "ask c.exr", "skipped c.exr", "didFinish"};
    EXPECT_EQ(journal, expected);

    // Each destination receives what the source answered for its own timecode.
    ASSERT_EQ(fresh->written.size(), 1u);
    EXPECT_EQ(fresh->written[0].frameMetadata.interpolationPoints.heights,
              std::vector<float>{5.0f});
    EXPECT_EQ(fresh->written[0].headerMetadata.recordingFormat.camera.model, "model");
    ASSERT_EQ(overwritten->written.size(), 1u);
    EXPECT_EQ(overwritten->written[0].frameMetadata.interpolationPoints.heights,
              std::vector<float>{6.0f});
    EXPECT_TRUE(kept->written.empty());
}

TEST_F(MetadataCopyingDirectorTest, EmptyListStartsWithZeroAndFinishes) {
    run();
    EXPECT_EQ(journal, (Journal{"didStart 0", "didFinish"}));
}

// A failure in any step, whoever raised it, counts for that destination only;
// with the delegate answering "go on", the run visits every destination.
TEST_F(MetadataCopyingDirectorTest, FailureOfAnyParticipantFailsOnlyThatDestination) {
    add("exists.exr", "01:00:00:00", false, DestinationFault::exists);
    add("timecode.exr", "01:00:00:00", false, DestinationFault::timecode);
    add("source.exr", "01:00:00:09");
    source->failingTimecodes.insert("01:00:00:09");
    add("write.exr", "01:00:00:00", false, DestinationFault::write);
    add("delegate.exr");
    delegate->throwOnStartOf = "delegate.exr";
    add("good.exr", "01:00:00:01");

    run();

    const Journal expected = {"didStart 6",
                              "start exists.exr",
                              "exists exists.exr",
                              "failed exists.exr: cannot open",
                              "start timecode.exr",
                              "exists timecode.exr",
                              "timecode timecode.exr",
                              "failed timecode.exr: Timecode does not exist.",
                              "start source.exr",
                              "exists source.exr",
                              "timecode source.exr",
                              "metadata 01:00:00:09",
                              "failed source.exr: No metadata here.",
                              "start write.exr",
                              "exists write.exr",
                              "timecode write.exr",
                              "metadata 01:00:00:00",
                              "write write.exr",
                              "failed write.exr: Temporary file could not be created.",
                              "start delegate.exr",
                              "failed delegate.exr: delegate refused",
                              "start good.exr",
                              "exists good.exr",
                              "timecode good.exr",
                              "metadata 01:00:00:01",
                              "write good.exr",
                              "copied good.exr",
                              "didFinish"};
    EXPECT_EQ(journal, expected);
}

TEST_F(MetadataCopyingDirectorTest, DelegateAskingToStopEndsTheRunAfterTheFailure) {
    add("a.exr");
    add("b.exr", "01:00:00:00", false, DestinationFault::timecode);
    add("c.exr");
    delegate->stopOnFailure = true;

    run();

    const Journal expected = {"didStart 3",
                              "start a.exr",
                              "exists a.exr",
                              "timecode a.exr",
                              "metadata 01:00:00:00",
                              "write a.exr",
                              "copied a.exr",
                              "start b.exr",
                              "exists b.exr",
                              "timecode b.exr",
                              "failed b.exr: Timecode does not exist.",
                              "didFail"};
    EXPECT_EQ(journal, expected);
}

TEST_F(MetadataCopyingDirectorTest, AbortBeforeTheRunBeginsNoDestinationAndIsCleared) {
    add("a.exr");
    director->abort();

    run();
    EXPECT_EQ(journal, (Journal{"didStart 1", "didAbort"}));

    // The stop cleared the request: the next run goes through.
    journal.clear();
    run();
    ASSERT_FALSE(journal.empty());
    EXPECT_EQ(journal.back(), "didFinish");
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "copied a.exr"), 1);
}

// An abort request during destination k lets k end as it would have (copied,
// skipped or failed) and stops before k+1 is begun.
TEST_F(MetadataCopyingDirectorTest, AbortDuringADestinationFinishesItAndStopsBeforeTheNext) {
    struct Case {
        const char* name;
        bool hasEntry;
        bool overwrite;
        DestinationFault fault;
        const char* outcome;
    };
    const Case cases[] = {
        {"copied", false, true, DestinationFault::none, "copied first.exr"},
        {"skipped", true, false, DestinationFault::none, "skipped first.exr"},
        {"failed", false, true, DestinationFault::write,
         "failed first.exr: Temporary file could not be created."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        journal.clear();
        destinations.clear();
        add("first.exr", "01:00:00:00", c.hasEntry, c.fault);
        add("second.exr");
        delegate->overwriteAnswers["first.exr"] = c.overwrite;
        abortAfter("start first.exr");

        run();

        ASSERT_GE(journal.size(), 3u);
        EXPECT_EQ(journal[journal.size() - 2], c.outcome);
        EXPECT_EQ(journal.back(), "didAbort");
        EXPECT_EQ(std::count(journal.begin(), journal.end(), "start second.exr"), 0);
    }
}

TEST_F(MetadataCopyingDirectorTest, AbortDuringTheLastDestinationIsNotActedOn) {
    add("a.exr");
    add("b.exr");
    abortAfter("start b.exr");

    run();

    EXPECT_EQ(journal.back(), "didFinish");
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "copied b.exr"), 1);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "didAbort"), 0);
}

TEST_F(MetadataCopyingDirectorTest, ExceptionNotDerivedFromStdExceptionLeavesTheRun) {
    add("a.exr", "01:00:00:00", false, DestinationFault::notStdException);
    add("b.exr");

    EXPECT_THROW(run(), int);
    EXPECT_EQ(journal.back(), "write a.exr");
}

} // namespace
