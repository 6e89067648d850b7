#include "ApplicationOptions.hpp"

#include <sstream>
#include <stdexcept>

namespace po = boost::program_options;

ApplicationOptions::ApplicationOptions(int argc, const char** argv)
    : description("Options", po::options_description::m_default_line_length,
                  po::options_description::m_default_line_length / 2) {
    try {
        // clang-format off
        description.add_options()
            ("help,h", "Display help text and exit.")
            ("version", "Output version information and exit.")
            ("source,s", po::value<std::vector<std::string>>()->multitoken()->required(),
             "Path to one or more files where the metadata shall be copied from.")
            ("destination,d", po::value<std::vector<std::string>>()->multitoken()->required(),
             "Path to one or more files where the metadata shall be copied to.")
            ("ask-before-overwriting-metadata", "Prompt before overwriting existing metadata.")
            ("do-not-overwrite-metadata", "Do not overwrite existing metadata.")
            ("abort-on-first-error", "Abort copying on the first error occured.");
        // clang-format on

        // Without a positional description Boost drops an argument that follows a switch
        // ("--abort-on-first-error b.exr") without a word, and that file would silently not be
        // copied. An empty description makes Boost refuse every such argument instead.
        const po::positional_options_description noPositionalOptions;
        po::store(po::command_line_parser(argc, argv)
                      .options(description)
                      .positional(noPositionalOptions)
                      .style(po::command_line_style::default_style)
                      .run(),
                  variablesMap, false);
        po::notify(variablesMap);
        checkForConflictsAndThrowIfNeeded();
    } catch (const po::required_option& error) {
        // "okalu-tafe -h" must print the help text, not complain about the missing paths; the
        // conflict check is skipped as well then, since the help text ends the run anyway.
        if (help() || version()) {
            return;
        }
        throw error;
    }
}

bool ApplicationOptions::help() const {
    return variablesMap.count("help") > 0;
}

bool ApplicationOptions::version() const {
    return variablesMap.count("version") > 0;
}

std::vector<std::string> ApplicationOptions::source() const {
    return variablesMap["source"].as<std::vector<std::string>>();
}

std::vector<std::string> ApplicationOptions::destination() const {
    return variablesMap["destination"].as<std::vector<std::string>>();
}

bool ApplicationOptions::askBeforeOverwritingMetadata() const {
    return variablesMap.count("ask-before-overwriting-metadata") > 0;
}

bool ApplicationOptions::doNotOverwriteMetadata() const {
    return variablesMap.count("do-not-overwrite-metadata") > 0;
}

bool ApplicationOptions::abortOnFirstError() const {
    return variablesMap.count("abort-on-first-error") > 0;
}

std::string ApplicationOptions::optionsDecription() const {
    std::stringstream stream(std::ios_base::in | std::ios_base::out);
    stream << description;
    return stream.str();
}

void ApplicationOptions::checkForConflictsAndThrowIfNeeded() const {
    if (askBeforeOverwritingMetadata() && doNotOverwriteMetadata()) {
        throw std::logic_error("Conflicting options \"--ask-before-overwriting-metadata\" and "
                               "\"--do-not-overwrite-metadata\".");
    }
}
