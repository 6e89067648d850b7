#include "ToolProcess.hpp"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

void closeIfOpen(int& descriptor) {
    if (descriptor >= 0) {
        ::close(descriptor);
        descriptor = -1;
    }
}

std::vector<std::string> childEnvironment(const std::string& decoderLibraryDirectory) {
    std::vector<std::string> environment;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        if (std::strncmp(*variable, "R3DSDKPATH=", 11) != 0) {
            environment.emplace_back(*variable);
        }
    }
    if (!decoderLibraryDirectory.empty()) {
        environment.push_back("R3DSDKPATH=" + decoderLibraryDirectory);
    }
    return environment;
}

std::vector<char*> pointersTo(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(&text[0]);
    }
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

ToolProcess::ToolProcess(const ToolInvocation& invocation) {
    // Everything the child needs is prepared before fork: between fork and exec a child of a
    // threaded process may only make async-signal-safe calls.
    std::vector<std::string> argumentTexts = invocation.wrapper;
    argumentTexts.push_back(OKALU_TAFE_EXECUTABLE);
    wrapped = !invocation.wrapper.empty();
    argumentTexts.insert(argumentTexts.end(), invocation.arguments.begin(),
                         invocation.arguments.end());
    std::vector<std::string> environmentTexts =
        childEnvironment(invocation.decoderLibraryDirectory);
    std::vector<char*> argv = pointersTo(argumentTexts);
    std::vector<char*> envp = pointersTo(environmentTexts);
    // A child that ends before reading its input must not take the test process with it.
    std::signal(SIGPIPE, SIG_IGN);

    int input[2], output[2], errors[2];
    if (::pipe(input) != 0 || ::pipe(output) != 0 || ::pipe(errors) != 0) {
        throw std::runtime_error("pipe failed");
    }
    child = ::fork();
    if (child < 0) {
        throw std::runtime_error("fork failed");
    }
    if (child == 0) {
        ::dup2(input[0], STDIN_FILENO);
        ::dup2(output[1], STDOUT_FILENO);
        ::dup2(errors[1], STDERR_FILENO);
        for (int descriptor : {input[0], input[1], output[0], output[1], errors[0], errors[1]}) {
            ::close(descriptor);
        }
        if (invocation.standardOutput == StandardOutput::closed) {
            ::close(STDOUT_FILENO);
        } else if (invocation.standardOutput == StandardOutput::fullDevice) {
            const int full = ::open("/dev/full", O_WRONLY);
            if (full < 0 || ::dup2(full, STDOUT_FILENO) < 0) {
                ::_exit(127);
            }
            ::close(full);
        }
        // As a shell starts it, not with the test process's own choice for a broken pipe or an
        // exceeded file size.
        ::signal(SIGPIPE, SIG_DFL);
        ::signal(SIGXFSZ, SIG_DFL);
        if (invocation.fileSizeLimit != 0) {
            const rlimit limit{invocation.fileSizeLimit, invocation.fileSizeLimit};
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
                ::_exit(127);
            }
        }
        if (::chdir(invocation.workingDirectory.c_str()) != 0) {
            ::_exit(127);
        }
        if (wrapped) {
            ::execvpe(argv[0], argv.data(), envp.data());
        }
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    ::close(input[0]);
    ::close(output[1]);
    ::close(errors[1]);
    outputPipe = output[0];
    errorPipe = errors[0];

    inputPipe = input[1];
    sendInput(invocation.input);
    if (!invocation.keepInputOpen) {
        closeInput();
    }
}

void ToolProcess::sendInput(const std::string& text) {
    // The inputs of these tests are far below a pipe's capacity, so this cannot block.
    for (std::size_t written = 0; written < text.size();) {
        const ssize_t count = ::write(inputPipe, text.data() + written, text.size() - written);
        if (count < 0 && errno == EPIPE) {
            return; // The child has already ended; what it did not read plays no part.
        }
        if (count < 0 && errno != EINTR) {
            throw std::runtime_error("writing to the child failed");
        }
        written += count > 0 ? static_cast<std::size_t>(count) : 0;
    }
}

void ToolProcess::closeInput() {
    closeIfOpen(inputPipe);
}

void ToolProcess::closeOutput() {
    closeIfOpen(outputPipe);
}

ToolProcess::~ToolProcess() {
    if (tool > 0 && tool != child) {
        ::kill(tool, SIGKILL);
    }
    if (child > 0) {
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
    }
    closeIfOpen(inputPipe);
    closeIfOpen(outputPipe);
    closeIfOpen(errorPipe);
}

