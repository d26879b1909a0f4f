#pragma once

#include "platform/Connection.h"
#include "platform/odbc/CallWatchdog.h"
#include "platform/odbc/DiagnosticFailure.h"
#include "platform/odbc/InstanceResolver.h"
#include "platform/odbc/LinkSockets.h"
#include "platform/odbc/OdbcHandle.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace flagwright::odbc {

// A Connection to SQL Server through the installed ODBC drivers, tried in turn until one
// reaches the instance (DriversInTurn). Every driver call is bounded as a whole, however
// slowly the server answers: the login, every driver tried together, by the connect time-out
// (finding the server included), each statement by the command time-out (its whole reply
// included).
// Each statement runs on one reused statement handle, and its rows are read completely
// before Execute returns.
class OdbcConnection : public Connection {
public:
    OdbcConnection() = default;
    ~OdbcConnection() override;
    OdbcConnection(const OdbcConnection&) = delete;
    OdbcConnection& operator=(const OdbcConnection&) = delete;

    void Open(const ConnectionSettings& settings) override;
    void CommandTimeout(std::chrono::milliseconds limit) override { commandTimeout_ = limit; }
    int State() const override { return statement_ ? adStateOpen : adStateClosed; }
    Recordset Execute(const std::string& commandText) override;
    // Ends the connection; a link that is already broken just ends without a failure.
    void Close() override;

private:
    // The link of one driver's login before the deadline. Fails with Unreached where another
    // driver may still reach the instance, with any other failure where none can.
    std::unique_ptr<ConnectedLink> Connected(const std::string& driver, WideStrings wide,
                                             const ConnectionSettings& settings,
                                             CallWatchdog::Clock::time_point deadline);
    void Disconnect() noexcept;
    // The failure a call's records tell; expired: the watchdog stepped into the call.
    Failure Diagnosed(const std::vector<DiagnosticRecord>& records, OdbcCall call,
                      bool expired) const;
    bool ConnectionDead() const;
    // This process's sockets to the server's TCP endpoint, where the program knows it.
    std::vector<LinkSocket> LinkCandidates() const;

    std::string password_;
    std::chrono::milliseconds commandTimeout_{std::chrono::seconds(30)}; // ADO's default
    SQLULEN driverTimeout_ = 0; // the statement handle's own time-out, in whole seconds
    std::unique_ptr<CallWatchdog> watchdog_;
    std::optional<Endpoint> endpoint_;    // none where the driver finds the instance itself
    std::vector<LinkSocket> linkSockets_; // the link's TCP sockets, to break it at a deadline
    std::shared_ptr<OdbcHandle> environment_;
    std::unique_ptr<ConnectedLink> link_;
    std::unique_ptr<OdbcHandle> statement_; // present exactly while open; freed before the link
};

} // namespace flagwright::odbc
