#include "MetadataCopy/CopyingDirector/IostreamMetadataCopyingDirectorDelegate.hpp"

#include "CopyingDirectorDoubles.hpp"
#include "Support/ScopedGlobals.hpp"

#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using MetadataCopy::IostreamMetadataCopyingDirectorDelegate;
using MetadataCopy::MetadataCopyingDirector;
using MetadataCopy::MetadataDestination;
using MetadataCopy::Options;
using namespace MetadataCopyTest;

namespace {

// Points std::cout and std::cin at string streams for the test's lifetime.
class IostreamDelegateTest : public ::testing::Test {
protected:
    IostreamDelegateTest() : savedIn(std::cin.rdbuf(input.rdbuf())) {}

    ~IostreamDelegateTest() override {
        std::cin.rdbuf(savedIn);
        std::cin.clear();
    }

    void type(const std::string& text) {
        input.str(text);
        input.clear();
        std::cin.clear();
    }

    std::string printed() const { return output.str(); }
    void forgetPrinted() { output.str(""); }

    std::shared_ptr<JournalingDestination>
    destination(const std::string& name, bool hasEntry = false,
                DestinationFault fault = DestinationFault::none) {
        return std::make_shared<JournalingDestination>(journal, name, "01:00:00:00", hasEntry,
                                                       fault);
    }

    // A whole run of the real director with this delegate.
    void run(const Options& options,
             const std::vector<std::shared_ptr<MetadataDestination>>& destinations) {
        MetadataCopyingDirector director(
            std::make_unique<IostreamMetadataCopyingDirectorDelegate>(options));
        director.copy(std::make_shared<JournalingSource>(journal), destinations);
    }

