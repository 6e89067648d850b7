#include "MetadataCopy/Destinations/WrittenBytes.hpp"

#include "MetadataCopy/Destinations/DescriptorInputStream.hpp"

#define XXH_INLINE_ALL
#include <xxhash.h>

#include <algorithm>
#include <cstring>
#include <sys/stat.h>

namespace MetadataCopy {

struct WrittenBytes::HashState {
    HashState() { XXH3_64bits_reset(&hash); }
    XXH3_state_t hash;
};

WrittenBytes::WrittenBytes() : state(std::make_unique<HashState>()) {}

WrittenBytes::~WrittenBytes() = default;

void WrittenBytes::hash(const char* bytes, std::uint64_t count) {
    if (usable && count > 0) {
        usable = XXH3_64bits_update(&state->hash, bytes, static_cast<std::size_t>(count)) == XXH_OK;
    }
}

bool WrittenBytes::note(std::uint64_t offset, const char* bytes, std::uint64_t count,
                        const EarlierBytes& earlier) {
    if (!usable) {
        return false;
    }
    static const char zeros[4096] = {};
    while (size < offset) {
        const std::uint64_t hole = std::min<std::uint64_t>(offset - size, sizeof zeros);
        hash(zeros, hole);
        size += hole;
    }
    const std::uint64_t overwritten = std::min(count, size - offset);
    if (overwritten > 0) {
        // The region grows to cover this overwrite too, and as much again of
        // what follows, since an overwrite (a table of offsets written entry
        // by entry) tends to go on there: a table of any size is then read in
        // a few reads, and kept in about twice its size. What the region takes
        // in beside the bytes overwritten never was, so the file holds it as
        // first written.
        const std::uint64_t start = current.empty() ? offset : std::min(regionStart, offset);
        const std::uint64_t oldEnd = current.empty() ? offset : regionStart + current.size();
        const std::uint64_t end =
            offset + overwritten > oldEnd
                ? std::min(size, offset + overwritten + std::max(readAhead, current.size()))
                : oldEnd;
        std::string before(static_cast<std::size_t>(current.empty() ? 0 : regionStart - start),
                           '\0');
        std::string after(static_cast<std::size_t>(end - oldEnd), '\0');
        if ((!before.empty() && !earlier(&before[0], before.size(), start)) ||
            (!after.empty() && !earlier(&after[0], after.size(), oldEnd))) {
            return usable = false;
        }
        current.insert(0, before).append(after);
        firstWritten.insert(0, before).append(after);
        regionStart = start;
        std::copy(bytes, bytes + overwritten,
                  current.begin() + static_cast<std::ptrdiff_t>(offset - regionStart));
    }
    hash(bytes + overwritten, count - overwritten);
    size += count - overwritten;
    return usable;
}

bool WrittenBytes::isHeldBy(int descriptor) const {
    struct stat status;
    if (!usable || ::fstat(descriptor, &status) != 0 ||
        static_cast<std::uint64_t>(status.st_size) != size) {
        return false;
    }
    HashState readBack;
    const std::unique_ptr<char[]> block(new char[std::min(readBackBlock, size + 1)]);
    const std::uint64_t regionEnd = regionStart + current.size();
    for (std::uint64_t offset = 0; offset < size;) {
        const std::uint64_t count = std::min(readBackBlock, size - offset);
        if (DescriptorInputStream::readAt(descriptor, block.get(), count, offset) !=
            static_cast<std::int64_t>(count)) {
            return false;
        }
        // Where the block meets the region, the file must hold the region as
        // it is now, and the hash takes it as first written.
        const std::uint64_t from = std::max(offset, regionStart);
        const std::uint64_t to = std::min(offset + count, regionEnd);
        if (from < to) {
            const std::size_t inBlock = static_cast<std::size_t>(from - offset);
            const std::size_t inRegion = static_cast<std::size_t>(from - regionStart);
            const std::size_t length = static_cast<std::size_t>(to - from);
            if (std::memcmp(block.get() + inBlock, current.data() + inRegion, length) != 0) {
                return false;
            }
            std::memcpy(block.get() + inBlock, firstWritten.data() + inRegion, length);
        }
        if (XXH3_64bits_update(&readBack.hash, block.get(), static_cast<std::size_t>(count)) !=
            XXH_OK) {
            return false;
        }
        offset += count;
    }
    return XXH3_64bits_digest(&readBack.hash) == XXH3_64bits_digest(&state->hash);
}

} // namespace MetadataCopy
