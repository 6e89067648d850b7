#include "REDMetalAPI.hpp"

namespace R3DSDK {

REDMetalAPI* NewREDMetalAPI() {
    return new REDMetalAPI();
}

void DeleteREDMetalAPI(REDMetalAPI* api) {
    delete api;
}

} // namespace R3DSDK
