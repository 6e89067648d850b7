// The Metal accelerator's entries, loaded only when the SDK is started with
// its option bit. The client never calls them itself, so they stay untyped.
#pragma once

#include "AcceleratorApi.hpp"
#include "LibraryContract.hpp"

// The names the library exports, in lookup order.
#define OKALU_RED_METAL_API_ENTRIES(ENTRY)                                                         \
    ENTRY(f9fc2facdda474c1767b5d41973c48c4c)                                                       \
    ENTRY(f900c180c7fb4cd72a200558ea6f1abae)                                                       \
    ENTRY(fb609807f488dda43c0536c532d500bb4)                                                       \
    ENTRY(fb51a8d915caafe87d9b4dc72e93777ef)                                                       \
    ENTRY(fd36a2f367a9117a2f58a86ba52aa44a6)                                                       \
    ENTRY(fe2891bad26f3924f299c3a0cb2e1b640)                                                       \
    ENTRY(fe8399ee391e3ec77f69842380a905eb9)                                                       \
    ENTRY(f72f045780822ed7142ea370c6442bde3)                                                       \
    ENTRY(f70cc239d58e995392d56e39743f0d3ee)                                                       \
    ENTRY(f81f570d45cb8be0f56a7d9d3ef19ef16)                                                       \
    ENTRY(f04b6fdc741d4251030351aa31f644d68)                                                       \
    ENTRY(f059a42852b5cfb237d384d50f5179f26)

namespace R3DSDK {

class REDMetalAPI : public AcceleratorApi<REDMetalAPI, 12, OptionMetal> {
public:
    static constexpr const char* EntryNames[EntryCount] = {
        OKALU_RED_METAL_API_ENTRIES(OKALU_ACCELERATOR_ENTRY_NAME)};

    const char* Name() const override { return "REDMetalAPI"; }
};

// The Metal table is made on the heap; DeleteREDMetalAPI does nothing for null.
REDMetalAPI* NewREDMetalAPI();
void DeleteREDMetalAPI(REDMetalAPI* api);

} // namespace R3DSDK
