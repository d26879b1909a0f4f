#include "tests/support/Sandbox.h"

#include "tests/support/Process.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

namespace flagwright::testing {

namespace {
std::string Read(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The log writes backslash, tab, CR and LF as \\, \t, \r and \n.
std::string Unescaped(const std::string& text)
{
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            plain += text[i];
            continue;
        }
        const char code = text[++i];
        plain += code == 't' ? '\t' : code == 'r' ? '\r' : code == 'n' ? '\n' : code;
    }
    return plain;
}

// Runs the sandbox program with these arguments, its output and errors into the file `output`,
// and returns its exit status (-1 when it did not exit).
int RunSandboxTool(const std::vector<std::string>& arguments, const std::string& output)
{
    std::vector<std::string> argv{PYTHON3, SANDBOX_SCRIPT};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    const int file = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (file < 0)
        return -1;
    int status = -1;
    try {
        status = RunProcess({argv, {}, file, file}).exitCode;
    } catch (const std::system_error&) {
    }
    close(file);
    return status;
}

// Runs the sandbox program; returns its output, and its exit status in `status`.
std::string ToolOutput(const std::vector<std::string>& arguments, int& status)
{
    std::string output = std::filesystem::temp_directory_path() / "flagwright-tool-XXXXXX";
    close(mkstemp(output.data()));
    status = RunSandboxTool(arguments, output);
    std::string text = Read(output);
    std::filesystem::remove(output);
    return text;
}
} // namespace

Sandbox::Sandbox()
{
    const char* dir = std::getenv("SANDBOX_DIR");
    if (!dir || !std::filesystem::exists(std::string(dir) + "/serve.ready"))
        throw std::runtime_error("the sandbox instance is not running (SANDBOX_DIR)");
    dir_ = dir;
    ReadReadyFile();
}

Sandbox::Sandbox(OwnInstance)
{
    dir_ = std::filesystem::temp_directory_path() / "flagwright-private-XXXXXX";
    if (!mkdtemp(dir_.data()))
        throw std::runtime_error("cannot make a folder for a private sandbox");
    ownFolders_.push_back(dir_);
    own_ = true;
    if (RunSandboxTool({"seed", dir_ + "/data"}, dir_ + "/seed.out") != 0 ||
        RunSandboxTool({"serve", "--background", "--ready-file", dir_ + "/serve.ready", "--data",
                        dir_ + "/data", "--browser-port", "0", "--log", dir_ + "/statements.log",
                        "--control", dir_ + "/control.sock"},
                       dir_ + "/serve.out") != 0)
        throw std::runtime_error("the private sandbox did not start: " + Read(dir_ + "/serve.out"));
    ReadReadyFile();
}

void Sandbox::ReadReadyFile()
{
    std::ifstream(dir_ + "/serve.ready") >> pid_ >> port_;
    if (pid_ <= 0 || port_ <= 0) // a signal to pid -1 would reach every process
        throw std::runtime_error("no ready file in " + dir_);
}

Sandbox::~Sandbox()
{
    if (own_) {
        Resume();
        RunSandboxTool({"stop", dir_ + "/serve.ready"}, dir_ + "/stop.out");
    }
    std::error_code ignored;
    for (const std::string& folder : ownFolders_)
        std::filesystem::remove_all(folder, ignored);
}

void Sandbox::Pause() const { kill(pid_, SIGSTOP); }

void Sandbox::Resume() const { kill(pid_, SIGCONT); }

std::string Sandbox::DatabaseFile(const std::string& name) const
{
    return dir_ + "/data/" + name + ".sqlite";
}

std::string Sandbox::CopyDatabase(const std::string& seed, const std::string& name) const
{
    std::filesystem::copy_file(DatabaseFile(seed), DatabaseFile(name),
                               std::filesystem::copy_options::overwrite_existing);
    return name;
}

std::vector<std::string> Sandbox::Statements(const std::string& database) const
{
    std::vector<std::string> statements;
    for (auto& [name, statement] : Batches())
        if (name == database)
            statements.push_back(std::move(statement));
    return statements;
}

std::vector<std::pair<std::string, std::string>> Sandbox::Batches(std::size_t from) const
{
    std::ifstream log(dir_ + "/statements.log");
    std::vector<std::pair<std::string, std::string>> batches;
    std::size_t index = 0;
    for (std::string line; std::getline(log, line); ++index) {
        if (index < from)
            continue;
        const auto tab = line.find('\t');
        EXPECT_NE(tab, std::string::npos) << line;
        batches.emplace_back(Unescaped(line.substr(0, tab)),
                             Unescaped(line.substr(tab == std::string::npos ? 0 : tab + 1)));
    }
    return batches;
}

