#include "GpuDecoderApi.hpp"

namespace R3DSDK {

OKALU_DEFINE_ENTRY_TABLE(GpuDecoderApi, OKALU_GPU_DECODER_API_ENTRIES)

} // namespace R3DSDK
