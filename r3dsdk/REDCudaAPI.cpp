#include "REDCudaAPI.hpp"

namespace R3DSDK {

const char* const REDCudaAPI::EntryNames[REDCudaAPI::EntryCount] = {
    "fa3d942ce5e28c52edfdd8a15bc6c5bb2", "f5f6fe32356045e7b9ae5dcc8f10cd3f1",
    "fadf181828d7a5d3f804098fc974badf2", "faaf94dee59e5f337a71b10a6b73305b6",
    "f39c6791728662f4cdd4fa4fe1115fe94", "f0e43814114fe2c2006c0aaceea7645a6",
    "f227d466bdf954632e5e6fbf8f276b20e", "f58b72bf788080d575e628d7be98a9344",
    "fece87bab364482e30dfe7c6578d8950d"};

const char* REDCudaAPI::Name() const {
    return "REDCUDAAPI";
}

} // namespace R3DSDK
