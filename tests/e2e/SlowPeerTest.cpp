// Servers that answer slowly, a byte at a time or not at all, at each wait of a run and of the
// start-up listing. Every wait ends within its bound with the time-out's outcome, and nothing
// is changed. The cases run side by side, each on a connection that the sandbox's faults
// caught when it was accepted; the runs wait in processes of their own, since one process logs
// in one connection at a time.
#include "discovery/OfferedDatabases.h"
#include "tests/e2e/CliProcess.h"
#include "tests/e2e/EndToEndFixture.h"

#include <chrono>
#include <future>
#include <iostream>

using namespace flagwright;
using namespace flagwright::e2e;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {
ConnectionFactory Odbc()
{
    return [] { return std::make_unique<odbc::OdbcConnection>(); };
}

template <typename Result>
struct Timed {
    Result result;
    Clock::duration elapsed;
};

template <typename Work>
auto Time(Work work) -> Timed<decltype(work())>
{
    const auto start = Clock::now();
    auto result = work();
    return {std::move(result), Clock::now() - start};
}

// Deadlines, and how much later than its deadline a wait may end: the half second the driver
// gets to honour a cancel, and the machine's own slowness.
constexpr auto Login = 15s;
constexpr auto Statement = 30s;
constexpr auto Slack = 2s;

void ExpectWithin(const char* what, Clock::duration elapsed, Clock::duration deadline)
{
    std::cout << what << ": " << std::chrono::duration<double>(elapsed).count() << " s\n";
    EXPECT_GE(elapsed, deadline - 100ms) << what << " ended before its deadline";
    EXPECT_LT(elapsed, deadline + Slack) << what;
}

class SlowPeer : public EndToEnd {
protected:
    // Sets the faults that the next accepted connection takes, starts the work, and returns
    // once the sandbox has accepted that connection.
    template <typename Work>
    auto Start(const std::string& faults, Work work)
    {
        const auto accepted = [this] { return std::stoi(sandbox.Status("accepted")); };
        const int before = accepted();
        sandbox.Control(R"({"cmd":"faults","faults":)" + faults + "}");
        auto started = std::async(std::launch::async, [work] { return Time(work); });
        const auto deadline = Clock::now() + 10s;
        while (accepted() == before && Clock::now() < deadline)
            std::this_thread::sleep_for(10ms);
        EXPECT_GT(accepted(), before) << faults << ": no connection came";
        return started;
    }
};

TEST_F(SlowPeer, EveryWaitEndsWithinItsDeadline)
{
    const std::string trickledDb = sandbox.CopyDatabase("Emberline", OwnName() + " trickled");
    const std::string stalledDb = sandbox.CopyDatabase("Emberline", OwnName() + " stalled");
    const std::string layerDb = sandbox.CopyDatabase("Emberline", OwnName() + " layer");
    const auto update = [](const std::string& db) {
        return [db] { return RunCli(Cli({"update", db})); };
    };
    // Databases that exist, so that a run the fault missed would succeed, not fail alike.
    const auto process = [&](const std::string& suffix) {
        return update(sandbox.CopyDatabase("Emberline", OwnName() + " " + suffix));
    };

    auto silent = Start(R"({"silent_prelogin":true})", process("silent"));
    auto prelogin = Start(R"({"trickle":"prelogin:2"})", process("prelogin"));
    auto loginReply = Start(R"({"trickle":"login:2"})", process("login"));
    auto statement = Start(R"({"trickle":"statement:2"})", update(trickledDb));
    auto stalled = Start(R"({"stall":true})", update(stalledDb));
    auto listing = Start(R"({"trickle":"statement:2"})",
                         [] { return OfferedDatabases(Odbc(), EmberlineInstance()); });
    // A server that acknowledges the cancel leaves the connection usable.
    ConnectionSettings settings = EmberlineInstance();
    settings.database = layerDb;
    odbc::OdbcConnection layer;
    auto layerCall = Start(R"({"stall":true})", [&] {
        layer.Open(settings);
        try {
            layer.Execute(VersionQuery);
        } catch (const Failure& failure) {
            return std::optional<Failure>(failure);
        }
        return std::optional<Failure>();
    });
    sandbox.Control(R"({"cmd":"faults","faults":{}})");

    const Finished loginTimedOut =
        FailedWith("Database in use or does not exist. If in use, close all connections to the "
                   "database and retry.");
    const Finished statementTimedOut =
        FailedWith("Error Number: -2147217871\n  Error Description: Timeout expired");
    const auto expectEnded = [](const char* what, auto& waiting, const auto& result,
                                Clock::duration deadline) {
        const auto timed = waiting.get();
        EXPECT_EQ(timed.result, result) << what;
        ExpectWithin(what, timed.elapsed, deadline);
    };
    expectEnded("silent before the prelogin reply", silent, loginTimedOut, Login);
    expectEnded("prelogin reply trickled", prelogin, loginTimedOut, Login);
    expectEnded("login reply trickled", loginReply, loginTimedOut, Login);
    expectEnded("statement reply trickled", statement, statementTimedOut, Statement);
    expectEnded("statement stalled until cancelled", stalled, statementTimedOut, Statement);
    const auto listed = listing.get();
    EXPECT_TRUE(listed.result.empty());
    ExpectWithin("start-up listing, catalog reply trickled", listed.elapsed, Login);
    const auto layered = layerCall.get();
    ASSERT_TRUE(layered.result);
    EXPECT_EQ(layered.result->Number(), failure_code::Timeout);
    ExpectNoPassword(layered.result->Description(), "failure description");
    EXPECT_EQ(layer.Execute(VersionQuery).Rows(),
              (std::vector<std::vector<Variant>>{{std::string("14.01.03")}}));

    // Nothing was changed, and the next run completes.
    for (const std::string& db : {trickledDb, stalledDb}) {
        EXPECT_EQ(sandbox.Statements(db), std::vector<std::string>{VersionQuery}) << db;
        EXPECT_EQ(Default(db, "DBVersion"), "14.01.03") << db;
    }
    EXPECT_EQ(RunOn(trickledDb), std::vector<std::string>{SuccessBox});
}
} // namespace
