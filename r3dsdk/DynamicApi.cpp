#include "DynamicApi.hpp"

namespace R3DSDK {

DynamicApi::DynamicApi() : loaded(false) {}

DynamicApi::~DynamicApi() = default;

unsigned int DynamicApi::Options() const {
    return 0;
}

bool DynamicApi::Loaded() const {
    return loaded;
}

bool DynamicApi::Conclude(bool allFound) {
    loaded = allFound;
    return allFound;
}

} // namespace R3DSDK
