#include "platform/odbc/CallWatchdog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace flagwright::odbc;
using namespace std::chrono_literals;
using Clock = CallWatchdog::Clock;

namespace {
// A call that runs until it is told to stop or `limit` passes, as a driver call waits on a
// server.
struct Waiting {
    std::atomic<bool> cancelled{false};
    std::atomic<bool> broken{false};
    CallWatchdog::Steps steps{[this] { cancelled = true; }, [this] { broken = true; }};

    auto Until(std::atomic<bool>& stop, Clock::duration limit)
    {
        return [&stop, limit] {
            const auto end = Clock::now() + limit;
            while (!stop && Clock::now() < end)
                std::this_thread::sleep_for(1ms);
        };
    }
};

TEST(CallWatchdog, LeavesACallThatEndsInTimeAlone)
{
    CallWatchdog watchdog;
    Waiting call;
    for (int i = 0; i < 1000; ++i)
        EXPECT_FALSE(watchdog.Guard(Clock::now() + 200ms, call.steps, [] {}));
    std::this_thread::sleep_for(300ms); // past every deadline given
    EXPECT_FALSE(call.cancelled || call.broken);
}

TEST(CallWatchdog, CancelsAtTheDeadlineAndBreaksOnlyWhatTheCancelDidNotEnd)
{
    CallWatchdog watchdog;
    Waiting honoured;
    const auto start = Clock::now();
    EXPECT_TRUE(
        watchdog.Guard(start + 100ms, honoured.steps, honoured.Until(honoured.cancelled, 10s)));
    EXPECT_LT(Clock::now() - start, 1s);
    EXPECT_TRUE(honoured.cancelled);
    EXPECT_FALSE(honoured.broken);

    // After a run of quick calls, whose deadlines the watchdog slept towards.
    for (int i = 0; i < 100; ++i)
        watchdog.Guard(Clock::now() + 50ms, honoured.steps, [] {});
    Waiting ignored;
    const auto again = Clock::now();
    EXPECT_TRUE(watchdog.Guard(again + 100ms, ignored.steps, ignored.Until(ignored.broken, 10s)));
    const auto took = Clock::now() - again;
    EXPECT_GE(took, 100ms + CallWatchdog::Grace);
    EXPECT_LT(took, 2s);
    EXPECT_TRUE(ignored.cancelled && ignored.broken);
}

TEST(CallWatchdog, CancelsAtAnEarlierDeadlineThanTheOneItSleepsTowards)
{
    CallWatchdog watchdog;
    Waiting call;
    // Long enough for the watchdog to settle into sleeping towards this call's deadline.
    EXPECT_FALSE(
        watchdog.Guard(Clock::now() + 20s, call.steps, [] { std::this_thread::sleep_for(200ms); }));
    const auto start = Clock::now();
    EXPECT_TRUE(watchdog.Guard(start + 300ms, call.steps, call.Until(call.cancelled, 10s)));
    EXPECT_LT(Clock::now() - start, 5s);
    EXPECT_TRUE(call.cancelled);
}
} // namespace
