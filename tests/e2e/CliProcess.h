#pragma once

#include "tests/support/ConsoleOutput.h"
#include "tests/support/Process.h"

namespace flagwright::e2e {

using testing::Finished;
using testing::Launch;
using testing::RunProcess;

// flagwright-cli with these arguments, a process of its own over the real ODBC stack;
// environment: variables set for it.
inline Launch Cli(std::vector<std::string> arguments,
                  std::vector<std::pair<std::string, std::string>> environment = {})
{
    arguments.insert(arguments.begin(), FLAGWRIGHT_CLI);
    return {std::move(arguments), std::move(environment)};
}

// Runs it to its end, its elapsed times written "Took N s." (WithoutTimes).
inline Finished RunCli(const Launch& launch)
{
    Finished finished = RunProcess(launch);
    finished.out = testing::WithoutTimes(finished.out);
    finished.err = testing::WithoutTimes(finished.err);
    return finished;
}

// How flagwright-cli update ends when it updated the database, and when the run failed with
// this message.
inline const Finished Updated{0, 0, "Congratulations: Update successful.\nTook N s.\n", ""};
inline Finished FailedWith(const std::string& message)
{
    return {1, 0, "", "Rate Update Error: " + message + "\n"};
}

} // namespace flagwright::e2e
