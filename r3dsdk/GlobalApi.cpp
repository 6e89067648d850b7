#include "GlobalApi.hpp"

namespace R3DSDK {

OKALU_DEFINE_ENTRY_TABLE(GlobalApi, OKALU_GLOBAL_API_ENTRIES)

} // namespace R3DSDK
