// The status codes that every operation of the client layer returns as an int.
// 0 is success; any value not listed is a decoder library's own result of an
// initialisation phase, passed on unchanged.
#pragma once

namespace R3DSDK {

enum StatusCode : int {
    StatusSuccess = 0,
    // A library record's own code for a file that did not open; the loader
    // maps it to the code of the library's kind.
    StatusLibraryNotOpened = 1,
    StatusCoreLibraryNotOpened = 2,
    StatusCudaLibraryNotOpened = 3,
    StatusREDCLLibraryNotOpened = 4,
    StatusDecoderLibraryNotOpened = 5,
    StatusVersionRuleFailed = 6,
    // A required entry missing, a wrong identity, a core table not resolved or
    // tables of different versions.
    StatusCoreLibraryInvalid = 7,
    StatusCudaLibraryInvalid = 8,
    StatusREDCLLibraryInvalid = 9,
    StatusDecoderLibraryInvalid = 10,
    StatusCudaInitializeFailed = 11,
    StatusREDCLInitializeFailed = 12,
    StatusDecoderInitializeFailed = 13,
    StatusCoreInitializeFailed = 14,
    // An empty path, or a null or empty directory.
    StatusInvalidPath = 15,
    // 20 libraries, 20 handles, 10 directories, or a directory listed twice.
    StatusInternalLimit = 16,
    StatusMetalLibraryNotOpened = 17,
    StatusMetalLibraryInvalid = 18,
    StatusMetalInitializeFailed = 19,
};

} // namespace R3DSDK
