#include "Application.hpp"

#include "ApplicationOptions.hpp"
#include "MetadataCopy/Destinations/MetadataDestination.hpp"
#include "MetadataCopy/Interruption.hpp"
#include "MetadataCopy/MetadataCopy.hpp"
#include "MetadataCopy/Options.hpp"

#include <atomic>
#include <csignal>
#include <iostream>
#include <memory>
#include <regex>
#include <stdexcept>

namespace {

const char* const version = "0.4.3";
const char* const metadataCreator = "okalu-tafe v0.4.3";

// The run object that an interrupt stops, or null while none exists. The interrupt handler may
// touch nothing but lock-free atomics: a std::weak_ptr would take its control block's counts
// and could even destroy the object inside the handler. The handler interrupts the only thread,
// so the object cannot be destroyed while the handler uses the pointer; it is cleared before the
// object is destroyed.
std::atomic<MetadataCopy::MetadataCopy*> runningMetadataCopy{nullptr};
static_assert(std::atomic<MetadataCopy::MetadataCopy*>::is_always_lock_free,
              "the interrupt handler must reach the run object without locking");

// Called by the interrupt handler wherever a frame may be under way.
void abortRunningCopy() {
    if (MetadataCopy::MetadataCopy* metadataCopy = runningMetadataCopy.load()) {
        metadataCopy->abort();
    }
}

// Clears the handler's pointer on every way out of a run, before the run object is destroyed.
class RunningMetadataCopyRegistration {
public:
    explicit RunningMetadataCopyRegistration(MetadataCopy::MetadataCopy& metadataCopy) {
        runningMetadataCopy.store(&metadataCopy);
    }
    ~RunningMetadataCopyRegistration() { runningMetadataCopy.store(nullptr); }
    RunningMetadataCopyRegistration(const RunningMetadataCopyRegistration&) = delete;
    RunningMetadataCopyRegistration& operator=(const RunningMetadataCopyRegistration&) = delete;
};

void printHelp(const ApplicationOptions& options) {
    std::cout << "Usage:\n";
    std::cout << "  okalu-tafe [OPTION]... -s SOURCE... -d DESTINATION...\n";
    std::cout << "\n";
    std::cout << options.optionsDecription();
    std::cout << "\n";
    std::cout << "Description:\n";
    std::cout << "  A command-line tool used for timecode-based copying of OKALU Telvar Metadata\n";
    std::cout << "  from a given container into the metadata section of the given image file(s).\n";
    std::cout << "\n";
    std::cout << "  After copying the metadata, the image files (e.g. of type exr) can then be\n";
    std::cout << "  used directly by the OKALU Telvar Data Plug-ins to perform different kinds\n";
    std::cout
        << "  of lens corrections just on the basis of the embedded metadata. An additional\n";
    std::cout << "  metadata description file (e.g. of type vant) will no longer be needed and\n";
    std::cout << "  this will simplify the workflow with the OKALU Telvar Data technology.\n";
    std::cout << "\n";
    std::cout << "Supported File Formats:\n";
    std::cout << "  vant: Path to a single file of this format can be used as SOURCE.\n";
    std::cout << "  r3d:  Path to a single file of this format can be used as SOURCE. If the\n";
    std::cout << "        footage is split into multiple files, please select only one of them\n";
    std::cout << "        because the other parts will be found and used automatically.\n";
    std::cout << "  exr:  Path to one or more files of this format can be used as DESTINATION.\n";
    std::cout << "\n";
    std::cout << "Examples:\n";
    std::cout << "  Copy from \"clip.vant\" to \"clip-0000.exr\".\n";
    std::cout << "  $ okalu-tafe -s clip.vant -d clip-0000.exr\n";
    std::cout << "\n";
    std::cout << "  Copy from \"clip.vant\" to \"clip-0000.exr\", \"clip-0001.exr\" and "
                 "\"clip-0002.exr\".\n";
    std::cout << "  $ okalu-tafe -s clip.vant -d clip-0000.exr clip-0001.exr clip-0002.exr\n";
    std::cout << "\n";
    // Deliberate, do not change: the example names "clip.vnt" while its command
    // uses clip.vant. The help text is established output that users and their
    // scripts quote, printed exactly as it has always been.
    std::cout << "  Copy from \"clip.vnt\" to files which start with \"clip-\" and end with "
                 "\".exr\".\n";
    std::cout << "  $ okalu-tafe -s clip.vant -d clip-*.exr\n";
    std::cout << "\n";
    std::cout << "  Copy from \"clip-001.r3d\" and all the other r3d files contained in the same\n";
    std::cout << "  directory which belong to the same footage to files which start with "
                 "\"clip-\"\n";
    std::cout << "  and end with \".exr\".\n";
    std::cout << "  $ okalu-tafe -s clip-001.r3d -d clip-*.exr\n";
    std::cout << "\n";
    std::cout << "Copyright:\n";
    std::cout << "  (C) 2023 OKALU. All rights reserved.\n";
}

int copy(const ApplicationOptions& applicationOptions) {
    const std::vector<std::string> sources = applicationOptions.source();
    const std::vector<std::string> destinations = applicationOptions.destination();

    MetadataCopy::Options options;
    options.overwritePolicy = applicationOptions.askBeforeOverwritingMetadata() ? 2
                              : applicationOptions.doNotOverwriteMetadata()     ? 1
                                                                                : 0;
    options.abortOnFirstError = applicationOptions.abortOnFirstError();

    const auto metadataCopy =
        std::make_shared<MetadataCopy::MetadataCopy>(sources, destinations, options);
    const RunningMetadataCopyRegistration registration(*metadataCopy);
    try {
        return metadataCopy->copy() ? Application::success : Application::failure;
    } catch (const std::regex_error& error) {
        // A wildcard that is no valid pattern is a mistyped argument, like an unknown option.
        std::cout << error.what() << "\n";
        return Application::commandLineError;
    }
}

} // namespace

int Application::run(int argc, const char** argv) {
    std::unique_ptr<ApplicationOptions> options;
    try {
        options = std::make_unique<ApplicationOptions>(argc, argv);
    } catch (const std::logic_error& error) {
        // Boost's option errors and the conflict of the overwrite switches.
        std::cout << error.what() << "\n";
        return commandLineError;
    }

    if (options->help()) {
        printHelp(*options);
        return success;
    }
    if (options->version()) {
        std::cout << version << "\n";
        return success;
    }

    MetadataCopy::MetadataDestination::setMetadataCreator(metadataCreator);
    // A scheduler stopping a job (SIGTERM) and a closed terminal (SIGHUP) stop a run like an
    // interrupt, so that they too leave no file half-written.
    MetadataCopy::Interruption::installHandlers(failure, abortRunningCopy);
    // Nor does standard output that goes away (the reader of a pipe ended): the run does its
    // work, and main reports the lost console text when it is over. Nor a frame larger than the
    // file-size limit: the write fails instead, and so only that frame.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    return copy(*options);
}
