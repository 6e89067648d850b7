#include "StandinTestSupport.hpp"

#include "AsyncDecoderApi.hpp"
#include "ClipApi.hpp"
#include "GlobalApi.hpp"
#include "KeyValueStore.hpp"
#include "LibraryImport.hpp"
#include "LibraryLoader.hpp"
#include "MetadataApi.hpp"
#include "R3DDecoderAPI.hpp"
#include "REDCLAPI.hpp"

#include <gtest/gtest.h>
#include <string>

using R3DSDK::LibraryImport;
using R3DSDK::LibraryLoader;
using namespace R3DSDKTest;

namespace {

constexpr unsigned int DecoderId = 0x52334410;

// The loader reads its store through g_keyValueStore; the fixture provides a
// silent one, so that every library loaded by path runs phase 0. A LogCapture
// replaces it with a verbose one while it lives.
class LibraryLoaderTest : public ::testing::Test {
protected:
    void SetUp() override { R3DSDK::g_keyValueStore = &store; }
    void TearDown() override {
        loader.UnloadAll();
        R3DSDK::g_keyValueStore = nullptr;
    }

    R3DSDK::KeyValueStore store;
    LibraryLoader loader;
};

} // namespace

TEST_F(LibraryLoaderTest, LoadsUpToTwentyLibrariesAndUnloadsThemAll) {
    const std::string path = standinPath("default");
    for (int i = 0; i < 20; ++i) {
        ASSERT_EQ(loader.Load(path, DecoderId, 0), 0) << i;
    }
    {
        LogCapture log;
        EXPECT_EQ(loader.Load(path, DecoderId, 0), 16);
        EXPECT_EQ(log.finish(), "[FAIL INT. ] loading too many libraries");
    }
    EXPECT_EQ(loader.Count(), 20u);
    EXPECT_NE(loader.Handles()[19], nullptr);

    loader.UnloadAll();
    EXPECT_EQ(loader.Count(), 0u);
    EXPECT_EQ(loader.Handles()[0], nullptr);
    EXPECT_FALSE(isLoaded(path));
}

TEST_F(LibraryLoaderTest, AWrongIdentityIsRefusedAfterPhase0AndFinalised) {
    const std::string path = standinPath("wrong-id");
    StandinCalls calls(path);
    ASSERT_TRUE(calls.valid());
    std::string output;
    {
        LogCapture log;
        EXPECT_EQ(loader.Load(path, DecoderId, 0), 7);
        output = log.finish();
    }
    EXPECT_LT(output.find("[OK INIT0  ]\n"), output.find("[FAIL ID   ] 52334499\n"));
    EXPECT_TRUE(contains(output, "[FAIL ID   ] 52334499\n"));
    EXPECT_EQ(calls.initializeCalls(0), 1u);
    EXPECT_EQ(calls.finalizeCalls(), 1u);
    EXPECT_EQ(loader.Count(), 0u);

    // The same identity check maps to the invalid code of the library's kind.
    EXPECT_EQ(loader.Load(path, DecoderId, 4), 10);
    EXPECT_EQ(loader.Load(path, DecoderId, 8), 18);
}

TEST_F(LibraryLoaderTest, MapsARecordFailureToTheCodeOfTheLibrarysKind) {
    struct Case {
        std::string path;
        unsigned int options;
        int expected;
    };
    const std::string missing = standinDirectory("default") + "missing.dylib";
    const Case cases[] = {
        {missing, 0, 2},
        {missing, 1, 3},
        {missing, 2, 4},
        {missing, 4, 5},
        {missing, 8, 17},
        {missing, 6, 4},   // bit 2 is tested before bit 4
        {missing, 12, 17}, // and bit 8 before bit 4
        {standinPath("no-finalize"), 0, 7},
        {standinPath("no-finalize"), 1, 8},
        {standinPath("no-finalize"), 4, 10},
        {standinPath("phase0-14"), 0, 14},
        {standinPath("phase0-14"), 2, 12},
        {standinPath("phase0-14"), 8, 19},
        {standinPath("phase0-3"), 4, 3}, // a library's own code passes unchanged
    };
    for (const Case& c : cases) {
        EXPECT_EQ(loader.Load(c.path, DecoderId, c.options), c.expected)
            << c.path << " options " << c.options;
        EXPECT_EQ(loader.Count(), 0u);
    }
    EXPECT_EQ(loader.Load("", DecoderId, 0), 15);

    LogCapture log;
    loader.Load(missing, DecoderId, 4);
    EXPECT_TRUE(contains(log.finish(), "[FAIL LOAD ] 1 -> 5 - " + missing + "\n"));
}

TEST_F(LibraryLoaderTest, LoadsAnImportListUntilTheFirstFailure) {
    const std::string directory = standinDirectory("default");
    ASSERT_EQ(loader.Load(directory + "REDR3D.dylib", DecoderId, 0), 0);

    LibraryImport imports;
    EXPECT_EQ(loader.Load(directory, imports), 0);

    imports.AddLibrary("../imports/REDCuda.dylib", 0x52334421, 1);
    imports.AddLibrary("missing.dylib", 0x52334424, 4);
    imports.AddLibrary("../imports/REDCL.dylib", 0x52334422, 2);
    EXPECT_EQ(loader.Load(directory, imports), 5);
    // What loaded before the failure stays; nothing after it was tried.
    EXPECT_EQ(loader.Count(), 2u);
    EXPECT_EQ(loader.Library(1).LibraryId(), 0x52334421u);

    LibraryImport old;
    old.AddLibrary("../version-8.2.9/REDR3D.dylib", DecoderId, 0);
    LogCapture log;
    EXPECT_EQ(loader.Load(directory, old), 6);
    EXPECT_TRUE(contains(log.finish(), "[FAIL VER  ] (2) dynamic version below 8.3.0\n"));
    EXPECT_EQ(loader.Count(), 3u);
}

