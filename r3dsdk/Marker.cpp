#include "Marker.hpp"

namespace R3DSDK {

Marker::Marker()
    : StructureVersion(1), StructureSize(sizeof(Marker)), Field8(-1), Field16(0), Field24(0) {}

} // namespace R3DSDK
