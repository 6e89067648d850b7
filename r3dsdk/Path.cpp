#include "Path.hpp"

#include "Log.hpp"

namespace R3DSDK {

int Path::AddPath(const char* directory) {
    if (entries.size() >= MaximumEntries) {
        LOG("[FAIL INT. ] too many paths\n");
        return -1;
    }
    std::string text = directory;
    if (text.empty() || (text.back() != '/' && text.back() != '\\')) {
        text += '/';
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].directory == text) {
            LOG("[FAIL INT. ] path '%s' already exists at index %u\n", directory,
                static_cast<unsigned int>(i));
            return -2;
        }
    }
    PathEntry entry{};
    entry.idx = static_cast<std::uint32_t>(entries.size());
    entry.status = 1;
    entry.directory = std::move(text);
    entries.push_back(std::move(entry));
    return static_cast<int>(entries.back().idx);
}

} // namespace R3DSDK
