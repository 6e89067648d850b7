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

namespace R3DSDK {

constexpr unsigned int ApiTableCount = 12;

// The current state's tables in load order; all null while there is none.
extern DynamicApi* g_apiTables[ApiTableCount];

// The current state's tables by kind; null while there is none.
extern GlobalApi* g_global;
extern ClipApi* g_clip;
extern MetadataApi* g_metadata;
extern AsyncDecoderApi* g_async;
extern GpuDecoderApi* g_gpu;
extern RedRocketApi* g_rocket;
extern StreamApi* g_stream;
extern R3DTrimApi* g_r3dtrim;
extern REDCLAPI* g_dl_REDCL;
extern REDCudaAPI* g_dl_REDCuda;
extern R3DDecoderAPI* g_dl_R3DDecoder;
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

    GlobalApi globalApi;
    ClipApi clipApi;
    MetadataApi metadataApi;
    AsyncDecoderApi asyncDecoderApi;
    GpuDecoderApi gpuDecoderApi;
    RedRocketApi redRocketApi;
    StreamApi streamApi;
    R3DTrimApi r3dTrimApi;
    REDCLAPI redCLApi;
    REDCudaAPI redCudaApi;
    R3DDecoderAPI r3dDecoderApi;
    // Made on the heap by NewREDMetalAPI; owned here, published through
    // g_dl_REDMetal.
    REDMetalAPI* redMetalApi;
};

} // namespace R3DSDK
