// Feeds arbitrary argument lists to the command-line parser. It may refuse a
// list only with an exception that main reports (a std::exception); a list it
// accepts must answer consistently: without "help" or "version" both SOURCE
// and DESTINATION hold at least one argument taken from the list, and the two
// overwrite switches never come together.
//
// Input layout: the arguments after the program name, separated by NUL bytes.
#include "FuzzCheck.hpp"

#include "ApplicationOptions.hpp"

#include <algorithm>
#include <exception>
#include <string>
#include <vector>

namespace {

// A bound that keeps single runs short; Boost treats long lists alike.
const std::size_t maximumArgumentCount = 64;

bool allAmong(const std::vector<std::string>& values, const std::vector<std::string>& arguments) {
    for (const std::string& value : values) {
        // A value is an argument itself or what follows "=" or a short
        // option's letter in one ("--source=a", "-sa").
        const bool found = std::any_of(arguments.begin(), arguments.end(), [&](const auto& arg) {
            return arg.size() >= value.size() &&
                   arg.compare(arg.size() - value.size(), value.size(), value) == 0;
        });
        if (!found) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> arguments{"okalu-tafe"};
    std::string current;
    for (std::size_t index = 0; index < size && arguments.size() < maximumArgumentCount; ++index) {
        if (data[index] == 0) {
            arguments.push_back(current);
            current.clear();
        } else {
            current.push_back(static_cast<char>(data[index]));
        }
    }
    if (size > 0 && arguments.size() < maximumArgumentCount) {
        arguments.push_back(current);
    }
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(argument.c_str());
    }
    argv.push_back(nullptr);

    try {
        const ApplicationOptions options(static_cast<int>(arguments.size()), argv.data());
        FUZZ_CHECK(options.optionsDecription().compare(0, 8, "Options:") == 0);
        if (options.help() || options.version()) {
            return 0;
        }
        const std::vector<std::string> sources = options.source();
        const std::vector<std::string> destinations = options.destination();
        FUZZ_CHECK(!sources.empty() && !destinations.empty());
        FUZZ_CHECK(allAmong(sources, arguments) && allAmong(destinations, arguments));
        FUZZ_CHECK(!(options.askBeforeOverwritingMetadata() && options.doNotOverwriteMetadata()));
    } catch (const std::exception&) {
        // reported by main as the exception's text
    }
    return 0;
}
