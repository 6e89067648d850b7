#include "R3DTrimApi.hpp"

namespace R3DSDK {

OKALU_DEFINE_ENTRY_TABLE(R3DTrimApi, OKALU_R3D_TRIM_API_ENTRIES)

} // namespace R3DSDK
