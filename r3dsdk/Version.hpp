// The client layer's own identity, handed to every decoder library at
// initialisation and checked against the oldest client a library accepts.
#pragma once

namespace R3DSDK {

constexpr unsigned int ClientMajorVersion = 8;
constexpr unsigned int ClientMinorVersion = 4;
constexpr unsigned int ClientPatchVersion = 0;
constexpr const char* ClientBuildNumber = "53216";
constexpr const char* ClientBuildDate = "20230817";
constexpr const char* ClientBuildFlavour = " Mx64S";
constexpr const char* ClientVersionText = "R3DAPI 8.4.0-53216 (20230817 Mx64S)";

// The oldest decoder library version that the client can work with.
constexpr unsigned int MinimumLibraryMajorVersion = 8;
constexpr unsigned int MinimumLibraryMinorVersion = 3;

// The identity that "RED_LIB_ID" of the decoder library must yield.
constexpr unsigned int DecoderLibraryId = 0x52334410;

} // namespace R3DSDK
