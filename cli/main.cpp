#include "ConsoleProgram.h"
#include "EmberlineInstance.h"
#include "ExitCode.h"
#include "OdbcConnection.h"
#include "Utf8Console.h"
#include "WindowServices.h"

#include <exception>
#include <iostream>
#include <memory>

int main(int argc, char* argv[])
{
    const flagwright::cli::Utf8ConsoleOutput console;
    try {
        return flagwright::cli::RunConsoleProgram(
            flagwright::cli::Utf8Arguments(argc, argv),
            [] { return std::make_unique<flagwright::odbc::OdbcConnection>(); },
            flagwright::EmberlineInstance(), std::cout, std::cerr);
    } catch (const std::exception& unexpected) {
        // Unattended: an exit status, never an abort that a tool would have to interpret.
        std::cerr << flagwright::ApplicationTitle << ": " << unexpected.what() << std::endl;
        return static_cast<int>(flagwright::cli::ExitCode::Failed);
    }
}
