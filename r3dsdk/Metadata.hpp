// The metadata of one frame of a clip, filled by Clip::GetFrameMetadata. The
// decoder library owns what the handle points to; the object begins like the
// value records (structure version and size) because the library is handed
// its address when the handle is made.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace R3DSDK {

class Clip;

// Every operation requires a successful InitializeSdk and must not be used
// after FinalizeSdk: it calls the decoder library without further checks.
class Metadata {
public:
    /// Asks the decoder library for a frame-metadata handle.
    Metadata();
    /// Releases the handle, when there is one.
    ~Metadata();
    Metadata(const Metadata&) = delete;
    Metadata& operator=(const Metadata&) = delete;

    std::size_t MetadataCount() const;
    bool MetadataExists(const char* key) const;
    std::string MetadataItemKey(std::size_t index) const;
    unsigned int MetadataItemAsInt(const char* key) const;
    unsigned int MetadataItemAsInt(std::size_t index) const;
    /// The item's text; empty when the library stores none.
    std::string MetadataItemAsString(const char* key) const;
    std::string MetadataItemAsString(std::size_t index) const;
    float MetadataItemAsFloat(const char* key) const;
    float MetadataItemAsFloat(std::size_t index) const;
    int MetadataItemType(const char* key) const;
    int MetadataItemType(std::size_t index) const;

private:
    friend class Clip;

    std::uint32_t structureVersion;
    std::uint32_t structureSize;
    void* handle;
};

} // namespace R3DSDK
