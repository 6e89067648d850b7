#include "Assertion/Assertion.hpp"

#include <cstdio>
#include <cstdlib>

namespace Assertion {

void fail(const std::string& message) {
    // Standard error is unbuffered; the flush only matters if someone made it
    // buffered, and the text must be out before the process dies.
    std::fwrite(message.data(), 1, message.size(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
    std::abort();
}

void failExpression(const char* file, int line, const char* expression) {
    fail(std::string(file) + ":" + std::to_string(line) + ": Assertion `" + expression +
         "' failed.");
}

} // namespace Assertion
