#include "Process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <ostream>
#include <system_error>

extern char** environ;

namespace flagwright::testing {

namespace {
[[noreturn]] void Throw(int error, const std::string& what)
{
    throw std::system_error(error, std::generic_category(), what);
}

// A file of its own for a captured stream; kept from other children started meanwhile.
std::unique_ptr<std::FILE, int (*)(std::FILE*)> CaptureFile(int to)
{
    if (to != Captured)
        return {nullptr, std::fclose};
    std::FILE* file = std::tmpfile();
    if (!file || fcntl(fileno(file), F_SETFD, FD_CLOEXEC) != 0)
        Throw(errno, "capture file");
    return {file, std::fclose};
}

std::string TextOf(std::FILE* file)
{
    std::string text;
    if (!file)
        return text;
    std::rewind(file);
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        text.append(buffer, got);
    return text;
}

// This process's environment with each of the given variables set.
std::vector<std::string>
EnvironmentWith(const std::vector<std::pair<std::string, std::string>>& variables)
{
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
        const std::string variable = *entry;
        bool replaced = false;
        for (const auto& [name, value] : variables)
            replaced = replaced || variable.rfind(name + "=", 0) == 0;
        if (!replaced)
            environment.push_back(variable);
    }
    for (const auto& [name, value] : variables)
        environment.push_back(name + "=" + value);
    return environment;
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

std::ostream& operator<<(std::ostream& stream, const Finished& finished)
{
    return stream << "exit code " << finished.exitCode << ", signal " << finished.signal
                  << ", stdout [" << finished.out << "], stderr [" << finished.err << "]";
}

Process::Process(const Launch& launch)
    : out_(CaptureFile(launch.stdoutTo)), err_(CaptureFile(launch.stderrTo))
{
    std::vector<std::string> argv = launch.argv;
    std::vector<std::string> environment = EnvironmentWith(launch.environment);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out_ ? fileno(out_.get()) : launch.stdoutTo,
                                     STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err_ ? fileno(err_.get()) : launch.stderrTo,
                                     STDERR_FILENO);
    const int error = posix_spawnp(&pid_, argv.at(0).c_str(), &actions, nullptr,
                                   Pointers(argv).data(), Pointers(environment).data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        pid_ = -1;
        Throw(error, "cannot start " + argv[0]);
    }
}

Process::~Process()
{
    if (pid_ != -1)
        Reaped();
}

Finished Process::Wait()
{
    const std::optional<int> status = Reaped();
    if (!status)
        Throw(errno, "waitpid");
    return {WIFEXITED(*status) ? WEXITSTATUS(*status) : -1,
            WIFSIGNALED(*status) ? WTERMSIG(*status) : 0, TextOf(out_.get()), TextOf(err_.get())};
}

std::optional<int> Process::Reaped()
{
    int status = 0;
    pid_t reaped;
    do
        reaped = waitpid(pid_, &status, 0);
    while (reaped == -1 && errno == EINTR);
    pid_ = -1;
    return reaped == -1 ? std::nullopt : std::optional<int>(status);
}

} // namespace flagwright::testing
