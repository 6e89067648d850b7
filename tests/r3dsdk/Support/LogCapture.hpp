// Turns the client layer's log on (or leaves it off) and captures what it
// prints to standard output. The previous log state is restored afterwards.
#pragma once

#include "KeyValueStore.hpp"
#include "Log.hpp"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>

namespace R3DSDKTest {

class LogCapture {
public:
    // The store that g_keyValueStore points to while capturing; key 0 holds
    // `level`.
    explicit LogCapture(unsigned long long level = R3DSDK::LogLevelVerbose)
        : previousStore(R3DSDK::g_keyValueStore), previousLevel(R3DSDK::g_logLevel) {
        store.AddUint64(0, level);
        R3DSDK::g_keyValueStore = &store;
        std::fflush(stdout);
        testing::internal::CaptureStdout();
        capturing = true;
    }
    ~LogCapture() {
        finish();
        R3DSDK::g_keyValueStore = previousStore;
        R3DSDK::g_logLevel = previousLevel;
    }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    // Ends the capture (once) and returns everything printed during it.
    std::string finish() {
        if (capturing) {
            std::fflush(stdout);
            output = testing::internal::GetCapturedStdout();
            capturing = false;
        }
        return output;
    }

    R3DSDK::KeyValueStore store;

private:
    R3DSDK::IKeyValueStore* previousStore;
    std::uint32_t previousLevel;
    bool capturing = false;
    std::string output;
};

} // namespace R3DSDKTest
