#include "StandinTestSupport.hpp"

#include "R3DSDK.hpp"
#include "Version.hpp"

#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

using R3DSDK::FinalizeSdk;
using R3DSDK::GetSdkVersion;
using R3DSDK::InitializeSdk;
using namespace R3DSDKTest;

namespace {

std::string versionWith(const std::string& buildNames, const std::string& directory) {
    return std::string(R3DSDK::ClientVersionText) + buildNames + " [" + directory + "]";
}

// The parts stand in `log` in this order.
void expectInOrder(const std::string& log, const std::vector<std::string>& parts) {
    std::size_t from = 0;
    for (const std::string& part : parts) {
        const std::size_t found = log.find(part, from);
        ASSERT_NE(found, std::string::npos) << "missing in order: " << part << "\nlog:\n" << log;
        from = found + part.size();
    }
}

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

void expectNoState() {
    EXPECT_EQ(R3DSDK::g_clip, nullptr);
    EXPECT_EQ(R3DSDK::g_dl_REDMetal, nullptr);
    EXPECT_EQ(R3DSDK::g_apiTables[0], nullptr);
    EXPECT_EQ(R3DSDK::g_keyValueStore, nullptr);
    EXPECT_STREQ(GetSdkVersion(), R3DSDK::ClientVersionText);
}

// Every test starts and ends without SDK state and without "R3DSDKPATH".
class SdkLifecycleTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* value = std::getenv("R3DSDKPATH");
        hadEnvironment = value != nullptr;
        previousEnvironment = hadEnvironment ? value : "";
        unsetenv("R3DSDKPATH");
        FinalizeSdk();
    }
    void TearDown() override {
        FinalizeSdk();
        if (hadEnvironment) {
            setenv("R3DSDKPATH", previousEnvironment.c_str(), 1);
        } else {
            unsetenv("R3DSDKPATH");
        }
    }

    // Starts from `directory` with "R3DSDKPATH" naming `environment` (unset
    // when empty) and the whole start-up log captured into `log`.
    int start(const std::string& directory, const std::string& environment, std::string& log) {
        if (environment.empty()) {
            unsetenv("R3DSDKPATH");
        } else {
            setenv("R3DSDKPATH", environment.c_str(), 1);
        }
        LogCapture capture;
        R3DSDK::g_logLevel = R3DSDK::LogLevelVerbose;
        const int status = InitializeSdk(directory.c_str(), 0);
        log = capture.finish();
        // The started state keeps the level it was given; quiet it again.
        if (R3DSDK::g_keyValueStore != nullptr && R3DSDK::g_keyValueStore != &capture.store) {
            R3DSDK::g_keyValueStore->AddUint64(0, 0);
        }
        return status;
    }

    bool hadEnvironment = false;
    std::string previousEnvironment;
};

} // namespace

TEST_F(SdkLifecycleTest, StartsFromTheInstallDirectoryAndFinalisesOnce) {
    const std::string path = standinPath("default");
    StandinCalls calls(path);
    ASSERT_TRUE(calls.valid());

    ASSERT_EQ(InitializeSdk(standinDirectory("default").c_str(), 0), 0);
    EXPECT_EQ(GetSdkVersion(), versionWith(" REDR3D stand-in 8.4.0", standinDirectory("default")));
    ASSERT_NE(R3DSDK::g_clip, nullptr);
    EXPECT_TRUE(R3DSDK::g_clip->Loaded());
    EXPECT_FALSE(R3DSDK::g_dl_REDCuda->Loaded());

    const R3DSDK::IKeyValueStore& store = *R3DSDK::g_keyValueStore;
    EXPECT_EQ(store.GetUint64(10), 8u);
    EXPECT_EQ(store.GetUint64(11), 4u);
    EXPECT_TRUE(store.Exists(12) && store.Exists(30) && store.Exists(1000) && store.Exists(1001));
    EXPECT_STREQ(static_cast<const char*>(store.GetPointer(13)), "53216");
    EXPECT_STREQ(static_cast<const char*>(store.GetPointer(15)),
                 "R3DAPI 8.4.0-53216 (20230817 Mx64S)");
    EXPECT_STREQ(static_cast<const char*>(store.GetPointer(20)), " Mx64S");

    // The probe ran phase 0 and finalised; the trial ran phases 0, 1 and 2.
    EXPECT_EQ(calls.initializeCalls(0), 2u);
    EXPECT_EQ(calls.initializeCalls(1), 1u);
    EXPECT_EQ(calls.initializeCalls(2), 1u);
    EXPECT_EQ(calls.finalizeCalls(), 1u);

    FinalizeSdk();
    expectNoState();
    EXPECT_EQ(calls.finalizeCalls(), 2u);
    FinalizeSdk();
    EXPECT_EQ(calls.finalizeCalls(), 2u);
}

