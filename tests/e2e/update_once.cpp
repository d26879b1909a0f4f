// Runs one update on the database named by the only argument, over the real ODBC stack, and
// prints each message box as one line (CR and LF written as \r and \n), so tests can run
// several updates as separate processes.
#include "EmberlineInstance.h"
#include "OdbcConnection.h"
#include "RecordingWindow.h"
#include "UpdateRun.h"

#include <iostream>
#include <memory>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: update_once DATABASE\n";
        return 2;
    }
    flagwright::testing::RecordingWindow window;
    flagwright::UpdateRun run(
        window, [] { return std::make_unique<flagwright::odbc::OdbcConnection>(); },
        flagwright::EmberlineInstance());
    run.Run(argv[1]);
    for (const std::string& message : window.Messages()) {
        for (char c : message)
            std::cout << (c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c));
        std::cout << '\n';
    }
    return 0;
}
