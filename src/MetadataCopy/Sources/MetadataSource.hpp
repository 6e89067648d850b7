// The one container from which lens metadata is copied, as the copying
// director sees it. A concrete source reads its whole container while it is
// constructed, so that answering a timecode later needs no file access.
#pragma once

#include "MetadataCopy/Metadata.hpp"
#include "Timecode/Timecode.hpp"

namespace MetadataCopy {

// No virtual destructor: every source is made with std::make_shared of its
// concrete type, whose control block destroys it through that type.
class MetadataSource {
public:
    /// The metadata for the image with the given timecode: the source's header
    /// metadata and the frame metadata its matching rule picks. Throws
    /// Exception when the source has no answer; never changes the source.
    virtual Metadata metadata(const Timecode::Timecode& timecode) const = 0;

protected:
    MetadataSource() = default;
    MetadataSource(const MetadataSource&) = default;
    MetadataSource& operator=(const MetadataSource&) = default;
    // Protected and non-virtual: deleting through this base is not allowed.
    ~MetadataSource() = default;
};

} // namespace MetadataCopy
