#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace flagwright::odbc {

// Gives a blocking driver call a deadline for the whole call. The call stays on the caller's
// thread; a thread of the watchdog's own waits beside it. When the deadline passes first, it
// asks the driver to cancel; when the call has still not returned a moment later, it breaks
// the call's link, which ends every wait inside the driver at once.
class CallWatchdog {
public:
    using Clock = std::chrono::steady_clock;
    // How long a cancelled call may take to return before its link is broken.
    static constexpr std::chrono::milliseconds Grace{500};

    struct Steps {
        std::function<void()> cancel;    // may be empty: nothing can be cancelled
        std::function<void()> breakLink; // may be empty: nothing can be broken
    };

    // Throws std::system_error when its thread cannot be started.
    CallWatchdog();
    ~CallWatchdog();
    CallWatchdog(const CallWatchdog&) = delete;
    CallWatchdog& operator=(const CallWatchdog&) = delete;

    // Runs call() on this thread; true when the watchdog stepped in at its deadline before
    // the call was disarmed after returning. The steps run on the watchdog's thread, never
    // after Guard has returned.
    template <typename Call>
    bool Guard(Clock::time_point deadline, const Steps& steps, Call&& call)
    {
        Arm(deadline, steps);
        try {
            call();
        } catch (...) {
            Disarm();
            throw;
        }
        return Disarm();
    }

private:
    void Arm(Clock::time_point deadline, const Steps& steps);
    // Whether the watchdog stepped in, decided in the same step that stops it from doing so,
    // so the answer always agrees with the steps run. Waits for a step under way.
    bool Disarm();
    void Watch();

    std::mutex mutex_;
    std::condition_variable changed_;
    bool stopping_ = false;
    unsigned long guardedCall_ = 0; // counts the calls guarded so far
    bool guarding_ = false;
    // When the watchdog next looks by itself: the deadline it sleeps towards, never while idle.
    Clock::time_point wakesAt_ = Clock::time_point::max();
    bool expired_ = false;
    Clock::time_point deadline_;
    const Steps* steps_ = nullptr;
    std::thread thread_; // last: starts once the rest is set up
};

} // namespace flagwright::odbc
