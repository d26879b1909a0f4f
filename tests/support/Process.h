#pragma once

#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace flagwright::testing {

// How a program ended, and what it wrote to the streams that were captured.
struct Finished {
    int exitCode = -1; // -1 when a signal ended it
    int signal = 0;    // the signal that ended it, else 0
    std::string out;
    std::string err;
    bool operator==(const Finished&) const = default;
    friend std::ostream& operator<<(std::ostream& stream, const Finished& finished)
    {
        return stream << "exit code " << finished.exitCode << ", signal " << finished.signal
                      << ", stdout [" << finished.out << "], stderr [" << finished.err << "]";
    }
};

// A program to run as it is, with no shell in between: no argument is ever quoted.
struct Launch {
    std::vector<std::string> argv; // argv[0]: a path, or a name looked up in PATH
    // Set for the program, over this process's own environment.
    std::vector<std::pair<std::string, std::string>> environment = {};
    int stdoutTo = -1; // the descriptor the program's stdout is; -1: captured for Finished
    int stderrTo = -1;
};

// Runs the program to its end (POSIX only); throws std::system_error when it cannot start.
Finished RunProcess(const Launch& launch);

} // namespace flagwright::testing
