// The start and end of the R3D SDK client layer. InitializeSdk finds the
// newest decoder library that loads, identifies itself and initialises, in the
// given directory, in "R3DSDKPATH" and in every directory a found library
// redirects to; FinalizeSdk undoes all of it. Clips can be used in between.
#pragma once

#include "RedLibrary.hpp"

#ifndef OKALU_R3DSDK_DIRECTORY
#error "OKALU_R3DSDK_DIRECTORY must name the install directory of the decoder library"
#endif

namespace R3DSDK {

/// Where the installed decoder library is looked for; fixed when the layer is
/// built (the CMake cache variable OKALU_R3DSDK_DIRECTORY).
inline constexpr const char* InstallDirectory = OKALU_R3DSDK_DIRECTORY;

class IKeyValueStore;
struct PathEntry;

/// 0 on success, else a status of Status.hpp or a library's own
/// initialisation result. A null or empty directory returns 15 and leaves any
/// earlier state alone; otherwise an earlier state is finalised first, and a
/// failed start leaves no state behind. `options` selects accelerator tables
/// (0: none).
int InitializeSdk(const char* directory, unsigned int options);

/// Finalises and unloads the libraries and drops the state; harmless when
/// there is none.
void FinalizeSdk();

/// The client's version text followed by the build name of every loaded
/// library and, after a successful start, the directory in use in brackets.
/// Valid until the next call.
const char* GetSdkVersion();

/// For a host that has opened the libraries itself and passes its own store
/// and handles. Phase 1 adopts the handles and fills the tables; other phases
/// only log. The state it uses lives until the process ends; FinalizeSdk
/// withdraws it without destroying it.
int InitializeInternal(InitializePhase phase, IKeyValueStore* store, const void** handles,
                       unsigned int count);

// The steps of the start-up, exposed for its tests.

/// Adds `directory` to the search list, loads its "REDR3D.dylib", applies the
/// version rule and follows the library's redirect. The status of the last
/// directory probed.
int LoadPath(const char* directory);

/// The qsort order of candidates (pointers to PathEntry pointers): the
/// highest library version first; between equal versions the directory added
/// later first.
int ComparePathVersions(const void* first, const void* second);

/// Logs the directories in the given order with their status and version.
void DumpPathStatus(PathEntry* const* entries, unsigned int count);

} // namespace R3DSDK
