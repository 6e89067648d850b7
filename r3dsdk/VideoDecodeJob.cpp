#include "VideoDecodeJob.hpp"

namespace R3DSDK {

VideoDecodeJob::VideoDecodeJob()
    : StructureVersion(2), StructureSize(sizeof(VideoDecodeJob)), Fields{}, Extension(nullptr) {}

} // namespace R3DSDK
