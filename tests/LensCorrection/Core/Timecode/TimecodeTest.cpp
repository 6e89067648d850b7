#include "Timecode/Timecode.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

using Timecode::InvalidTimecodeException;
using TC = Timecode::Timecode;

const float notANumber = std::numeric_limits<float>::quiet_NaN();
const char* const invalidFormat = "Timecode object could not be constructed due to invalid format.";
const char* const impossibleSubtraction = "Timecode subtraction could not be performed.";
const char* const impossibleAddition = "Timecode addition could not be performed.";

// Runs the call and returns the detailed description of what it threw, or ""
// when it did not.
template <typename Call> std::string thrownDescription(Call call) {
    try {
        call();
    } catch (const InvalidTimecodeException& exception) {
        return exception.detailedDescription();
    }
    return "";
}

// The what() text alone: the first line of the description.
template <typename Call> std::string thrownMessage(Call call) {
    const std::string description = thrownDescription(call);
    return description.substr(0, description.find('\n'));
}

TEST(TimecodeTest, ValidTextsAndTheirTextForms) {
    const struct {
        const char* text;
        float fps;
        const char* plain;
        const char* withRate;
    } cases[] = {
        {"10:00:00:00", 25.0f, "10:00:00:00", "10:00:00:00@25"},
        {"1:2:3:4", 0.0f, "01:02:03:04", "01:02:03:04@0"},
        {"00:00:00:23", 23.976f, "00:00:00:23", "00:00:00:23@23.98"},
        {"00:00:00:99", 0.0f, "00:00:00:99", "00:00:00:99@0"},
        {"00:59:59:24", 25.0f, "00:59:59:24", "00:59:59:24@25"},
        {"1000:00:00:00", 25.0f, "1000:00:00:00", "1000:00:00:00@25"},
        {"+1:00:00:00", 25.0f, "01:00:00:00", "01:00:00:00@25"},
    };
    for (const auto& c : cases) {
        const TC timecode(c.text, c.fps);
        EXPECT_EQ(timecode.string(false), c.plain) << c.text;
        EXPECT_EQ(timecode.string(true), c.withRate) << c.text;
    }
}

TEST(TimecodeTest, InvalidTextsAreRefusedWithTheTextAndRateInTheDetails) {
    const struct {
        const char* text;
        float fps;
    } cases[] = {
        {"00:00:00:24", 23.976f}, {"00:00:00:25", 25.0f},  {"00:60:00:00", 25.0f},
        {"00:00:60:00", 25.0f},   {"10:00:00", 25.0f},     {"10:00:00:00:00", 25.0f},
        {"10;00;00;00", 25.0f},   {"10:00:00:", 25.0f},    {"", 0.0f},
        {" 10:00:00:00", 0.0f},   {"10:00:00:0a", 0.0f},   {"4294967296:00:00:00", 0.0f},
        {"00:-1:00:00", 25.0f},   {"10:00:00:00", -25.0f}, {"10:00:00:00", notANumber},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(thrownMessage([&] { TC(c.text, c.fps); }), invalidFormat) << c.text;
    }

    EXPECT_EQ(thrownDescription([] { TC("bad", 25.0f); }),
              std::string(invalidFormat) +
                  "\nTimecode String: \"bad\"\nFrames per Second: \"25\"\n");
}

TEST(TimecodeDeathTest, NullTextIsAnAssertion) {
    EXPECT_DEATH(TC(nullptr, 25.0f), "_timecode");
}

TEST(TimecodeTest, MovingForwardAndSubtractingCountAtTheCeilingOfTheRate) {
    EXPECT_EQ((TC("00:00:59:24", 25.0f) + 1).string(true), "00:01:00:00@25");
    EXPECT_EQ((TC("23:59:59:24", 25.0f) + 1).string(false), "24:00:00:00");
    EXPECT_EQ((TC("00:00:00:23", 23.976f) + 1).string(false), "00:00:01:00");
    // Far past 32 bits of frames in total, yet hours still fit.
    EXPECT_EQ((TC("1000000:00:00:00", 2000.0f) + 4000000000u).string(false), "1000555:33:20:00");

    EXPECT_EQ(TC("10:00:01:00", 0.0f) - TC("10:00:00:00", 25.0f), 25u);
    EXPECT_EQ(TC("00:00:00:30", 0.0f) - TC("00:00:00:00", 25.0f), 30u);
    EXPECT_EQ(TC("00:00:01:00", 23.976f) - TC("00:00:00:00", 23.976f), 24u);
    EXPECT_EQ(TC("00:00:00:4294967295", 0.0f) - TC("00:00:00:00", 1.0f), 4294967295u);
}

