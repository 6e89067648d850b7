#pragma once

/// The okalu-tafe program once the decoder library is up: the command line, then the help text,
/// the version or one copy run.
class Application {
public:
    /// Exit statuses, so that a script running the tool can tell a finished run from a failure
    /// and a mistyped command line from both.
    enum ExitStatus : int {
        success = 0,
        failure = 1,
        commandLineError = 2,
    };

    /// Runs the program for the given command line and returns its exit status: success after
    /// the help text, the version, or a run with no failed destination; commandLineError for a
    /// command line that does not parse, conflicting switches or a wildcard that is no valid
    /// pattern (the message is printed); failure for a run that printed a failure.
    ///
    /// Other exceptions pass unchanged; the caller prints them.
    static int run(int argc, const char** argv);
};
