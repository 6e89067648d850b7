#include "MetadataCopy/FileFinder.hpp"

#include <algorithm>
#include <cctype>
#include <regex>

#include <boost/algorithm/string/replace.hpp>
#include <boost/filesystem.hpp>

namespace MetadataCopy {

namespace {

// A listing that fails part way keeps the names read until then: a directory that cannot be read
// completely should still give the user what could be read rather than nothing.
std::vector<std::string> namesOfAllFilesInDirectory(const boost::filesystem::path& directory) {
    std::vector<std::string> names;
    try {
        for (boost::filesystem::directory_iterator entry(directory), end; entry != end; ++entry) {
            if (boost::filesystem::is_regular_file(entry->path())) {
                names.push_back(entry->path().filename().string());
            }
        }
    } catch (const boost::filesystem::filesystem_error&) {
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Whether the characters from `index` on start a quantifier that would repeat
// the repetition before them: "+" or a counted "{n}", "{n,}", "{n,m}". The
// engine accepts such a nested quantifier, although ECMAScript refuses it, and
// then takes time exponential in the name's length to match it. A "{" that
// starts no count is left to the engine, which refuses it in its own words.
bool startsNestedQuantifier(const std::string& pattern, std::size_t index) {
    return index < pattern.size() &&
           (pattern[index] == '+' ||
            (pattern[index] == '{' && index + 1 < pattern.size() &&
             std::isdigit(static_cast<unsigned char>(pattern[index + 1]))));
}

// A "*" is the wildcard: any sequence of characters, line breaks included,
// which the expression "." alone does not match. Read as the expression
// engine reads the pattern, a star inside a character class or right after a
// backslash never was a wildcard; it keeps the ".*" it always had there, so
// that such components mean what they meant. `repeatsAStar` tells whether a
// star outside a class is followed by a quantifier of its own.
std::string widenStars(const std::string& pattern, bool& repeatsAStar) {
    std::string widened;
    bool inClass = false;
    repeatsAStar = false;
    for (std::size_t index = 0; index < pattern.size(); ++index) {
        const char character = pattern[index];
        if (character == '\\' && index + 1 < pattern.size()) {
            const char escaped = pattern[++index];
            widened += character;
            widened += escaped == '*' ? std::string(".*") : std::string(1, escaped);
            repeatsAStar |=
                escaped == '*' && !inClass && startsNestedQuantifier(pattern, index + 1);
        } else if (character == '*') {
            widened += inClass ? ".*" : "[\\s\\S]*";
            repeatsAStar |= !inClass && startsNestedQuantifier(pattern, index + 1);
        } else {
            if (character == '[') {
                inClass = true;
            } else if (character == ']') {
                inClass = false;
            }
            widened += character;
        }
    }
    return widened;
}

std::regex patternOfComponent(const std::string& component) {
    // The dots are escaped before the stars are widened, so that the
    // wildcards stay wildcards. Everything else keeps its meaning in an
    // expression (a character class works).
    std::string pattern = "^" + component + "$";
    boost::algorithm::replace_all(pattern, ".", "\\.");
    bool repeatsAStar = false;
    std::regex expression(widenStars(pattern, repeatsAStar), std::regex::ECMAScript);
    // Checked once the engine has accepted the pattern, so that a pattern that
    // is wrong in another way too keeps the engine's message.
    if (repeatsAStar) {
        throw std::regex_error(std::regex_constants::error_badrepeat);
    }
    return expression;
}

} // namespace

std::vector<std::string> FileFinder::find(const std::vector<std::string>& arguments) {
    std::vector<std::string> filePaths;
    for (const std::string& argument : arguments) {
        try {
            boost::filesystem::path path(argument);
            path.make_preferred();
            // The current directory is asked for only when needed: an absolute argument must
            // still work when the current directory has been removed.
            const boost::filesystem::path absolutePath =
                path.is_absolute()
                    ? path
                    : boost::filesystem::absolute(path, boost::filesystem::current_path());

            // A file whose name holds "*" is taken as it stands before any pattern is built.
            if (boost::filesystem::is_regular_file(absolutePath)) {
                filePaths.push_back(absolutePath.string());
                continue;
            }

            const std::string component = absolutePath.filename().string();
            if (component.find('*') == std::string::npos) {
                continue;
            }

            const std::regex pattern = patternOfComponent(component);
            const boost::filesystem::path directory = absolutePath.parent_path();
            for (const std::string& name : namesOfAllFilesInDirectory(directory)) {
                if (std::regex_search(name, pattern)) {
                    filePaths.push_back((directory / name).string());
                }
            }
        } catch (const boost::filesystem::filesystem_error&) {
            // An argument that cannot be examined names no file; the count shows it.
        }
    }
    return filePaths;
}

} // namespace MetadataCopy
