// A server that stops answering (SIGSTOP) in the middle of the corrections, and while the
// database list is read: each wait ends at its deadline, and once the server is back the
// next run completes. The instance is the test's own, so it runs beside the shared one.
#include "discovery/OfferedDatabases.h"
#include "tests/e2e/EndToEndFixture.h"

#include <chrono>
#include <future>
#include <iostream>
#include <thread>

using namespace flagwright;
using namespace flagwright::e2e;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {
TEST(StoppedPeer, WaitsEndAtTheirDeadlinesAndTheNextRunCompletes)
{
    const Sandbox server{Sandbox::OwnInstance{}};
    ConnectionSettings instance = EmberlineInstance();
    instance.server = "127.0.0.1";
    instance.instance.clear();
    instance.port = server.Port();
    const ConnectionFactory odbc = [] { return std::make_unique<odbc::OdbcConnection>(); };
    flagwright::testing::RecordingWindow window;
    UpdateRun run(window, odbc, instance);

    // Stops the server in the middle of the corrections, then reads the list from it: TCP
    // still connects, nothing answers the login.
    Clock::time_point pausedAt;
    std::vector<std::string> names{"not read"};
    Clock::duration listingTook{};
    std::thread stopper([&] {
        while (server.BatchCount() < 400)
            std::this_thread::sleep_for(1ms);
        server.Pause();
        pausedAt = Clock::now();
        names = OfferedDatabases(odbc, instance);
        listingTook = Clock::now() - pausedAt;
    });
    run.Run("Emberline");
    const auto runEnded = Clock::now();
    stopper.join();
    const auto stoppedFor = runEnded - pausedAt;
    server.Resume();

    std::cout << "statement of a stopped server: "
              << std::chrono::duration<double>(stoppedFor).count() << " s\n"
              << "listing of a stopped server: "
              << std::chrono::duration<double>(listingTook).count() << " s\n";
    EXPECT_EQ(window.Messages(),
              std::vector<std::string>{flagwright::testing::MsgBoxCall(
                  "Error Number: -2147217871\r\nError Description: Timeout expired", 0,
                  "Rate Update Error")});
    EXPECT_LT(stoppedFor, 32s);
    EXPECT_TRUE(names.empty());
    EXPECT_LT(listingTook, 17s);

    window.calls.clear();
    run.Run("Emberline");
    EXPECT_EQ(window.Messages(), std::vector<std::string>{SuccessBox});
    EXPECT_EQ(flagwright::testing::DefaultIn(server.DatabaseFile("Emberline"), "DBVersion"),
              "14.01.04");
}
} // namespace
