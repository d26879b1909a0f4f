#include "cli/ConsoleProgram.h"
#include "cli/DisplayedText.h"
#include "cli/ExitCode.h"
#include "cli/Utf8Console.h"
#include "platform/Product.h"
#include "platform/WindowServices.h"
#include "platform/odbc/OdbcConnection.h"

#include <csignal>
#include <exception>
#include <iostream>
#include <memory>

int main(int argc, char* argv[])
{
    using flagwright::cli::ExitCode;
#ifdef SIGPIPE
    // A reader that goes away (update --all | head -1) must not end the program between two
    // databases: the writes fail instead, every run still goes on, and the exit status tells.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    const flagwright::cli::Utf8ConsoleOutput console;
    int status = static_cast<int>(ExitCode::Failed);
    try {
        status = flagwright::cli::RunConsoleProgram(
            flagwright::cli::Utf8Arguments(argc, argv),
            [] { return std::make_unique<flagwright::odbc::OdbcConnection>(); },
            flagwright::EmberlineInstance(), std::cout, std::cerr,
            flagwright::cli::ExactStandardOutput);
    } catch (const std::exception& unexpected) {
        // Unattended: an exit status, never an abort that a tool would have to interpret.
        std::cerr << flagwright::ApplicationTitle << ": "
                  << flagwright::cli::Displayed(unexpected.what()) << std::endl;
    }
    std::cout.flush();
    std::cerr.flush();
    if (!std::cout || !std::cerr)
        return static_cast<int>(ExitCode::Failed); // what was done could not all be told
    return status;
}