TEST_F(SdkLifecycleTest, ANullOrEmptyDirectoryLeavesTheStateAlone) {
    EXPECT_EQ(InitializeSdk(nullptr, 0), 15);
    expectNoState();

    ASSERT_EQ(InitializeSdk(standinDirectory("default").c_str(), 0), 0);
    const std::string version = GetSdkVersion();
    EXPECT_EQ(InitializeSdk(nullptr, 0), 15);
    EXPECT_EQ(InitializeSdk("", 0), 15);
    EXPECT_EQ(GetSdkVersion(), version);
    EXPECT_TRUE(R3DSDK::g_clip != nullptr && R3DSDK::g_clip->Loaded());
}

TEST_F(SdkLifecycleTest, LogsEveryStepOfTheStartUp) {
    const std::string older = standinDirectory("version-8.3.0");
    const std::string newer = standinDirectory("default");
    const std::string install = older.substr(0, older.size() - 1);
    const std::string version = versionWith(" REDR3D stand-in 8.4.0", newer);
    const std::string candidates = "----------------------\n"
                                   "0: idx = 1, status = 0, version = 8.4.0: " +
                                   newer +
                                   "\n"
                                   "1: idx = 0, status = 0, version = 8.3.0: " +
                                   older + "\n----------------------\n";
    std::string log;
    ASSERT_EQ(start(install, newer, log), 0);
    expectInOrder(log, {"[INIT LIB  ] 0x0 at " + install + "\n-" + R3DSDK::ClientVersionText + "\n",
                        "[LOAD PATH ] " + install + "\n", "[LOAD PATH ] " + newer + "\n",
                        candidates, "[OK INIT2  ]\n", candidates});
    EXPECT_TRUE(endsWith(log, "-" + version + "\n[OK INIT   ]\n")) << log;

    // A companion that does not load fails the directory with its kind's
    // code; an unknown answer of the import list is only a warning.
    const std::string directory = standinDirectory("companion-missing");
    ASSERT_EQ(start(directory, "", log), 3);
    expectInOrder(log, {"[WARN INT. ] unknown options: 2A\n",
                        "[FAIL LOAD ] 1 -> 3 - " + directory + "REDCuda.dylib\n[FAIL LOAD ]\n",
                        "0: idx = 0, status = 3, version = 8.4.0: " + directory +
                            "\n----------------------\n"});
    EXPECT_TRUE(endsWith(log, "[FAIL INIT ] error 3\n")) << log;
    expectNoState();
}

TEST_F(SdkLifecycleTest, AFailedStartReturnsItsStatusAndLeavesNoState) {
    char emptyTemplate[] = "/tmp/okalu-sdk-empty-XXXXXX";
    const char* empty = mkdtemp(emptyTemplate);
    ASSERT_NE(empty, nullptr);

    struct Case {
        std::string directory;
        int expected;
    };
    const Case cases[] = {
        {empty, 2},                                 // no library
        {standinDirectory("version-8.2.9"), 6},     // too old
        {standinDirectory("minimum-8.5.0"), 6},     // asks for a newer client
        {standinDirectory("wrong-id"), 7},          // another identity
        {standinDirectory("no-clip-entry"), 7},     // a core table entry missing
        {standinDirectory("phase0-3"), 3},          // its own phase 0 result
        {standinDirectory("phase2-companion"), 42}, // its companion's phase 2
    };
    for (const Case& c : cases) {
        EXPECT_EQ(InitializeSdk(c.directory.c_str(), 0), c.expected) << c.directory;
        expectNoState();
        EXPECT_FALSE(isLoaded(c.directory + "REDR3D.dylib")) << c.directory;
    }
    rmdir(empty);
}

