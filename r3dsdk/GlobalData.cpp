#include "GlobalData.hpp"

#include "Log.hpp"

namespace R3DSDK {

DynamicApi* g_apiTables[ApiTableCount] = {};

#define OKALU_DEFINE_TABLE_GLOBAL(type, global, member) type* global = nullptr;
OKALU_MEMBER_TABLES(OKALU_DEFINE_TABLE_GLOBAL)
REDMetalAPI* g_dl_REDMetal = nullptr;

namespace {

#define OKALU_SET_TABLE_GLOBAL(type, global, member) global = set ? &state->member : nullptr;
#define OKALU_TABLE_GLOBAL(type, global, member) global,

// Points the store and table globals at `state`, or nulls them all.
void setGlobals(GlobalData* state) {
    const bool set = state != nullptr;
    g_keyValueStore = set ? &state->keyValueStore : nullptr;
    OKALU_MEMBER_TABLES(OKALU_SET_TABLE_GLOBAL)
    g_dl_REDMetal = set ? state->redMetalApi : nullptr;

    DynamicApi* const tables[ApiTableCount] = {
        OKALU_MEMBER_TABLES(OKALU_TABLE_GLOBAL) g_dl_REDMetal,
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
