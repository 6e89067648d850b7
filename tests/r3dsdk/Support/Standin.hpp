// Where the tests find the stand-in decoder library variants, and a view of a
// variant's call counts that keeps the library loaded while it is held.
#pragma once

#include "standin/StandinCallCounts.hpp"

#include <dlfcn.h>
#include <string>

namespace R3DSDKTest {

// The directory of a variant, ending in "/".
inline std::string standinDirectory(const std::string& variant) {
    return std::string(OKALU_STANDIN_ROOT) + "/" + variant + "/";
}

inline std::string standinPath(const std::string& variant,
                               const std::string& file = "REDR3D.dylib") {
    return standinDirectory(variant) + file;
}

// Whether the file is currently loaded into the process, without loading it.
inline bool isLoaded(const std::string& path) {
    void* handle = dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL | RTLD_NOLOAD);
    if (handle == nullptr) {
        return false;
    }
    dlclose(handle);
    return true;
}

// Holds its own handle of a variant, so its counts survive the client
// unloading it, and reads them.
class StandinCalls {
public:
    explicit StandinCalls(const std::string& path)
        : handle(dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL)) {
        if (handle != nullptr) {
            auto entry = reinterpret_cast<StandinCallCountsEntry>(
                dlsym(handle, "okalu_standin_call_counts"));
            counts = entry != nullptr ? entry() : nullptr;
        }
    }
    ~StandinCalls() {
        if (handle != nullptr) {
            dlclose(handle);
        }
    }
    StandinCalls(const StandinCalls&) = delete;
    StandinCalls& operator=(const StandinCalls&) = delete;

    void* libraryHandle() const { return handle; }
    bool valid() const { return counts != nullptr; }
    unsigned int initializeCalls(unsigned int phase) const { return counts->initialize[phase]; }
    unsigned int lastHandleCount(unsigned int phase) const {
        return counts->lastHandleCount[phase];
    }
    unsigned int finalizeCalls() const { return counts->finalize; }

private:
    void* handle;
    const StandinCallCounts* counts = nullptr;
};

} // namespace R3DSDKTest