TEST_F(SdkLifecycleTest, TriesTheNewestLibraryFirstAndTheLaterDirectoryOnATie) {
    struct Case {
        const char* install;
        const char* environment;
        const char* selected;
        const char* buildName;
    };
    const Case cases[] = {
        {"version-8.3.0", "version-8.4.1", "version-8.4.1", " REDR3D stand-in 8.4.1"},
        {"version-8.4.1", "version-8.3.0", "version-8.4.1", " REDR3D stand-in 8.4.1"},
        {"version-8.2.9", "version-8.3.0", "version-8.3.0", " REDR3D stand-in 8.3.0"},
        {"default", "null-build-names", "null-build-names", " "},
        {"null-build-names", "default", "default", " REDR3D stand-in 8.4.0"},
    };
    for (const Case& c : cases) {
        std::string log;
        EXPECT_EQ(start(standinDirectory(c.install), standinDirectory(c.environment), log), 0)
            << c.install;
        EXPECT_EQ(GetSdkVersion(), versionWith(c.buildName, standinDirectory(c.selected)))
            << c.install << " and " << c.environment;
    }
}

TEST_F(SdkLifecycleTest, ADirectoryIsSearchedOnceHoweverItIsSpelt) {
    const std::string directory = standinDirectory("default");
    const std::string bare = directory.substr(0, directory.size() - 1);
    std::string log;
    ASSERT_EQ(start(bare, directory, log), 0);
    EXPECT_TRUE(contains(log, "[FAIL INT. ] path '" + directory + "' already exists at index 0\n"));
    EXPECT_EQ(GetSdkVersion(), versionWith(" REDR3D stand-in 8.4.0", directory));
}

TEST_F(SdkLifecycleTest, FollowsRedirectsWithinTheDirectoryLimit) {
    std::string log;
    ASSERT_EQ(start(standinDirectory("redirect"), "", log), 0);
    EXPECT_TRUE(
        contains(log, "[LOAD PATH ] " + std::string(OKALU_STANDIN_ROOT) + "/version-8.4.1\n"));
    EXPECT_EQ(GetSdkVersion(),
              versionWith(" REDR3D stand-in 8.4.1", standinDirectory("version-8.4.1")));

    // A redirect to its own directory is refused, but the directory's own
    // library is still used.
    ASSERT_EQ(start(standinDirectory("redirect-self"), "", log), 0);
    EXPECT_TRUE(contains(log, "already exists at index 0\n"));
    EXPECT_EQ(GetSdkVersion(),
              versionWith(" REDR3D stand-in 8.4.0", standinDirectory("redirect-self")));

    // Ten directories, then the eleventh is refused; of the ten equal
    // versions the one added last wins.
    ASSERT_EQ(start(standinDirectory("chain-1"), "", log), 0);
    EXPECT_TRUE(contains(log, "[LOAD PATH ] " + std::string(OKALU_STANDIN_ROOT) +
                                  "/chain-11\n[FAIL INT. ] too many paths\n"));
    EXPECT_EQ(GetSdkVersion(), versionWith(" REDR3D stand-in 8.4.0", standinDirectory("chain-10")));
}

TEST_F(SdkLifecycleTest, LoadsAndInitialisesEveryCompanionOfTheDecoderLibrary) {
    const std::string directory = standinDirectory("imports");
    std::vector<std::unique_ptr<StandinCalls>> calls;
    for (const char* file : {"REDR3D.dylib", "REDR3DCore.dylib", "REDCuda.dylib", "REDCL.dylib",
                             "R3DDecoder.dylib", "REDMetal.dylib"}) {
        calls.push_back(std::make_unique<StandinCalls>(directory + file));
        ASSERT_TRUE(calls.back()->valid()) << file;
    }

    ASSERT_EQ(InitializeSdk(directory.c_str(), 0), 0);
    std::string names;
    for (int i = 0; i < 6; ++i) {
        names += " REDR3D stand-in 8.4.0";
    }
    EXPECT_EQ(GetSdkVersion(), versionWith(names, directory));
    for (const auto& library : calls) {
        EXPECT_EQ(library->initializeCalls(1), 1u);
        EXPECT_EQ(library->initializeCalls(2), 1u);
        EXPECT_EQ(library->lastHandleCount(1), 6u);
    }

    FinalizeSdk();
    for (std::size_t i = 1; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i]->finalizeCalls(), 1u);
    }
}

TEST_F(SdkLifecycleTest, KeepsTheFirstDirectoryOfTheProcessUnderKey31) {
    ASSERT_EQ(InitializeSdk(standinDirectory("default").c_str(), 0), 0);
    const std::string first = static_cast<const char*>(R3DSDK::g_keyValueStore->GetPointer(31));
    ASSERT_EQ(InitializeSdk(standinDirectory("version-8.3.0").c_str(), 0), 0);
    EXPECT_EQ(static_cast<const char*>(R3DSDK::g_keyValueStore->GetPointer(31)), first);
    EXPECT_NE(first, standinDirectory("version-8.3.0"));
}

