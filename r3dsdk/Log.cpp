#include "Log.hpp"

#include "IKeyValueStore.hpp"

#include <cstdarg>
#include <cstdio>

namespace R3DSDK {

IKeyValueStore* g_keyValueStore = nullptr;
std::uint32_t g_logLevel = 0;

void LOG(const char* format, ...) {
    const unsigned long long level =
        g_keyValueStore != nullptr ? g_keyValueStore->GetUint64(StoreKeyLogLevel) : g_logLevel;
    if (level != LogLevelVerbose) {
        return;
    }
    va_list arguments;
    va_start(arguments, format);
    std::vprintf(format, arguments);
    va_end(arguments);
}

} // namespace R3DSDK
