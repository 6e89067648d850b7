// The process-wide state of one SDK start-up: the store shared with the
// decoder library, the loaded libraries, the searched directories and the
// entry-point tables. While a state is current, its store and tables are
// published through the globals below, through which the rest of the layer
// (the log, the loader, the clip wrappers) reaches them.
#pragma once

#include "AsyncDecoderApi.hpp"
#include "ClipApi.hpp"
#include "GlobalApi.hpp"
#include "GpuDecoderApi.hpp"
#include "KeyValueStore.hpp"
#include "LibraryLoader.hpp"
#include "MetadataApi.hpp"
#include "Path.hpp"
#include "R3DDecoderAPI.hpp"
#include "R3DTrimApi.hpp"
#include "REDCLAPI.hpp"
#include "REDCudaAPI.hpp"
#include "REDMetalAPI.hpp"
#include "RedRocketApi.hpp"
#include "StreamApi.hpp"

#include <cstdint>

// The entry-point tables that a state holds as members, in load order:
// TABLE(type, global, member) for each, with the global through which the
// layer reaches the current state's table. The Metal table, made on the heap,
// is apart and loaded last.
#define OKALU_MEMBER_TABLES(TABLE)                                                                 \
    TABLE(GlobalApi, g_global, globalApi)                                                          \
    TABLE(ClipApi, g_clip, clipApi)                                                                \
    TABLE(MetadataApi, g_metadata, metadataApi)                                                    \
    TABLE(AsyncDecoderApi, g_async, asyncDecoderApi)                                               \
    TABLE(GpuDecoderApi, g_gpu, gpuDecoderApi)                                                     \
    TABLE(RedRocketApi, g_rocket, redRocketApi)                                                    \
    TABLE(StreamApi, g_stream, streamApi)                                                          \
    TABLE(R3DTrimApi, g_r3dtrim, r3dTrimApi)                                                       \
    TABLE(REDCLAPI, g_dl_REDCL, redCLApi)                                                          \
    TABLE(REDCudaAPI, g_dl_REDCuda, redCudaApi)                                                    \
    TABLE(R3DDecoderAPI, g_dl_R3DDecoder, r3dDecoderApi)

#define OKALU_COUNT_TABLE(type, global, member) +1
#define OKALU_DECLARE_TABLE_GLOBAL(type, global, member) extern type* global;
#define OKALU_DECLARE_TABLE_MEMBER(type, global, member) type member;

namespace R3DSDK {

// The member tables and the Metal table.
constexpr unsigned int ApiTableCount = 1 OKALU_MEMBER_TABLES(OKALU_COUNT_TABLE);

// The current state's tables in load order; all null while there is none.
extern DynamicApi* g_apiTables[ApiTableCount];

// The current state's tables by kind; null while there is none.
OKALU_MEMBER_TABLES(OKALU_DECLARE_TABLE_GLOBAL)
extern REDMetalAPI* g_dl_REDMetal;

class GlobalData {
public:
    /// An empty state, made current: its store and tables are published.
    GlobalData();
    /// Withdraws the state if it is current. Libraries must have been
    /// unloaded before (FinalizeSdk does that).
    ~GlobalData();
    GlobalData(const GlobalData&) = delete;
    GlobalData& operator=(const GlobalData&) = delete;

    /// Points g_keyValueStore, g_apiTables and the table globals at this
    /// state.
    void Publish();
    /// Nulls those globals when they point at this state.
    void Withdraw();

    // The idx of the directory whose library is in use; -1 when none.
    std::int32_t selected;
    KeyValueStore keyValueStore;
    LibraryLoader loader;
    Path paths;

    OKALU_MEMBER_TABLES(OKALU_DECLARE_TABLE_MEMBER)
    // Made on the heap by NewREDMetalAPI; owned here, published through
    // g_dl_REDMetal.
    REDMetalAPI* redMetalApi;
};

} // namespace R3DSDK
