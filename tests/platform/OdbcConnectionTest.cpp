// POSIX only: the thread limit is set through setrlimit.
#include "OdbcConnection.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <iostream>

using namespace flagwright;
using namespace flagwright::odbc;

namespace {
// Runs in a child process, as a user that may own no more processes or threads (the limit
// does not bind root), and exits 0 when the open failed and left the connection closed. It
// ends with _exit: a leak checker's exit handler would need a thread of its own.
[[noreturn]] void OpenWithoutThreads()
{
    const rlimit none{0, 0};
    if ((geteuid() == 0 && setuid(65534) != 0) || setrlimit(RLIMIT_NPROC, &none) != 0)
        _exit(2);
    ConnectionSettings settings;
    settings.server = "127.0.0.1";
    settings.port = 1; // no browser lookup
    OdbcConnection connection;
    try {
        connection.Open(settings);
    } catch (const Failure& failure) {
        std::cerr << failure.Number() << ": " << failure.Description() << std::flush;
        _exit(connection.State() == Connection::adStateClosed ? 0 : 1);
    }
    _exit(3);
}

TEST(OdbcConnection, AThreadThatCannotBeStartedFailsTheOpenAndLeavesItClosed)
{
    EXPECT_EXIT(OpenWithoutThreads(), testing::ExitedWithCode(0),
                "^3000: Cannot start the watchdog thread: .+");
}
} // namespace
