#include "cli/ConsoleProgram.h"
#include "cli/Outcomes.h"
#include "platform/Console.h"
#include "platform/Product.h"
#include "platform/TextForms.h"
#include "platform/odbc/OdbcConnection.h"

#include <csignal>
#include <exception>
#include <iostream>
#include <memory>

int main(int argc, char* argv[])
{
    using namespace flagwright;
#ifdef SIGPIPE
    // A reader that goes away (update --all | head -1) must not end the program between two
    // databases: the writes fail instead, every run still goes on, and the exit status tells.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    const Utf8ConsoleOutput console;
    int status = cli::FailedExit;
    try {
        status = cli::RunConsoleProgram(
            Utf8Arguments(argc, argv), [] { return std::make_unique<odbc::OdbcConnection>(); },
            EmberlineInstance(), std::cout, std::cerr);
    } catch (const std::exception& unexpected) {
        // Unattended: an exit status, never an abort that a tool would have to interpret.
        std::cerr << ApplicationTitle << ": " << Displayed(unexpected.what()) << std::endl;
    }
    std::cout.flush();
    std::cerr.flush();
    if (!std::cout || !std::cerr)
        return cli::FailedExit; // what was done could not all be told
    return status;
}
