#include "CallWatchdog.h"

namespace flagwright::odbc {

CallWatchdog::CallWatchdog() : thread_([this] { Watch(); }) {}

CallWatchdog::~CallWatchdog()
{
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void CallWatchdog::Arm(Clock::time_point deadline, const Steps& steps)
{
    const std::lock_guard lock(mutex_);
    ++guardedCall_;
    guarding_ = true;
    expired_ = false;
    deadline_ = deadline;
    steps_ = &steps;
    // A watchdog that sleeps towards an earlier call's deadline wakes in time for this one's,
    // which is later: only an idle one needs waking, so a run of quick calls costs no thread
    // switches.
    if (idle_)
        changed_.notify_all();
}

void CallWatchdog::Disarm()
{
    const std::lock_guard lock(mutex_);
    guarding_ = false;
    steps_ = nullptr;
    if (expired_)
        changed_.notify_all();
}

bool CallWatchdog::Expired()
{
    const std::lock_guard lock(mutex_);
    return expired_;
}

void CallWatchdog::Watch()
{
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (!guarding_) {
            idle_ = true;
            changed_.wait(lock);
            idle_ = false;
            continue;
        }
        if (Clock::now() < deadline_) {
            changed_.wait_until(lock, deadline_);
            continue; // the call may have returned, or another one begun
        }
        const unsigned long call = guardedCall_;
        const auto returned = [this, call] {
            return stopping_ || !guarding_ || guardedCall_ != call;
        };
        expired_ = true;
        if (steps_->cancel)
            steps_->cancel();
        if (!changed_.wait_for(lock, Grace, returned) && steps_->breakLink)
            steps_->breakLink();
        changed_.wait(lock, returned);
    }
}

} // namespace flagwright::odbc
