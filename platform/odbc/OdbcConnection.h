#pragma once

#include "Connection.h"
#include "DiagnosticFailure.h"
#include "OdbcHandle.h"

#include <memory>
#include <string>

namespace flagwright::odbc {

// A Connection to SQL Server through the installed ODBC driver. Each statement runs on one
// reused statement handle with the provider's default 30 s command time-out, and its rows are
// read completely before Execute returns.
class OdbcConnection : public Connection {
public:
    OdbcConnection() = default;
    ~OdbcConnection() override;
    OdbcConnection(const OdbcConnection&) = delete;
    OdbcConnection& operator=(const OdbcConnection&) = delete;

    void Open(const ConnectionSettings& settings) override;
    int State() const override { return statement_ ? adStateOpen : adStateClosed; }
    Recordset Execute(const std::string& commandText) override;
    // Ends the connection; a link that is already broken just ends without a failure.
    void Close() override;

private:
    void Disconnect() noexcept;
    [[noreturn]] void Fail(const OdbcHandle& handle, OdbcCall call) const;
    bool ConnectionDead() const;

    std::string password_;
    std::shared_ptr<OdbcHandle> environment_;
    std::unique_ptr<OdbcHandle> link_;
    std::unique_ptr<OdbcHandle> statement_; // present exactly while open
};

} // namespace flagwright::odbc
