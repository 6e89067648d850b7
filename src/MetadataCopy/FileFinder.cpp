#include "MetadataCopy/FileFinder.hpp"

#include <algorithm>
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

// A "*" is the wildcard: any sequence of characters, line breaks included,
// which the expression "." alone does not match. Read as the expression
// engine reads the pattern, a star inside a character class or right after a
// backslash never was a wildcard; it keeps the ".*" it always had there, so
// that such components mean what they meant.
std::string widenStars(const std::string& pattern) {
    std::string widened;
    bool inClass = false;
    for (std::size_t index = 0; index < pattern.size(); ++index) {
        const char character = pattern[index];
        if (character == '\\' && index + 1 < pattern.size()) {
            const char escaped = pattern[++index];
            widened += character;
            widened += escaped == '*' ? std::string(".*") : std::string(1, escaped);
        } else if (character == '*') {
            widened += inClass ? ".*" : "[\\s\\S]*";
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
    return std::regex(widenStars(pattern), std::regex::ECMAScript);
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
