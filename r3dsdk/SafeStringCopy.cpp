#include "SafeStringCopy.hpp"

namespace R3DSDK {

void SafeStringCopy(char* destination, unsigned long count, const char* source) {
    if (destination == nullptr || source == nullptr) {
        return;
    }
    unsigned long copied = 0;
    while (copied < count && source[copied] != '\0') {
        destination[copied] = source[copied];
        ++copied;
    }
    destination[copied] = '\0';
}

} // namespace R3DSDK
