#include "Support/LogCapture.hpp"
#include "Support/Standin.hpp"

#include "DynamicLibrary.hpp"
#include "KeyValueStore.hpp"
#include "LibraryImport.hpp"
#include "RedLibrary.hpp"

#include <gtest/gtest.h>
#include <string>

using R3DSDK::InitializePhase;
using R3DSDK::KeyValueStore;
using R3DSDK::LibraryImport;
using R3DSDK::RedLibrary;
using R3DSDKTest::isLoaded;
using R3DSDKTest::LogCapture;
using R3DSDKTest::StandinCalls;
using R3DSDKTest::standinDirectory;
using R3DSDKTest::standinPath;

namespace {

void expectEmpty(const RedLibrary& record) {
    EXPECT_EQ(record.Library(), nullptr);
    EXPECT_FALSE(record.Initialized());
    EXPECT_EQ(record.LibraryId(), 0u);
    EXPECT_EQ(record.MajorVersion(), 0u);
    EXPECT_EQ(record.MinimumPatchVersion(), 0u);
    EXPECT_STREQ(record.BuildName(), "");
    EXPECT_STREQ(record.StaticBuildName(), "");
}

TEST(RedLibraryTest, LoadsInitialisesAndFinalisesOnceWithExactlyTheseLogLines) {
    const std::string path = standinPath("default");
    StandinCalls calls(path);
    ASSERT_TRUE(calls.valid());
    KeyValueStore clientStore;
    RedLibrary record;

    LogCapture loadLog;
    ASSERT_EQ(record.Load(path, &clientStore), 0);
    EXPECT_EQ(loadLog.finish(), "[LOAD LIB  ] " + path +
                                    "\n"
                                    "[INIT0     ]\n"
                                    "[OK INIT0  ]\n"
                                    "\tLibrary ID            : 52334410\n"
                                    "\tVersion               : 8.4.0\n"
                                    "\tMin static SDK version: 8.4.0\n"
                                    "\tStatic lib in dyn ver : 8.4.0\n"
                                    "\tDynamic build name    : REDR3D stand-in 8.4.0\n"
                                    "\tStatic lib in dyn name: R3DAPI 8.4.0 stand-in\n");
    EXPECT_EQ(record.LibraryId(), 0x52334410u);
    EXPECT_EQ(record.MajorVersion(), 8u);
    EXPECT_EQ(record.MinorVersion(), 4u);
    EXPECT_EQ(record.PatchVersion(), 0u);
    EXPECT_EQ(record.MinimumMajorVersion(), 8u);
    EXPECT_EQ(record.MinimumMinorVersion(), 4u);
    EXPECT_EQ(record.StaticMajorVersion(), 8u);
    EXPECT_TRUE(record.Initialized());
    EXPECT_EQ(calls.initializeCalls(0), 1u);
    EXPECT_EQ(calls.lastHandleCount(0), 0u);
    EXPECT_EQ(calls.finalizeCalls(), 0u);

    LogCapture unloadLog;
    record.Unload();
    EXPECT_EQ(unloadLog.finish(), "[FINALIZE  ] 52334410 REDR3D stand-in 8.4.0\n"
                                  "[UNLOAD LIB] 52334410 REDR3D stand-in 8.4.0\n");
    EXPECT_EQ(calls.finalizeCalls(), 1u);
    expectEmpty(record);

    LogCapture emptyLog;
    record.Unload();
    EXPECT_EQ(emptyLog.finish(), "") << "an empty record has nothing to unload";
    EXPECT_EQ(calls.finalizeCalls(), 1u);
}

TEST(RedLibraryTest, EachLoadFinalisesTheLibraryHeldBefore) {
    const std::string path = standinPath("default");
    StandinCalls calls(path);
    KeyValueStore clientStore;
    {
        RedLibrary record;
        ASSERT_EQ(record.Load(path, &clientStore), 0);
        ASSERT_EQ(record.Load(path, &clientStore), 0);
        EXPECT_EQ(calls.initializeCalls(0), 2u);
        EXPECT_EQ(calls.finalizeCalls(), 1u);
    }
    EXPECT_EQ(calls.finalizeCalls(), 2u) << "a destroyed record must finalise what it holds";
    EXPECT_EQ(calls.initializeCalls(0), 2u);
}

TEST(RedLibraryTest, WithoutAStoreNoPhaseRunsAndNothingIsFinalised) {
    const std::string path = standinPath("default");
    StandinCalls calls(path);
    RedLibrary record;
    ASSERT_EQ(record.Load(path, nullptr), 0);
    EXPECT_FALSE(record.Initialized());
    EXPECT_EQ(record.LibraryId(), 0x52334410u);
    record.Unload();
    EXPECT_EQ(calls.initializeCalls(0), 0u);
    EXPECT_EQ(calls.finalizeCalls(), 0u);
}

TEST(RedLibraryTest, FileThatDoesNotOpenIsStatus1) {
    const std::string path = standinPath("no-such-variant");
    RedLibrary record;
    KeyValueStore clientStore;
    LogCapture capture;
    EXPECT_EQ(record.Load(path, &clientStore), 1);
    const std::string log = capture.finish();
    const std::string expectedStart = "[LOAD LIB  ] " + path + "\n[FAIL LOAD ] ";
    EXPECT_EQ(log.substr(0, expectedStart.size()), expectedStart);
    EXPECT_GT(log.size(), expectedStart.size() + 1) << "the platform's message is missing";
    expectEmpty(record);
}

TEST(RedLibraryTest, MissingRequiredEntryIsStatus7AndLeavesTheRecordEmpty) {
    const std::string path = standinPath("no-finalize");
    StandinCalls calls(path);
    RedLibrary record;
    KeyValueStore clientStore;
    LogCapture capture;
    EXPECT_EQ(record.Load(path, &clientStore), 7);
    EXPECT_EQ(capture.finish(), "[LOAD LIB  ] " + path +
                                    "\n"
                                    "[NOT FOUND ] RED_LIB_FINALIZE\n"
                                    "[UNLOAD LIB]\n"
                                    "[FAIL SYM  ] API\n");
    expectEmpty(record);
    EXPECT_EQ(calls.initializeCalls(0), 0u);
}

class PhaseZeroFailureTest : public testing::TestWithParam<int> {};

TEST_P(PhaseZeroFailureTest, ReturnsTheLibrarysResultAndNeverFinalises) {
    const int result = GetParam();
    const std::string path = standinPath("phase0-" + std::to_string(result));
    StandinCalls calls(path);
    ASSERT_TRUE(calls.valid());
    RedLibrary record;
    KeyValueStore clientStore;
    LogCapture capture;
    EXPECT_EQ(record.Load(path, &clientStore), result);
    EXPECT_EQ(capture.finish(), "[LOAD LIB  ] " + path +
                                    "\n"
                                    "[INIT0     ]\n"
                                    "[UNLOAD LIB]\n"
                                    "[FAIL INIT0] " +
                                    std::to_string(result) + "\n");
    expectEmpty(record);
    EXPECT_EQ(calls.initializeCalls(0), 1u);
    EXPECT_EQ(calls.finalizeCalls(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Results, PhaseZeroFailureTest, testing::Values(3, 14));

TEST(RedLibraryTest, AdoptedHandleSkipsPhaseZeroAndStaysOpen) {
    const std::string path = standinPath("default");
    StandinCalls host(path);
    ASSERT_NE(host.libraryHandle(), nullptr);
    {
        RedLibrary record;
        LogCapture capture;
        ASSERT_EQ(record.Load(host.libraryHandle()), 0);
        const std::string log = capture.finish();
        EXPECT_EQ(log.find("[LOAD LIB  ]"), std::string::npos);
        EXPECT_EQ(log.find("[INIT0     ]"), std::string::npos);
        EXPECT_EQ(log.rfind("\tLibrary ID            : 52334410\n", 0), 0u) << log;
        EXPECT_EQ(record.Library()->handle(), host.libraryHandle());
        EXPECT_FALSE(record.Initialized());
    }
    EXPECT_EQ(host.initializeCalls(0), 0u);
    EXPECT_EQ(host.finalizeCalls(), 0u);
    EXPECT_NE(dlsym(host.libraryHandle(), "RED_LIB_ID"), nullptr) << "the host's handle was closed";
}

TEST(RedLibraryTest, FurtherPhasesGetTheirArgumentsAndMarkTheRecordInitialised) {
    const std::string path = standinPath("default");
    StandinCalls calls(path);
    RedLibrary record;
    KeyValueStore clientStore;
    EXPECT_EQ(record.Initialize(InitializePhase::Phase1, &clientStore, nullptr, 0), 1)
        << "an empty record has no initialise entry";
    EXPECT_FALSE(record.Initialized());

    ASSERT_EQ(record.Load(path, nullptr), 0);
    const void* handles[2] = {record.Library()->handle(), nullptr};
    EXPECT_EQ(record.Initialize(InitializePhase::Phase1, &clientStore, handles, 2), 0);
    EXPECT_EQ(record.Initialize(InitializePhase::Phase2, &clientStore, handles, 1), 0);
    EXPECT_TRUE(record.Initialized());
    EXPECT_EQ(calls.initializeCalls(1), 1u);
    EXPECT_EQ(calls.lastHandleCount(1), 2u);
    EXPECT_EQ(calls.lastHandleCount(2), 1u);
    record.Unload();
    EXPECT_EQ(calls.finalizeCalls(), 1u);
}

TEST(RedLibraryTest, BuildNamesAreClippedTo127CharactersOrLeftEmpty) {
    RedLibrary record;
    KeyValueStore clientStore;
    ASSERT_EQ(record.Load(standinPath("long-build-name"), &clientStore), 0);
    std::string expected;
    for (unsigned int i = 0; i < 127; ++i) {
        expected += static_cast<char>('a' + i % 26);
    }
    EXPECT_EQ(record.BuildName(), expected);
    EXPECT_STREQ(record.StaticBuildName(), "R3DAPI 8.4.0 stand-in");

    ASSERT_EQ(record.Load(standinPath("null-build-names"), &clientStore), 0);
    EXPECT_STREQ(record.BuildName(), "");
    EXPECT_STREQ(record.StaticBuildName(), "");
    EXPECT_EQ(record.LibraryId(), 0x52334410u);
}

TEST(RedLibraryTest, LibraryCanSwitchTheLogOnDuringPhaseZero) {
    const std::string path = standinPath("verbose-log");
    RedLibrary record;
    LogCapture capture(0);
    ASSERT_EQ(record.Load(path, &capture.store), 0);
    record.Unload();
    EXPECT_EQ(capture.store.GetUint64(0), 255u);
    const std::string log = capture.finish();
    EXPECT_EQ(log.find("[LOAD LIB  ]"), std::string::npos) << "printed before phase 0";
    EXPECT_EQ(log.rfind("[OK INIT0  ]\n\tLibrary ID            : 52334410\n", 0), 0u) << log;
    EXPECT_NE(log.find("[UNLOAD LIB] 52334410"), std::string::npos);
}

TEST(RedLibraryTest, OptionalRedirectAndImportEntries) {
    RedLibrary record;
    LibraryImport imports;
    EXPECT_EQ(record.GetRedirectPath(), nullptr);
    EXPECT_EQ(record.GetDynamicImports(imports), -1);

    ASSERT_EQ(record.Load(standinPath("default"), nullptr), 0);
    LogCapture capture;
    EXPECT_EQ(record.GetRedirectPath(), nullptr);
    EXPECT_EQ(record.GetDynamicImports(imports), 0);
    EXPECT_EQ(capture.finish(), "") << "a missing optional entry is not logged";
    EXPECT_EQ(imports.LibraryCount(), 0u);

    ASSERT_EQ(record.Load(standinPath("redirect"), nullptr), 0);
    ASSERT_NE(record.GetRedirectPath(), nullptr);
    EXPECT_EQ(std::string(record.GetRedirectPath()) + "/", standinDirectory("version-8.4.1"));

    ASSERT_EQ(record.Load(standinPath("imports"), nullptr), 0);
    EXPECT_EQ(record.GetDynamicImports(imports), 0);
    ASSERT_EQ(imports.LibraryCount(), 5u);
    EXPECT_STREQ(imports.LibraryFilename(0), "REDR3DCore.dylib");
    EXPECT_EQ(imports.LibraryOptions(0), 0u);
    EXPECT_STREQ(imports.LibraryFilename(4), "REDMetal.dylib");
    EXPECT_EQ(imports.LibraryId(4), 0x52334428u);
    EXPECT_EQ(imports.LibraryOptions(4), 8u);
    for (unsigned int i = 0; i < imports.LibraryCount(); ++i) {
        RedLibrary companion;
        EXPECT_EQ(companion.Load(standinDirectory("imports") + imports.LibraryFilename(i), nullptr),
                  0);
        EXPECT_EQ(companion.LibraryId(), imports.LibraryId(i)) << imports.LibraryFilename(i);
    }
}

TEST(RedLibraryTest, WrongIdentityStillLoadsSinceTheLoaderChecksIt) {
    RedLibrary record;
    KeyValueStore clientStore;
    ASSERT_EQ(record.Load(standinPath("wrong-id"), &clientStore), 0);
    EXPECT_EQ(record.LibraryId(), 0x52334499u);
}

TEST(RedLibraryTest, VersionVariantsReportTheirVersions) {
    struct VersionCase {
        const char* variant;
        unsigned int version[3];
        unsigned int minimum[3];
    };
    const VersionCase cases[] = {
        {"version-8.2.9", {8, 2, 9}, {8, 4, 0}}, {"version-8.3.0", {8, 3, 0}, {8, 4, 0}},
        {"version-8.4.1", {8, 4, 1}, {8, 4, 0}}, {"version-9.0.0", {9, 0, 0}, {8, 4, 0}},
        {"minimum-8.4.1", {8, 4, 0}, {8, 4, 1}}, {"minimum-8.5.0", {8, 4, 0}, {8, 5, 0}}};
    KeyValueStore clientStore;
    for (const VersionCase& versionCase : cases) {
        RedLibrary record;
        ASSERT_EQ(record.Load(standinPath(versionCase.variant), &clientStore), 0);
        EXPECT_EQ(record.MajorVersion(), versionCase.version[0]) << versionCase.variant;
        EXPECT_EQ(record.MinorVersion(), versionCase.version[1]) << versionCase.variant;
        EXPECT_EQ(record.PatchVersion(), versionCase.version[2]) << versionCase.variant;
        EXPECT_EQ(record.MinimumMajorVersion(), versionCase.minimum[0]) << versionCase.variant;
        EXPECT_EQ(record.MinimumMinorVersion(), versionCase.minimum[1]) << versionCase.variant;
        EXPECT_EQ(record.MinimumPatchVersion(), versionCase.minimum[2]) << versionCase.variant;
    }
}

} // namespace
