// A frame that okalu-tafe rewrites, met by what happens around it on shared storage: a second
// run over the same frame, a run killed half-way, a new render put in the frame's place, a
// change of mode, a moved directory, a FIFO, a file-size limit, a colleague's group, a file system
// that refuses or fails owners and extended attributes, a drop folder that may not be listed,
// frames reached through symbolic links, another program writing the temporary file, runs that
// share no lock, renames that report a failure after they were made, storage that stores files
// when they are closed (a FUSE file system of the tests) and FAT through FUSE. Each run is the
// built program as a child process, stopped with SIGSTOP while its temporary file is being
// written, held by strace at a system call (with a delay) or made to fail one (with an error), or
// given failures of a network file system by a preloaded library, which makes a race or a
// failure certain.
#include "ToolProcess.hpp"

#include "Sources/VantTestFiles.hpp"
#include "Support/ExrFixtures.hpp"

#include <boost/filesystem.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace fs = boost::filesystem;

namespace {

std::string failed(const std::string& name, const std::string& message) {
    return "\r ERR: Failed to copy to \"" + name + "\". (" + message + ")\n";
}

std::string copied(const std::string& name) {
    return "\r  OK: Successfully copied to \"" + name + "\".\n";
}

const char* const changed = "Destination file changed during the rewrite.";

const char* const noOtherUser =
    "only root can run the tool as another user, with setpriv, where that user can run this build";

const char* const noStrace = "strace cannot trace here (not installed, or ptrace is not permitted)";

// The tool run with failures of a network file system (flock, renameat, renameat2; see
// tests/CrashSafety/SystemCallFaults.cpp), or empty where the library is not built.
// Under strace, LeakSanitizer cannot run (see strace above).
std::vector<std::string> withFaults(const std::string& faults, bool underStrace = false) {
#ifdef SYSTEM_CALL_FAULTS_LIBRARY
    const char* const sanitizerOptions = std::getenv("ASAN_OPTIONS");
    // AddressSanitizer wants its own library loaded first, which a preloaded one comes before.
    return {"env", std::string("LD_PRELOAD=") + SYSTEM_CALL_FAULTS_LIBRARY,
            "OKALU_TEST_FAULTS=" + faults,
            "ASAN_OPTIONS=" + std::string(sanitizerOptions ? sanitizerOptions : "") +
                ":verify_asan_link_order=0" + (underStrace ? ":detect_leaks=0" : "")};
#else
    static_cast<void>(faults);
    static_cast<void>(underStrace);
    return {};
#endif
}

const char* const noFaults = "the library of network file system failures is not built here";

// Where the file system makes files without a name, the run writes its new file without one, out
// of other programs' reach, and names it only once it is stored. These faults give it the name
// from the start, as where the file system makes none (NFS, FUSE, systems other than Linux), for
// the cases that need a file at that name while it is written. Where the library is not built,
// the system is not Linux, and the file has its name from the start anyway.
const std::string namedWhileWritten = "tmpfile=EOPNOTSUPP:always";

ToolInvocation named(ToolInvocation invocation) {
    invocation.wrapper = withFaults(namedWhileWritten);
    return invocation;
}

// A file system served by a program in the foreground and mounted with FUSE at a directory for
// the time of a test: unmounted, and the program ended, when it goes.
class FuseMount {
public:
    FuseMount(const std::vector<std::string>& command, const fs::path& directory)
        : directory(directory) {
        std::vector<std::string> texts = command;
        std::vector<char*> argv;
        for (std::string& text : texts) {
            argv.push_back(&text[0]);
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        if (posix_spawnp(&server, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            server = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (server > 0 && !isMounted() && std::chrono::steady_clock::now() < deadline &&
               ::waitpid(server, nullptr, WNOHANG) == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        mounted = server > 0 && isMounted();
    }

    ~FuseMount() {
        if (mounted && ::umount2(directory.c_str(), MNT_DETACH) != 0) {
            const std::string unmount = "fusermount3 -u -z '" + directory.string() + "' || " +
                                        "fusermount -u -z '" + directory.string() + "'";
            static_cast<void>(std::system(unmount.c_str()));
        }
        if (server <= 0) {
            return;
        }
        for (int wait = 0; wait < 500 && ::waitpid(server, nullptr, WNOHANG) == 0; ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (::kill(server, SIGKILL) == 0) {
            ::waitpid(server, nullptr, 0);
        }
    }

    FuseMount(const FuseMount&) = delete;
    FuseMount& operator=(const FuseMount&) = delete;

    /// Whether the file system was mounted; false where FUSE or the program is not available.
    bool isUsable() const { return mounted; }

private:
    bool isMounted() const {
        struct stat inside, parent;
        return ::stat(directory.c_str(), &inside) == 0 &&
               ::stat(directory.parent_path().c_str(), &parent) == 0 &&
               inside.st_dev != parent.st_dev;
    }

    fs::path directory;
    pid_t server = -1;
    bool mounted = false;
};

// The storage that a case mounts at the frame's directory, or nothing where it cannot.
std::unique_ptr<FuseMount> mountStorage(const std::string& storage, const fs::path& where) {
    std::vector<std::string> command;
    if (storage == "FAT through FUSE") {
        const fs::path image = where.parent_path() / "fat.img";
        const std::string format = "mkfs.vfat -F 32 -C '" + image.string() + "' 65536 >/dev/null";
        if (std::system(format.c_str()) != 0) {
            return nullptr;
        }
        command = {"fusefat", "-f", "-o", "rw+", image.string(), where.string()};
    } else if (storage == "bindfs ignoring chmod") {
        const fs::path store = where.parent_path() / "store";
        fs::create_directory(store);
        command = {"bindfs", "-f", "--chmod-ignore", store.string(), where.string()};
    } else if (storage.compare(0, 6, "rclone") == 0) {
        const fs::path store = where.parent_path() / "store";
        fs::create_directory(store);
        const std::string cache = storage == "rclone with a write cache" ? "writes" : "off";
        command = {"rclone",           "mount",
                   store.string(),     where.string(),
                   "--config",         "/dev/null",
                   "--cache-dir",      (where.parent_path() / "cache").string(),
                   "--vfs-cache-mode", cache,
                   "--vfs-write-back", "0s"};
    } else {
#ifdef STORE_ON_CLOSE_FILE_SYSTEM
        const fs::path store = where.parent_path() / "store";
        fs::create_directory(store);
        command = {STORE_ON_CLOSE_FILE_SYSTEM, store.string(), where.string(),
                   "--fail-stores-while=" + (where.parent_path() / "stores fail").string()};
        if (storage == "stores at close, hides open files") {
            command.push_back("--hide-open-files");
        } else if (storage == "stores at close, attributes fail") {
            command.push_back("--attributes-fail");
        }
#else
        return nullptr;
#endif
    }
    auto mount = std::make_unique<FuseMount>(command, where);
    return mount->isUsable() ? std::move(mount) : nullptr;
}

class RewriteSafetyTest : public ::testing::Test {
protected:
    void SetUp() override {
        ExrFixtures::writeFileBytes(
            path("clip.vant"),
            VantTestFiles::vantText({VantTestFiles::row2(0, "1", "01:00:00:00")}));
    }

    std::string path(const std::string& name) const { return directory.file(name); }

    // 2048 x 1024 half RGBA, uncompressed: 16 MB, so that writing and flushing the temporary
    // file takes long enough to be caught at it.
    void writeLargeFrame(const std::string& name, unsigned int seed) const {
        ExrFixtures::ExrFileSpec spec;
        spec.width = 2048;
        spec.height = 1024;
        spec.compression = Imf::NO_COMPRESSION;
        spec.timeCode = Imf::TimeCode(1, 0, 0, 0);
        spec.seed = seed;
        ExrFixtures::writeScanLineExr(path(name), spec);
    }

    ToolInvocation invocation(const std::string& destination, const std::string& other = "") const {
        ToolInvocation result;
        result.arguments = {"-s", "clip.vant", "-d", destination};
        if (!other.empty()) {
            result.arguments.push_back(other);
        }
        result.workingDirectory = directory.path().string();
        result.decoderLibraryDirectory = STANDIN_DIRECTORY;
        return result;
    }

    // setpriv running the tool as user 4321 with the given groups option, or empty where that
    // cannot be done (only root may, setpriv may be missing, that user may not run this build).
    std::vector<std::string> asUser4321(const std::string& groups) const {
        const std::vector<std::string> wrapper{"setpriv", "--reuid=4321", "--regid=4321", groups,
                                               "--"};
        ToolInvocation version = invocation("frame.exr");
        version.arguments = {"--version"};
        version.wrapper = wrapper;
        return ::geteuid() == 0 && runTool(version).output == "0.4.3\n"
                   ? wrapper
                   : std::vector<std::string>{};
    }

    // Stops the tool while it writes the frame's temporary file (one other than the file of the
    // inode notInode): false when the run got past it before it could be stopped.
    bool stopAtTemporaryFile(ToolProcess& tool, const std::string& name, ino_t notInode = 0) const {
        const std::string temporaryPath = path(name + ".tmp");
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        struct stat status;
        while (::lstat(temporaryPath.c_str(), &status) != 0 || status.st_ino == notInode) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(50));
        }
        return tool.stop() && ::lstat(temporaryPath.c_str(), &status) == 0;
    }

    std::vector<std::string> temporaryFiles(const fs::path& where) const {
        std::vector<std::string> names;
        for (fs::directory_iterator entry(where), end; entry != end; ++entry) {
            if (entry->path().extension() == ".tmp") {
                names.push_back(entry->path().filename().string());
            }
        }
        return names;
    }

    // Compared without printing 16 MB on a failure.
    bool holds(const std::string& name, const std::string& bytes) const {
        return ExrFixtures::readFileBytes(path(name)) == bytes;
    }

    ExrFixtures::TemporaryDirectory directory;
};

TEST_F(RewriteSafetyTest, ASecondRunRefusesAFrameInWorkAndAKilledRunLeavesItWhole) {
    writeLargeFrame("frame.exr", 1);
    fs::copy_file(path("frame.exr"), path("original.exr"));
    const std::string original = ExrFixtures::readFileBytes(path("frame.exr"));

    ToolProcess first(named(invocation("frame.exr")));
    ASSERT_TRUE(stopAtTemporaryFile(first, "frame.exr")) << "the run was not caught at work";
    struct stat temporaryBefore, temporaryAfter;
    ASSERT_EQ(::lstat(path("frame.exr.tmp").c_str(), &temporaryBefore), 0);

    const ToolResult second = runTool(invocation("frame.exr"));
    EXPECT_EQ(second.exitStatus, 1);
    EXPECT_NE(second.output.find(failed("frame.exr", "File is being written by another process.")),
              std::string::npos)
        << second.output;
    EXPECT_EQ(second.errors, "");
    // The first run's temporary file is still its own, the frame untouched.
    ASSERT_EQ(::lstat(path("frame.exr.tmp").c_str(), &temporaryAfter), 0);
    EXPECT_EQ(temporaryAfter.st_ino, temporaryBefore.st_ino);
    EXPECT_EQ(temporaryAfter.st_size, temporaryBefore.st_size);
    EXPECT_TRUE(holds("frame.exr", original));

    first.signal(SIGKILL);
    EXPECT_EQ(first.finish().terminatingSignal, SIGKILL);
    EXPECT_TRUE(holds("frame.exr", original));

    // The next run removes the killed run's leftover and rewrites the frame whole.
    const ToolResult third = runTool(invocation("frame.exr"));
    EXPECT_EQ(third.exitStatus, 0) << third.output;
    EXPECT_TRUE(ExrFixtures::readStringAttribute(path("frame.exr"),
                                                 ExrFixtures::lensCorrectionAttributeName));
    EXPECT_TRUE(ExrFixtures::rawChunks(path("frame.exr")) ==
                ExrFixtures::rawChunks(path("original.exr")));
    EXPECT_TRUE(temporaryFiles(directory.path()).empty());
}

// Something done to a frame, shots/frame.exr, while a run rewrites it, and what the run must leave.
struct Interference {
    std::string name;
    // strace's options, or none for a run stopped at its temporary file.
    std::vector<std::string> trace;
    // The system calls at which strace holds the run for the action, if it does.
    std::vector<long> heldAt;
    std::function<void(const fs::path&)> act;
    // The run's failure, or empty where it must rewrite the frame.
    std::string failure;
    // Whether the new render put in the frame's place stays, else the original frame.
    bool newerStays = false;
    // Where the frame stands at the end.
    std::string directory = "shots";
    // Readies the frame before the run; gives the reason to skip the case where it cannot.
    std::function<std::string(const fs::path& frame)> prepare = [](const fs::path&) {
        return std::string();
    };
    // The storage mounted at the frame's directory: "stores at close" (which fails every store
    // while a file "stores fail" stands beside that directory) or "FAT through FUSE"; empty for
    // the test's own directory.
    std::string storage{};
    // Failures of a network file system given to the run (OKALU_TEST_FAULTS), if any.
    std::string faults{};
    // The run's standard error, "{frame}" standing for the frame's path.
    std::string errors{};
    // Whether the frame holds the rewrite after a failure.
    bool rewriteStays = false;
    // Whether the frame keeps the mode, owner and group that it had before the run, and stands
    // alone in its directory (no hidden name, no copy left).
    bool keepsItsAccess = false;
};

void PrintTo(const Interference& interference, std::ostream* stream) {
    *stream << interference.name;
}

void putNewerInPlace(const fs::path& directory) {
    fs::rename(directory / "newer.exr", directory / "shots/frame.exr");
}

void makeFramePrivate(const fs::path& directory) {
    fs::permissions(directory / "shots/frame.exr", fs::owner_read | fs::owner_write);
}

// A group other than the one that the run's new files get, so that keeping it takes a chown.
std::string giveAnotherGroup(const fs::path& frame) {
    std::vector<gid_t> groups(64);
    groups.resize(static_cast<std::size_t>(std::max(::getgroups(64, groups.data()), 0)));
    groups.push_back(5678); // root's choice
    for (const gid_t group : groups) {
        if (group != ::getegid() && ::chown(frame.c_str(), static_cast<uid_t>(-1), group) == 0) {
            return "";
        }
    }
    return "the frame cannot be given another group (run as root or in a second group)";
}

// FAT through FUSE: one mode for every file, no chmod, no ACLs, no extended attributes.
const std::vector<std::string> withoutPermissionBits{
    "-e", "trace=fchmod,fgetxattr,fsetxattr,flistxattr",
    "-e", "inject=fchmod:error=ENOSYS",
    "-e", "inject=fgetxattr,fsetxattr,flistxattr:error=EOPNOTSUPP"};

// A second run over the frame, which must leave it alone.
void runAgainAndFindItInUse(const fs::path& directory) {
    ToolInvocation second;
    second.arguments = {"-s", "clip.vant", "-d", "shots/frame.exr"};
    second.workingDirectory = directory.string();
    second.decoderLibraryDirectory = STANDIN_DIRECTORY;
    const std::string output = runTool(second).output;
    EXPECT_NE(output.find("File is being written by another process."), std::string::npos)
        << output;
}

std::string addUserAttribute(const fs::path& frame) {
    return ::setxattr(frame.c_str(), "user.okalu.note", "kept", 4, 0) == 0
               ? ""
               : "the file system under the test directory refuses user extended attributes";
}

class InterferenceTest : public RewriteSafetyTest,
                         public ::testing::WithParamInterface<Interference> {};

TEST_P(InterferenceTest, TheRunKeepsWhatOthersDidAndLeavesNoTemporaryFile) {
    const Interference& interference = GetParam();
    const fs::path shots = directory.path() / "shots";
    fs::create_directory(shots);
    std::unique_ptr<FuseMount> storage;
    if (!interference.storage.empty()) {
        storage = mountStorage(interference.storage, shots);
        if (storage == nullptr) {
            GTEST_SKIP() << interference.storage << " cannot be mounted here";
        }
    }
    writeLargeFrame("shots/frame.exr", 1);
    writeLargeFrame("newer.exr", 2);
    const std::string original = ExrFixtures::readFileBytes(path("shots/frame.exr"));
    ExrFixtures::writeFileBytes(path("original.exr"), original);
    const std::string newer = ExrFixtures::readFileBytes(path("newer.exr"));
    const std::string skip = interference.prepare(shots / "frame.exr");
    if (!skip.empty()) {
        GTEST_SKIP() << skip;
    }
    struct stat before;
    ASSERT_EQ(::lstat(path("shots/frame.exr").c_str(), &before), 0);

    ToolInvocation run = invocation("shots/frame.exr");
    const bool caughtAtTheTemporaryFile = interference.trace.empty() && interference.act;
    if (!interference.faults.empty() || caughtAtTheTemporaryFile) {
        run.wrapper = withFaults(caughtAtTheTemporaryFile ? namedWhileWritten : interference.faults,
                                 !interference.trace.empty());
        if (run.wrapper.empty() && !interference.faults.empty()) {
            GTEST_SKIP() << noFaults;
        }
    }
    if (!interference.trace.empty()) {
        const std::vector<std::string> traced = straceWrapper(interference.trace);
        if (traced.empty()) {
            GTEST_SKIP() << noStrace;
        }
        run.wrapper.insert(run.wrapper.begin(), traced.begin(), traced.end());
    }
    ToolProcess tool(run);
    if (!interference.heldAt.empty()) {
        ASSERT_TRUE(tool.waitForSystemCall(interference.heldAt)) << "not held by strace";
        interference.act(directory.path());
    } else if (caughtAtTheTemporaryFile) {
        ASSERT_TRUE(stopAtTemporaryFile(tool, "shots/frame.exr")) << "not caught at work";
        interference.act(directory.path());
        tool.signal(SIGCONT);
    }
    const ToolResult result = tool.finish();

    const std::string frame = interference.directory + "/frame.exr";
    const auto isRewrite = [&] {
        EXPECT_TRUE(ExrFixtures::readStringAttribute(path(frame),
                                                     ExrFixtures::lensCorrectionAttributeName));
        EXPECT_TRUE(ExrFixtures::rawChunks(path(frame)) ==
                    ExrFixtures::rawChunks(path("original.exr")));
    };
    if (interference.failure.empty()) {
        EXPECT_EQ(result.exitStatus, 0);
        EXPECT_NE(result.output.find(copied("frame.exr")), std::string::npos) << result.output;
        isRewrite();
    } else {
        EXPECT_EQ(result.exitStatus, 1);
        EXPECT_NE(result.output.find(failed("frame.exr", interference.failure)), std::string::npos)
            << result.output;
        if (interference.rewriteStays) {
            isRewrite();
        } else {
            EXPECT_TRUE(holds(frame, interference.newerStays ? newer : original))
                << "the frame is not the one that had to stay";
        }
    }
    std::string errors = interference.errors;
    for (std::string::size_type at; (at = errors.find("{frame}")) != std::string::npos;) {
        errors.replace(at, 7, fs::canonical(path(frame)).string());
    }
    EXPECT_EQ(result.errors, errors);
    EXPECT_TRUE(temporaryFiles(directory.path() / interference.directory).empty());
    if (interference.keepsItsAccess) {
        struct stat after;
        ASSERT_EQ(::lstat(path(frame).c_str(), &after), 0);
        EXPECT_EQ(after.st_mode & 07777, before.st_mode & 07777);
        EXPECT_EQ(after.st_uid, before.st_uid);
        EXPECT_EQ(after.st_gid, before.st_gid);
        std::vector<std::string> names;
        for (fs::directory_iterator entry(directory.path() / interference.directory), end;
             entry != end; ++entry) {
            names.push_back(entry->path().filename().string());
        }
        EXPECT_EQ(names, std::vector<std::string>{"frame.exr"});
    }
}

#ifdef __linux__
const std::vector<long> flockCall{SYS_flock};
const std::vector<long> renameCalls{SYS_rename, SYS_renameat, SYS_renameat2};
const std::vector<long> synchronizeCall{SYS_fdatasync};
#else
const std::vector<long> flockCall, renameCalls, synchronizeCall;
#endif

INSTANTIATE_TEST_SUITE_P(
    SharedStorage, InterferenceTest,
    ::testing::Values(
        Interference{"ReplacedDuringTheRewrite", {}, {}, putNewerInPlace, changed, true},
        // Between the timecode read and the lock: the metadata was chosen for the older frame.
        Interference{"ReplacedBeforeTheLock",
                     {"-e", "trace=flock", "-e", "inject=flock:delay_enter=2s"},
                     flockCall,
                     putNewerInPlace,
                     changed,
                     true},
        // After the last check, before the rename.
        Interference{"ReplacedJustBeforeTheRename",
                     {"-e", "trace=rename,renameat,renameat2", "-e",
                      "inject=rename,renameat,renameat2:delay_enter=2s"},
                     renameCalls,
                     putNewerInPlace,
                     changed,
                     true},
        // Held as it enters the exchange, while a render takes the frame's place and a second
        // run finds the temporary file, and after it, while a third finds the first run's new
        // file in the frame's place, the render at the temporary name: the render goes back.
        Interference{
            "ReplacedJustBeforeTheExchangeWhileOtherRunsStart",
            {"-e", "trace=renameat2", "-e", "inject=renameat2:delay_enter=3s:delay_exit=5s:when=1"},
            renameCalls,
            [](const fs::path& directory) {
                struct stat render, displaced{};
                ASSERT_EQ(::lstat((directory / "newer.exr").c_str(), &render), 0);
                putNewerInPlace(directory);
                runAgainAndFindItInUse(directory);
                const fs::path temporary = directory / "shots/frame.exr.tmp";
                for (int wait = 0; wait < 10000 && (::lstat(temporary.c_str(), &displaced) != 0 ||
                                                    displaced.st_ino != render.st_ino);
                     ++wait) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                }
                ASSERT_EQ(displaced.st_ino, render.st_ino) << "no exchange";
                runAgainAndFindItInUse(directory);
            },
            changed,
            true},
        // The original keeps the mode it was given, which a rewrite would undo.
        Interference{"ModeChangedDuringTheRewrite", {}, {}, makeFramePrivate, changed},
        // After the last check, before the exchange: the frame displaced by it goes back.
        Interference{"ModeChangedJustBeforeTheRename",
                     {"-e", "trace=rename,renameat,renameat2", "-e",
                      "inject=rename,renameat,renameat2:delay_enter=2s"},
                     renameCalls,
                     makeFramePrivate,
                     changed},
        Interference{
            "DirectoryRenamedDuringTheRewrite",
            {},
            {},
            [](const fs::path& directory) { fs::rename(directory / "shots", directory / "moved"); },
            "",
            false,
            "moved"},
        // An exceeded quota, unlike a refusal, must not leave a frame with the wrong group.
        Interference{"OwnerNotSetForWantOfQuota",
                     {"-e", "trace=fchown", "-e", "inject=fchown:error=EDQUOT"},
                     {},
                     {},
                     "Temporary file could not be created.",
                     false,
                     "shots",
                     giveAnotherGroup},
        // A FUSE file system without chown: nothing had to change for a frame of the process's.
        Interference{"OwnerKeptWhereTheFileSystemHasNoChown",
                     {"-e", "trace=fchown", "-e", "inject=fchown:error=ENOSYS"},
                     {},
                     {},
                     ""},
        // Likewise for the extended attributes, which a file system may refuse as a whole.
        Interference{"AttributesNotSetForWantOfSpace",
                     {"-e", "trace=fsetxattr", "-e", "inject=fsetxattr:error=ENOSPC"},
                     {},
                     {},
                     "Temporary file could not be created.",
                     false,
                     "shots",
                     addUserAttribute},
        // Where the new file's mode is the frame's already, nothing had to change.
        Interference{"ModeKeptWhereTheFileSystemHasNoChmod",
                     withoutPermissionBits,
                     {},
                     {},
                     "",
                     false,
                     "shots",
                     [](const fs::path& frame) {
                         fs::permissions(frame, fs::owner_read | fs::owner_write);
                         return std::string();
                     }},
        // A mode that the umask narrows at the creation (022 or 002) still needs the chmod.
        Interference{"ModeNotSetWhereTheFileSystemHasNoChmod",
                     withoutPermissionBits,
                     {},
                     {},
                     "Temporary file could not be created.",
                     false,
                     "shots",
                     [](const fs::path& frame) {
                         fs::permissions(frame, fs::perms(0666));
                         return std::string();
                     }},
        Interference{"AttributesRefusedByTheFileSystem",
                     {"-e", "trace=fsetxattr", "-e", "inject=fsetxattr:error=EOPNOTSUPP"},
                     {},
                     {},
                     "",
                     false,
                     "shots",
                     addUserAttribute}),
    [](const ::testing::TestParamInfo<Interference>& info) { return info.param.name; });

// Renderers and scripts that write "<name>.tmp" themselves and rename it over the frame, without
// a lock: what they write into the run's temporary file is never taken for the rewrite.
void copyRenderIntoTheTemporaryFile(const fs::path& directory) {
    ExrFixtures::writeFileBytes((directory / "shots/frame.exr.tmp").string(),
                                ExrFixtures::readFileBytes((directory / "newer.exr").string()));
}

void writeInto(const fs::path& file) {
    const int descriptor = ::open(file.c_str(), O_WRONLY);
    ASSERT_GE(descriptor, 0);
    EXPECT_EQ(::pwrite(descriptor, "render", 6, 4096), 6);
    ::close(descriptor);
}

void writeIntoTheTemporaryFile(const fs::path& directory) {
    writeInto(directory / "shots/frame.exr.tmp");
}

std::vector<Interference> otherWritersAndStorages() {
    const char* const creationFailed = "Temporary file could not be created.";
    const char* const beingWritten = "File is being written by another process.";
    std::vector<Interference> cases;
    const auto add = [&cases](const std::string& name) -> Interference& {
        cases.emplace_back();
        cases.back().name = name;
        return cases.back();
    };
    // Storage that stores a file when it is closed: fsync stores nothing, so only a close made
    // before the exchange shows the store failing.
    add("StoredWhenClosed").storage = "stores at close";
    Interference& notStored = add("NotStoredWhenClosed");
    notStored.storage = "stores at close";
    notStored.prepare = [](const fs::path& frame) {
        ExrFixtures::writeFileBytes((frame.parent_path().parent_path() / "stores fail").string(),
                                    "");
        return std::string();
    };
    notStored.failure = creationFailed;
    // A real FAT file system through FUSE: one mode for every file, no chmod, no ACLs.
    add("FatThroughFuse").storage = "FAT through FUSE";

    // Once the run has written its file (a render copied into it before would be overwritten
    // whole, and harmless).
    Interference& copied = add("RenderCopiedIntoTheTemporaryFile");
    copied.trace = {"-e", "trace=fdatasync", "-e", "inject=fdatasync:delay_enter=2s:when=1"};
    copied.heldAt = synchronizeCall;
    copied.act = copyRenderIntoTheTemporaryFile;
    copied.failure = beingWritten;
    copied.faults = namedWhileWritten;
    // On FUSE storage the file has its name from the start, and is read back.
    Interference copiedOnFuse = copied;
    copiedOnFuse.name = "RenderCopiedIntoTheTemporaryFileOnStorageThatStoresAtClose";
    copiedOnFuse.faults.clear();
    copiedOnFuse.storage = "stores at close";
    cases.push_back(copiedOnFuse);
    // After the file was read back, while the run enters the exchange: the exchange is undone.
    Interference& written = add("TemporaryFileWrittenIntoJustBeforeTheExchange");
    written.trace = {"-e", "trace=renameat2", "-e", "inject=renameat2:delay_enter=2s:when=1"};
    written.heldAt = renameCalls;
    written.act = writeIntoTheTemporaryFile;
    written.failure = beingWritten;

    // A request sent again over a network after its answer was lost: made, yet reported failed.
    add("ExchangeMadeButReportedAFailure").faults = "renameat2=done:EIO";
    add("RenameMadeButReportedAFailure").faults = "renameat2=EINVAL,renameat=done:EIO";
    // The old frame, at the temporary name after the exchange, is removed by another program: the
    // swap back cannot be made, and standard error names only what is there.
    Interference& vanished = add("TemporaryNameRemovedRightAfterTheExchange");
    vanished.faults = "renameat2=done:vanish";
    vanished.failure = changed;
    vanished.rewriteStays = true;
    vanished.errors = "okalu-tafe: {frame} now holds the rewrite of the earlier file.\n";

    // The temporary file removed below a FUSE file system that hides open files (another host's
    // run, a cleanup job on the server) while the run renames it: the storage has moved the
    // frame to a hidden name, and the run puts it back, by a second name, or where the storage
    // refuses one, by a copy renamed into the free name.
    for (const bool linked : {true, false}) {
        Interference& removed =
            add(linked ? "TemporaryFileRemovedBelowDuringTheRename"
                       : "TemporaryFileRemovedBelowDuringTheRenameWithoutLinks");
        removed.storage = "stores at close, hides open files";
        removed.faults = "renameat2=EINVAL";
        removed.trace = {"-e", "trace=renameat,linkat", "-e",
                         "inject=renameat:delay_enter=2s:when=1"};
        if (!linked) {
            removed.trace.insert(removed.trace.end(), {"-e", "inject=linkat:error=EPERM"});
        }
        removed.heldAt = renameCalls;
        removed.act = [](const fs::path& directory) {
            fs::remove(directory / "store/frame.exr.tmp");
        };
        removed.failure = "Temporary file could not be renamed.";
        removed.prepare = [](const fs::path& frame) {
            fs::permissions(frame, fs::perms(0640));
            return std::string();
        };
        removed.keepsItsAccess = true;
    }
    // Storage that takes a chmod without applying it: the frame is rewritten with its mode where
    // the creation gives it, and where the umask narrows it (022 or 002), through the access ACL,
    // which the storage passes on.
    for (const bool narrowed : {false, true}) {
        Interference& ignored =
            add(narrowed ? "ChmodIgnoredAndTheModeNarrowedByTheUmask" : "ChmodIgnoredByTheStorage");
        ignored.storage = "bindfs ignoring chmod";
        ignored.prepare = [narrowed](const fs::path& frame) {
            // Through the mount, a chmod would be ignored as well; below, the mount shows it once
            // its cache of the frame's status runs out.
            const mode_t mode = narrowed ? 0666 : 0640;
            fs::permissions(frame.parent_path().parent_path() / "store" / frame.filename(),
                            fs::perms(mode));
            struct stat status {};
            for (int wait = 0; wait < 300 && (::stat(frame.c_str(), &status) != 0 ||
                                              (status.st_mode & 07777) != mode);
                 ++wait) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            return std::string();
        };
        ignored.keepsItsAccess = true;
    }
    // Storage that answers no request for an attribute (rclone): a frame without any.
    add("AttributesFailForEveryFile").storage = "stores at close, attributes fail";
    // A real one, which also numbers files by their path: the renamed file shows another inode.
    Interference& rclone = add("RcloneMountWithAWriteCache");
    rclone.storage = "rclone with a write cache";
    // The frame just written through the mount is uploaded after it was closed, which moves its
    // status: the run starts once the upload is done.
    const auto uploaded = [](const fs::path& frame) {
        const fs::path stored = frame.parent_path().parent_path() / "store" / frame.filename();
        for (int wait = 0;
             wait < 500 && (!fs::exists(stored) || fs::file_size(stored) != fs::file_size(frame));
             ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        return std::string();
    };
    rclone.prepare = uploaded;
    // Without a cache, a file cannot be written out of order, and one removed while open is
    // stored when it is closed: the temporary file is removed again after that.
    Interference& uncached = add("RcloneMountWithoutACache");
    uncached.storage = "rclone without a cache";
    uncached.prepare = uploaded;
    uncached.failure = creationFailed;
    // An I/O error of the frame's own, its directory answering: the frame is not rewritten.
    Interference& unreadable = add("AttributesFailForTheFrameAlone");
    unreadable.trace = {"-e", "trace=fgetxattr,flistxattr", "-e",
                        "inject=fgetxattr,flistxattr:error=EIO"};
    unreadable.failure = creationFailed;

    // A hard link of the frame made by hand at its temporary name is a second name, not work.
    add("HardLinkOfTheFrameAtTheTemporaryName").prepare = [](const fs::path& frame) {
        fs::create_hard_link(frame, frame.string() + ".tmp");
        return std::string();
    };
    return cases;
}

INSTANTIATE_TEST_SUITE_P(OtherWritersAndStorages, InterferenceTest,
                         ::testing::ValuesIn(otherWritersAndStorages()),
                         [](const ::testing::TestParamInfo<Interference>& info) {
                             return info.param.name;
                         });

// Where the file system makes files without a name, the run's new file has none while it is
// written: stopped in the middle of its writes, or held by strace at the flush after them, the run
// has put nothing beside the frame, a second run finds the frame in use, and a kill there leaves
// the frame as it was and no temporary file at all.
struct HeldRun {
    std::string name;
    // strace's options and the system calls at which it holds the run, or none for a run stopped
    // once its file without a name holds data.
    std::vector<std::string> trace;
    std::vector<long> heldAt;
};

// Stops the tool while it has a file without a name in the directory open, holding data and not
// named yet (as /proc shows it: "<directory>/#<inode> (deleted)"): false when the run got past it
// before it could be stopped.
bool stopWhileWritingUnnamedFile(ToolProcess& tool, const fs::path& directory) {
    const auto unnamedFile = [&](std::string& descriptor) {
        const fs::path descriptors = "/proc/" + std::to_string(tool.toolProcess()) + "/fd";
        boost::system::error_code error;
        for (fs::directory_iterator entry(descriptors, error), end; !error && entry != end;
             entry.increment(error)) {
            const std::string target = fs::read_symlink(entry->path(), error).string();
            struct stat status;
            if (!error && target.rfind(directory.string() + "/#", 0) == 0 && target.size() > 10 &&
                target.substr(target.size() - 10) == " (deleted)" &&
                ::stat(entry->path().c_str(), &status) == 0 && status.st_size > 0 &&
                (descriptor.empty() || entry->path().filename() == descriptor)) {
                descriptor = entry->path().filename().string();
                return true;
            }
        }
        return false;
    };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    std::string descriptor;
    while (tool.toolProcess() <= 0 || !unnamedFile(descriptor)) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
    return tool.stop() && unnamedFile(descriptor);
}

void PrintTo(const HeldRun& held, std::ostream* stream) {
    *stream << held.name;
}

class UnnamedWhileWrittenTest : public RewriteSafetyTest,
                                public ::testing::WithParamInterface<HeldRun> {};

TEST_P(UnnamedWhileWrittenTest, NothingBesideTheFrameAndAKillLeavesItAsItWas) {
#ifdef O_TMPFILE
    const int probe =
        ::open(directory.path().c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (probe < 0) {
        GTEST_SKIP() << "the file system under the test directory makes no file without a name";
    }
    ::close(probe);
#else
    GTEST_SKIP() << "no files without a name on this system";
#endif
    writeLargeFrame("frame.exr", 1);
    fs::copy_file(path("frame.exr"), path("original.exr"));
    const std::string original = ExrFixtures::readFileBytes(path("frame.exr"));
    ToolInvocation run = invocation("frame.exr");
    if (!GetParam().trace.empty()) {
        run.wrapper = straceWrapper(GetParam().trace);
        if (run.wrapper.empty()) {
            GTEST_SKIP() << noStrace;
        }
    }
    ToolProcess first(run);
    if (GetParam().trace.empty()) {
        ASSERT_TRUE(stopWhileWritingUnnamedFile(first, fs::canonical(directory.path())))
            << "not caught at work";
    } else {
        ASSERT_TRUE(first.waitForSystemCall(GetParam().heldAt)) << "not held by strace";
    }

    std::vector<std::string> names;
    for (fs::directory_iterator entry(directory.path()), end; entry != end; ++entry) {
        names.push_back(entry->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"clip.vant", "frame.exr", "original.exr"}));
    const ToolResult second = runTool(invocation("frame.exr"));
    EXPECT_NE(second.output.find(failed("frame.exr", "File is being written by another process.")),
              std::string::npos)
        << second.output;

    first.signalTool(SIGKILL);
    first.finish();
    EXPECT_TRUE(holds("frame.exr", original));
    EXPECT_TRUE(temporaryFiles(directory.path()).empty());
    const ToolResult third = runTool(invocation("frame.exr"));
    EXPECT_EQ(third.exitStatus, 0) << third.output;
    EXPECT_TRUE(ExrFixtures::rawChunks(path("frame.exr")) ==
                ExrFixtures::rawChunks(path("original.exr")));
}

#ifdef __linux__
INSTANTIATE_TEST_SUITE_P(
    HeldRuns, UnnamedWhileWrittenTest,
    ::testing::Values(HeldRun{"WhileWritingTheData", {}, {}},
                      HeldRun{"AtTheFlushOfTheData",
                              {"-e", "trace=fdatasync", "-e", "inject=fdatasync:delay_enter=3s"},
                              synchronizeCall}),
    [](const ::testing::TestParamInfo<HeldRun>& info) { return info.param.name; });
#endif

TEST_F(RewriteSafetyTest, ARunWithoutALockNeverRenamesAnotherRunsTemporaryFile) {
    writeLargeFrame("frame.exr", 1);
    fs::copy_file(path("frame.exr"), path("original.exr"));
    // Where the file system cannot lock, as over some network file systems: the first run is
    // held with its temporary file written, and a second run takes the frame meanwhile.
    ToolInvocation unlocked = invocation("frame.exr");
    const std::vector<std::string> traced =
        straceWrapper({"-e", "trace=flock,fdatasync", "-e", "inject=flock:error=ENOLCK", "-e",
                       "inject=fdatasync:delay_enter=3s"});
    if (traced.empty()) {
        GTEST_SKIP() << noStrace;
    }
    unlocked.wrapper = withFaults(namedWhileWritten, true);
    unlocked.wrapper.insert(unlocked.wrapper.begin(), traced.begin(), traced.end());
    ToolProcess first(unlocked);
#ifdef __linux__
    ASSERT_TRUE(first.waitForSystemCall({SYS_fdatasync})) << "not held by strace";
#endif
    struct stat firstTemporary;
    ASSERT_EQ(::lstat(path("frame.exr.tmp").c_str(), &firstTemporary), 0);
    ToolProcess second(named(invocation("frame.exr")));
    ASSERT_TRUE(stopAtTemporaryFile(second, "frame.exr", firstTemporary.st_ino))
        << "the second run was not caught at work";

    // The second run's half-written file must not take the frame's place.
    const ToolResult firstResult = first.finish();
    EXPECT_EQ(firstResult.exitStatus, 1);
    EXPECT_NE(firstResult.output.find(failed("frame.exr", "Temporary file could not be renamed.")),
              std::string::npos)
        << firstResult.output;
    second.signal(SIGCONT);
    const ToolResult secondResult = second.finish();
    EXPECT_EQ(secondResult.exitStatus, 0) << secondResult.output;
    EXPECT_TRUE(ExrFixtures::rawChunks(path("frame.exr")) ==
                ExrFixtures::rawChunks(path("original.exr")));
    EXPECT_TRUE(temporaryFiles(directory.path()).empty());
}

// Two runs that share no lock (NFS without a lock service, or two views of one directory): the
// second takes the first one's temporary file for a leftover and writes its own in its place,
// in the instant before the first one's exchange.
TEST_F(RewriteSafetyTest, AnotherRunsFileSwappedInWithoutALockGoesBack) {
    writeLargeFrame("frame.exr", 1);
    fs::copy_file(path("frame.exr"), path("original.exr"));
    const std::string original = ExrFixtures::readFileBytes(path("frame.exr"));
    ToolInvocation unlocked = invocation("frame.exr");
    unlocked.wrapper = withFaults("flock=ENOLCK:always," + namedWhileWritten);
    if (unlocked.wrapper.empty()) {
        GTEST_SKIP() << noFaults;
    }
    ToolInvocation held = unlocked;
    held.wrapper = withFaults("flock=ENOLCK:always," + namedWhileWritten, true);
    const std::vector<std::string> traced =
        straceWrapper({"-e", "trace=renameat2", "-e", "inject=renameat2:delay_enter=4s:when=1"});
    if (traced.empty()) {
        GTEST_SKIP() << noStrace;
    }
    held.wrapper.insert(held.wrapper.begin(), traced.begin(), traced.end());
    ToolProcess first(held);
    ASSERT_TRUE(first.waitForSystemCall(renameCalls)) << "not held by strace";
    struct stat firstTemporary;
    ASSERT_EQ(::lstat(path("frame.exr.tmp").c_str(), &firstTemporary), 0);
    ToolProcess second(unlocked);
    ASSERT_TRUE(stopAtTemporaryFile(second, "frame.exr", firstTemporary.st_ino))
        << "the second run was not caught at work";

    // The first run's exchange swaps the second one's half-written file in, and back.
    const ToolResult firstResult = first.finish();
    EXPECT_EQ(firstResult.exitStatus, 1);
    EXPECT_NE(firstResult.output.find(failed("frame.exr", "Temporary file could not be renamed.")),
              std::string::npos)
        << firstResult.output;
    EXPECT_EQ(firstResult.errors, "");
    EXPECT_TRUE(holds("frame.exr", original));
    // The frame was moved away and back meanwhile (its change time moved): the second run keeps
    // it too, and removes its own file.
    second.signal(SIGCONT);
    const ToolResult secondResult = second.finish();
    EXPECT_EQ(secondResult.exitStatus, 1);
    EXPECT_NE(secondResult.output.find(failed("frame.exr", changed)), std::string::npos)
        << secondResult.output;
    EXPECT_TRUE(holds("frame.exr", original));
    EXPECT_TRUE(temporaryFiles(directory.path()).empty());
}

#ifdef SYS_newfstatat
TEST_F(RewriteSafetyTest, ASwapBackThatFailsNamesWhereBothFilesStand) {
    writeLargeFrame("frame.exr", 1);
    writeLargeFrame("newer.exr", 2);
    const std::string newer = ExrFixtures::readFileBytes(path("newer.exr"));
    // Of the calls on the temporary name, the second look-up (the last check before the
    // exchange) is held while a render takes the frame's place, and the second exchange, which
    // would put the render back, fails.
    ToolInvocation run = invocation("frame.exr");
    run.wrapper = straceWrapper({"-P", "frame.exr.tmp", "-e", "trace=newfstatat,renameat2", "-e",
                                 "inject=newfstatat:delay_enter=3s:when=2", "-e",
                                 "inject=renameat2:error=EIO:when=2"});
    if (run.wrapper.empty()) {
        GTEST_SKIP() << noStrace;
    }
    ToolProcess tool(run);
    ASSERT_TRUE(tool.waitForSystemCall({SYS_newfstatat}, std::chrono::milliseconds(500)));
    fs::rename(path("newer.exr"), path("frame.exr"));
    const ToolResult result = tool.finish();

    EXPECT_NE(result.output.find(failed("frame.exr", changed)), std::string::npos);
    const std::string frame = fs::canonical(path("frame.exr")).string();
    EXPECT_EQ(result.errors, "okalu-tafe: " + frame +
                                 " now holds the rewrite of the earlier file; " + frame +
                                 ".tmp holds the file that was found in its place.\n");
    EXPECT_TRUE(holds("frame.exr.tmp", newer));
    EXPECT_TRUE(ExrFixtures::readStringAttribute(path("frame.exr"),
                                                 ExrFixtures::lensCorrectionAttributeName));
}
#endif

// The new file written into by another program in the instant before the exchange, and the swap
// back failing: the frame's name holds a file that is not the rewrite, and standard error says
// where the earlier frame is.
TEST_F(RewriteSafetyTest, ASwapBackThatFailsNamesTheEarlierFileAtTheTemporaryName) {
    writeLargeFrame("frame.exr", 1);
    const std::string original = ExrFixtures::readFileBytes(path("frame.exr"));
    ToolInvocation run = invocation("frame.exr");
    run.wrapper = withFaults("renameat2=ok/EIO", true);
    const std::vector<std::string> traced =
        straceWrapper({"-e", "trace=renameat2", "-e", "inject=renameat2:delay_enter=2s:when=1"});
    if (run.wrapper.empty() || traced.empty()) {
        GTEST_SKIP() << (traced.empty() ? noStrace : noFaults);
    }
    run.wrapper.insert(run.wrapper.begin(), traced.begin(), traced.end());
    ToolProcess tool(run);
    ASSERT_TRUE(tool.waitForSystemCall(renameCalls)) << "not held by strace";
    writeInto(directory.path() / "frame.exr.tmp");
    const ToolResult result = tool.finish();

    EXPECT_NE(result.output.find(failed("frame.exr", "File is being written by another process.")),
              std::string::npos)
        << result.output;
    const std::string frame = fs::canonical(path("frame.exr")).string();
    EXPECT_EQ(result.errors, "okalu-tafe: " + frame + ".tmp holds the earlier file.\n");
    EXPECT_TRUE(holds("frame.exr.tmp", original));
}

TEST_F(RewriteSafetyTest, AFifoAtAFramesNameFailsThatFrameAndTheRunEnds) {
    writeLargeFrame("a.exr", 1);
    writeLargeFrame("b.exr", 2);
    ToolProcess tool(named(invocation("a.exr", "b.exr")));
    ASSERT_TRUE(stopAtTemporaryFile(tool, "a.exr")) << "the run was not caught at work";
    fs::remove(path("b.exr"));
    ASSERT_EQ(::mkfifo(path("b.exr").c_str(), 0644), 0);
    tool.signal(SIGCONT);
    const ToolResult result = tool.finish(std::chrono::seconds(60));

    EXPECT_EQ(result.exitStatus, 1) << "a run blocked on the FIFO is killed after a minute";
    EXPECT_NE(result.output.find(copied("a.exr")), std::string::npos) << result.output;
    EXPECT_NE(result.output.find(failed("b.exr", "File does not exist.")), std::string::npos);
}

TEST_F(RewriteSafetyTest, AFrameBeyondTheFileSizeLimitFailsAloneAndTheRunGoesOn) {
    writeLargeFrame("a.exr", 1);
    ExrFixtures::ExrFileSpec small;
    small.timeCode = Imf::TimeCode(1, 0, 0, 0);
    ExrFixtures::writeScanLineExr(path("b.exr"), small);
    const std::string original = ExrFixtures::readFileBytes(path("a.exr"));
    ToolInvocation limited = invocation("a.exr", "b.exr");
    limited.fileSizeLimit = 1 << 20; // as by "ulimit -f 2048"

    const ToolResult result = runTool(limited);
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.output.find(failed("a.exr", "Temporary file could not be created.")),
              std::string::npos)
        << result.output;
    EXPECT_NE(result.output.find(copied("b.exr") + "Completed with 1 error!\n"), std::string::npos);
    EXPECT_TRUE(holds("a.exr", original));
    EXPECT_TRUE(temporaryFiles(directory.path()).empty());
}

TEST_F(RewriteSafetyTest, AColleaguesFrameKeepsItsGroupWhereItsOwnerCannotBeKept) {
    // A member of the show's group 5678 rewrites a colleague's frame.
    const std::vector<std::string> member = asUser4321("--groups=5678");
    if (member.empty()) {
        GTEST_SKIP() << noOtherUser;
    }
    ExrFixtures::ExrFileSpec spec;
    spec.timeCode = Imf::TimeCode(1, 0, 0, 0);
    ExrFixtures::writeScanLineExr(path("frame.exr"), spec);
    ASSERT_EQ(::chown(path("frame.exr").c_str(), 1234, 5678), 0);
    ASSERT_EQ(::chmod(path("frame.exr").c_str(), 0664), 0);
    ASSERT_EQ(::chmod(directory.path().c_str(), 0777), 0);

    ToolInvocation rewrite = invocation("frame.exr");
    rewrite.wrapper = member;
    const ToolResult result = runTool(rewrite);
    EXPECT_EQ(result.exitStatus, 0) << result.output;
    struct stat status;
    ASSERT_EQ(::stat(path("frame.exr").c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, 4321u);
    EXPECT_EQ(status.st_gid, 5678u) << "the colleague's group is lost";
    EXPECT_EQ(status.st_mode & 07777, 0664u);
}

// A write by a process without the capability to keep them clears set-user-ID and set-group-ID
// bits: the mode is set after the last write.
TEST_F(RewriteSafetyTest, AnOwnersFrameKeepsItsSetIdBits) {
    const std::vector<std::string> owner = asUser4321("--clear-groups");
    if (owner.empty()) {
        GTEST_SKIP() << noOtherUser;
    }
    writeLargeFrame("frame.exr", 1);
    ASSERT_EQ(::chown(path("frame.exr").c_str(), 4321, 4321), 0);
    ASSERT_EQ(::chmod(path("frame.exr").c_str(), 06775), 0);
    ASSERT_EQ(::chmod(directory.path().c_str(), 0777), 0);

    ToolInvocation rewrite = invocation("frame.exr");
    rewrite.wrapper = owner;
    const ToolResult result = runTool(rewrite);
    EXPECT_EQ(result.exitStatus, 0) << result.output;
    struct stat status;
    ASSERT_EQ(::stat(path("frame.exr").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 06775u);
    EXPECT_EQ(status.st_uid, 4321u);
    EXPECT_EQ(status.st_gid, 4321u);
    EXPECT_TRUE(ExrFixtures::readStringAttribute(path("frame.exr"),
                                                 ExrFixtures::lensCorrectionAttributeName));
}

TEST_F(RewriteSafetyTest, AFrameInADirectoryThatMayNotBeListedIsRewrittenByItsOwner) {
    const std::vector<std::string> owner = asUser4321("--clear-groups");
    if (owner.empty()) {
        GTEST_SKIP() << noOtherUser;
    }
    // A drop folder: its owner may write and enter it, not list it.
    fs::create_directory(directory.path() / "drop");
    ExrFixtures::ExrFileSpec spec;
    spec.timeCode = Imf::TimeCode(1, 0, 0, 0);
    ExrFixtures::writeScanLineExr(path("drop/frame.exr"), spec);
    ASSERT_EQ(::chown(path("drop/frame.exr").c_str(), 4321, 4321), 0);
    ASSERT_EQ(::chown(path("drop").c_str(), 4321, 4321), 0);
    ASSERT_EQ(::chmod(path("drop").c_str(), 0300), 0);
    ASSERT_EQ(::chmod(directory.path().c_str(), 0755), 0);

    ToolInvocation rewrite = invocation("drop/frame.exr");
    rewrite.wrapper = owner;
    const ToolResult result = runTool(rewrite);
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_NE(result.output.find(copied("frame.exr")), std::string::npos) << result.output;
    EXPECT_TRUE(ExrFixtures::readStringAttribute(path("drop/frame.exr"),
                                                 ExrFixtures::lensCorrectionAttributeName));
    EXPECT_TRUE(temporaryFiles(directory.path() / "drop").empty());
}

TEST_F(RewriteSafetyTest, ALinkedFrameIsRewrittenWhereTheLinksLeadAndTheLinksStay) {
    fs::create_directories(directory.path() / "links");
    fs::create_directories(directory.path() / "store");
    ExrFixtures::ExrFileSpec spec;
    spec.timeCode = Imf::TimeCode(1, 0, 0, 0);
    ExrFixtures::writeScanLineExr(path("store/plate.exr"), spec);
    // A chain of two relative links, each taken against its own directory.
    fs::create_symlink("links/shot.exr", path("frame.exr"));
    fs::create_symlink("../store/plate.exr", path("links/shot.exr"));

    const ToolResult result = runTool(invocation("frame.exr"));
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_NE(result.output.find("\r  OK: Successfully copied to \"frame.exr\".\n"),
              std::string::npos)
        << result.output;
    EXPECT_TRUE(fs::is_symlink(path("frame.exr")));
    EXPECT_EQ(fs::read_symlink(path("frame.exr")), "links/shot.exr");
    EXPECT_EQ(fs::read_symlink(path("links/shot.exr")), "../store/plate.exr");
    EXPECT_TRUE(ExrFixtures::readStringAttribute(path("store/plate.exr"),
                                                 ExrFixtures::lensCorrectionAttributeName));
    for (const char* where : {"", "links", "store"}) {
        EXPECT_TRUE(temporaryFiles(directory.path() / where).empty()) << where;
    }
}

} // namespace
