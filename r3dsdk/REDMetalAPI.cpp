#include "REDMetalAPI.hpp"

namespace R3DSDK {

const char* const REDMetalAPI::EntryNames[REDMetalAPI::EntryCount] = {
    "f9fc2facdda474c1767b5d41973c48c4c", "f900c180c7fb4cd72a200558ea6f1abae",
    "fb609807f488dda43c0536c532d500bb4", "fb51a8d915caafe87d9b4dc72e93777ef",
    "fd36a2f367a9117a2f58a86ba52aa44a6", "fe2891bad26f3924f299c3a0cb2e1b640",
    "fe8399ee391e3ec77f69842380a905eb9", "f72f045780822ed7142ea370c6442bde3",
    "f70cc239d58e995392d56e39743f0d3ee", "f81f570d45cb8be0f56a7d9d3ef19ef16",
    "f04b6fdc741d4251030351aa31f644d68", "f059a42852b5cfb237d384d50f5179f26"};

const char* REDMetalAPI::Name() const {
    return "REDMetalAPI";
}

REDMetalAPI* NewREDMetalAPI() {
    return new REDMetalAPI();
}

void DeleteREDMetalAPI(REDMetalAPI* api) {
    delete api;
}

} // namespace R3DSDK
