#include "AsyncDecoderApi.hpp"

namespace R3DSDK {

OKALU_DEFINE_ENTRY_TABLE(AsyncDecoderApi, OKALU_ASYNC_DECODER_API_ENTRIES)

} // namespace R3DSDK
