#pragma once

#include <string>
#include <vector>

namespace MetadataCopy {

/// Expands SOURCE and DESTINATION arguments into the existing regular files they name.
class FileFinder {
public:
    /// Returns, as absolute paths and in the order of the arguments, every regular file that the
    /// arguments name. An argument naming a regular file yields that file; otherwise a "*" in its
    /// last component makes that component a case-sensitive pattern ("." literal, "*" any run of
    /// characters) over the regular files of its directory, yielded in byte order of their names.
    /// Nothing is merged: a file named twice is returned twice. Arguments that name nothing yield
    /// nothing, silently; file-system errors are never reported.
    ///
    /// Throws std::regex_error when a last component is no valid ECMAScript expression once built
    /// into a pattern (an unbalanced "(" or "[", or a "*" followed by "+" or by a count such as
    /// "{1000}", for example).
    static std::vector<std::string> find(const std::vector<std::string>& arguments);
};

} // namespace MetadataCopy
