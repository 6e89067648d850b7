#include "MetadataCopy/Interruption.hpp"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>
#include <signal.h>
#include <unistd.h>

namespace MetadataCopy {

std::atomic<int> Interruption::mode{Interruption::noting};
std::atomic<bool> Interruption::noted{false};
std::atomic<int> Interruption::exitStatus{1};
std::atomic<void (*)()> Interruption::noteInterrupt{nullptr};

namespace {

const int stoppingSignals[] = {SIGINT, SIGTERM, SIGHUP};

// The message that the console delegate prints for a run stopped between frames; the line end
// before it is left out unless a line is open.
const char abortedAfterOpenLine[] = "\nAborted by the user!\n";

} // namespace

void Interruption::installHandlers(int status, void (*note)()) {
    exitStatus.store(status);
    noteInterrupt.store(note);
    struct sigaction action {};
    action.sa_handler = handle;
    // A second signal waits until the first is dealt with, so that the message is written once.
    sigemptyset(&action.sa_mask);
    for (const int signalNumber : stoppingSignals) {
        sigaddset(&action.sa_mask, signalNumber);
    }
    // A noted interrupt must not fail the system call that it came in: the frame at hand is
    // finished as if there had been none.
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : stoppingSignals) {
        struct sigaction current {};
        if (::sigaction(signalNumber, nullptr, &current) == 0 && current.sa_handler != SIG_IGN) {
            ::sigaction(signalNumber, &action, nullptr);
        }
    }
}

void Interruption::beginEndingAtOnce(bool lineOpen) {
    // Text left in the buffer would be lost by _exit, or come after the message.
    std::cout.flush();
    mode.store(lineOpen ? endingAfterOpenLine : ending);
    if (noted.load()) {
        end(mode.load());
    }
}

void Interruption::stopEndingAtOnce() {
    mode.store(noting);
}

void Interruption::end(int currentMode) {
    const char* text = abortedAfterOpenLine;
    std::size_t length = sizeof abortedAfterOpenLine - 1;
    if (currentMode != endingAfterOpenLine) {
        ++text;
        --length;
    }
    while (length > 0) {
        const ssize_t written = ::write(STDOUT_FILENO, text, length);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            break; // nobody to tell: the exit status says it
        }
        text += written;
        length -= static_cast<std::size_t>(written);
    }
    ::_exit(exitStatus.load());
}

void Interruption::handle(int) {
    const int currentMode = mode.load();
    if (currentMode != noting) {
        end(currentMode);
    }
    const int savedErrno = errno;
    noted.store(true);
    if (void (*note)() = noteInterrupt.load()) {
        note();
    }
    errno = savedErrno;
}

} // namespace MetadataCopy
