#pragma once

#include "Connection.h"
#include "OdbcHandle.h"

#include <memory>
#include <string>

namespace flagwright::odbc {

struct ConnectionSettings;

// A Connection to SQL Server through the installed ODBC driver, opened from an OLE DB style
// connection string. Each statement runs on one reused statement handle with the provider's
// default 30 s command time-out, and its rows are read completely before Execute returns.
class OdbcConnection : public Connection {
public:
    OdbcConnection() = default;
    ~OdbcConnection() override;
    OdbcConnection(const OdbcConnection&) = delete;
    OdbcConnection& operator=(const OdbcConnection&) = delete;

    void ConnectionString(const std::string& text) override;
    const std::string& ConnectionString() const override { return connectionString_; }
    void Open() override;
    int State() const override { return statement_ ? adStateOpen : adStateClosed; }
    Recordset Execute(const std::string& commandText) override;
    // Ends the connection; a link that is already broken just ends without a failure.
    void Close() override;

private:
    void Connect(const ConnectionSettings& settings, const std::string& host, int port);
    void Disconnect() noexcept;
    [[noreturn]] void Fail(const OdbcHandle& handle, OdbcCall call) const;
    bool ConnectionDead() const;

    std::string connectionString_;
    std::string password_;
    std::shared_ptr<OdbcHandle> environment_;
    std::unique_ptr<OdbcHandle> link_;
    std::unique_ptr<OdbcHandle> statement_; // present exactly while open
};

} // namespace flagwright::odbc
