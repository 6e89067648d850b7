// okalu-tafe run over 200 frames of a few hundred kilobytes each and killed
// with SIGKILL at random moments, restarted after every kill. After each kill
// every frame must be there, complete, and byte for byte either its original
// or the tool's finished rewrite of it; a ".tmp" file may stand only beside
// such a frame, and an uninterrupted run must leave none behind.
#include "Sources/VantTestFiles.hpp"
#include "Support/ExrFixtures.hpp"

#include <boost/filesystem/operations.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr int frameCount = 200;
constexpr int killCount = 50;
// 384 x 256 half RGBA with noisy pixels: about 420 KB a frame after ZIP.
constexpr int frameWidth = 384;
constexpr int frameHeight = 256;
constexpr unsigned int randomSeed = 20240611u;

using Clock = std::chrono::steady_clock;

// Starts okalu-tafe with the stand-in decoder library and its output
// discarded; returns the child's process id.
pid_t startTool(const std::vector<std::string>& arguments) {
    std::vector<std::string> texts{OKALU_TAFE_EXECUTABLE};
    texts.insert(texts.end(), arguments.begin(), arguments.end());
    std::vector<std::string> environment;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        if (std::strncmp(*variable, "R3DSDKPATH=", 11) != 0) {
            environment.emplace_back(*variable);
        }
    }
    environment.push_back(std::string("R3DSDKPATH=") + STANDIN_DIRECTORY);

    auto pointers = [](std::vector<std::string>& strings) {
        std::vector<char*> result;
        for (std::string& text : strings) {
            result.push_back(&text[0]);
        }
        result.push_back(nullptr);
        return result;
    };
    std::vector<char*> argv = pointers(texts);
    std::vector<char*> envp = pointers(environment);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = -1;
    const int error = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        throw std::runtime_error(std::string("okalu-tafe could not be started: ") +
                                 std::strerror(error));
    }
    return child;
}

int waitFor(pid_t child) {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            throw std::runtime_error("waitpid failed");
        }
    }
    return status;
}

// Read in one piece and hashed by the standard library: the check runs over
// 80 MB after every kill, also in the sanitizer build.
std::size_t hashOfFile(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat status;
    if (descriptor < 0 || ::fstat(descriptor, &status) != 0) {
        if (descriptor >= 0) {
            ::close(descriptor);
        }
        throw std::runtime_error("cannot read " + path);
    }
    std::string bytes(static_cast<std::size_t>(status.st_size), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t count = ::read(descriptor, &bytes[done], bytes.size() - done);
        if (count <= 0) {
            break;
        }
        done += static_cast<std::size_t>(count);
    }
    ::close(descriptor);
    if (done != bytes.size()) {
        throw std::runtime_error("cannot read " + path);
    }
    return std::hash<std::string>{}(bytes);
}

class CrashSafetyTest : public ::testing::Test {
protected:
    // The frames, a VANT source whose rows differ every 40 frames (so that
    // frames receive different documents), and one finished run over a copy
    // of the frames: its results are the only acceptable new versions.
    void SetUp() override {
        boost::filesystem::create_directory(directory.path() / "frames");
        boost::filesystem::create_directory(directory.path() / "reference");
        std::vector<std::string> rows;
        for (int frame = 0; frame < frameCount; frame += 40) {
            const int seconds = frame / 25;
            char timecode[16];
            std::snprintf(timecode, sizeof timecode, "01:00:%02d:%02d", seconds, frame % 25);
            rows.push_back(VantTestFiles::row2(static_cast<unsigned>(frame),
                                               std::to_string(10 + frame / 40), timecode));
        }
        ExrFixtures::writeFileBytes(directory.file("clip.vant"), VantTestFiles::vantText(rows));

        std::vector<std::string> referencePaths;
        for (int index = 0; index < frameCount; ++index) {
            char name[32];
            std::snprintf(name, sizeof name, "frame-%04d.exr", index);
            names.push_back(name);
            ExrFixtures::ExrFileSpec spec;
            spec.width = frameWidth;
            spec.height = frameHeight;
            spec.timeCode = Imf::TimeCode(1, 0, index / 25, index % 25);
            spec.seed = static_cast<unsigned int>(index + 1);
            ExrFixtures::writeScanLineExr(framePath(index), spec);
            originalHashes.push_back(hashOfFile(framePath(index)));
            referencePaths.push_back((directory.path() / "reference" / name).string());
            boost::filesystem::copy_file(framePath(index), referencePaths.back());
        }

        // Each rewrite waits for its data to reach the disk, so the time of a run depends on what
        // else the disk is doing: the frames just written go to the disk first, and of two timed
        // runs the faster counts, so that the kills are not spread far beyond the end of a run.
        // The second run rewrites the rewritten files, which must give them again byte for byte.
        ::sync();
        fullRun = Clock::duration::max();
        for (int run = 0; run < 2; ++run) {
            const Clock::time_point start = Clock::now();
            const int status = waitFor(startTool(arguments(referencePaths)));
            fullRun = std::min(fullRun, Clock::now() - start);
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "reference run failed";
        }

        std::set<std::string> documents;
        for (int index = 0; index < frameCount; ++index) {
            const std::string& rewritten = referencePaths[index];
            const auto document = ExrFixtures::readStringAttribute(
                rewritten, ExrFixtures::lensCorrectionAttributeName);
            ASSERT_TRUE(document.has_value()) << names[index];
            documents.insert(*document);
            ASSERT_EQ(ExrFixtures::rawChunks(rewritten), ExrFixtures::rawChunks(framePath(index)))
                << names[index];
            ASSERT_EQ(ExrFixtures::attributesExcept(rewritten,
                                                    {ExrFixtures::lensCorrectionAttributeName}),
                      ExrFixtures::attributesExcept(framePath(index), {}))
                << names[index];
            rewrittenHashes.push_back(hashOfFile(rewritten));
        }
        ASSERT_EQ(documents.size(), static_cast<std::size_t>((frameCount + 39) / 40));
    }

