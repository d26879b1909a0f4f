#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace flagwright::e2e {

// The sandbox instance the test fixture started: its data folder, statement log and control
// socket, found through SANDBOX_DIR. Fails the test when it is not there.
class Sandbox {
public:
    Sandbox();

    // Copies a seeded database to a new one of this name and returns the name.
    std::string CopyDatabase(const std::string& seed, const std::string& name) const;
    std::string DatabaseFile(const std::string& name) const;
    // The statements that reached the server for this database, in order.
    std::vector<std::string> Statements(const std::string& database) const;
    // Every logged batch from the entry `from` on, as (database, statement), unescaped.
    std::vector<std::pair<std::string, std::string>> Batches(std::size_t from = 0) const;
    // What the instance wrote: its statement log and its own output.
    std::string Transcript() const;
    // The contents of every database file, by file name.
    std::map<std::string, std::string> DatabaseFiles() const;
    // Sends one control command (a JSON object) and fails unless the sandbox says ok.
    void Control(const std::string& command) const;

private:
    std::string dir_;
};

// Runs one statement on a SQLite file, binding value to its one parameter ("?") when given;
// fails the test when it does not run.
void ChangeFile(const std::string& file, const std::string& sql,
                const std::optional<std::string>& value = std::nullopt);

// Rows of a query on a SQLite file, every value as text ("NULL" for NULL).
std::vector<std::vector<std::string>> QueryFile(const std::string& file, const std::string& sql);

} // namespace flagwright::e2e
