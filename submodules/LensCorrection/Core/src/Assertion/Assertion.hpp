// The one check for programming errors in okalu-tafe and its lens-correction
// core. A failed check writes its message and a line end to standard error and
// aborts the process, in every build type: NDEBUG does not turn it off, since
// going on past a broken invariant would read past a short table row or through
// a null text instead of stopping with a message.
#pragma once

#include <string>

namespace Assertion {

/// Writes the message and a line end to standard error and aborts.
[[noreturn]] void fail(const std::string& message);

/// Fails with "file:line: Assertion `expression' failed.".
[[noreturn]] void failExpression(const char* file, int line, const char* expression);

} // namespace Assertion

/// Stops the process with "file:line: Assertion `condition' failed." unless
/// the condition holds.
#define OKALU_ASSERT(condition)                                                                    \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            ::Assertion::failExpression(__FILE__, __LINE__, #condition);                           \
        }                                                                                          \
    } while (false)

/// Stops the process with the given message unless the condition holds; the
/// message is only built when the check fails.
#define OKALU_ASSERT_MESSAGE(condition, message)                                                   \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            ::Assertion::fail(message);                                                            \
        }                                                                                          \
    } while (false)