    std::string framePath(int index) const {
        return (directory.path() / "frames" / names[index]).string();
    }

    std::vector<std::string> arguments(const std::vector<std::string>& destinations) const {
        std::vector<std::string> result{"-s", directory.file("clip.vant"), "-d"};
        result.insert(result.end(), destinations.begin(), destinations.end());
        return result;
    }

    std::vector<std::string> frameArguments() const {
        std::vector<std::string> paths;
        for (int index = 0; index < frameCount; ++index) {
            paths.push_back(framePath(index));
        }
        return arguments(paths);
    }

    // What the frames directory holds: every frame in its original or its
    // rewritten version, and nothing else but temporary files beside frames.
    // Returns the number of frames in the rewritten version.
    int checkFrames(const std::string& when, int& temporaryFiles) const {
        int rewritten = 0;
        for (int index = 0; index < frameCount; ++index) {
            const std::string path = framePath(index);
            if (!boost::filesystem::is_regular_file(path)) {
                ADD_FAILURE() << when << ": " << names[index] << " is missing";
                continue;
            }
            const std::size_t hash = hashOfFile(path);
            if (hash == rewrittenHashes[index]) {
                ++rewritten;
            } else if (hash != originalHashes[index]) {
                ADD_FAILURE() << when << ": " << names[index]
                              << " is neither its original nor its rewritten version";
            }
        }
        const std::set<std::string> frameNames(names.begin(), names.end());
        temporaryFiles = 0;
        for (const auto& entry :
             boost::filesystem::directory_iterator(directory.path() / "frames")) {
            const std::string name = entry.path().filename().string();
            if (frameNames.count(name) == 1) {
                continue;
            }
            const bool besideFrame = name.size() > 4 && name.substr(name.size() - 4) == ".tmp" &&
                                     frameNames.count(name.substr(0, name.size() - 4)) == 1;
            EXPECT_TRUE(besideFrame) << when << ": stray file " << name;
            ++temporaryFiles;
        }
        return rewritten;
    }

    ExrFixtures::TemporaryDirectory directory;
    std::vector<std::string> names;
    std::vector<std::size_t> originalHashes;
    std::vector<std::size_t> rewrittenHashes;
    Clock::duration fullRun{};
};

TEST_F(CrashSafetyTest, KilledRunsNeverLoseOrDamageAFrame) {
    std::mt19937 random(randomSeed);
    // Moments anywhere from the start-up to just before a run would end. A run that ends before
    // its kill shows that runs are faster now than when they were timed (the load of the machine
    // changes), and the moments are then drawn from its shorter time.
    Clock::duration shortestRun = fullRun;
    const auto momentsWithin = [](Clock::duration run) {
        const auto runMicroseconds =
            std::chrono::duration_cast<std::chrono::microseconds>(run).count();
        return std::uniform_int_distribution<long long>(0, runMicroseconds * 95 / 100);
    };
    auto moment = momentsWithin(shortestRun);

    int kills = 0;
    int finishedUnkilled = 0;
    int mostRewritten = 0;
    int temporaryFilesSeen = 0;
    while (kills < killCount) {
        ASSERT_LT(finishedUnkilled, killCount) << "the runs end before the kills reach them";
        const Clock::time_point start = Clock::now();
        const pid_t child = startTool(frameArguments());
        std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
        ::kill(child, SIGKILL);
        const int status = waitFor(child);
        if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) {
            ++kills;
        } else {
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
            ++finishedUnkilled;
            // It ended at the latest when the kill came.
            shortestRun = std::min(shortestRun, Clock::now() - start);
            moment = momentsWithin(shortestRun);
        }
        int temporaryFiles = 0;
        const int rewritten = checkFrames("after kill " + std::to_string(kills), temporaryFiles);
        mostRewritten = std::max(mostRewritten, rewritten);
        temporaryFilesSeen += temporaryFiles;
        ASSERT_FALSE(HasFailure()) << "stopped at the first damaged state";
    }
    // The kills must have landed while frames were being rewritten, not only
    // before the first or after the last.
    EXPECT_GT(mostRewritten, 0);

    const int status = waitFor(startTool(frameArguments()));
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    int temporaryFiles = 0;
    EXPECT_EQ(checkFrames("after the finishing run", temporaryFiles), frameCount);
    EXPECT_EQ(temporaryFiles, 0);
    RecordProperty("temporaryFilesSeenAfterKills", temporaryFilesSeen);
}

} // namespace
