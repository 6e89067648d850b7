#include "MetadataCopy/Destinations/PrefixRecordingStream.hpp"

#include <algorithm>

namespace MetadataCopy {

PrefixRecordingStream::PrefixRecordingStream(Imf::OStream& target, std::uint64_t prefixLength)
    : Imf::OStream(target.fileName()), target(target), prefixLength(prefixLength) {}

void PrefixRecordingStream::write(const char c[], int n) {
    target.write(c, n);
    const std::uint64_t count = n > 0 ? static_cast<std::uint64_t>(n) : 0;
    // Only what continues or overwrites the recorded bytes keeps them whole.
    if (position < prefixLength && position <= recorded.size()) {
        const std::uint64_t kept = std::min(count, prefixLength - position);
        recorded.replace(
            static_cast<std::size_t>(position),
            std::min<std::size_t>(static_cast<std::size_t>(kept),
                                  recorded.size() - static_cast<std::size_t>(position)),
            c, static_cast<std::size_t>(kept));
    }
    position += count;
}

void PrefixRecordingStream::seekp(uint64_t pos) {
    target.seekp(pos);
    position = pos;
}

} // namespace MetadataCopy
