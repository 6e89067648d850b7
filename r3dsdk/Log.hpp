// The one diagnostic printer of the R3D SDK client layer. Whether it prints is
// read from the key-value store shared with the decoder library at every call,
// so a decoder library can switch the layer's diagnostics on by itself.
#pragma once

#include "LibraryContract.hpp"

#include <cstdint>

namespace R3DSDK {

class IKeyValueStore;

// The store of the current SDK state; null while there is none.
extern IKeyValueStore* g_keyValueStore;

// The log level used while g_keyValueStore is null.
extern std::uint32_t g_logLevel;

// Prints `format` with its arguments to standard output, unchanged and without
// an added line end, only when the level (StoreKeyLogLevel of g_keyValueStore,
// else g_logLevel) is exactly LogLevelVerbose. Callable at any time.
void LOG(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

} // namespace R3DSDK
