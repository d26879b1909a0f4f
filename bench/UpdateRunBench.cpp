// Drives the program's own update run against the instance, one database after another, and
// prints for each the time from the press of the update button to the first message box.
//
//   flagwright_update_bench DATABASE...   one line per database: name, seconds, CPU seconds
//                                         of this process during the run, the message shown
//   flagwright_update_bench --statements  the statements a complete run from 14.01.03 sends,
//                                         one a line, for a plain client to send the same
#include "platform/Product.h"
#include "platform/odbc/OdbcConnection.h"
#include "tests/support/RecordingWindow.h"
#include "tests/support/ScriptedConnection.h"
#include "update/UpdateRun.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

using namespace flagwright;

namespace {
using Clock = std::chrono::steady_clock;

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The recording window that also notes when the first message box was asked for.
class TimedWindow : public testing::RecordingWindow {
public:
    std::optional<Clock::time_point> firstMessage;

    void MsgBox(const std::string& prompt, MsgBoxStyle style,
                const std::optional<std::string>& title) override
    {
        if (!firstMessage)
            firstMessage = Clock::now();
        RecordingWindow::MsgBox(prompt, style, title);
    }
};

int PrintStatements()
{
    auto script = std::make_shared<testing::ConnectionScript>();
    script->versionResult = testing::VersionRows({"14.01.03"});
    testing::RecordingWindow window;
    UpdateRun run(window, testing::ScriptedConnection::Factory(script), EmberlineInstance());
    run.Run("Emberline");
    for (const std::string& statement : script->statements)
        std::printf("%s\n", statement.c_str());
    return 0;
}

int TimeRuns(int count, char** databases)
{
    TimedWindow window;
    UpdateRun run(
        window, [] { return std::make_unique<odbc::OdbcConnection>(); }, EmberlineInstance());
    int failures = 0;
    for (int i = 0; i < count; ++i) {
        window.calls.clear();
        window.firstMessage.reset();
        const double cpuBefore = CpuSeconds();
        const auto pressed = Clock::now();
        run.Run(databases[i]);
        const double cpu = CpuSeconds() - cpuBefore;
        const auto messages = window.Messages();
        const std::string message = messages.empty() ? "(no message)" : messages.front();
        const double seconds =
            std::chrono::duration<double>(window.firstMessage.value_or(Clock::now()) - pressed)
                .count();
        std::printf("%s\t%.4f\t%.4f\t%s\n", databases[i], seconds, cpu, message.c_str());
        if (message.find("Update successful.") == std::string::npos)
            ++failures;
    }
    return failures == 0 ? 0 : 1;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::string(argv[1]) == "--statements")
        return PrintStatements();
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s --statements | DATABASE...\n", argv[0]);
        return 2;
    }
    return TimeRuns(argc - 1, argv + 1);
}
