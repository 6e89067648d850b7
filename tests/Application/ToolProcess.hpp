// The built okalu-tafe run as a child process, the way a shell runs it: its own working
// directory, "R3DSDKPATH" of the test's choosing, text piped into standard input, and standard
// output and standard error captured apart.
#pragma once

#include <chrono>
#include <string>
#include <sys/types.h>
#include <vector>

struct ToolResult {
    std::string output;
    std::string errors;
    /// The exit status, or -1 when a signal ended the process.
    int exitStatus = -1;
    /// The signal that ended the process, 0 when it exited.
    int terminatingSignal = 0;
};

/// Where the child's standard output goes.
enum class StandardOutput {
    /// A pipe that the test reads, as everywhere unless a test chooses otherwise.
    captured,
    /// /dev/full: every write fails.
    fullDevice,
    /// Closed, as by ">&-".
    closed,
};

struct ToolInvocation {
    std::vector<std::string> arguments;
    std::string workingDirectory;
    /// The value of "R3DSDKPATH"; the variable is removed from the environment when empty.
    std::string decoderLibraryDirectory;
    /// Written to standard input, which is then closed unless keepInputOpen is set.
    std::string input;
    bool keepInputOpen = false;
    StandardOutput standardOutput = StandardOutput::captured;
    /// A command that runs the tool with the arguments that follow it (strace with its options,
    /// setpriv with its own), or empty.
    std::vector<std::string> wrapper{};
    /// The child's file-size limit in bytes (RLIMIT_FSIZE), or 0 for the test process's own.
    unsigned long fileSizeLimit = 0;
};

class ToolProcess {
public:
    /// Starts okalu-tafe; throws std::runtime_error when it cannot be started.
    explicit ToolProcess(const ToolInvocation& invocation);
    /// Kills a child that is still running, so that a failed test leaves no process behind.
    ~ToolProcess();
    ToolProcess(const ToolProcess&) = delete;
    ToolProcess& operator=(const ToolProcess&) = delete;

    /// Reads standard output until it holds the text (true) or the child closes it (false), or,
    /// with a limit (0: none), until the limit has passed (false).
    bool waitForOutput(const std::string& text,
                       std::chrono::seconds limit = std::chrono::seconds(0));

    /// Writes to standard input, which must have been kept open.
    void sendInput(const std::string& text);
    void closeInput();
    /// Stops reading standard output, so that the child's next write to it finds no reader.
    void closeOutput();

    /// Sends a signal to the child.
    void signal(int signalNumber);

    /// okalu-tafe's own process: the child, or the wrapper's child once it has one (else -1).
    pid_t toolProcess();

    /// Sends a signal to okalu-tafe itself (the wrapper's child, where there is a wrapper: a tool
    /// that strace holds goes on when strace alone is killed).
    void signalTool(int signalNumber);

    /// Stops the child with SIGSTOP and waits until it has stopped: true, or false when it ended
    /// first (finish still reports how). SIGCONT through signal lets it go on.
    bool stop();

    /// Waits until okalu-tafe itself (the wrapper's child, where there is a wrapper) has entered
    /// one of the system calls, as where strace holds it with a delay, and has stayed in it for
    /// the time held (a call that others of its kind precede, which pass in a moment): false when
    /// it ended first or 30 seconds passed.
    bool waitForSystemCall(const std::vector<long>& numbers,
                           std::chrono::milliseconds held = std::chrono::milliseconds(0));

    /// Reads both streams to their end and waits for the child; a child still running after
    /// the limit (0: none) is killed, so that a hanging run fails its test instead of ending it.
    ToolResult finish(std::chrono::seconds limit = std::chrono::seconds(0));

private:
    // Reads what is available on the two pipes, waiting at most timeout milliseconds (-1: no
    // limit); false once both are closed.
    bool readOnce(int timeout = -1);

    pid_t child = -1;
    pid_t tool = -1;
    bool wrapped = false;
    int inputPipe = -1;
    int outputPipe = -1;
    int errorPipe = -1;
    ToolResult result;
};

/// Runs okalu-tafe to its end.
ToolResult runTool(const ToolInvocation& invocation);

/// A wrapper that runs the tool under strace with the given options, its trace sent to /dev/null
/// unless the options name a file with "-o"; empty where strace cannot trace (not installed, or
/// ptrace not permitted, as in some containers). LeakSanitizer stops the process with ptrace to
/// look for leaks, which it cannot do under strace: leaks are left to the untraced runs.
std::vector<std::string> straceWrapper(const std::vector<std::string>& options);
