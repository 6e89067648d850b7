// Feeds arbitrary text and frame rates to the timecode constructor. A text it
// accepts must come back unchanged through its own text form, and frame
// arithmetic on it must agree with itself.
//
// Input layout: one byte choosing the rate (a common rate from the table, or,
// past the table, the next four bytes as a float of any bit pattern), then
// the timecode text.
#include "FuzzCheck.hpp"

#include "Timecode/InvalidTimecodeException.hpp"
#include "Timecode/Timecode.hpp"

#include <cmath>
#include <limits>
#include <string>

namespace {

const float commonRates[] = {0.0f,
                             23.976f,
                             24.0f,
                             25.0f,
                             29.97f,
                             30.0f,
                             47.952f,
                             48.0f,
                             50.0f,
                             59.94f,
                             60.0f,
                             120.0f,
                             1.0f,
                             0.5f,
                             -25.0f,
                             std::numeric_limits<float>::quiet_NaN(),
                             std::numeric_limits<float>::infinity()};
const std::size_t commonRateCount = sizeof commonRates / sizeof commonRates[0];

void checkRoundTrip(const Timecode::Timecode& timecode) {
    const std::string text = timecode.string(false);
    const Timecode::Timecode again(text.c_str(), timecode.fps);
    FUZZ_CHECK(again.hours == timecode.hours && again.minutes == timecode.minutes &&
               again.seconds == timecode.seconds && again.frames == timecode.frames);
    // The text form with the rate must be producible for every accepted rate.
    FUZZ_CHECK(!timecode.string(true).empty());
}

// Moving forward by n frames and subtracting the start again must give n,
// and the later timecode must order after the earlier one.
void checkArithmetic(const Timecode::Timecode& timecode, unsigned int step) {
    if (!(timecode.fps > 0.0f) || !std::isfinite(timecode.fps)) {
        return;
    }
    Timecode::Timecode later = timecode;
    try {
        later += step;
    } catch (const Timecode::InvalidTimecodeException&) {
        return; // the hours would not fit
    }
    FUZZ_CHECK(later.minutes < 60 && later.seconds < 60);
    FUZZ_CHECK(static_cast<float>(later.frames) < std::ceil(timecode.fps));
    unsigned int distance = 0;
    try {
        distance = later - timecode;
    } catch (const Timecode::InvalidTimecodeException&) {
        return; // frame totals beyond 32 bits
    }
    FUZZ_CHECK(distance == step);
    FUZZ_CHECK(!(later < timecode));
    FUZZ_CHECK((step == 0) == (later == timecode));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::uint8_t choice = FuzzInput::takeByte(data, size);
    const float fps =
        choice < commonRateCount ? commonRates[choice] : FuzzInput::takeFloat(data, size);
    const std::uint8_t step = FuzzInput::takeByte(data, size);
    const std::string text(reinterpret_cast<const char*>(data), size);

    try {
        const Timecode::Timecode timecode(text.c_str(), fps);
        FUZZ_CHECK(timecode.minutes < 60 && timecode.seconds < 60);
        FUZZ_CHECK(fps == 0.0f || static_cast<float>(timecode.frames) < fps);
        checkRoundTrip(timecode);
        checkArithmetic(timecode, step * 97u);
    } catch (const Timecode::InvalidTimecodeException&) {
        // a refusal is a correct answer to a malformed text
    }
    return 0;
}
