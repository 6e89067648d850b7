#include "ClipApi.hpp"

namespace R3DSDK {

OKALU_DEFINE_ENTRY_TABLE(ClipApi, OKALU_CLIP_API_ENTRIES)

} // namespace R3DSDK
