#include "OdbcConnection.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>

#ifndef _WIN32
#include <sys/resource.h>
#include <unistd.h>
#endif

using namespace flagwright;
using namespace flagwright::odbc;

namespace {
#ifndef _WIN32
// Runs in a child process, as a user that may own no more processes or threads (the limit
// does not bind root), and exits 0 when the open failed and left the connection closed.
[[noreturn]] void OpenWithoutThreads()
{
    const rlimit none{0, 0};
    if ((geteuid() == 0 && setuid(65534) != 0) || setrlimit(RLIMIT_NPROC, &none) != 0)
        std::exit(2);
    ConnectionSettings settings;
    settings.server = "127.0.0.1";
    settings.port = 1; // no browser lookup
    OdbcConnection connection;
    try {
        connection.Open(settings);
    } catch (const Failure& failure) {
        std::cerr << failure.Number() << ": " << failure.Description();
        std::exit(connection.State() == Connection::adStateClosed ? 0 : 1);
    }
    std::exit(3);
}
#endif

TEST(OdbcConnection, AThreadThatCannotBeStartedFailsTheOpenAndLeavesItClosed)
{
#ifdef _WIN32
    GTEST_SKIP() << "the thread limit is set through POSIX";
#else
    EXPECT_EXIT(OpenWithoutThreads(), testing::ExitedWithCode(0),
                "^3000: Cannot start the watchdog thread: .+");
#endif
}
} // namespace
