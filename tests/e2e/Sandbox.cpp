#include "Sandbox.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace flagwright::e2e {

Sandbox::Sandbox()
{
    const char* dir = std::getenv("SANDBOX_DIR");
    if (!dir || !std::filesystem::exists(std::string(dir) + "/serve.pid"))
        throw std::runtime_error("the sandbox instance is not running (SANDBOX_DIR)");
    dir_ = dir;
}

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
    std::ifstream log(dir_ + "/statements.log");
    std::vector<std::string> statements;
    const std::string prefix = database + "\t";
    for (std::string line; std::getline(log, line);)
        if (line.rfind(prefix, 0) == 0)
            statements.push_back(line.substr(prefix.size()));
    return statements;
}

void Sandbox::Control(const std::string& command) const
{
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = dir_ + "/control.sock";
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    std::string reply(256, '\0');
    ssize_t got = -1;
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        const std::string line = command + "\n";
        if (write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size()))
            got = read(fd, reply.data(), reply.size());
    }
    close(fd);
    reply.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    ASSERT_NE(reply.find("\"ok\": true"), std::string::npos) << command << " -> " << reply;
}

std::vector<std::vector<std::string>> QueryFile(const std::string& file, const std::string& sql)
{
    sqlite3* db = nullptr;
    std::vector<std::vector<std::string>> rows;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK) {
            while (sqlite3_step(statement) == SQLITE_ROW) {
                std::vector<std::string> row;
                for (int i = 0; i < sqlite3_column_count(statement); ++i) {
                    const auto* text = sqlite3_column_text(statement, i);
                    row.push_back(text ? reinterpret_cast<const char*>(text) : "NULL");
                }
                rows.push_back(std::move(row));
            }
        }
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return rows;
}

} // namespace flagwright::e2e
