#include "platform/odbc/CallWatchdog.h"

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
    // A watchdog that sleeps towards this deadline or an earlier one wakes in time by itself,
    // so a run of quick calls with equal or later deadlines costs no thread switches.
    if (deadline < wakesAt_)
        changed_.notify_all();
}

bool CallWatchdog::Disarm()
{
    const std::lock_guard lock(mutex_);
    guarding_ = false;
    steps_ = nullptr;
    if (expired_)
        changed_.notify_all();
    return expired_;
}

void CallWatchdog::Watch()
{
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (!guarding_) {
            wakesAt_ = Clock::time_point::max();
            changed_.wait(lock);
            continue;
        }
        if (Clock::now() < deadline_) {
            wakesAt_ = deadline_;
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