    Journal journal;

private:
    std::ostringstream output;
    const ScopedGlobals::ConsoleCapture console{output};
    std::istringstream input;
    std::streambuf* savedIn;
};

const Options overwrite{0, false};
const Options keep{1, false};
const Options ask{2, false};

TEST_F(IostreamDelegateTest, ProgressLinesAreOverwrittenByResultLinesAndSummarised) {
    run(overwrite, {destination("a.exr"), destination("b.exr", false, DestinationFault::timecode)});

    EXPECT_EQ(printed(), "0% [Copying to \"a.exr\" ...]"
                         "\r  OK: Successfully copied to \"a.exr\".\n"
                         "50% [Copying to \"b.exr\" ...]"
                         "\r ERR: Failed to copy to \"b.exr\". (Timecode does not exist.)\n"
                         "Completed with 1 error!\n");
}

TEST_F(IostreamDelegateTest, KeepPolicySkipsExistingMetadataWithoutAsking) {
    type("y\n");
    run(keep, {destination("a.exr", true)});

    EXPECT_EQ(printed(), "0% [Copying to \"a.exr\" ...]"
                         "\r  OK: Metadata already exists in \"a.exr\".\n"
                         "Nothing to do!\n");
}

TEST_F(IostreamDelegateTest, AbortOnFirstErrorStopsWithAbortedAndNoSummary) {
    run(Options{0, true},
        {destination("a.exr", false, DestinationFault::write), destination("b.exr")});

    EXPECT_EQ(printed(),
              "0% [Copying to \"a.exr\" ...]"
              "\r ERR: Failed to copy to \"a.exr\". (Temporary file could not be created.)\n"
              "Aborted!\n");
}

// The user typed "yes" and a line end, then "y": the "y" answers the first
// question, "e" and "s" answer the next two with no without waiting, the line
// end is skipped and the last "y" answers the fourth.
TEST_F(IostreamDelegateTest, EachQuestionConsumesOneCharacterOfTheTypedLine) {
    type("yes\ny\n");
    run(ask, {destination("a.exr", true), destination("b.exr", true), destination("c.exr", true),
              destination("d.exr", true)});

    EXPECT_EQ(printed(), "0% [Copying to \"a.exr\" ...]"
                         "\rWould you like to overwrite existing metadata in \"a.exr\" [y/n]? "
                         "0% [Copying to \"a.exr\" ...]"
                         "\r  OK: Successfully copied to \"a.exr\".\n"
                         "25% [Copying to \"b.exr\" ...]"
                         "\rWould you like to overwrite existing metadata in \"b.exr\" [y/n]? "
                         "\r  OK: Metadata already exists in \"b.exr\".\n"
                         "50% [Copying to \"c.exr\" ...]"
                         "\rWould you like to overwrite existing metadata in \"c.exr\" [y/n]? "
                         "\r  OK: Metadata already exists in \"c.exr\".\n"
                         "75% [Copying to \"d.exr\" ...]"
                         "\rWould you like to overwrite existing metadata in \"d.exr\" [y/n]? "
                         "75% [Copying to \"d.exr\" ...]"
                         "\r  OK: Successfully copied to \"d.exr\".\n"
                         "Completed!\n");
}

TEST_F(IostreamDelegateTest, AskPolicyAnswersFromTheFirstNonBlankCharacter) {
    struct Case {
        const char* typed;
        bool answer;
    };
    const Case cases[] = {
        {"y", true},  {"Y\n", true}, {"  \n\t y", true}, {"yes", true},
        {"n", false}, {"x", false},  {"", false},        {" \n \n", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("typed \"") + c.typed + "\"");
        type(c.typed);
        IostreamMetadataCopyingDirectorDelegate delegate(ask);
        delegate.didStart(1);
        EXPECT_EQ(delegate.shouldOverwriteExistingMetadata(*destination("a.exr", true)), c.answer);
    }
}

TEST_F(IostreamDelegateTest, FixedPoliciesAnswerSilently) {
    type("n\n");
    IostreamMetadataCopyingDirectorDelegate overwriting(overwrite);
    IostreamMetadataCopyingDirectorDelegate keeping(keep);
    overwriting.didStart(1);
    keeping.didStart(1);
    auto existing = destination("a.exr", true);

    EXPECT_TRUE(overwriting.shouldOverwriteExistingMetadata(*existing));
    EXPECT_FALSE(keeping.shouldOverwriteExistingMetadata(*existing));
    EXPECT_EQ(printed(), "");
}

TEST_F(IostreamDelegateTest, UnknownOverwritePolicyAbortsTheProcess) {
    IostreamMetadataCopyingDirectorDelegate delegate(Options{3, false});
    delegate.didStart(1);
    auto existing = destination("a.exr", true);
    EXPECT_DEATH(delegate.shouldOverwriteExistingMetadata(*existing), "overwrite policy");
}

TEST_F(IostreamDelegateTest, FailureLineShowsANonEmptyMessageAndAnswersFromTheOptions) {
    IostreamMetadataCopyingDirectorDelegate goOn(Options{0, false});
    IostreamMetadataCopyingDirectorDelegate stop(Options{0, true});
    goOn.didStart(2);
    stop.didStart(2);
    auto failing = destination("a.exr");

    EXPECT_FALSE(goOn.didFailCopying(*failing, ""));
    EXPECT_EQ(printed(), "\r ERR: Failed to copy to \"a.exr\".\n");
    forgetPrinted();
    EXPECT_TRUE(stop.didFailCopying(*failing, "File does not exist."));
    EXPECT_EQ(printed(), "\r ERR: Failed to copy to \"a.exr\". (File does not exist.)\n");
}

TEST_F(IostreamDelegateTest, StopLinesStandAlone) {
    IostreamMetadataCopyingDirectorDelegate delegate(overwrite);
    delegate.didStart(2);
    delegate.didAbort();
    delegate.didFail();
    EXPECT_EQ(printed(), "Aborted by the user!\nAborted!\n");
}

TEST_F(IostreamDelegateTest, SummaryLineReflectsCopiedAndFailedCounts) {
    struct Case {
        unsigned copied, skipped, failed;
        const char* summary;
    };
    const Case cases[] = {
        {1, 0, 0, "Completed!\n"},
        {0, 1, 0, "Nothing to do!\n"},
        {0, 0, 1, "Nothing to do with 1 error!\n"},
        {0, 2, 2, "Nothing to do with 2 errors!\n"},
        {2, 1, 1, "Completed with 1 error!\n"},
        {3, 0, 12, "Completed with 12 errors!\n"},
    };
    auto file = destination("a.exr");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.summary);
        IostreamMetadataCopyingDirectorDelegate delegate(overwrite);
        delegate.didStart(c.copied + c.skipped + c.failed);
        for (unsigned i = 0; i < c.copied; ++i)
            delegate.didFinishCopying(*file);
        for (unsigned i = 0; i < c.skipped; ++i)
            delegate.didSkipCopying(*file);
        for (unsigned i = 0; i < c.failed; ++i)
            delegate.didFailCopying(*file, "x");
        forgetPrinted();
        delegate.didFinish();
        EXPECT_EQ(printed(), c.summary);
    }
}

// Single-precision, truncated: the share of destinations done before the
// current one (53 of 100 shows 52, as float arithmetic gives 52.99999).
TEST_F(IostreamDelegateTest, ProgressIsTheTruncatedShareOfFinishedDestinations) {
    struct Case {
        unsigned done, total, percent;
    };
    const Case cases[] = {{0, 1, 0},  {1, 3, 33}, {2, 3, 66},    {1, 7, 14},
                          {6, 7, 85}, {1, 2, 50}, {99, 100, 99}, {53, 100, 52}};
    auto file = destination("a.exr");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.done) + " of " + std::to_string(c.total));
        IostreamMetadataCopyingDirectorDelegate delegate(overwrite);
        delegate.didStart(c.total);
        // Every kind of result counts as done.
        for (unsigned i = 0; i < c.done; ++i) {
            if (i % 3 == 0)
                delegate.didFinishCopying(*file);
            else if (i % 3 == 1)
                delegate.didSkipCopying(*file);
            else
                delegate.didFailCopying(*file, "");
        }
        EXPECT_EQ(delegate.currentProgress(), c.percent);
    }
    // A fresh run starts counting from zero again.
    IostreamMetadataCopyingDirectorDelegate delegate(overwrite);
    delegate.didStart(2);
    delegate.didFinishCopying(*file);
    delegate.didStart(4);
    EXPECT_EQ(delegate.currentProgress(), 0u);
}

} // namespace
