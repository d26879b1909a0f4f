#pragma once

#include "DiagnosticFailure.h"

#include "OdbcApi.h"

#include <memory>
#include <string>
#include <vector>

namespace flagwright::odbc {

inline bool Succeeded(SQLRETURN rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO; }

// Sole owner of one ODBC handle; freeing never throws. A connection handle must be
// disconnected before it is released.
class OdbcHandle {
public:
    // Fails with 0x80004005 when the driver manager cannot allocate the handle.
    OdbcHandle(SQLSMALLINT type, SQLHANDLE parent);
    ~OdbcHandle();
    OdbcHandle(const OdbcHandle&) = delete;
    OdbcHandle& operator=(const OdbcHandle&) = delete;

    SQLHANDLE get() const { return handle_; }
    // Every diagnostic record of the last call on this handle.
    std::vector<DiagnosticRecord> Diagnostics() const;

private:
    SQLSMALLINT type_;
    SQLHANDLE handle_ = SQL_NULL_HANDLE;
};

// The process's ODBC environment (ODBC 3), shared by all connections alive at one time.
std::shared_ptr<OdbcHandle> SharedEnvironment();

// The names of the drivers the driver manager knows.
std::vector<std::string> InstalledDrivers(const OdbcHandle& environment);

} // namespace flagwright::odbc
