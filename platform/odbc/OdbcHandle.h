#pragma once

#include "platform/odbc/DiagnosticFailure.h"

#include "platform/odbc/OdbcApi.h"

#include <memory>
#include <string>
#include <vector>

namespace flagwright::odbc {

inline bool Succeeded(SQLRETURN rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO; }

// Sole owner of one ODBC handle; freeing never throws. A connected connection handle is owned
// through ConnectedLink, which disconnects it first.
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

// A connection handle whose login succeeded: disconnected before it is freed, as ODBC requires.
class ConnectedLink {
public:
    explicit ConnectedLink(std::unique_ptr<OdbcHandle> link) : link_(std::move(link)) {}
    ~ConnectedLink() { SQLDisconnect(link_->get()); }
    ConnectedLink(const ConnectedLink&) = delete;
    ConnectedLink& operator=(const ConnectedLink&) = delete;

    SQLHDBC get() const { return link_->get(); }

private:
    std::unique_ptr<OdbcHandle> link_;
};

// The process's ODBC environment (ODBC 3), shared by all connections alive at one time.
std::shared_ptr<OdbcHandle> SharedEnvironment();

// The names of the drivers the driver manager knows.
std::vector<std::string> InstalledDrivers(const OdbcHandle& environment);

// How the driver manager actually loaded reads the program's wide strings: whole, as
// Microsoft's does, or one byte per UTF-16 unit, its low byte, as unixODBC does (on Linux, and
// under Wine, whose odbc32 hands every call to the host's unixODBC). Told by asking for
// unixODBC's own environment attribute, which no other driver manager answers.
enum class WideStrings { Whole, LowBytes };
WideStrings HowWideStringsAreRead(const OdbcHandle& environment);

} // namespace flagwright::odbc
