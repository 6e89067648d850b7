// The numbers that the client and every decoder library agree on besides the
// entries themselves: the keys under which they share values in the key-value
// store (IKeyValueStore), the log level that turns the client's diagnostics
// on, and the option bits that select accelerators. The status codes are in
// Status.hpp, the identity and versions in Version.hpp.
#pragma once

namespace R3DSDK {

enum StoreKey : unsigned long long {
    // The log level that R3DSDK::LOG reads at every call.
    StoreKeyLogLevel = 0,
    // The client's identity (Version.hpp), for the library.
    StoreKeyClientMajorVersion = 10,
    StoreKeyClientMinorVersion = 11,
    StoreKeyClientPatchVersion = 12,
    StoreKeyClientBuildNumber = 13,
    StoreKeyClientBuildDate = 14,
    StoreKeyClientVersionText = 15,
    StoreKeyClientBuildFlavour = 20,
    // The options given to InitializeSdk: which accelerator tables to fill.
    StoreKeyOptions = 30,
    // The directory of the process's first start, whatever later starts ask.
    StoreKeyFirstDirectory = 31,
    // 1 lets the tables come from libraries of different versions.
    StoreKeySkipVersionMatch = 1000,
    // Stored as 0 for the library; the client never reads it.
    StoreKeyReserved = 1001,
};

// The level under StoreKeyLogLevel at which R3DSDK::LOG prints; every other
// level is silent.
constexpr unsigned long long LogLevelVerbose = 255;

// One bit per accelerator, in the options of InitializeSdk and of an import
// list's entries: it enables the accelerator's table and tells which kind of
// library an import is. A library with none of them is a core library.
enum OptionBit : unsigned int {
    OptionCuda = 1,
    OptionREDCL = 2,
    OptionDecoder = 4,
    OptionMetal = 8,
};

} // namespace R3DSDK
