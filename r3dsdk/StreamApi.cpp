#include "StreamApi.hpp"

namespace R3DSDK {

OKALU_DEFINE_ENTRY_TABLE(StreamApi, OKALU_STREAM_API_ENTRIES)

} // namespace R3DSDK
