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
    g_keyValueStore = &keyValueStore;

    g_global = &globalApi;
    g_clip = &clipApi;
    g_metadata = &metadataApi;
    g_async = &asyncDecoderApi;
    g_gpu = &gpuDecoderApi;
    g_rocket = &redRocketApi;
    g_stream = &streamApi;
    g_r3dtrim = &r3dTrimApi;
    g_dl_REDCL = &redCLApi;
    g_dl_REDCuda = &redCudaApi;
    g_dl_R3DDecoder = &r3dDecoderApi;
    g_dl_REDMetal = redMetalApi;

    DynamicApi* const tables[ApiTableCount] = {
        g_global, g_clip,    g_metadata, g_async,      g_gpu,           g_rocket,
        g_stream, g_r3dtrim, g_dl_REDCL, g_dl_REDCuda, g_dl_R3DDecoder, g_dl_REDMetal,
    };
    for (unsigned int i = 0; i < ApiTableCount; ++i) {
        g_apiTables[i] = tables[i];
    }
}

void GlobalData::Withdraw() {
    // Another state may have been made current since; its globals stay.
    if (g_global != &globalApi) {
        return;
    }
    g_keyValueStore = nullptr;
    g_global = nullptr;
    g_clip = nullptr;
    g_metadata = nullptr;
    g_async = nullptr;
    g_gpu = nullptr;
    g_rocket = nullptr;
    g_stream = nullptr;
    g_r3dtrim = nullptr;
    g_dl_REDCL = nullptr;
    g_dl_REDCuda = nullptr;
    g_dl_R3DDecoder = nullptr;
    g_dl_REDMetal = nullptr;
    for (DynamicApi*& table : g_apiTables) {
        table = nullptr;
    }
}

} // namespace R3DSDK
