// One request to decode a video frame. Shared with the decoder library by
// byte layout (72 bytes): two words, then eight 64-bit fields whose meaning
// is the library's.
#pragma once

#include <cstddef>
#include <cstdint>

namespace R3DSDK {

struct VideoDecodeJob {
    /// Version 2, size 72, every field 0 or null.
    VideoDecodeJob();

    std::uint32_t StructureVersion;
    std::uint32_t StructureSize;
    std::uint64_t Fields[7];
    // Points at an object whose second pointer-sized word is what the library
    // actually receives in this place; the decode calls make that swap on a
    // copy of the job, never on the caller's record.
    const void* Extension;
};

static_assert(sizeof(void*) == 8, "the decode job carries a 64-bit pointer");
static_assert(sizeof(VideoDecodeJob) == 72, "layout shared with the decoder library");
static_assert(offsetof(VideoDecodeJob, Fields) == 8, "layout");
static_assert(offsetof(VideoDecodeJob, Extension) == 64, "layout");

} // namespace R3DSDK
