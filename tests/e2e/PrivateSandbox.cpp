#include "PrivateSandbox.h"

#include "EmberlineInstance.h"
#include "Sandbox.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

namespace flagwright::e2e {

using testing::RunSandboxTool;

PrivateSandbox::PrivateSandbox()
{
    dir_ = std::filesystem::temp_directory_path() / "flagwright-private-XXXXXX";
    if (!mkdtemp(dir_.data()))
        throw std::runtime_error("cannot make a folder for a private sandbox");
    if (RunSandboxTool({"seed", dir_ + "/data"}, dir_ + "/seed.out") != 0)
        throw std::runtime_error("the private sandbox could not be seeded");
    if (RunSandboxTool(
            {"serve", "--background", "--ready-file", ReadyFile(), "--data", dir_ + "/data",
             "--port", "0", "--browser-port", "0", "--log", dir_ + "/statements.log"},
            dir_ + "/serve.out") != 0)
        throw std::runtime_error("the private sandbox did not get ready");
    std::ifstream(ReadyFile()) >> pid_ >> port_;
    if (pid_ <= 0 || port_ <= 0) // a signal to pid -1 would reach every process
        throw std::runtime_error("the private sandbox wrote no ready file");
}

PrivateSandbox::~PrivateSandbox()
{
    Resume();
    kill(pid_, SIGTERM);
    // It removes its ready file as it ends; it is not this process's child to wait for.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::filesystem::exists(ReadyFile()) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (std::filesystem::exists(ReadyFile()))
        kill(pid_, SIGKILL);
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}

std::string PrivateSandbox::ReadyFile() const { return dir_ + "/serve.ready"; }

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
    std::ifstream in(dir_ + "/statements.log");
    return static_cast<std::size_t>(
        std::count(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>(), '\n'));
}

void PrivateSandbox::Pause() const { kill(pid_, SIGSTOP); }

void PrivateSandbox::Resume() const { kill(pid_, SIGCONT); }

} // namespace flagwright::e2e
