#include "MetadataApi.hpp"

namespace R3DSDK {

OKALU_DEFINE_ENTRY_TABLE(MetadataApi, OKALU_METADATA_API_ENTRIES)

} // namespace R3DSDK
