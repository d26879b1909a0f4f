#pragma once

#include "platform/ConnectionSlot.h"
#include "platform/Failure.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace flagwright::testing {

// What the fake connections of one test do, and the ordered log they write to (shared with
// RecordingWindow so the order of database calls and messages can be checked).
struct ConnectionScript {
    std::vector<std::string>* log = nullptr;
    std::vector<ConnectionSettings> opened;                 // what every Open was given, in order
    std::chrono::milliseconds openTakes{0};                 // how long Open waits before it returns
    std::vector<std::chrono::milliseconds> commandTimeouts; // every CommandTimeout, in order
    std::optional<Failure> openFailure;                     // Open throws this
    bool openLeavesClosed = false;                          // Open returns without opening
    std::optional<Recordset> versionResult;                 // what the version query returns
    std::optional<Failure> versionFailure;                  // the version query throws this
    std::optional<Recordset> catalogResult;                 // what the database list query returns
    // Rules before all of the above: a statement that starts with `prefix` gets `rows`, or
    // throws `failure`; the first rule that matches answers.
    struct Answer {
        std::string prefix;
        Recordset rows;
        std::optional<Failure> failure;
    };
    std::vector<Answer> answers;
    int failAtExecute = 0; // the Nth Execute (1-based, all queries) throws
    std::optional<Failure> executeFailure;
    std::optional<Failure> closeFailure; // Close throws this (the connection stays open)
    std::vector<std::string> statements; // every Execute, in order
    int created = 0;
    int live = 0; // connection objects not yet released
};

// A Recordset with one column "Value" and one row per value.
Recordset VersionRows(const std::vector<Variant>& values);

// The answer of the database list query: one row per (name, IsSystem) pair, the dbid its
// place in the list from 1.
Recordset CatalogRows(const std::vector<std::pair<Variant, Variant>>& databases);

class ScriptedConnection : public Connection {
public:
    explicit ScriptedConnection(std::shared_ptr<ConnectionScript> script);
    ~ScriptedConnection() override;

    void Open(const ConnectionSettings& settings) override;
    void CommandTimeout(std::chrono::milliseconds limit) override;
    int State() const override { return state_; }
    Recordset Execute(const std::string& commandText) override;
    void Close() override;

    static ConnectionFactory Factory(std::shared_ptr<ConnectionScript> script);

private:
    void Log(const std::string& line) const;

    std::shared_ptr<ConnectionScript> script_;
    int id_;
    int state_ = adStateClosed;
};

} // namespace flagwright::testing
