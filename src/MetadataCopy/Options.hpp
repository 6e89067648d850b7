// The user's choices from the command line that shape a copy run, carried from
// the application to the console delegate.
#pragma once

#include <cstdint>

namespace MetadataCopy {

struct Options {
    /// What to do with a destination that already holds the metadata:
    /// 0 = overwrite it, 1 = leave it, 2 = ask the user for each such file.
    std::uint32_t overwritePolicy;
    /// Stop the run after the first destination that fails.
    bool abortOnFirstError;
};

} // namespace MetadataCopy
