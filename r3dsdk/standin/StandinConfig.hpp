// What every source of the stand-in decoder library shares: how entries are
// exported, and the compile definitions that make a test variant, which only
// StandinLibrary.cpp reads. Unset definitions give the default: version 8.4.0,
// accepting clients from 8.4.0.
//
//   OKALU_STANDIN_MAJOR, _MINOR, _PATCH          the library's version
//   OKALU_STANDIN_MINIMUM_MAJOR, _MINOR, _PATCH  the oldest client it accepts
//   OKALU_STANDIN_STATIC_MAJOR, _MINOR, _PATCH   the client it was built with
//   OKALU_STANDIN_LIB_ID                         identity ("RED_LIB_ID")
//   OKALU_STANDIN_BUILD_NAME                     text of "RED_LIB_BUILD_NAME"
//   OKALU_STANDIN_LONG_BUILD_NAME                a 200-character build name
//   OKALU_STANDIN_NULL_BUILD_NAMES               both build names are null
//   OKALU_STANDIN_PHASE0_RESULT, _PHASE1_, _PHASE2_   initialise results
//   OKALU_STANDIN_VERBOSE_LOG                    phase 0 turns the client's log on
//   OKALU_STANDIN_OMIT_FINALIZE                  no "RED_LIB_FINALIZE"
//   OKALU_STANDIN_OMIT_CLIP_ENTRY                no "R3D_ACK" (a clip entry)
//   OKALU_STANDIN_REDIRECT                       exports "RED_REDIRECT" with it
//   OKALU_STANDIN_IMPORTS                        exports "RED_IMPORTS" with the
//       companions "file:id:options" (id in hexadecimal), ","-separated
//   OKALU_STANDIN_IMPORTS_RESULT                 what "RED_IMPORTS" returns
#pragma once

#include "Version.hpp"

#include <type_traits>

#define OKALU_EXPORT extern "C" __attribute__((visibility("default")))

// The one clip entry that a variant may leave out: defined in
// StandinLibrary.cpp, checked with the other clip entries in ClipEntries.cpp.
OKALU_EXPORT bool R3D_ACK(void*);

#define OKALU_STANDIN_TEXT(value) OKALU_STANDIN_TEXT_OF(value)
#define OKALU_STANDIN_TEXT_OF(value) #value

#ifndef OKALU_STANDIN_MAJOR
#define OKALU_STANDIN_MAJOR 8
#endif
#ifndef OKALU_STANDIN_MINOR
#define OKALU_STANDIN_MINOR 4
#endif
#ifndef OKALU_STANDIN_PATCH
#define OKALU_STANDIN_PATCH 0
#endif
#ifndef OKALU_STANDIN_MINIMUM_MAJOR
#define OKALU_STANDIN_MINIMUM_MAJOR 8
#endif
#ifndef OKALU_STANDIN_MINIMUM_MINOR
#define OKALU_STANDIN_MINIMUM_MINOR 4
#endif
#ifndef OKALU_STANDIN_MINIMUM_PATCH
#define OKALU_STANDIN_MINIMUM_PATCH 0
#endif
#ifndef OKALU_STANDIN_STATIC_MAJOR
#define OKALU_STANDIN_STATIC_MAJOR 8
#endif
#ifndef OKALU_STANDIN_STATIC_MINOR
#define OKALU_STANDIN_STATIC_MINOR 4
#endif
#ifndef OKALU_STANDIN_STATIC_PATCH
#define OKALU_STANDIN_STATIC_PATCH 0
#endif
#ifndef OKALU_STANDIN_LIB_ID
#define OKALU_STANDIN_LIB_ID R3DSDK::DecoderLibraryId
#endif
#ifndef OKALU_STANDIN_BUILD_NAME
#define OKALU_STANDIN_BUILD_NAME                                                                   \
    "REDR3D stand-in " OKALU_STANDIN_TEXT(OKALU_STANDIN_MAJOR) "." OKALU_STANDIN_TEXT(             \
        OKALU_STANDIN_MINOR) "." OKALU_STANDIN_TEXT(OKALU_STANDIN_PATCH)
#endif
#ifndef OKALU_STANDIN_PHASE0_RESULT
#define OKALU_STANDIN_PHASE0_RESULT 0
#endif
#ifndef OKALU_STANDIN_PHASE1_RESULT
#define OKALU_STANDIN_PHASE1_RESULT 0
#endif
#ifndef OKALU_STANDIN_PHASE2_RESULT
#define OKALU_STANDIN_PHASE2_RESULT 0
#endif
#ifndef OKALU_STANDIN_IMPORTS_RESULT
#define OKALU_STANDIN_IMPORTS_RESULT 0
#endif

// What the entries that the client never relies on return.
constexpr int StubFailure = 1;

// An entry that the stand-in does not serve: given the result type, the
// entry's name and its parenthesised parameter types, it answers `failure`
// whatever it is given.
#define OKALU_FAILING_ENTRY(result, entry, parameters, failure)                                    \
    OKALU_EXPORT result entry parameters {                                                         \
        return failure;                                                                            \
    }

// An entry that the client never calls: it only has to be exported.
#define OKALU_STUB_ENTRY(entry) OKALU_FAILING_ENTRY(int, entry, (), StubFailure)
// The same for an entry of a table's list: ENTRIES(OKALU_LISTED_STUB) exports
// every entry of an untyped table.
#define OKALU_LISTED_STUB(entry, function) OKALU_STUB_ENTRY(entry)

namespace StandIn {

// Whether an entry defined as `Defined` answers the client's table, which
// lists it as `Listed`. An entry listed as void() is untyped: the client never
// calls it, so any form will do.
template <typename Defined, typename Listed> struct SameForm : std::is_same<Defined, Listed> {};
template <typename Defined> struct SameForm<Defined, void()> : std::true_type {};

} // namespace StandIn

// Fails the build when an entry's form differs from the one the client's
// table calls it by; ENTRIES(OKALU_CHECK_FORM) checks a whole table, so every
// entry of its list must be declared.
#define OKALU_CHECK_FORM(entry, function)                                                          \
    static_assert(StandIn::SameForm<decltype(entry), function>::value,                             \
                  #entry " differs from the client's table");

// The same check for an entry whose form the client names by a type alias.
#define OKALU_SAME_FORM_FREE(entry, form)                                                          \
    static_assert(std::is_same<decltype(&entry), R3DSDK::form>::value,                             \
                  #entry " differs from the form the client calls it by")
