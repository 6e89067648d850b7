// What the tests of the loader, the start-up, the clip wrappers and the value
// records share: the stand-in variants and the log capture, reading a record
// the way the decoder library does, and entry-point tables of fakes.
#pragma once

#include "Support/LogCapture.hpp"
#include "Support/Standin.hpp"

#include "GlobalData.hpp"
#include "SdkLifecycle.hpp"

#include <cstddef>
#include <cstring>
#include <string>

namespace R3DSDKTest {

inline bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The value of type T at a byte offset of a record, as the library reads it.
template <typename T, typename Record> T bytesAt(const Record& record, std::size_t offset) {
    T value;
    std::memcpy(&value, reinterpret_cast<const unsigned char*>(&record) + offset, sizeof(T));
    return value;
}

// Tables whose entries a test fills with fakes, published in place of a
// started SDK while the object lives.
struct FakeTables {
    FakeTables() {
        R3DSDK::FinalizeSdk();
        R3DSDK::g_global = &global;
        R3DSDK::g_clip = &clip;
        R3DSDK::g_metadata = &metadata;
    }
    ~FakeTables() {
        R3DSDK::g_global = nullptr;
        R3DSDK::g_clip = nullptr;
        R3DSDK::g_metadata = nullptr;
    }
    FakeTables(const FakeTables&) = delete;
    FakeTables& operator=(const FakeTables&) = delete;

    R3DSDK::GlobalApi global;
    R3DSDK::ClipApi clip;
    R3DSDK::MetadataApi metadata;
};

} // namespace R3DSDKTest