bool ToolProcess::readOnce(int timeout) {
    pollfd descriptors[2] = {{outputPipe, POLLIN, 0}, {errorPipe, POLLIN, 0}};
    if (outputPipe < 0 && errorPipe < 0) {
        return false;
    }
    const int ready = ::poll(descriptors, 2, timeout);
    if (ready <= 0) {
        return ready == 0 || errno == EINTR;
    }
    std::string* targets[2] = {&result.output, &result.errors};
    int* pipes[2] = {&outputPipe, &errorPipe};
    for (int index = 0; index < 2; ++index) {
        if (*pipes[index] < 0 || descriptors[index].revents == 0) {
            continue;
        }
        char buffer[4096];
        const ssize_t count = ::read(*pipes[index], buffer, sizeof buffer);
        if (count > 0) {
            targets[index]->append(buffer, static_cast<std::size_t>(count));
        } else if (count == 0 || errno != EINTR) {
            closeIfOpen(*pipes[index]);
        }
    }
    return true;
}

bool ToolProcess::waitForOutput(const std::string& text, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (result.output.find(text) == std::string::npos) {
        if (limit.count() != 0 && std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        if (outputPipe < 0 || !readOnce(limit.count() == 0 ? -1 : 100)) {
            return false;
        }
    }
    return true;
}

void ToolProcess::signal(int signalNumber) {
    ::kill(child, signalNumber);
}

void ToolProcess::signalTool(int signalNumber) {
    const pid_t process = toolProcess();
    if (process > 0) {
        ::kill(process, signalNumber);
    }
}

bool ToolProcess::stop() {
    ::kill(child, SIGSTOP);
    // WNOWAIT leaves an ended child to be reaped by finish.
    siginfo_t information{};
    while (::waitid(P_PID, static_cast<id_t>(child), &information, WSTOPPED | WEXITED | WNOWAIT) !=
           0) {
        if (errno != EINTR) {
            return false;
        }
    }
    return information.si_code == CLD_STOPPED;
}

pid_t ToolProcess::toolProcess() {
    if (!wrapped) {
        return child;
    }
    // The wrapper may start helpers of its own before it starts the tool.
    const std::string proc = "/proc/" + std::to_string(child);
    std::ifstream children(proc + "/task/" + std::to_string(child) + "/children");
    for (pid_t candidate = 0; tool <= 0 && children >> candidate;) {
        std::string name;
        std::getline(std::ifstream("/proc/" + std::to_string(candidate) + "/comm"), name);
        if (name == "okalu-tafe") {
            tool = candidate;
        }
    }
    return tool;
}

bool ToolProcess::waitForSystemCall(const std::vector<long>& numbers,
                                    std::chrono::milliseconds held) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    auto enteredAt = deadline;
    while (std::chrono::steady_clock::now() < deadline) {
        const pid_t process = toolProcess();
        long number = -1;
        if (process > 0) {
            std::ifstream("/proc/" + std::to_string(process) + "/syscall") >> number;
        }
        const auto now = std::chrono::steady_clock::now();
        if (std::find(numbers.begin(), numbers.end(), number) == numbers.end()) {
            enteredAt = deadline;
        } else if (enteredAt == deadline) {
            enteredAt = now;
        }
        if (enteredAt != deadline && now - enteredAt >= held) {
            return true;
        }
        siginfo_t information{};
        if (::waitid(P_PID, static_cast<id_t>(child), &information, WEXITED | WNOHANG | WNOWAIT) ==
                0 &&
            information.si_pid != 0) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return false;
}

ToolResult ToolProcess::finish(std::chrono::seconds limit) {
    closeInput();
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (readOnce(limit.count() == 0 ? -1 : 100)) {
        if (limit.count() != 0 && std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
        }
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    child = -1;
    if (WIFEXITED(status)) {
        result.exitStatus = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.terminatingSignal = WTERMSIG(status);
    }
    return result;
}

ToolResult runTool(const ToolInvocation& invocation) {
    return ToolProcess(invocation).finish();
}

std::vector<std::string> straceWrapper(const std::vector<std::string>& options) {
    static const bool usable = std::system("strace -o /dev/null true >/dev/null 2>&1") == 0;
    if (!usable) {
        return {};
    }
    const char* const sanitizerOptions = std::getenv("ASAN_OPTIONS");
    std::vector<std::string> command{
        "strace", "-E",
        "ASAN_OPTIONS=" + std::string(sanitizerOptions ? sanitizerOptions : "") +
            ":detect_leaks=0"};
    if (std::find(options.begin(), options.end(), "-o") == options.end()) {
        command.insert(command.end(), {"-o", "/dev/null"});
    }
    command.insert(command.end(), options.begin(), options.end());
    return command;
}
