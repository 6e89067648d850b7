// The bounded text copy of the R3D SDK client layer.
#pragma once

namespace R3DSDK {

// Copies at most `count` characters of `source` and a terminating NUL, so
// `destination` must hold `count` + 1 bytes. Does nothing when either pointer
// is null.
void SafeStringCopy(char* destination, unsigned long count, const char* source);

} // namespace R3DSDK
