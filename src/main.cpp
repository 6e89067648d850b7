// okalu-tafe copies the per-frame OKALU Telvar lens metadata of a VANT file or an R3D clip into
// the headers of EXR files, matching each image to the source's frames by timecode.
#include "Application.hpp"

#include "R3DSDK.hpp"

#include <cerrno>
#include <cstdio>
#include <exception>
#include <fcntl.h>
#include <iostream>
#include <unistd.h>

namespace {

const char standardOutputFailure[] = "okalu-tafe: standard output could not be written.\n";

// A standard stream that the caller closed would be the first descriptor handed out, so the
// decoder library, a source or a frame the tool opens would take its place and receive console
// text. Each closed one is opened on the null device first; false when that fails, and then
// the tool must not run.
bool openClosedStandardStreams() {
    for (int descriptor = STDIN_FILENO; descriptor <= STDERR_FILENO; ++descriptor) {
        if (::fcntl(descriptor, F_GETFD) != -1 || errno != EBADF) {
            continue;
        }
        // The lower descriptors are open by now, so the null device gets this one.
        const int opened = ::open("/dev/null", descriptor == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        if (opened != descriptor) {
            if (opened >= 0) {
                ::close(opened);
            }
            return false;
        }
    }
    return true;
}

// Console text that did not arrive (a full device, an I/O error, a closed pipe) would leave
// the user with a run that looks quiet and fine. The run is not stopped for it, since its
// files are the point; it is reported once at the end and fails the run, unless the command
// line already failed it.
int checkStandardOutput(int status) {
    std::cout.flush();
    const bool failed = std::cout.fail() || std::fflush(stdout) != 0 || std::ferror(stdout) != 0;
    if (!failed) {
        return status;
    }
    std::fputs(standardOutputFailure, stderr);
    return status == Application::commandLineError ? status : Application::failure;
}

} // namespace

int main(int argc, char** argv) {
    if (!openClosedStandardStreams()) {
        std::fputs("okalu-tafe: the standard streams could not be opened.\n", stderr);
        return Application::failure;
    }

    // Nothing runs without the decoder library, not even the help text: a tool that prints its
    // help but then cannot read a clip would only postpone the error. The install directory is
    // fixed at build time; "R3DSDKPATH" may name a further directory.
    if (R3DSDK::InitializeSdk(R3DSDK::InstallDirectory, 0) != 0) {
        R3DSDK::FinalizeSdk();
        std::cout << "R3DSDK could not be initialized." << std::endl;
        return checkStandardOutput(Application::failure);
    }

    int status = Application::failure;
    try {
        status = Application::run(argc, const_cast<const char**>(argv));
    } catch (const std::exception& exception) {
        std::cout << exception.what() << "\n";
    }
    R3DSDK::FinalizeSdk();
    return checkStandardOutput(status);
}