TEST_F(LibraryLoaderTest, AppliesTheVersionRule) {
    struct Case {
        const char* variant;
        bool passes;
    };
    const Case cases[] = {
        {"version-8.2.9", false}, {"version-8.3.0", true},  {"version-9.0.0", true},
        {"default", true},        {"minimum-8.4.1", false}, {"minimum-8.5.0", false},
    };
    for (const Case& c : cases) {
        LibraryLoader single;
        ASSERT_EQ(single.Load(standinPath(c.variant), DecoderId, 0), 0) << c.variant;
        EXPECT_EQ(single.ValidateLibraryVersion(0), c.passes) << c.variant;
    }

    LibraryLoader tooNew;
    ASSERT_EQ(tooNew.Load(standinPath("minimum-8.4.1"), DecoderId, 0), 0);
    LogCapture log;
    EXPECT_FALSE(tooNew.ValidateLibraryVersion(0));
    EXPECT_EQ(log.finish(), "[FAIL VER  ] (0) static version too old: 8.4.0\n");
}

TEST_F(LibraryLoaderTest, ResolvesTablesFromTheLoadedLibraries) {
    R3DSDK::GlobalApi global;
    R3DSDK::ClipApi clip;
    R3DSDK::MetadataApi metadata;
    R3DSDK::REDCLAPI redcl;
    R3DSDK::R3DDecoderAPI decoder;
    R3DSDK::DynamicApi* tables[] = {&global, nullptr, &clip, &metadata, &redcl, &decoder};

    {
        LogCapture log;
        EXPECT_EQ(loader.LoadAllSymbols(tables, 6), 7);
        EXPECT_EQ(log.finish(), "[LOAD SYM  ] GlobalApi\n[FAIL SYM  ] GlobalApi\n");
    }

    ASSERT_EQ(loader.Load(standinPath("default"), DecoderId, 0), 0);
    LogCapture second;
    EXPECT_EQ(loader.LoadAllSymbols(tables, 6), 0);
    EXPECT_EQ(second.finish(), "[LOAD SYM  ] GlobalApi\n[OK SYM    ] GlobalApi\n"
                               "[LOAD SYM  ] ClipApi\n[OK SYM    ] ClipApi\n"
                               "[LOAD SYM  ] MetadataApi\n[OK SYM    ] MetadataApi\n"
                               "[SKIP SYM  ] REDCLAPI\n[SKIP SYM  ] R3DDECODERAPI\n");
    EXPECT_TRUE(global.Loaded() && clip.Loaded() && metadata.Loaded());
    EXPECT_FALSE(redcl.Loaded() || decoder.Loaded());
    EXPECT_NE(clip.R3D_AAC, nullptr);
}

TEST_F(LibraryLoaderTest, TablesMustComeFromOneVersionUnlessTheTestSwitchIsSet) {
    // The first library lacks a clip entry, so ClipApi comes from the second.
    ASSERT_EQ(loader.Load(standinPath("no-clip-entry"), DecoderId, 0), 0);
    ASSERT_EQ(loader.Load(standinPath("version-9.0.0"), DecoderId, 0), 0);
    R3DSDK::GlobalApi global;
    R3DSDK::ClipApi clip;
    R3DSDK::DynamicApi* tables[] = {&global, &clip};

    std::string output;
    {
        LogCapture log;
        EXPECT_EQ(loader.LoadAllSymbols(tables, 2), 7);
        output = log.finish();
    }
    EXPECT_TRUE(contains(output, "[FAIL MATCH] version 9.0.0\n"));
    EXPECT_FALSE(contains(output, "[FAIL SYM  ]"));

    LogCapture switched;
    switched.store.AddUint64(1000, 1);
    EXPECT_EQ(loader.LoadAllSymbols(tables, 2), 0);
    EXPECT_TRUE(contains(switched.finish(), "[TEST  TEST] SKIPPING MATCH\n"));
    EXPECT_TRUE(clip.Loaded());
}

TEST_F(LibraryLoaderTest, RunsPhase1ForAllBeforePhase2AndReturnsALibrarysOwnCode) {
    const std::string directory = standinDirectory("phase2-companion");
    StandinCalls main(directory + "REDR3D.dylib");
    StandinCalls companion(directory + "REDCompanion.dylib");
    ASSERT_TRUE(main.valid() && companion.valid());
    ASSERT_EQ(loader.Load(directory + "REDR3D.dylib", DecoderId, 0), 0);
    LibraryImport imports;
    imports.AddLibrary("REDCompanion.dylib", 0x52334430, 0);
    ASSERT_EQ(loader.Load(directory, imports), 0);

    LogCapture log;
    EXPECT_EQ(loader.InitializeAll(), 42);
    EXPECT_EQ(log.finish(), "[INIT1     ]\n[OK INIT1  ]\n[INIT2     ]\n"
                            "[FAIL INIT2] library 52334430\n");
    for (const StandinCalls* calls : {&main, &companion}) {
        EXPECT_EQ(calls->initializeCalls(1), 1u);
        EXPECT_EQ(calls->initializeCalls(2), 1u);
        EXPECT_EQ(calls->lastHandleCount(2), 2u);
    }
    EXPECT_TRUE(loader.Library(0).Initialized() && loader.Library(1).Initialized());
}
