#include "PrivateSandbox.h"

#include "EmberlineInstance.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>
#include <vector>

extern char** environ;

namespace flagwright::e2e {

namespace {
pid_t Spawn(std::vector<std::string> arguments, const std::string& output)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int error = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        throw std::runtime_error("cannot start " + arguments[0]);
    return pid;
}

std::string Read(const std::string& file)
{
    std::ifstream in(file);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
} // namespace

PrivateSandbox::PrivateSandbox()
{
    dir_ = std::filesystem::temp_directory_path() / "flagwright-private-XXXXXX";
    if (!mkdtemp(dir_.data()))
        throw std::runtime_error("cannot make a folder for a private sandbox");
    int status = 0;
    waitpid(Spawn({PYTHON3, SANDBOX_SCRIPT, "seed", dir_ + "/data"}, dir_ + "/seed.out"), &status,
            0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("the private sandbox could not be seeded");
    pid_ = Spawn({PYTHON3, SANDBOX_SCRIPT, "serve", "--data", dir_ + "/data", "--port", "0",
                  "--browser-port", "0", "--log", dir_ + "/statements.log"},
                 dir_ + "/serve.out");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (port_ == 0 && std::chrono::steady_clock::now() < deadline) {
        const std::string out = Read(dir_ + "/serve.out");
        if (out.rfind("ready ", 0) == 0 && out.find('\n') != std::string::npos)
            port_ = std::stoi(out.substr(6));
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (port_ == 0)
        throw std::runtime_error("the private sandbox did not get ready");
}

PrivateSandbox::~PrivateSandbox()
{
    Resume();
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}

ConnectionSettings PrivateSandbox::Instance() const
{
    ConnectionSettings settings = EmberlineInstance();
    settings.server = "127.0.0.1";
    settings.instance.clear();
    settings.port = port_;
    return settings;
}

std::string PrivateSandbox::DatabaseFile(const std::string& name) const
{
    return dir_ + "/data/" + name + ".sqlite";
}

std::size_t PrivateSandbox::Statements() const
{
    const std::string log = Read(dir_ + "/statements.log");
    return static_cast<std::size_t>(std::count(log.begin(), log.end(), '\n'));
}

void PrivateSandbox::Pause() const { kill(pid_, SIGSTOP); }

void PrivateSandbox::Resume() const { kill(pid_, SIGCONT); }

} // namespace flagwright::e2e
