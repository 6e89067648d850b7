// The built okalu-tafe run as a child process, the way a shell runs it: its own working
// directory, "R3DSDKPATH" of the test's choosing, text piped into standard input, and standard
// output and standard error captured apart.
#pragma once

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
};

class ToolProcess {
public:
    /// Starts okalu-tafe; throws std::runtime_error when it cannot be started.
    explicit ToolProcess(const ToolInvocation& invocation);
    /// Kills a child that is still running, so that a failed test leaves no process behind.
    ~ToolProcess();
    ToolProcess(const ToolProcess&) = delete;
    ToolProcess& operator=(const ToolProcess&) = delete;

    /// Reads standard output until it holds the text (true) or the child closes it (false).
    bool waitForOutput(const std::string& text);

    /// Writes to standard input, which must have been kept open.
    void sendInput(const std::string& text);
    void closeInput();
    /// Stops reading standard output, so that the child's next write to it finds no reader.
    void closeOutput();

    /// Sends a signal to the child.
    void signal(int signalNumber);

    /// Stops the child with SIGSTOP and waits until it has stopped: true, or false when it ended
    /// first (finish still reports how). SIGCONT through signal lets it go on.
    bool stop();

    /// Reads both streams to their end and waits for the child.
    ToolResult finish();

private:
    // Reads what is available on the two pipes; false once both are closed.
    bool readOnce();

    pid_t child = -1;
    int inputPipe = -1;
    int outputPipe = -1;
    int errorPipe = -1;
    ToolResult result;
};

/// Runs okalu-tafe to its end.
ToolResult runTool(const ToolInvocation& invocation);
