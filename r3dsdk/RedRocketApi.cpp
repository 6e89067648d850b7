#include "RedRocketApi.hpp"

namespace R3DSDK {

OKALU_DEFINE_ENTRY_TABLE(RedRocketApi, OKALU_RED_ROCKET_API_ENTRIES)

} // namespace R3DSDK
