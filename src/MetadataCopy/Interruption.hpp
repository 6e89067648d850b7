// What an interrupt (SIGINT, SIGTERM, SIGHUP) does to a run. Before the first frame is rewritten
// (the arguments expanded, the source read, the frames counted) and while the user is asked about
// a frame, nothing is half-done, and such a step may not come back for a long time: a pattern that
// backtracks over long names, a large source, a question nobody answers. The process then ends at
// once. At any other moment a frame may be under way: the interrupt is only noted, and the run
// stops once that frame is finished or left as it was.
#pragma once

#include <atomic>

namespace MetadataCopy {

class Interruption {
public:
    /// Installs the handler for each of SIGINT, SIGTERM and SIGHUP that was not ignored when the
    /// process started: a run started with nohup is meant to outlive its terminal, and a shell
    /// starts a script's background job with interrupts ignored. Where an interrupt ends the
    /// process at once, the handler writes "Aborted by the user!" to standard output and exits
    /// with exitStatus; anywhere else it calls noteInterrupt, which must be async-signal-safe.
    static void installHandlers(int exitStatus, void (*noteInterrupt)());

    /// Runs the step so that an interrupt during it ends the process at once, as does one noted
    /// since the last such step. Standard output is flushed first, so that everything printed
    /// before comes out ahead of the message. With lineOpen, what was printed last has no line
    /// end (a question), and the message begins a line of its own.
    template <typename Step> static auto endingAtOnce(Step&& step, bool lineOpen = false) {
        beginEndingAtOnce(lineOpen);
        try {
            auto result = step();
            stopEndingAtOnce();
            return result;
        } catch (...) {
            stopEndingAtOnce();
            throw;
        }
    }

private:
    enum Mode : int { noting = 0, ending = 1, endingAfterOpenLine = 2 };

    static void beginEndingAtOnce(bool lineOpen);
    static void stopEndingAtOnce();
    // Writes the message and ends the process; only async-signal-safe calls.
    [[noreturn]] static void end(int mode);
    static void handle(int signalNumber);

    // The handler may touch nothing but lock-free atomics.
    static std::atomic<int> mode;
    static std::atomic<bool> noted;
    static std::atomic<int> exitStatus;
    static std::atomic<void (*)()> noteInterrupt;
    static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free &&
                      std::atomic<void (*)()>::is_always_lock_free,
                  "the interrupt handler must reach its state without locking");
};

} // namespace MetadataCopy
