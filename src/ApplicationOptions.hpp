#pragma once

#include <string>
#include <vector>

#include <boost/program_options.hpp>

/// The command line of okalu-tafe: "okalu-tafe [OPTION]... -s SOURCE... -d DESTINATION...".
class ApplicationOptions {
public:
    /// Parses the command line. Throws Boost's option errors unchanged (an unknown option, an
    /// option without its value, a switch given twice, a stray argument), Boost's required_option
    /// when "source" or "destination" is missing and neither help nor version is asked for, and
    /// std::logic_error when both overwrite switches are given.
    ApplicationOptions(int argc, const char** argv);

    bool help() const;
    bool version() const;

    /// The SOURCE arguments in the given order; only valid when neither help nor version is set.
    std::vector<std::string> source() const;
    /// The DESTINATION arguments in the given order; only valid when neither help nor version is
    /// set.
    std::vector<std::string> destination() const;

    bool askBeforeOverwritingMetadata() const;
    bool doNotOverwriteMetadata() const;
    bool abortOnFirstError() const;

    /// The options table of the help text, beginning with the caption line "Options:".
    std::string optionsDecription() const;

    void checkForConflictsAndThrowIfNeeded() const;

private:
    boost::program_options::options_description description;
    boost::program_options::variables_map variablesMap;
};
