#pragma once

#include <sys/types.h>

#include <cstdio>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace flagwright::testing {

// How a process ended, and what it wrote to the streams that were captured.
struct Finished {
    int exitCode = -1; // -1 when a signal ended it
    int signal = 0;    // the signal that ended it, else 0
    std::string out;
    std::string err;

    bool operator==(const Finished&) const = default;
};
std::ostream& operator<<(std::ostream& stream, const Finished& finished);

// For Launch: the stream is kept for Finished.
inline constexpr int Captured = -1;

// A program to start as it is, with no shell in between: no argument is ever quoted.
struct Launch {
    std::vector<std::string> argv; // argv[0]: a path, or a name looked up in PATH
    // Set for the program, over this process's own environment.
    std::vector<std::pair<std::string, std::string>> environment = {};
    int stdoutTo = Captured; // else the descriptor the program's stdout is
    int stderrTo = Captured;
};

// A program running beside the test, from construction until Wait (at the latest, the
// destructor waits). Throws std::system_error when it cannot be started.
class Process {
public:
    explicit Process(const Launch& launch);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    Finished Wait();

private:
    using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

    // Waits for it to end: its wait status, or nothing when it cannot be waited for.
    std::optional<int> Reaped();

    File out_;
    File err_;
    pid_t pid_ = -1;
};

// Starts the program and waits for it to end.
inline Finished RunProcess(const Launch& launch) { return Process(launch).Wait(); }

} // namespace flagwright::testing