TEST_F(SdkLifecycleTest, AHostDrivenStartIsWithdrawnButNeverDestroyed) {
    StandinCalls host(standinPath("default"));
    ASSERT_TRUE(host.valid());
    const void* handles[21];
    for (const void*& handle : handles) {
        handle = host.libraryHandle();
    }
    R3DSDK::KeyValueStore store;
    const std::uint32_t previousLevel = R3DSDK::g_logLevel;

    EXPECT_EQ(R3DSDK::InitializeInternal(R3DSDK::InitializePhase::Phase1, nullptr, handles, 1), 1);
    EXPECT_EQ(R3DSDK::InitializeInternal(R3DSDK::InitializePhase::Phase1, &store, handles, 21), 16);
    // The limit is told before a missing array.
    EXPECT_EQ(R3DSDK::InitializeInternal(R3DSDK::InitializePhase::Phase1, &store, nullptr, 21), 16);
    EXPECT_EQ(R3DSDK::InitializeInternal(R3DSDK::InitializePhase::Phase1, &store, nullptr, 1), 1);
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(R3DSDK::InitializeInternal(R3DSDK::InitializePhase::Phase1, &store, handles, 1),
                  0);
        EXPECT_EQ(R3DSDK::InitializeInternal(R3DSDK::InitializePhase::Phase2, &store, handles, 1),
                  0);
        EXPECT_EQ(R3DSDK::g_keyValueStore, &store);
        ASSERT_NE(R3DSDK::g_clip, nullptr);
        EXPECT_TRUE(R3DSDK::g_clip->Loaded());
        FinalizeSdk();
        expectNoState();
        // The host's library stays open and was never initialised by us.
        EXPECT_TRUE(isLoaded(standinPath("default")));
        EXPECT_EQ(host.finalizeCalls(), 0u);
    }

    // A host-driven state gives way to a normal start, and back.
    ASSERT_EQ(R3DSDK::InitializeInternal(R3DSDK::InitializePhase::Phase1, &store, handles, 1), 0);
    ASSERT_EQ(InitializeSdk(standinDirectory("version-8.3.0").c_str(), 0), 0);
    EXPECT_NE(R3DSDK::g_keyValueStore, &store);
    ASSERT_EQ(R3DSDK::InitializeInternal(R3DSDK::InitializePhase::Phase1, &store, handles, 1), 0);
    EXPECT_FALSE(isLoaded(standinPath("version-8.3.0")));
    FinalizeSdk();
    R3DSDK::g_logLevel = previousLevel;
}

TEST_F(SdkLifecycleTest, AHostDrivenStartLogsItsPhases) {
    StandinCalls host(standinPath("default"));
    ASSERT_TRUE(host.valid());
    const void* handles[] = {host.libraryHandle()};
    R3DSDK::KeyValueStore store;
    store.AddUint64(0, R3DSDK::LogLevelVerbose);
    const std::string version = R3DSDK::ClientVersionText;
    std::string log;
    {
        LogCapture capture;
        R3DSDK::InitializeInternal(R3DSDK::InitializePhase::Phase1, &store, handles, 21);
        log = capture.finish();
    }
    EXPECT_EQ(log, "[INIT INT1 ]\n+" + version +
                       "\n[FAIL INT. ] too many handles 21\n[FAIL LOAD ] 16\n");
    {
        LogCapture capture;
        ASSERT_EQ(R3DSDK::InitializeInternal(R3DSDK::InitializePhase::Phase1, &store, handles, 1),
                  0);
        log = capture.finish();
    }
    EXPECT_EQ(log.rfind("[INIT INT1 ]\n+" + version + "\n", 0), 0u) << log;
    EXPECT_TRUE(endsWith(log, "+" + version + " REDR3D stand-in 8.4.0\n[OK INT1   ]\n")) << log;
    {
        LogCapture capture;
        EXPECT_EQ(R3DSDK::InitializeInternal(R3DSDK::InitializePhase::Phase2, &store, handles, 1),
                  0);
        EXPECT_EQ(capture.finish(), "[INIT INT2 ]\n[OK INT2   ]\n");
    }
}
