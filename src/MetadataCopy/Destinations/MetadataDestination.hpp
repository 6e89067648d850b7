// One file that is to receive the copied metadata, as the copying director and
// the console delegate see it, and the process-wide creator text that every
// written JSON document names.
#pragma once

#include "MetadataCopy/Metadata.hpp"
#include "Timecode/Timecode.hpp"

#include <string>

namespace MetadataCopy {

// No virtual destructor: every destination is made with std::make_shared of
// its concrete type, whose control block destroys it through that type.
class MetadataDestination {
public:
    /// The name shown to the user: the last component of the path.
    virtual std::string fileName() const = 0;

    /// The timecode of the image, used to pick the source's frame.
    virtual Timecode::Timecode timecode() const = 0;

    /// Whether the destination already holds this system's metadata entry.
    virtual bool doesMetadataEntryExist() const = 0;

    /// Stores the metadata, adding the entry or replacing the one there.
    virtual void writeMetadata(const Metadata& metadata) const = 0;

    /// A copy of the creator text; empty until setMetadataCreator is called.
    static std::string metadataCreator();

    /// Replaces the creator text. Set once, before any destination is
    /// written; there is no lock.
    static void setMetadataCreator(const std::string& creator);

protected:
    MetadataDestination() = default;
    MetadataDestination(const MetadataDestination&) = default;
    MetadataDestination& operator=(const MetadataDestination&) = default;
    // Protected and non-virtual: deleting through this base is not allowed.
    ~MetadataDestination() = default;
};

} // namespace MetadataCopy