std::size_t Sandbox::BatchCount() const
{
    const std::string log = Read(dir_ + "/statements.log");
    return static_cast<std::size_t>(std::count(log.begin(), log.end(), '\n'));
}

std::string Sandbox::Transcript() const
{
    return Read(dir_ + "/statements.log") + Read(dir_ + "/serve.out");
}

std::map<std::string, std::string> Sandbox::DatabaseFiles() const
{
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir_ + "/data"))
        files[entry.path().filename().string()] = Read(entry.path().string());
    return files;
}

void Sandbox::Control(const std::string& command) const
{
    int status = -1;
    const std::string reply = ToolOutput({"control", dir_ + "/control.sock", command}, status);
    ASSERT_EQ(status, 0) << command << " -> " << reply;
}

std::string Sandbox::Field(const std::string& command, const std::string& field) const
{
    int status = -1;
    std::string value = ToolOutput({"control", dir_ + "/control.sock", command, field}, status);
    EXPECT_EQ(status, 0) << field << " of " << command << ": " << value;
    if (status != 0 || value.empty())
        return {};
    value.pop_back(); // the line's end
    return value;
}

std::string Sandbox::Status(const std::string& field) const
{
    return Field(R"({"cmd":"status"})", field);
}

int Sandbox::ConnectionsTo(const std::string& database) const
{
    std::string quoted;
    for (const char c : database) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    const std::string count =
        Field(R"({"cmd":"connections","database":")" + quoted + "\"}", "connections");
    return count.empty() ? -1 : std::stoi(count);
}

std::string Sandbox::NewFolder()
{
    std::string folder = dir_ + "/own-XXXXXX";
    if (!mkdtemp(folder.data()))
        throw std::runtime_error("cannot make a folder under " + dir_);
    ownFolders_.push_back(folder);
    return folder;
}

std::string Sandbox::ServeCopiesOfEmberline(const std::vector<std::string>& names)
{
    return ServeCopies(std::vector<std::string>(names.size(), "Emberline"), names);
}

std::string Sandbox::ServeCopiesOf(const std::vector<std::string>& seeds)
{
    return ServeCopies(seeds, seeds);
}

std::string Sandbox::ServeCopies(const std::vector<std::string>& seeds,
                                 const std::vector<std::string>& names)
{
    const std::string folder = NewFolder();
    for (std::size_t i = 0; i < seeds.size(); ++i)
        std::filesystem::copy_file(DatabaseFile(seeds[i]), folder + "/" + names[i] + ".sqlite");
    Control(R"({"cmd":"data","dir":")" + folder + "\"}");
    return folder;
}

void Sandbox::Restore() const
{
    Control(R"({"cmd":"faults","faults":{}})");
    Control(R"({"cmd":"settings","settings":{}})");
    Control(R"({"cmd":"start"})");
    Control(R"({"cmd":"data","dir":")" + dir_ + "/data\"}");
}

void ChangeFile(const std::string& file, const std::string& sql,
                const std::optional<std::string>& value)
{
    sqlite3* db = nullptr;
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_open(file.c_str(), &db);
    if (rc == SQLITE_OK)
        rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr);
    if (rc == SQLITE_OK && value)
        rc = sqlite3_bind_text(statement, 1, value->data(), static_cast<int>(value->size()),
                               SQLITE_TRANSIENT);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(statement);
    EXPECT_EQ(rc, SQLITE_DONE) << sql << ": " << sqlite3_errmsg(db);
    sqlite3_finalize(statement);
    sqlite3_close(db);
}

std::string DefaultIn(const std::string& file, const std::string& id)
{
    int status = -1;
    const std::string line = ToolOutput({"default", file, id}, status);
    EXPECT_EQ(status, 0) << line;
    return status == 0 && !line.empty() ? line.substr(0, line.size() - 1) : line;
}

std::string KindDifferences(const std::string& file)
{
    int status = -1;
    const std::string differences = ToolOutput({"check-kinds", file}, status);
    if (status == 0)
        return {};
    return differences.empty() ? "check-kinds exited with " + std::to_string(status) : differences;
}

} // namespace flagwright::testing
