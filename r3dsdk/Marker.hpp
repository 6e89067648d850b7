// One marker of a clip, filled by the decoder library. Shared with the
// library by byte layout (32 bytes); the meaning of its fields is the
// library's.
#pragma once

#include <cstddef>
#include <cstdint>

namespace R3DSDK {

struct Marker {
    /// Version 1, size 32, the signed field -1 and both 64-bit fields 0.
    Marker();

    std::uint32_t StructureVersion;
    std::uint32_t StructureSize;
    std::int32_t Field8;
    std::uint64_t Field16;
    std::uint64_t Field24;
};

static_assert(sizeof(Marker) == 32, "layout shared with the decoder library");
static_assert(offsetof(Marker, Field8) == 8, "layout");
static_assert(offsetof(Marker, Field16) == 16, "layout");
static_assert(offsetof(Marker, Field24) == 24, "layout");

} // namespace R3DSDK
