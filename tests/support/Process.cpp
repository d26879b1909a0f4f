#include "tests/support/Process.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <system_error>

namespace flagwright::testing {

namespace {
using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// An unnamed file for a stream to capture (to is -1), else nothing.
File CaptureFile(int to)
{
    File file(to == -1 ? std::tmpfile() : nullptr, std::fclose);
    if (to == -1 && !file)
        throw std::system_error(errno, std::generic_category(), "capture file");
    return file;
}

std::string TextOf(std::FILE* file)
{
    std::string text;
    char buffer[4096];
    for (std::rewind(file); const std::size_t got = std::fread(buffer, 1, sizeof buffer, file);)
        text.append(buffer, got);
    return text;
}

std::vector<char*> Pointers(std::vector<std::string>& texts)
{
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}
} // namespace

Finished RunProcess(const Launch& launch)
{
    const File out = CaptureFile(launch.stdoutTo);
    const File err = CaptureFile(launch.stderrTo);
    std::vector<std::string> argv = launch.argv;
    std::vector<std::string> environment;
    for (char** variable = environ; *variable; ++variable) {
        const std::string inherited = *variable;
        const auto sets = [&](const auto& set) { return inherited.rfind(set.first + "=", 0) == 0; };
        if (std::none_of(launch.environment.begin(), launch.environment.end(), sets))
            environment.push_back(inherited);
    }
    for (const auto& [name, value] : launch.environment)
        environment.push_back(name + "=" + value);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out ? fileno(out.get()) : launch.stdoutTo,
                                     STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err ? fileno(err.get()) : launch.stderrTo,
                                     STDERR_FILENO);
    pid_t child = 0;
    const int error = posix_spawnp(&child, argv.at(0).c_str(), &actions, nullptr,
                                   Pointers(argv).data(), Pointers(environment).data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        throw std::system_error(error, std::generic_category(), "cannot start " + argv[0]);
    int status = 0;
    while (waitpid(child, &status, 0) == -1)
        if (errno != EINTR)
            throw std::system_error(errno, std::generic_category(), "waitpid");
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1,
            WIFSIGNALED(status) ? WTERMSIG(status) : 0, out ? TextOf(out.get()) : "",
            err ? TextOf(err.get()) : ""};
}

} // namespace flagwright::testing