TEST(TimecodeTest, MovingForwardWithoutAUsableRateOrPastTheLastHourThrows) {
    for (const float fps : {0.0f, notANumber, std::numeric_limits<float>::infinity(), 1e20f}) {
        TC timecode("10:00:00:00", 0.0f);
        timecode.fps = fps;
        EXPECT_EQ(thrownMessage([&] { timecode += 1; }), impossibleAddition) << fps;
        EXPECT_EQ(timecode.string(false), "10:00:00:00");
    }
    EXPECT_EQ(thrownMessage([] { TC("4294967295:59:59:24", 25.0f) + 1; }), impossibleAddition);
}

TEST(TimecodeTest, SubtractionRefusesWhatItCannotCount) {
    const struct {
        TC lhs;
        TC rhs;
    } cases[] = {
        {TC("10:00:01:00", 25.0f), TC("10:00:00:00", 0.0f)},  // no right-hand rate
        {TC("10:00:01:00", 30.0f), TC("10:00:00:00", 25.0f)}, // different rates
        {TC("10:00:00:00", 25.0f), TC("10:00:01:00", 25.0f)}, // left side earlier
        // Frame totals beyond 32 bits must not wrap into a small difference.
        {TC("47721:51:32:00", 25.0f), TC("00:00:00:00", 25.0f)},
        {TC("4294967295:00:00:00", 0.0f), TC("4294967295:00:00:00", 25.0f)},
        {TC("00:00:01:4294967295", 0.0f), TC("00:00:00:00", 2.0f)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(thrownMessage([&] { c.lhs - c.rhs; }), impossibleSubtraction)
            << c.lhs.string(true) << " - " << c.rhs.string(true);
    }

    EXPECT_EQ(thrownDescription([] { TC("10:00:00:00", 25.0f) - TC("10:00:01:00", 25.0f); }),
              std::string(impossibleSubtraction) +
                  "\nLhs Timecode: \"10:00:00:00@25\"\nRhs Timecode: \"10:00:01:00@25\"\n");
}

TEST(TimecodeTest, ComparisonIgnoresRatesButNeedsComparableOnes) {
    EXPECT_TRUE(TC("01:00:00:00", 25.0f) == TC("01:00:00:00", 0.0f));
    EXPECT_FALSE(TC("01:00:00:00", 0.0f) == TC("01:00:00:01", 0.0f));
    EXPECT_TRUE(TC("00:59:59:24", 25.0f) < TC("01:00:00:00", 25.0f));
    EXPECT_FALSE(TC("01:00:00:05", 0.0f) < TC("01:00:00:05", 0.0f));
    EXPECT_TRUE(TC("00:00:00:30", 0.0f) < TC("00:00:01:00", 0.0f));
    // Second counts beyond 32 bits keep their order.
    EXPECT_TRUE(TC("1193046:28:15:00", 0.0f) < TC("1193046:28:16:00", 0.0f));
    EXPECT_TRUE(TC("00:00:01:00", 0.0f) < TC("1193046:28:16:00", 0.0f));

    const char* const incomparable = "Timecode comparison could not be performed.";
    EXPECT_EQ(thrownMessage([] { TC("01:00:00:00", 25.0f) == TC("01:00:00:00", 30.0f); }),
              incomparable);
    EXPECT_EQ(thrownMessage([] { TC("01:00:00:00", 25.0f) < TC("01:00:00:00", 30.0f); }),
              incomparable);
    TC negativeRate("01:00:00:00", 0.0f);
    negativeRate.fps = -1.0f;
    EXPECT_EQ(thrownMessage([&] { TC("01:00:00:00", 0.0f) < negativeRate; }), incomparable);
}

} // namespace
