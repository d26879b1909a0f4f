#include "EndToEndFixture.h"
#include "InstanceConnectionString.h"

#include <chrono>
#include <future>
#include <iostream>
#include <thread>

using namespace flagwright;
using namespace flagwright::e2e;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {
struct TimedRun {
    std::vector<std::string> messages;
    Clock::duration elapsed;
};

// One update run in a window of its own, so several can run at once.
TimedRun RunAlone(const std::string& database)
{
    flagwright::testing::RecordingWindow window;
    window.text = database;
    UpdateRun run(window, window, [] { return std::make_unique<odbc::OdbcConnection>(); });
    const auto start = Clock::now();
    run.cmdUpdate_Click();
    return {window.Messages(), Clock::now() - start};
}

void Report(const char* what, Clock::duration elapsed)
{
    std::cout << what << ": " << std::chrono::duration<double>(elapsed).count() << " s\n";
}

template <typename Condition>
void WaitUntil(Condition condition)
{
    const auto deadline = Clock::now() + 10s;
    while (!condition() && Clock::now() < deadline)
        std::this_thread::sleep_for(20ms);
    ASSERT_TRUE(condition());
}

// The statement time-out (30 s) runs in the background while the login time-out and the
// silent instance (15 s each) run one after the other, so the three cost about 30 s together.
// The bounds only guard against a hang.
TEST_F(EndToEnd, TimeOutsEndInAMessageWithinTheirLimits)
{
    const std::string db = sandbox.CopyDatabase("Emberline", OwnName());
    const std::string layerDb = sandbox.CopyDatabase("Emberline", OwnName() + " layer");
    odbc::OdbcConnection layer;
    layer.ConnectionString(MSDEConnectionString(layerDb));
    layer.Open();

    sandbox.Control(R"({"cmd":"faults","faults":{"delay":40}})");
    auto statementRun = std::async(std::launch::async, [&] { return RunAlone(db); });
    std::promise<void> faultsCleared;
    auto layerRun = std::async(std::launch::async, [&] {
        const auto start = Clock::now();
        std::optional<Failure> failure;
        try {
            layer.Execute(VersionQuery);
        } catch (const Failure& caught) {
            failure = caught;
        }
        const auto elapsed = Clock::now() - start;
        faultsCleared.get_future().wait();
        return std::make_pair(failure, elapsed);
    });
    WaitUntil(
        [&] { return !sandbox.Statements(db).empty() && !sandbox.Statements(layerDb).empty(); });

    sandbox.Control(R"({"cmd":"faults","faults":{"delay":40,"login_delay":20}})");
    const TimedRun login = RunAlone(OwnName() + " login");
    sandbox.Control(R"({"cmd":"faults","faults":{"delay":40,"silent_prelogin":true}})");
    const TimedRun silent = RunAlone(OwnName() + " silent");
    sandbox.Control(R"({"cmd":"faults","faults":{}})");
    faultsCleared.set_value();
    const TimedRun statement = statementRun.get();
    const auto [layerFailure, layerElapsed] = layerRun.get();

    Report("statement time-out", statement.elapsed);
    Report("statement time-out in the ODBC layer", layerElapsed);
    Report("login time-out", login.elapsed);
    Report("silent instance", silent.elapsed);
    const std::string timeoutBox = flagwright::testing::MsgBoxCall(
        RunFailureMessage(Failure(failure_code::Timeout, "Timeout expired")), 0,
        "Rate Update Error");
    EXPECT_EQ(statement.messages, std::vector<std::string>{timeoutBox});
    EXPECT_LT(statement.elapsed, 35s);
    ASSERT_TRUE(layerFailure);
    EXPECT_EQ(layerFailure->Number(), failure_code::Timeout);
    ExpectNoPassword(layerFailure->Description(), "failure description");
    EXPECT_LT(layerElapsed, 35s);
    EXPECT_EQ(login.messages, std::vector<std::string>{FailureBox(failure_code::Unspecified)});
    EXPECT_LT(login.elapsed, 20s);
    EXPECT_EQ(silent.messages, std::vector<std::string>{FailureBox(failure_code::Unspecified)});
    EXPECT_LT(silent.elapsed, 20s);
    for (const auto* timed : {&statement, &login, &silent})
        for (const std::string& message : timed->messages)
            ExpectNoPassword(message, "message");

    // The connection that timed out is still usable; the run that timed out changed nothing
    // and the next one completes.
    EXPECT_EQ(layer.Execute(VersionQuery).Rows(),
              (std::vector<std::vector<Variant>>{{std::string("14.01.03")}}));
    EXPECT_EQ(Default(db, "DBVersion"), "14.01.03");
    EXPECT_EQ(RunOn(db), std::vector<std::string>{SuccessBox});
}
} // namespace
