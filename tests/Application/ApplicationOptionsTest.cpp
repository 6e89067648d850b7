#include "ApplicationOptions.hpp"

#include <stdexcept>
#include <string>
#include <vector>

#include <boost/program_options/errors.hpp>
#include <gtest/gtest.h>

namespace {

ApplicationOptions parse(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "okalu-tafe");
    return ApplicationOptions(static_cast<int>(arguments.size()), arguments.data());
}

const char* const conflictMessage = "Conflicting options \"--ask-before-overwriting-metadata\" and "
                                    "\"--do-not-overwrite-metadata\".";

TEST(ApplicationOptionsTest, SourcesAndDestinationsKeepTheirOrder) {
    const ApplicationOptions options = parse({"-s", "a.vant", "b.vant", "-d", "x.exr", "y.exr"});
    EXPECT_EQ(options.source(), (std::vector<std::string>{"a.vant", "b.vant"}));
    EXPECT_EQ(options.destination(), (std::vector<std::string>{"x.exr", "y.exr"}));
    EXPECT_FALSE(options.help());
    EXPECT_FALSE(options.version());
    EXPECT_FALSE(options.askBeforeOverwritingMetadata());
    EXPECT_FALSE(options.doNotOverwriteMetadata());
    EXPECT_FALSE(options.abortOnFirstError());

    const ApplicationOptions longForms =
        parse({"--destination", "x.exr", "--source", "a.vant", "--abort-on-first-error",
               "--do-not-overwrite-metadata"});
    EXPECT_EQ(longForms.source(), std::vector<std::string>{"a.vant"});
    EXPECT_EQ(longForms.destination(), std::vector<std::string>{"x.exr"});
    EXPECT_TRUE(longForms.abortOnFirstError());
    EXPECT_TRUE(longForms.doNotOverwriteMetadata());
    EXPECT_FALSE(longForms.askBeforeOverwritingMetadata());

    EXPECT_TRUE(parse({"-s", "a", "-d", "b", "--ask-before-overwriting-metadata"})
                    .askBeforeOverwritingMetadata());
}

TEST(ApplicationOptionsTest, HelpAndVersionExcuseTheMissingPathsAndTheConflict) {
    EXPECT_TRUE(parse({"-h"}).help());
    EXPECT_TRUE(parse({"--help"}).help());
    EXPECT_TRUE(parse({"--version", "-s", "a.vant"}).version());

    const ApplicationOptions both =
        parse({"-h", "--ask-before-overwriting-metadata", "--do-not-overwrite-metadata"});
    EXPECT_TRUE(both.help());
    EXPECT_TRUE(both.askBeforeOverwritingMetadata());
    EXPECT_TRUE(both.doNotOverwriteMetadata());
}

TEST(ApplicationOptionsTest, ConflictingOverwriteSwitchesAreRefusedOnceThePathsArePresent) {
    for (const bool withHelp : {false, true}) {
        SCOPED_TRACE(withHelp ? "with -h" : "without -h");
        std::vector<const char*> arguments = {"-s",
                                              "a.vant",
                                              "-d",
                                              "x.exr",
                                              "--ask-before-overwriting-metadata",
                                              "--do-not-overwrite-metadata"};
        if (withHelp) {
            arguments.push_back("-h");
        }
        try {
            parse(arguments);
            FAIL() << "no exception";
        } catch (const std::logic_error& error) {
            EXPECT_STREQ(error.what(), conflictMessage);
        }
    }
}

TEST(ApplicationOptionsTest, MissingPathsAreRequired) {
    EXPECT_THROW(parse({}), boost::program_options::required_option);
    EXPECT_THROW(parse({"-s", "a.vant"}), boost::program_options::required_option);
    EXPECT_THROW(parse({"-d", "x.exr", "--abort-on-first-error"}),
                 boost::program_options::required_option);
    try {
        parse({"-s", "a.vant"});
    } catch (const boost::program_options::required_option& error) {
        EXPECT_STREQ(error.what(), "the option '--destination' is required but missing");
    }
}

TEST(ApplicationOptionsTest, OtherParseErrorsPassBoostsExceptionsThrough) {
    EXPECT_THROW(parse({"-s", "a", "-d", "b", "--force"}), boost::program_options::unknown_option);
    EXPECT_THROW(parse({"-s", "-d", "b"}), boost::program_options::error);
    EXPECT_THROW(parse({"-s", "a", "-d"}), boost::program_options::invalid_command_line_syntax);
    EXPECT_THROW(parse({"-s", "a", "-d", "b", "--abort-on-first-error", "--abort-on-first-error"}),
                 boost::program_options::multiple_occurrences);
    // An argument after a switch belongs to no option; dropping it would lose a file.
    EXPECT_THROW(parse({"stray", "-s", "a", "-d", "b"}),
                 boost::program_options::too_many_positional_options_error);
    EXPECT_THROW(parse({"-s", "a", "-d", "b", "--abort-on-first-error", "c"}),
                 boost::program_options::too_many_positional_options_error);
    EXPECT_THROW(parse({"-s", "a", "-d", "b", "--version=1"}),
                 boost::program_options::invalid_command_line_syntax);
    // An unknown option fails even where help would excuse missing paths.
    EXPECT_THROW(parse({"-h", "--force"}), boost::program_options::unknown_option);
}

} // namespace
