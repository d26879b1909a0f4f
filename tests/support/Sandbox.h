#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace flagwright::testing {

// A sandbox instance: its data folder, statement log and control socket.
class Sandbox {
public:
    struct OwnInstance {};

    // The instance the test fixture started, found through SANDBOX_DIR; construction fails
    // when it is not there.
    Sandbox();
    // An instance of this object's own, seeded afresh, on a free port and without the browser,
    // so it runs beside the shared one; stopped and removed with this object.
    explicit Sandbox(OwnInstance);
    ~Sandbox();
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    // Copies a seeded database to a new one of this name and returns the name.
    std::string CopyDatabase(const std::string& seed, const std::string& name) const;
    std::string DatabaseFile(const std::string& name) const;
    // The statements that reached the server for this database, in order.
    std::vector<std::string> Statements(const std::string& database) const;
    // Every logged batch from the entry `from` on, as (database, statement), unescaped.
    std::vector<std::pair<std::string, std::string>> Batches(std::size_t from = 0) const;
    // How many batches it has logged so far, whole lines only: for a test that watches a run.
    std::size_t BatchCount() const;
    // What the instance wrote: its statement log and its own output.
    std::string Transcript() const;
    // The contents of every database file, by file name.
    std::map<std::string, std::string> DatabaseFiles() const;
    // Sends one control command (a JSON object) through the sandbox program's control verb
    // and fails unless the sandbox says ok.
    void Control(const std::string& command) const;
    // One field of the instance's status, as the control verb prints it: text as it is,
    // anything else as JSON (off, 3, null).
    std::string Status(const std::string& field) const;
    // Client connections the instance holds now whose current database is `database`: those
    // of the test that made it, whatever other tests hold beside it.
    int ConnectionsTo(const std::string& database) const;

    // A new empty folder of this object's own, removed with it.
    std::string NewFolder();
    // A new data folder of this object's own, removed with it, holding copies of the seeded
    // Emberline database under the given names; the instance serves it until Restore.
    std::string ServeCopiesOfEmberline(const std::vector<std::string>& names);
    // The same, with copies of these seeded databases under their own names.
    std::string ServeCopiesOf(const std::vector<std::string>& seeds);
    // Undoes what a test changed: no faults, the settings it started with, running, serving
    // the seeded folder.
    void Restore() const;

    int Port() const { return port_; }
    // SIGSTOP and SIGCONT: a server that stops answering and resumes.
    void Pause() const;
    void Resume() const;

private:
    void ReadReadyFile();
    // One field of the reply to a command, as the control verb prints it.
    std::string Field(const std::string& command, const std::string& field) const;
    // Serves a new folder of copies of the seeds, each under the name at its index.
    std::string ServeCopies(const std::vector<std::string>& seeds,
                            const std::vector<std::string>& names);

    std::string dir_;
    bool own_ = false;
    int pid_ = -1;
    int port_ = 0;
    std::vector<std::string> ownFolders_;
};

// Runs one statement on a SQLite file, binding value to its one parameter ("?") when given;
// fails the test when it does not run.
void ChangeFile(const std::string& file, const std::string& sql,
                const std::optional<std::string>& value = std::nullopt);

// One Defaults value of a database file, as the sandbox's default verb prints it: "NULL" for
// NULL, "(no row)" without that row.
std::string DefaultIn(const std::string& file, const std::string& id);

// What the sandbox's check-kinds says: empty when L_Kind of the database file holds exactly
// the rows of a completed update of the sample database Emberline, else where it differs.
std::string KindDifferences(const std::string& file);

} // namespace flagwright::testing
