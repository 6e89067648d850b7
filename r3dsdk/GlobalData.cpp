#include "GlobalData.hpp"

#include "Log.hpp"

namespace R3DSDK {

DynamicApi* g_apiTables[ApiTableCount] = {};

GlobalApi* g_global = nullptr;
ClipApi* g_clip = nullptr;
MetadataApi* g_metadata = nullptr;
AsyncDecoderApi* g_async = nullptr;
GpuDecoderApi* g_gpu = nullptr;
RedRocketApi* g_rocket = nullptr;
StreamApi* g_stream = nullptr;
R3DTrimApi* g_r3dtrim = nullptr;
REDCLAPI* g_dl_REDCL = nullptr;
REDCudaAPI* g_dl_REDCuda = nullptr;
R3DDecoderAPI* g_dl_R3DDecoder = nullptr;
REDMetalAPI* g_dl_REDMetal = nullptr;

namespace {

// Points the store and table globals at `state`, or nulls them all.
void setGlobals(GlobalData* state) {
    const bool set = state != nullptr;
    g_keyValueStore = set ? &state->keyValueStore : nullptr;

    g_global = set ? &state->globalApi : nullptr;
    g_clip = set ? &state->clipApi : nullptr;
    g_metadata = set ? &state->metadataApi : nullptr;
    g_async = set ? &state->asyncDecoderApi : nullptr;
    g_gpu = set ? &state->gpuDecoderApi : nullptr;
    g_rocket = set ? &state->redRocketApi : nullptr;
    g_stream = set ? &state->streamApi : nullptr;
    g_r3dtrim = set ? &state->r3dTrimApi : nullptr;
    g_dl_REDCL = set ? &state->redCLApi : nullptr;
    g_dl_REDCuda = set ? &state->redCudaApi : nullptr;
    g_dl_R3DDecoder = set ? &state->r3dDecoderApi : nullptr;
    g_dl_REDMetal = set ? state->redMetalApi : nullptr;

    DynamicApi* const tables[ApiTableCount] = {
        g_global, g_clip,    g_metadata, g_async,      g_gpu,           g_rocket,
        g_stream, g_r3dtrim, g_dl_REDCL, g_dl_REDCuda, g_dl_R3DDecoder, g_dl_REDMetal,
    };
    for (unsigned int i = 0; i < ApiTableCount; ++i) {
        g_apiTables[i] = tables[i];
    }
}

} // namespace

GlobalData::GlobalData() : selected(-1), redMetalApi(NewREDMetalAPI()) {
    Publish();
}

GlobalData::~GlobalData() {
    Withdraw();
    DeleteREDMetalAPI(redMetalApi);
    redMetalApi = nullptr;
    selected = -1;
}

void GlobalData::Publish() {
    setGlobals(this);
}

void GlobalData::Withdraw() {
    // Another state may have been made current since; its globals stay.
    if (g_global == &globalApi) {
        setGlobals(nullptr);
    }
}

} // namespace R3DSDK
