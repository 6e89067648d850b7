// What the fuzz targets share: a check that stops the run on a broken
// property (libFuzzer then keeps the input as a crash), and a way to read a
// few leading bytes of an input as parameters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// A property that must hold for every input; its failure is a finding, so
// the process aborts and libFuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition);  \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace FuzzInput {

/// Takes the first byte of the input, or 0 when there is none.
inline std::uint8_t takeByte(const std::uint8_t*& data, std::size_t& size) {
    if (size == 0) {
        return 0;
    }
    const std::uint8_t byte = *data;
    ++data;
    --size;
    return byte;
}

/// Takes the next four bytes as a float (any bit pattern: NaN and infinities
/// included), or 0 when fewer remain.
inline float takeFloat(const std::uint8_t*& data, std::size_t& size) {
    float value = 0.0f;
    if (size >= sizeof value) {
        std::memcpy(&value, data, sizeof value);
        data += sizeof value;
        size -= sizeof value;
    }
    return value;
}

} // namespace FuzzInput
